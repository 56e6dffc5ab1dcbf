#!/usr/bin/env python3
"""Writes ten_scripts.txt, a translation text file of form "ScriptsForm" with ten locales in
ten scripts, each in the code page of its Font.Charset entry, and ten_scripts.expected, the
same texts in UTF-8 (key, TAB, locale, TAB, text) for the tests to compare windows with.

The bytes come from Python's own codecs, so the tests hold the project's code page tables to an
independent converter. Run it again after changing a text: python3 make_ten_scripts.py
"""
import os

FORM = "ScriptsForm"

# locale id, code page, character set, font face (None: the dialog's own), right to left
LOCALES = {
    "ru": (1049, "cp1251", 204, None, False),
    "el": (1032, "cp1253", 161, None, False),
    "pl": (1045, "cp1250", 238, None, False),
    "tr": (1055, "cp1254", 162, None, False),
    # Noto Sans Hebrew lacks ":"; the dialog face in the Hebrew set is realised as Liberation Sans,
    # which has Hebrew and Latin.
    "he": (1037, "cp1255", 177, None, True),
    # Noto Sans Arabic has no Latin letters, and the file dialog lists folders and drives in the
    # dialog's face; DejaVu Sans has both, and Arabic's presentation forms.
    "ar": (1025, "cp1256", 178, "DejaVu Sans", True),
    # Noto Sans Thai lacks Latin letters and ":"; Loma has both.
    "th": (1054, "cp874", 222, "Loma", False),
    "ja": (1041, "cp932", 128, "Noto Sans CJK JP", False),
    "zh-CN": (2052, "gbk", 134, "Noto Sans CJK SC", False),
    "ko": (1042, "cp949", 129, "Noto Sans CJK KR", False),
}

