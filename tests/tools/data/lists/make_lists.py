#!/usr/bin/python3
# Makes the sample lists of the lists import's tests: a school's class lists as e-Okul saves them
# (Excel 97-2003, written block by block as its report engine does), the same saved again as
# .xlsx, lists a school typed itself (.csv in three encodings and separators), book spreadsheets
# in the three formats, and files the import must refuse (encrypted, damaged, not a spreadsheet,
# without a header).
#
#   /usr/bin/python3 make_lists.py            writes the small samples beside this script
#   /usr/bin/python3 make_lists.py --bench D  writes the benchmark's large lists into D
#
# Needs Debian's python3-xlwt and python3-openpyxl. The output is the same on every run (no
# clock, no random numbers without a seed), so the committed files change only with this script.

import datetime
import os
import random
import struct
import sys
import zipfile

import openpyxl
import xlwt
from openpyxl.utils.datetime import CALENDAR_MAC_1904

HERE = os.path.dirname(os.path.abspath(__file__))
FIXED = datetime.datetime(2026, 5, 21, 10, 0, 0)

# --- e-Okul's "Sınıf/Şube Öğrenci Listesi" ------------------------------------------------------

# Two orders of the header row, as two variants of the report give them.
HEADER_A = ["S.No", "Öğrenci No", "Adı", "Soyadı", "Cinsiyeti", "Pansiyon Durum", "Dalı"]
HEADER_B = ["S.No", "Adı", "Soyadı", "Öğrenci No", "Dalı", "Cinsiyeti", "Pansiyon Durum"]

# Year one: four classes in two files, Turkish section letters I and İ as two classes.
NINTH = [
    ("9", "A", "", [(9001, "AYŞE", "YILMAZ", "K"), (9002, "MEHMET", "ÖZTÜRK", "E"),
                    (9003, "ZEYNEP", "ÇELİK", "K")]),
    ("9", "Ç", "", [(9010, "ALİ", "KAYA", "E"), (9011, "İREM", "ŞAHİN", "K")]),
]
TENTH = [
    ("10", "I", "(ALAN)", [(1001, "ELİF NUR", "DEMİR", "K"), (1002, "IŞIL", "AKSOY", "K")]),
    ("10", "İ", "(ALAN)", [(1010, "İSMAİL", "GÜNEŞ", "E"), (1011, "ŞEVVAL", "ÖZ", "K")]),
]
# Year two: the classes moved up, 9003 and 1011 gone, 1002 repeats the year, 9011's surname
# written otherwise, two new pupils.
NEXT_YEAR = [
    ("10", "A", "(ALAN)", [(9001, "AYŞE", "YILMAZ", "K"), (9002, "MEHMET", "ÖZTÜRK", "E")]),
    ("10", "Ç", "(ALAN)", [(9010, "ALİ", "KAYA", "E"), (9011, "İREM", "ŞAHİNOĞLU", "K")]),
    ("10", "I", "(ALAN)", [(1002, "IŞIL", "AKSOY", "K")]),
    ("11", "I", "(ALAN)", [(1001, "ELİF NUR", "DEMİR", "K")]),
    ("11", "İ", "(ALAN)", [(1010, "İSMAİL", "GÜNEŞ", "E")]),
    ("9", "B", "", [(9101, "YUSUF", "ARSLAN", "E"), (9102, "DEFNE", "KOÇ", "K")]),
]

SCHOOL = "ATATÜRK ANADOLU LİSESİ"


def block_title(grade, section, field):
    words = [f"{grade}. Sınıf / {section} Şubesi"]
    if field:
        words.append(field)
    words.append("Sınıf Listesi")
    return " ".join(words)


