#!/usr/bin/python3
"""Writes the question files the reader tests read, the way teachers make
them: a workbook by openpyxl, saved again by LibreOffice as .xlsx (with the
formulas' values) and as .ods, a .csv in GB18030, a .docx by python-docx
with a picture, and a .txt.

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


def main():
    with tempfile.TemporaryDirectory() as folder:
        written = os.path.join(folder, "题库.xlsx")
        workbook().save(written)
        shutil.copy(written, os.path.join(HERE, "内嵌文字.xlsx"))
        for kind in ("xlsx", "ods"):
            out = os.path.join(folder, kind)
            subprocess.run(["soffice", "--headless", "--calc", "--convert-to", kind,
                            "--outdir", out, written], check=True,
                           stdout=subprocess.DEVNULL)
            shutil.copy(os.path.join(out, "题库." + kind), os.path.join(HERE, "题库." + kind))
        word_document(folder)
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


main()
