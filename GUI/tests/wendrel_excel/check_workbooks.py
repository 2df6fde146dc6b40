#!/usr/bin/env python3
"""Reads back the workbooks excel_export_test wrote through the automation
server and checks their values, types, formats, merged areas and column
widths. Usage: check_workbooks.py FOLDER. Prints one line per failed check
and the sheets it read; exits 1 on any failure."""
import math
import os
import sys
from datetime import datetime

import openpyxl

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)


def dump(ws):
    for row in ws.iter_rows():
        print("  " + " | ".join(f"{c.coordinate}={c.value!r}" for c in row))


def xml_width(characters):
    # The width a file stores for a column of so many characters (7-pixel
    # digits, 5 pixels of padding).
    pixels = math.floor(characters * 7 + 0.5) + 5
    return math.floor(pixels / 7 * 256) / 256


def check_export(path, title):
    wb = openpyxl.load_workbook(path)
    check(wb.sheetnames == [title], f"{path}: sheets {wb.sheetnames}, expected [{title!r}]")
    ws = wb[wb.sheetnames[0]]
    expected = [
        ["Name", "Count", "Load", "Address", "Seen"],
        ["router-1", 42, 3.25, "10.0.0.1", datetime(2026, 12, 11, 11, 47, 27)],
        ["Switch \u00e4", -7, 0.5, "192.168.1.254", datetime(2026, 12, 11)],
        # "gamma" is filtered out: no gap for it
        [None, None, None, None, None],
        ["printer", 1234567, -12.125, "172.16.0.9", datetime(1900, 3, 1, 6, 0)],
    ]
    check(ws.max_row == len(expected), f"{path}: {ws.max_row} rows, expected {len(expected)}")
    for r, row in enumerate(expected, start=1):
        for c, want in enumerate(row, start=1):
            cell = ws.cell(row=r, column=c)
            got = cell.value
            check(type(got) is type(want) and got == want,
                  f"{path}: {cell.coordinate} is {got!r} ({type(got).__name__}), expected {want!r}")
            check(cell.alignment.wrap_text is True, f"{path}: {cell.coordinate} does not wrap")
            if r == 1:
                check(cell.font.b is True, f"{path}: title {cell.coordinate} is not bold")
                check(cell.alignment.horizontal == "center" and cell.alignment.vertical == "center",
                      f"{path}: title {cell.coordinate} is not centred")
            else:
                check(not cell.font.b, f"{path}: {cell.coordinate} is bold")
                check(cell.alignment.horizontal == "left", f"{path}: {cell.coordinate} is not left aligned")
    check(ws["E2"].is_date and ws["E3"].is_date, f"{path}: dates are not shown as dates")
    for letter, pixels in zip("ABCDE", [80, 120, 60, 100, 150]):
        want = xml_width(8.43 / 48 * pixels)
        got = ws.column_dimensions[letter].width
        check(got is not None and abs(got - want) < 1e-6, f"{path}: column {letter} width {got}, expected {want}")
    return ws


def check_model(path):
    wb = openpyxl.load_workbook(path)
    check(wb.sheetnames == ["Model"], f"{path}: sheets {wb.sheetnames}")
    ws = wb[wb.sheetnames[0]]
    merged = sorted(str(r) for r in ws.merged_cells.ranges)
    check(merged == ["B2:D3"], f"{path}: merged {merged}, expected ['B2:D3']")
    check(ws["B2"].value == "merged", f"{path}: B2 is {ws['B2'].value!r}")
    check(ws["A5"].value == 1234.5, f"{path}: A5 is {ws['A5'].value!r}")
    return ws


def check_spans(path):
    wb = openpyxl.load_workbook(path)
    ws = wb[wb.sheetnames[0]]
    check(wb.sheetnames == ["Spans"], f"{path}: sheets {wb.sheetnames}")
    merged = sorted(str(r) for r in ws.merged_cells.ranges)
    check(merged == ["A1:C1"], f"{path}: merged {merged}, expected ['A1:C1']")
    a1 = ws["A1"]
    check(a1.value == "wide" and a1.font.b is True and a1.alignment.horizontal == "center",
          f"{path}: A1 is {a1.value!r}, bold {a1.font.b}, {a1.alignment.horizontal}")
    b2 = ws["B2"]
    check(b2.value is None and b2.alignment.wrap_text is True and b2.alignment.horizontal == "left",
          f"{path}: empty B2 is {b2.value!r}, wrap {b2.alignment.wrap_text}, {b2.alignment.horizontal}")
    c2 = ws["C2"]
    check(c2.value == "plain" and not c2.font.b and c2.alignment.horizontal == "left",
          f"{path}: C2 is {c2.value!r}, bold {c2.font.b}, {c2.alignment.horizontal}")
    return ws


def main():
    folder = sys.argv[1]
    sheets = []
    files = sorted(os.listdir(folder))
    check(files == ["Book1 (2).xlsx", "Book1 (3).xlsx", "Book1 (4).xlsx", "Book1 (5).xlsx", "Book1.xlsx"], f"files in {folder}: {files}")
    for name, check_one in (("Book1.xlsx", lambda p: check_export(p, "Devices")),
                            ("Book1 (2).xlsx", lambda p: check_export(p, "Ger\u00e4te " + "\u00e4" * 24)),
                            ("Book1 (3).xlsx", check_model),
                            ("Book1 (4).xlsx", check_spans),
                            ("Book1 (5).xlsx", lambda p: check_export(p, "Window"))):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            sheets.append((name, check_one(path)))
    for f in failures:
        print("FAIL " + f)
    if failures:
        for name, ws in sheets:
            print(name + ":")
            dump(ws)
        return 1
    print(f"workbooks checked: {len(sheets)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