def eokul_xls(path, blocks, header, merged_header=False):
    """Blocks one after the other, as the report engine writes them: the school's name and the
    block's title in merged cells, an empty row, the header, the pupils (numbers as decimals),
    an empty row and the count rows. With merged_header the column "Adı" spans two cells and its
    values stand in the second, as some variants print them."""
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Sayfa1")
    bold = xlwt.easyxf("font: bold on")
    r = 0
    for grade, section, field, pupils in blocks:
        ws.write_merge(r, r, 0, 7, SCHOOL, bold)
        ws.write_merge(r + 1, r + 1, 0, 7, block_title(grade, section, field), bold)
        r += 3
        col = 0
        where = {}
        for name in header:
            if merged_header and name == "Adı":
                ws.write_merge(r, r, col, col + 1, name, bold)
                where[name] = col + 1
                col += 2
                continue
            ws.write(r, col, name, bold)
            where[name] = col
            col += 1
        r += 1
        for i, (number, first, last, sex) in enumerate(pupils, start=1):
            values = {"S.No": float(i), "Öğrenci No": float(number), "Adı": first,
                      "Soyadı": last, "Cinsiyeti": "Kız" if sex == "K" else "Erkek",
                      "Pansiyon Durum": "Gündüzlü", "Dalı": ""}
            for name, value in values.items():
                if value != "":
                    ws.write(r, where[name], value)
            r += 1
        girls = sum(1 for p in pupils if p[3] == "K")
        r += 1
        for label, count in (("Kız", girls), ("Erkek", len(pupils) - girls),
                             ("Toplam", len(pupils))):
            ws.write(r, 1, label)
            ws.write(r, 2, float(count))
            r += 1
        r += 2
    wb.save(path)


def eokul_xlsx(path, blocks, header):
    """The same list saved again from Excel as .xlsx (openpyxl), merged titles kept."""
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Sayfa1"
    r = 1
    for grade, section, field, pupils in blocks:
        ws.cell(r, 1, SCHOOL)
        ws.merge_cells(start_row=r, start_column=1, end_row=r, end_column=8)
        ws.cell(r + 1, 1, block_title(grade, section, field))
        ws.merge_cells(start_row=r + 1, start_column=1, end_row=r + 1, end_column=8)
        r += 3
        for c, name in enumerate(header, start=1):
            ws.cell(r, c, name)
        r += 1
        for i, (number, first, last, sex) in enumerate(pupils, start=1):
            values = {"S.No": float(i), "Öğrenci No": float(number), "Adı": first,
                      "Soyadı": last, "Cinsiyeti": "Kız" if sex == "K" else "Erkek",
                      "Pansiyon Durum": "Gündüzlü", "Dalı": None}
            for c, name in enumerate(header, start=1):
                if values[name] is not None:
                    ws.cell(r, c, values[name])
            r += 1
        r += 1
        girls = sum(1 for p in pupils if p[3] == "K")
        for label, count in (("Kız", girls), ("Erkek", len(pupils) - girls),
                             ("Toplam", len(pupils))):
            ws.cell(r, 2, label)
            ws.cell(r, 3, count)
            r += 1
        r += 2
    save_xlsx(wb, path)


