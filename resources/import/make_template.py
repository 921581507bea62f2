#!/usr/bin/python3
# Writes the template workbook teachers fill in for the question import
# (试题导入模板.xlsx) with openpyxl (Debian: python3-openpyxl). Run it again
# after changing the rows below and commit both files.
from pathlib import Path

from openpyxl import Workbook
from openpyxl.styles import Alignment, Font, PatternFill

CHOICE_HEADER = ["序号", "题型", "题干", "选项A", "选项B", "选项C", "选项D", "答案", "解析",
                 "知识点", "分值", "难度"]
CHOICES = [
    [1, "单选题", "我国面积最大的省级行政区是（　　）", "新疆维吾尔自治区", "西藏自治区",
     "内蒙古自治区", "青海省", "A", "新疆面积约166万平方千米，居全国第一。",
     "中国地理/疆域与行政区划", 3, "易"],
    [2, "多选题", "下列属于我国四大高原的有（　　）", "青藏高原", "内蒙古高原", "巴西高原",
     "黄土高原", "ABD", "巴西高原在南美洲。", "中国地理/地形", 4, "中"],
    [3, "单选题", "函数 $f(x)=x^2+1$ 在 $x=2$ 处的值是（　　）", "3", "4", "5", "6", "C",
     "$f(2)=2^2+1=5$。", "数学/函数", 3, 2],
]
OTHER_HEADER = ["序号", "题型", "题干", "答案", "解析", "知识点", "分值", "难度"]
OTHERS = [
    [4, "判断题", "长江是我国最长的河流。", "对", "长江全长约6300千米。", "中国地理/河流", 2, "易"],
    [5, "填空题", "我国有___个省级行政区，首都是___。", "34|北京", "", "中国地理/疆域与行政区划",
     4, "易"],
    [6, "简答题", "简述长江的水文特征。", "水量大，汛期长，冬季不结冰，含沙量较小。",
     "从水量、汛期、结冰期、含沙量四方面回答。", "中国地理/河流", 10, "难"],
]


def sheet(book, title, header, rows, widths):
    page = book.create_sheet(title)
    page.append(header)
    for row in rows:
        page.append(row)
    for cell in page[1]:
        cell.font = Font(bold=True)
        cell.fill = PatternFill("solid", fgColor="DDEBF7")
        cell.alignment = Alignment(horizontal="center")
    for column, width in zip("ABCDEFGHIJKL", widths):
        page.column_dimensions[column].width = width
    page.freeze_panes = "A2"


book = Workbook()
book.remove(book.active)
sheet(book, "选择题", CHOICE_HEADER, CHOICES, [6, 8, 40, 18, 18, 18, 18, 8, 30, 24, 6, 6])
sheet(book, "其他题型", OTHER_HEADER, OTHERS, [6, 8, 40, 30, 30, 24, 6, 6])
book.save(Path(__file__).with_name("试题导入模板.xlsx"))
