#!/usr/bin/python3
"""Writes the question files the reader tests read, the way teachers make
them: a workbook by openpyxl, saved again by LibreOffice as .xlsx (with the
formulas' values) and as .ods, a .csv in GB18030, a .docx by python-docx
with a picture, one by LibreOffice with Word's own numbering, a .txt, and
a GIFT and an Aiken file as quiz systems export them.

Needs python3-openpyxl, python3-docx and libreoffice-calc-nogui; run it in
this folder when the files are to change."""
import csv
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

import docx
import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))


GIFT = """\
// question: 0  name: Switch category to $course$/top/数学/代数
$CATEGORY: $course$/top/数学/代数

// question: 101  name: 一元二次方程
::一元二次方程::[html]<p>方程 $x^2=4$ 的解是</p>{
\t=$x\\=\\\\pm 2$#对，两边开方。
\t~$x\\=2$#漏了负根。
\t~$\\\\frac\\{1\\}\\{2\\}$
\t####<p>开平方时注意正负。</p>
}

// [id:M2]
// [tag:期中]
下列是质数的有 {~%50%2 ~%50%3 ~%-100%4}

::判断::1 是质数。{F#1 既不是质数也不是合数。}

::首都::中国的首都是哪座城市？{=北京 =北京市 =Beijing}

::方程填空::方程 $2x=6$ 的解是 x \\= {=3} 。

::太阳::太阳从{=东方 ~西方 ~南方}升起。

::配对::把国家与首都配对。{
=中国 -> 北京
=日本 -> 东京
=法国 -> 巴黎
= -> 伦敦
}

::作文::[markdown]写一段话，用上 **a < b**。
（不少于 50 字）{}

本卷共十题，请认真作答。

::转义::1 \\= 1，2 \\~ 3，\\#4，\\{5\\}，a\\\\b，第一行\\n第二行{TRUE}

$CATEGORY: $module$/top/物理

::圆周率::圆周率精确到两位小数是多少？{#3.14:0.005}

::范围::1 到 5 之间的一个数{#1..5}

::部分得分::3 附近的数{#=3:0 =%50%3:1}

::判断::这道题与前面的题同名。{T}

::坏::这道题的答案没有结束 {=a ~b
"""

AIKEN = """\
太阳系中最大的行星是？
A. 地球
B. 木星
C. 土星
D. 火星
ANSWER: B

方程 $x^2=9$ 的正根是？
A) 3
B) -3
C) 9
ANSWER: A

Which is larger: 2 < 3 or 3 > 2?
A. The first
B. The second
C. Both are the same
ANSWER: C
"""

def text_files():
    """The GIFT file with a BOM and CR LF line ends, as Windows editors save
    it; the Aiken file with CR LF line ends."""
    with open(os.path.join(HERE, "测验.gift"), "w", encoding="utf-8-sig", newline="\r\n") as f:
        f.write(GIFT)
    with open(os.path.join(HERE, "选择题.txt"), "w", encoding="utf-8", newline="\r\n") as f:
        f.write(AIKEN)


def workbook():
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "第一章"
    sheet.append(["2024 年期中复习题库"])
    sheet.merge_cells("A1:F1")  # a title over the header: harmless
    sheet.append(["序号", "题型", "题干", "选项A", "选项B", "选项C", "选项D",
                  "答案（多选用逗号分隔）", "解析", "知识点", "分值", "难度", "备注"])
    sheet.append([1, "单选题", "1 + 1 = ?", "1", "2", "3", "4", "B",
                  "基本加法。", "数学/算术/加法", "=1+1", "易", "第一题"])
    sheet.append([2, "多选题", "下列是偶数的有", "2", "3", "4", "5", "a、c",
                  None, "数学/算术", 3, "中"])
    sheet.append([])  # an empty row in the middle
    sheet.append([3, "判断题", "$x^2 \\geq 0$ 对所有实数成立。", None, None, None, None,
                  "√", None, "数学/代数；数学/不等式", 1, 2])
    sheet.append([4, "填空题", "中国的首都是____，最大的城市是____。", None, None, None,
                  None, "北京|上海", None, None, 2, "较难"])
    sheet.append([5, "简答题", "简述勾股定理。\n（写出公式）", None, None, None, None,
                  "a² + b² = c²", "直角三角形。", "数学/几何", 5, "难"])
    second = book.create_sheet("第二章")
    second.append(["题目", "A", "B", "C", "答案", "分数"])
    second.append(["没有题型的单选", "甲", "乙", "丙", "Ｃ", 2])
    second.append(["没有题型的判断", None, None, None, "错", 1])
    notes = book.create_sheet("说明")
    notes.append(["这一页写给老师看，不是题目。"])
    return book