# The keys translated: dialog class, then (key, {language: text}).
K = "Caption"
TEXTS = {
    "TOpenDialog": [
        (K, dict(ru="Открыть", el="Άνοιγμα", pl="Otwieranie", tr="Aç", he="פתיחה", ar="فتح", th="เปิด", ja="開く", zh="打开", ko="열기")),
        (K + "[1091]", dict(ru="&Папка:", el="&Σε:", pl="&Szukaj w:", tr="&Konum:", he="&חפש ב:", ar="ال&بحث في:", th="ค้นหา&ใน:", ja="場所(&I):", zh="查找范围(&I):", ko="찾는 위치(&I):")),
        (K + "[1090]", dict(ru="&Имя файла:", el="Ό&νομα αρχείου:", pl="&Nazwa pliku:", tr="&Dosya adı:", he="&שם קובץ:", ar="&اسم الملف:", th="&ชื่อแฟ้ม:", ja="ファイル名(&N):", zh="文件名(&N):", ko="파일 이름(&N):")),
        (K + "[1089]", dict(ru="&Тип файлов:", el="&Τύπος αρχείων:", pl="Pliki &typu:", tr="Dosya &türü:", he="&סוג קובץ:", ar="&نوع الملف:", th="ช&นิดแฟ้ม:", ja="種類(&T):", zh="文件类型(&T):", ko="파일 형식(&T):")),
        (K + "[1]", dict(ru="&Открыть", el="&Άνοιγμα", pl="&Otwórz", tr="&Aç", he="&פתח", ar="&فتح", th="&เปิด", ja="開く(&O)", zh="打开(&O)", ko="열기(&O)")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
    "TSaveDialog": [
        (K, dict(ru="Сохранить как", el="Αποθήκευση ως", pl="Zapisywanie jako", tr="Farklı Kaydet", he="שמירה בשם", ar="حفظ باسم", th="บันทึกเป็น", ja="名前を付けて保存", zh="另存为", ko="다른 이름으로 저장")),
        (K + "[1090]", dict(ru="&Имя файла:", el="Ό&νομα αρχείου:", pl="&Nazwa pliku:", tr="&Dosya adı:", he="&שם קובץ:", ar="&اسم الملف:", th="&ชื่อแฟ้ม:", ja="ファイル名(&N):", zh="文件名(&N):", ko="파일 이름(&N):")),
        (K + "[1089]", dict(ru="&Тип файла:", el="&Τύπος:", pl="Zapisz jako &typ:", tr="Kayıt &türü:", he="&סוג קובץ:", ar="&نوع الملف:", th="ช&นิด:", ja="種類(&T):", zh="保存类型(&T):", ko="파일 형식(&T):")),
        (K + "[1]", dict(ru="&Сохранить", el="Απο&θήκευση", pl="&Zapisz", tr="&Kaydet", he="ש&מור", ar="&حفظ", th="&บันทึก", ja="保存(&S)", zh="保存(&S)", ko="저장(&S)")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
    "TFontDialog": [
        (K, dict(ru="Шрифт", el="Γραμματοσειρά", pl="Czcionka", tr="Yazı Tipi", he="גופן", ar="الخط", th="แบบอักษร", ja="フォント", zh="字体", ko="글꼴")),
        (K + "[1088]", dict(ru="&Шрифт:", el="&Γραμματοσειρά:", pl="Czcio&nka:", tr="&Yazı tipi:", he="&גופן:", ar="ال&خط:", th="&แบบอักษร:", ja="フォント名(&F):", zh="字体(&F):", ko="글꼴(&F):")),
        (K + "[1089]", dict(ru="&Начертание:", el="&Στυλ:", pl="St&yl:", tr="&Stil:", he="&סגנון:", ar="&نمط:", th="&ลักษณะ:", ja="スタイル(&Y):", zh="字形(&Y):", ko="스타일(&Y):")),
        (K + "[1090]", dict(ru="&Размер:", el="&Μέγεθος:", pl="&Rozmiar:", tr="&Boyut:", he="גו&דל:", ar="ال&حجم:", th="ข&นาด:", ja="寸法(&S):", zh="大小(&S):", ko="크기(&S):")),
        (K + "[1]", dict(ru="ОК", el="OK", pl="OK", tr="Tamam", he="אישור", ar="موافق", th="ตกลง", ja="OK", zh="确定", ko="확인")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
    "TColorDialog": [
        (K, dict(ru="Цвет", el="Χρώμα", pl="Kolory", tr="Renk", he="צבע", ar="اللون", th="สี", ja="色の設定", zh="颜色", ko="색")),
        (K + "[1088]", dict(ru="&Основные:", el="&Βασικά:", pl="&Podstawowe:", tr="&Temel:", he="&בסיסיים:", ar="الأ&ساسية:", th="พื้น&ฐาน:", ja="基本色(&B):", zh="基本颜色(&B):", ko="기본 색(&B):")),
        (K + "[1089]", dict(ru="&Дополнительные:", el="&Προσαρμογή:", pl="&Niestandardowe:", tr="Ö&zel:", he="&מותאמים:", ar="ال&مخصصة:", th="&กำหนดเอง:", ja="作成した色(&C):", zh="自定义颜色(&C):", ko="사용자 지정(&C):")),
        (K + "[1]", dict(ru="ОК", el="OK", pl="OK", tr="Tamam", he="אישור", ar="موافق", th="ตกลง", ja="OK", zh="确定", ko="확인")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
    "TFindDialog": [
        (K, dict(ru="Поиск", el="Εύρεση", pl="Znajdowanie", tr="Bul", he="חיפוש", ar="بحث", th="ค้นหา", ja="検索", zh="查找", ko="찾기")),
        (K + "[-1]", dict(ru="&Найти:", el="&Εύρεση:", pl="Zna&jdź:", tr="&Aranan:", he="&חפש:", ar="&البحث عن:", th="&ค้นหา:", ja="検索(&N):", zh="查找内容(&N):", ko="찾을 내용(&N):")),
        (K + "[1041]", dict(ru="С &учетом регистра", el="&Πεζά/κεφαλαία", pl="Wielkość &liter", tr="&Büyük/küçük", he="&התאם רישיות", ar="&مطابقة الحالة", th="ตัว&พิมพ์", ja="大/小文字(&C)", zh="区分大小写(&C)", ko="대/소문자(&C)")),
        (K + "[1]", dict(ru="Найти &далее", el="Επό&μενο", pl="Znajdź &następny", tr="&Sonrakini bul", he="חפש ה&בא", ar="ال&تالي", th="&ถัดไป", ja="次を検索(&F)", zh="查找下一个(&F)", ko="다음 찾기(&F)")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
    "TReplaceDialog": [
        (K, dict(ru="Замена", el="Αντικατάσταση", pl="Zamienianie", tr="Değiştir", he="החלפה", ar="استبدال", th="แทนที่", ja="置換", zh="替换", ko="바꾸기")),
        (K + "[-1]", dict(ru="&Найти:", el="&Εύρεση:", pl="Zna&jdź:", tr="&Aranan:", he="&חפש:", ar="&البحث عن:", th="&ค้นหา:", ja="検索(&N):", zh="查找内容(&N):", ko="찾을 내용(&N):")),
        (K + "[-3]", dict(ru="&Заменить на:", el="&Με:", pl="Zamień &na:", tr="&Yeni değer:", he="&החלף ב:", ar="ا&ستبدال بـ:", th="แทน&ด้วย:", ja="置換後(&P):", zh="替换为(&P):", ko="바꿀 내용(&P):")),
        (K + "[1]", dict(ru="Найти &далее", el="Ε&πόμενο", pl="Znajdź na&stępny", tr="&Sonrakini bul", he="חפש ה&בא", ar="ال&تالي", th="&ถัดไป", ja="次を検索(&F)", zh="查找下一个(&F)", ko="다음 찾기(&F)")),
        (K + "[1024]", dict(ru="За&менить", el="&Αντικατάσταση", pl="&Zamień", tr="&Değiştir", he="הח&לף", ar="است&بدال", th="แทน&ที่", ja="置換(&R)", zh="替换(&R)", ko="바꾸기(&R)")),
        (K + "[1025]", dict(ru="Заменить &все", el="Ό&λα", pl="Zmień wszystk&o", tr="&Tümünü değiştir", he="החלף ה&כל", ar="ال&كل", th="ทั้ง&หมด", ja="すべて置換(&A)", zh="全部替换(&A)", ko="모두 바꾸기(&A)")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
    "TPrinterSetupDialog": [
        (K, dict(ru="Настройка печати", el="Ρύθμιση εκτύπωσης", pl="Ustawienia wydruku", tr="Yazdırma Ayarları", he="הגדרות הדפסה", ar="إعداد الطباعة", th="ตั้งค่าการพิมพ์", ja="プリンタの設定", zh="打印设置", ko="인쇄 설정")),
        (K + "[1075]", dict(ru="Принтер", el="Εκτυπωτής", pl="Drukarka", tr="Yazıcı", he="מדפסת", ar="الطابعة", th="เครื่องพิมพ์", ja="プリンタ", zh="打印机", ko="프린터")),
        (K + "[1093]", dict(ru="&Имя:", el="Ό&νομα:", pl="&Nazwa:", tr="&Yazıcı:", he="&שם:", ar="الا&سم:", th="&ชื่อ:", ja="名前(&N):", zh="名称(&N):", ko="이름(&N):")),
        (K + "[1]", dict(ru="ОК", el="OK", pl="OK", tr="Tamam", he="אישור", ar="موافق", th="ตกลง", ja="OK", zh="确定", ko="확인")),
        (K + "[2]", dict(ru="Отмена", el="Άκυρο", pl="Anuluj", tr="İptal", he="ביטול", ar="إلغاء", th="ยกเลิก", ja="キャンセル", zh="取消", ko="취소")),
    ],
}


def literal(text):
    """The literal form of a text without control characters or apostrophes: one quoted run."""
    assert "'" not in text and all(ord(c) >= 32 for c in text)
    return "'" + text + "'"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    lines, expected = [], []
    for lang, (locale, codec, charset, face, rtl) in LOCALES.items():
        short = "zh" if lang == "zh-CN" else lang
        for cls, keys in TEXTS.items():
            entries = [(f"{cls}.Font.Charset", str(charset))]
            if face:
                entries.append((f"{cls}.Font.Name", literal(face)))
            if rtl:
                entries.append((f"{cls}.BiDiMode", "bdRightToLeft"))
            for key, texts in keys:
                entries.append((f"{cls}.{key}", literal(texts[short])))
                expected.append(f"{cls}.{key}\t{locale}\t{texts[short]}")
            for key, value in entries:
                lines.append(f"#0{FORM}.{key}%{locale}={value}".encode(codec))
    with open(os.path.join(here, "ten_scripts.txt"), "wb") as f:
        f.write(b"".join(line + b"\r\n" for line in lines))
    with open(os.path.join(here, "ten_scripts.expected"), "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(e + "\n" for e in expected))


main()