def save_xlsx(wb, path):
    wb.properties.created = FIXED
    wb.properties.modified = FIXED
    wb.save(path)
    # openpyxl stamps the archive's members with the clock: the same bytes on every run.
    with zipfile.ZipFile(path) as z:
        members = [(i.filename, z.read(i.filename)) for i in z.infolist()]
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in members:
            info = zipfile.ZipInfo(name, date_time=(2026, 5, 21, 10, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data)


def write_text(path, text, encoding, bom=False):
    data = text.encode(encoding)
    if bom:
        data = b"\xef\xbb\xbf" + data
    with open(path, "wb") as f:
        f.write(data)


# --- book spreadsheets --------------------------------------------------------------------------

BOOK_HEADER = ["Sıra", "Demirbaş No", "Kitabın Adı", "Yazarı", "Yayınevi", "Türü", "Barkodu",
               "Fiyatı", "Geliş Tarihi", "Edinme Şekli", "Basım Yeri", "Basım Yılı", "Baskı No",
               "Açıklama"]
LONG_TITLE = "UZUN " * 21  # 105 characters: longer than the column's 100


def book_rows():
    """The rows of the books sample: (values by header, cell kind hints). A date is a
    datetime.date (a date cell), a float an Excel number, a str a text."""
    d = datetime.date
    return [
        {"Demirbaş No": 1.0, "Kitabın Adı": "SEFİLLER", "Yazarı": "VICTOR HUGO",
         "Yayınevi": "İŞ BANKASI", "Türü": "ROMAN", "Barkodu": 9789754588248.0, "Fiyatı": 25.9,
         "Geliş Tarihi": d(2024, 9, 15), "Edinme Şekli": "Bağış", "Basım Yeri": "İSTANBUL",
         "Basım Yılı": 2019.0, "Baskı No": 3.0},
        {"Demirbaş No": 2.0, "Kitabın Adı": "BEYAZ DİŞ", "Yazarı": "JACK LONDON",
         "Fiyatı": "25,90 TL", "Geliş Tarihi": "15.09.2024", "Açıklama": "Yıpranmış"},
        {"Demirbaş No": 2.0, "Kitabın Adı": "BEYAZ DİŞ", "Yazarı": "JACK LONDON"},
        {"Demirbaş No": 100.0, "Kitabın Adı": "ÇALIKUŞU", "Yazarı": "REŞAT NURİ GÜNTEKİN"},
        {"Kitabın Adı": "İNCE MEMED", "Yazarı": "YAŞAR KEMAL", "Barkodu": "8690000000001",
         "Fiyatı": "40"},
        {"Kitabın Adı": "İNCE MEMED", "Yazarı": "YAŞAR KEMAL", "Barkodu": "8690000000001"},
        {"Demirbaş No": 7.0, "Kitabın Adı": LONG_TITLE},
        {"Demirbaş No": 8.0, "Kitabın Adı": "NUTUK", "Fiyatı": "bedava"},
        {"Demirbaş No": 9.0, "Kitabın Adı": "KUYUCAKLI YUSUF", "Fiyatı": 3000000000.0},
        {"Demirbaş No": 10.0, "Kitabın Adı": "TUTUNAMAYANLAR", "Geliş Tarihi": "31.02.2024"},
        {},
        {"Demirbaş No": 12.0, "Kitabın Adı": "KÜRK MANTOLU MADONNA",
         "Yazarı": "SABAHATTİN ALİ", "Fiyatı": "1.250,75", "Geliş Tarihi": 45500.0},
    ]


def books_xlsx(path):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Demirbaş"
    ws.cell(1, 1, "KÜTÜPHANE DEMİRBAŞ DEFTERİ")
    ws.merge_cells(start_row=1, start_column=1, end_row=1, end_column=6)
    for c, name in enumerate(BOOK_HEADER, start=1):
        ws.cell(3, c, name)
    for i, row in enumerate(book_rows()):
        r = 4 + i
        if row:
            ws.cell(r, 1, float(i + 1))
        for c, name in enumerate(BOOK_HEADER, start=1):
            if name in row:
                cell = ws.cell(r, c, row[name])
                if isinstance(row[name], datetime.date):
                    cell.number_format = "dd.mm.yyyy"
    save_xlsx(wb, path)


def books_xls(path):
    """School's own .xls: other words in the header, a date-formatted column, 1900 dates."""
    wb = xlwt.Workbook(encoding="utf-8")
    ws = wb.add_sheet("Kitaplar")
    date = xlwt.easyxf(num_format_str="DD.MM.YYYY")
    header = ["Kayıt No", "Eserin Adı", "Yazarı", "Değeri", "Edinme Tarihi", "Barkod"]
    for c, name in enumerate(header):
        ws.write(0, c, name)
    rows = [
        (501.0, "ŞEKER PORTAKALI", "JOSÉ MAURO DE VASCONCELOS", 18.0, datetime.date(2023, 1, 31),
         ""),
        (502.0, "KÜÇÜK PRENS", "ANTOINE DE SAINT-EXUPÉRY", 12.49, datetime.date(1900, 3, 1),
         "9789750724053"),
    ]
    for r, row in enumerate(rows, start=1):
        for c, value in enumerate(row):
            if value == "":
                continue
            ws.write(r, c, value, date if isinstance(value, datetime.date) else xlwt.Style.default_style)
    wb.save(path)


def books_1904_xlsx(path):
    """A workbook kept in the 1904 date system (as Excel for the Mac once did)."""
    wb = openpyxl.Workbook()
    wb.epoch = CALENDAR_MAC_1904
    ws = wb.active
    ws.append(["Seri No", "Adı", "Edinme Tarihi"])
    ws.append(["A-1", "DOKUZUNCU HARİCİYE KOĞUŞU", datetime.datetime(2024, 2, 29, 13, 30)])
    ws.cell(2, 3).number_format = "dd.mm.yyyy hh:mm"
    save_xlsx(wb, path)


# --- files to refuse ----------------------------------------------------------------------------

class EncryptedXls(xlwt.Workbook):
    """xlwt's workbook with a FILEPASS record (XOR obfuscation) where WRITEACCESS stood: what
    Excel writes when a workbook is protected with a password to open."""

    def _Workbook__write_access_rec(self):
        return struct.pack("<HHHHH", 0x002F, 6, 0x0000, 0x4A5B, 0x1C2D)


def encrypted_xls(path):
    wb = EncryptedXls(encoding="utf-8")
    ws = wb.add_sheet("Sayfa1")
    for c, name in enumerate(HEADER_A):
        ws.write(0, c, name)
    ws.write(1, 1, 9001.0)
    ws.write(1, 2, "AYŞE")
    wb.save(path)


def compound_file(streams):
    """A compound file (CFB version 3, 512-byte sectors) holding the given streams, each at least
    4096 bytes so that all lie in ordinary sectors: the container of an Office file encrypted
    with a password."""
    sector = 512
    body = []
    starts = []
    next_sector = 2  # sector 0: the FAT, sector 1: the directory
    for name, data in streams:
        data = data + b"\0" * (-len(data) % sector)
        starts.append(next_sector)
        body.append(data)
        next_sector += len(data) // sector
    total = next_sector
    assert total <= 128, "one FAT sector only"
    fat = [0xFFFFFFFD, 0xFFFFFFFE]
    for (name, data), start, padded in zip(streams, starts, body):
        count = len(padded) // sector
        fat += [start + k + 1 for k in range(count - 1)] + [0xFFFFFFFE]
    fat += [0xFFFFFFFF] * (128 - len(fat))

    def entry(name, kind, start, size, child=0xFFFFFFFF, right=0xFFFFFFFF):
        raw = name.encode("utf-16-le") + b"\0\0"
        return (raw.ljust(64, b"\0") + struct.pack("<HBB", len(raw), kind, 1) +
                struct.pack("<III", 0xFFFFFFFF, right, child) + b"\0" * 16 + b"\0" * 4 +
                b"\0" * 16 + struct.pack("<IIII", start, size, 0, 0)[:8] + b"\0" * 4)

    names = [n for n, _ in streams]
    directory = entry("Root Entry", 5, 0xFFFFFFFE, 0, child=1)
    for i, (name, data) in enumerate(streams):
        right = i + 2 if i + 1 < len(streams) else 0xFFFFFFFF
        directory += entry(name, 2, starts[i], len(data), right=right)
    directory = directory.ljust(sector, b"\0")
    header = (b"\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1" + b"\0" * 16 +
              struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + b"\0" * 6 +
              struct.pack("<IIIIIIII", 0, 1, 1, 0, 4096, 0xFFFFFFFE, 0, 0xFFFFFFFE) +
              struct.pack("<I", 0) + struct.pack("<109I", 0, *([0xFFFFFFFF] * 108)))
    assert len(header) == 512, len(header)
    del names
    return header + struct.pack("<128I", *fat) + directory + b"".join(body)


def encrypted_xlsx(path):
    rnd = random.Random(21)
    info = struct.pack("<HHI", 4, 4, 0x40) + b"<encryption/>" + bytes(4096)
    package = struct.pack("<Q", 9000) + bytes(rnd.getrandbits(8) for _ in range(9000))
    with open(path, "wb") as f:
        f.write(compound_file([("EncryptionInfo", info), ("EncryptedPackage", package)]))


def damaged_files():
    with open(os.path.join(HERE, "eokul_9.XLS"), "rb") as f:
        xls = f.read()
    with open(os.path.join(HERE, "bozuk.xls"), "wb") as f:
        f.write(xls[:1536])  # the header and the first sectors: the rest is cut off
    with open(os.path.join(HERE, "kitaplar.xlsx"), "rb") as f:
        xlsx = bytearray(f.read())
    # The sheet's compressed data overwritten in the middle: the archive's directory is whole,
    # the sheet no longer inflates (or fails its check sum).
    with zipfile.ZipFile(os.path.join(HERE, "kitaplar.xlsx")) as z:
        info = z.getinfo("xl/worksheets/sheet1.xml")
    start = info.header_offset + 30 + len(info.filename) + len(info.extra)
    for k in range(start + 40, start + 140):
        xlsx[k] ^= 0x5A
    with open(os.path.join(HERE, "bozuk.xlsx"), "wb") as f:
        f.write(bytes(xlsx))
    # A picture with a spreadsheet's name.
    with open(os.path.join(HERE, "resim.xls"), "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 4)
    # A Word document saved with a spreadsheet's name.
    with zipfile.ZipFile(os.path.join(HERE, "belge.xlsx"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in (("[Content_Types].xml", "<Types/>"),
                           ("word/document.xml", "<w:document/>")):
            z.writestr(zipfile.ZipInfo(name, date_time=(2026, 5, 21, 10, 0, 0)), data)
    # A spreadsheet without any header the import knows.
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(["Tarih", "Konu", "Not"])
    ws.append(["21.05.2026", "Toplantı", "Veli toplantısı"])
    save_xlsx(wb, os.path.join(HERE, "basliksiz.xlsx"))


# --- the samples --------------------------------------------------------------------------------

def samples():
    eokul_xls(os.path.join(HERE, "eokul_9.XLS"), NINTH, HEADER_A)
    eokul_xls(os.path.join(HERE, "eokul_10.XLS"), TENTH, HEADER_B, merged_header=True)
    eokul_xls(os.path.join(HERE, "eokul_2027.xls"), NEXT_YEAR, HEADER_A)
    eokul_xlsx(os.path.join(HERE, "eokul_10.xlsx"), TENTH, HEADER_B)
    # A school's own lists: Windows-1254 with ";" (Excel's "CSV" on a Turkish Windows), UTF-8
    # with a byte-order mark and tabs, UTF-8 without one and commas.
    write_text(os.path.join(HERE, "ogrenciler_1254.csv"),
               "Öğrenci No;Adı Soyadı;Sınıfı\r\n"
               "501;ÇAĞLA IŞIK;5/A\r\n"
               "502;  GÜLŞEN   ÖZ ;5-B\r\n"
               "503;İLKER ĞÜNEŞ;5 İ\r\n"
               ";;\r\n"
               "504;;5/A\r\n", "cp1254")
    write_text(os.path.join(HERE, "ogrenciler_bom.csv"),
               "Numarası\tAdı\tSoyadı\tSınıf\tŞube\n"
               "601\tÖMER FARUK\tTUNÇ\t6\tI\n"
               "602\tİPEK\tUÇAR\t6\tİ\n", "utf-8", bom=True)
    write_text(os.path.join(HERE, "ogrenciler.csv"),
               "No,Adı Soyadı\n"
               "701,\"KAAN, EFE\"\n"
               "702,BERK SÖNMEZ\n", "utf-8")
    books_xlsx(os.path.join(HERE, "kitaplar.xlsx"))
    books_xls(os.path.join(HERE, "kitaplar.xls"))
    books_1904_xlsx(os.path.join(HERE, "kitaplar_1904.xlsx"))
    write_text(os.path.join(HERE, "kitaplar.csv"),
               "Seri No;Adı;Yazarı;Fiyatı;Edinme Tarihi\r\n"
               "K-1;SİNEKLİ BAKKAL;HALİDE EDİB ADIVAR;\"12,50\";01.09.2025\r\n"
               "K-2;YABAN;YAKUP KADRİ KARAOSMANOĞLU;9.99 TL;2.9.2025\r\n", "cp1254")
    encrypted_xls(os.path.join(HERE, "sifreli.xls"))
    encrypted_xlsx(os.path.join(HERE, "sifreli.xlsx"))
    damaged_files()


# --- the benchmark's lists ----------------------------------------------------------------------

FIRST = ["AYŞE", "MEHMET", "ZEYNEP", "ALİ", "ELİF", "MUSTAFA", "İREM", "EMRE", "ŞEVVAL", "IŞIL",
         "YUSUF", "DEFNE", "ÖMER", "ÇAĞLA", "GÜLŞEN", "BERK"]
LAST = ["YILMAZ", "KAYA", "DEMİR", "ŞAHİN", "ÇELİK", "YILDIZ", "ÖZTÜRK", "AYDIN", "ÖZDEMİR",
        "ARSLAN", "DOĞAN", "KILIÇ", "ASLAN", "ÇETİN", "KOÇ", "GÜNEŞ"]
SECTIONS = ["A", "B", "C", "Ç", "D", "E", "F", "G", "H", "I"]


def bench(folder):
    rnd = random.Random(2026)
    os.makedirs(folder, exist_ok=True)
    blocks = []
    number = 10000
    for grade in (9, 10, 11, 12):
        for section in SECTIONS:
            pupils = []
            for _ in range(25):
                number += 1
                pupils.append((number, rnd.choice(FIRST), rnd.choice(LAST), rnd.choice("KE")))
            blocks.append((str(grade), section, "(ALAN)", pupils))
    eokul_xls(os.path.join(folder, "okul_1000.xls"), blocks, HEADER_A)
    # The same pupils a year later, every one in another class: a class up and the next
    # section (the twelfth graders stay twelfth graders, in the next section).
    moved = [(str(min(int(g) + 1, 12)), SECTIONS[(SECTIONS.index(s) + 1) % len(SECTIONS)], f, p)
             for g, s, f, p in blocks]
    eokul_xls(os.path.join(folder, "okul_1000_sonraki.xls"), moved, HEADER_A)
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.append(BOOK_HEADER)
    start = datetime.date(2010, 1, 1)
    for i in range(10000):
        ws.append([i + 1, float(i + 1), f"KİTAP {i + 1} {rnd.choice(LAST)}",
                   f"{rnd.choice(FIRST)} {rnd.choice(LAST)}", "YAYINEVİ", "ROMAN",
                   f"{9789750000000 + i}", round(rnd.uniform(5, 90), 2),
                   start + datetime.timedelta(days=i % 5000), "Satın alma", "İSTANBUL",
                   float(1990 + i % 35), 1.0, ""])
    for r in range(2, 10002):
        ws.cell(r, 9).number_format = "dd.mm.yyyy"
    save_xlsx(wb, os.path.join(folder, "kitaplar_10000.xlsx"))


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--bench":
        bench(sys.argv[2])
    elif len(sys.argv) == 1:
        samples()
    else:
        sys.exit("usage: make_lists.py [--bench FOLDER]")