def merged_workbook():
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "合并"
    sheet.append(["题型", "题干", "A", "B", "答案"])
    sheet.append(["单选题", "甲", "1", "2", "A"])
    sheet.append([None, "乙", "1", "2", "B"])
    sheet.merge_cells("A2:A3")  # one 题型 over two questions
    return book


def png(width, height):
    raw = b"".join(b"\x00" + b"\xff\x00\x00" * width for _ in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def word_document(folder):
    picture = os.path.join(folder, "triangle.png")
    with open(picture, "wb") as f:
        f.write(png(4, 3))
    document = docx.Document()
    document.add_paragraph("2024 年期中测验")
    document.add_paragraph("一、单项选择题（每题2分）")
    document.add_paragraph("1. 如图，三角形的内角和是")
    document.add_paragraph().add_run().add_picture(picture)
    document.add_paragraph("A. 90°  B. 180°  C. 270°  D. 360°")
    document.add_paragraph("【答案】B")
    document.add_paragraph("【解析】三角形内角和为 180°。")
    document.add_paragraph("2、下列是质数的是（ ）")
    document.add_paragraph("(A) 4")
    document.add_paragraph("(B) 6")
    document.add_paragraph("(C) 7")
    document.add_paragraph("答案：C")
    document.add_paragraph("二、判断题")
    document.add_paragraph("1．0 是自然数。")
    document.add_paragraph("【答案】对【知识点】数学/数")
    document.add_paragraph("三、解答题")
    document.add_paragraph("1. 求 $x^2 = 4$ 的解。")
    document.add_paragraph("【答案】x = 2 或 x = -2")
    document.add_paragraph("【详解】开平方：")
    document.add_paragraph("1. 两边开方；")
    document.add_paragraph("【点睛】注意负根。")
    document.save(os.path.join(HERE, "试卷.docx"))


NUMBERED = """<html><head><meta charset="utf-8"></head><body>
<p>单项选择题</p>
<ol>
<li><p>地球绕什么转？</p>
<ol type="A"><li>太阳</li><li>月亮</li></ol>
<p>【答案】A</p></li>
<li><p>水在几度结冰？</p>
<ol type="A"><li>0 ℃</li><li>100 ℃</li></ol>
<p>【答案】A</p></li>
</ol>
</body></html>
"""


def numbered_document(folder):
    """Questions and options numbered by Word's own lists, not typed."""
    page = os.path.join(folder, "自动编号.html")
    with open(page, "w", encoding="utf-8") as f:
        f.write(NUMBERED)
    subprocess.run(["soffice", "--headless", "--convert-to", "docx:MS Word 2007 XML",
                    "--outdir", HERE, page], check=True, stdout=subprocess.DEVNULL)


def main():
    with tempfile.TemporaryDirectory() as folder:
        written = os.path.join(folder, "题库.xlsx")
        workbook().save(written)
        shutil.copy(written, os.path.join(HERE, "内嵌文字.xlsx"))
        merged = os.path.join(folder, "合并单元格.xlsx")
        merged_workbook().save(merged)
        for source, kinds in ((written, ("xlsx", "ods")), (merged, ("xlsx",))):
            name = os.path.splitext(os.path.basename(source))[0]
            for kind in kinds:
                out = os.path.join(folder, kind)
                subprocess.run(["soffice", "--headless", "--calc", "--convert-to", kind,
                                "--outdir", out, source], check=True,
                               stdout=subprocess.DEVNULL)
                shutil.copy(os.path.join(out, name + "." + kind),
                            os.path.join(HERE, name + "." + kind))
        word_document(folder)
        numbered_document(folder)
    with open(os.path.join(HERE, "题库.csv"), "w", encoding="gb18030", newline="") as f:
        writer = csv.writer(f)
        writer.writerow(["题型", "题干", "A", "B", "C", "D", "正确答案", "答案解析"])
        writer.writerow(["单项选择题", "“中”字有几画？", "3", "4", "5", "6", "b", "四画。"])
        writer.writerow(["不定项选择题", "下列属于水果的是", "苹果", "白菜", "香蕉", "",
                         "A,C", ""])
        writer.writerow(["判断题", "地球是圆的，\n大致如此。", "", "", "", "", "T", ""])
    with open(os.path.join(HERE, "试卷.txt"), "w", encoding="utf-8") as f:
        f.write("一、填空题\n"
                "1. 一年有____个月，一周有____天。\n"
                "答案：(12)(7)\n"
                "2. 水的化学式是____。\n"
                "【答案】H₂O【难度】易\n"
                "二、多项选择题\n"
                "1. 下列是哺乳动物的有\n"
                "A、鲸 B、鲨鱼 C、蝙蝠 D、企鹅\n"
                "【答案】AC\n"
                "2. 下列是单数的有\n"
                "A. 1\n"
                "B. 2\n"
                "【答案】E\n")
    text_files()


main()
