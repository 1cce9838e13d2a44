// The LIKE of the program's connections, called directly on UTF-8 text.
#include "data/turkishlike.h"

#include <QTest>
#include <string>

using namespace Qt::StringLiterals;

namespace {

bool like(const QString& pattern, const QString& text) {
    const QByteArray p = pattern.toUtf8();
    const QByteArray t = text.toUtf8();
    return data::turkishLike(std::string_view(p.constData(), static_cast<size_t>(p.size())),
                             std::string_view(t.constData(), static_cast<size_t>(t.size())));
}

} // namespace

class TurkishLikeTest : public QObject {
    Q_OBJECT

private slots:
    void lettersFoldAsALibrarianExpects_data();
    void lettersFoldAsALibrarianExpects();
    void percentMatchesAnyRun_data();
    void percentMatchesAnyRun();
    void underscoreMatchesExactlyOneCharacter_data();
    void underscoreMatchesExactlyOneCharacter();
    void longTextsMatchWithoutBlowingUp();
    void invalidUtf8StandsForItself();
};

void TurkishLikeTest::lettersFoldAsALibrarianExpects_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");

    // The four letters of the i family are one letter, in both directions.
    const QString iFamily[] = {u"İ"_s, u"I"_s, u"ı"_s, u"i"_s};
    for (const QString& a : iFamily)
        for (const QString& b : iFamily)
            QTest::addRow("%s~%s", qPrintable(a), qPrintable(b)) << a << b << true;

    const struct {
        const char16_t* a;
        const char16_t* b;
    } pairs[] = {{u"Ş", u"S"}, {u"ş", u"s"}, {u"Ş", u"s"}, {u"ş", u"S"}, {u"Ğ", u"G"},
                 {u"ğ", u"g"}, {u"Ğ", u"g"}, {u"Ç", u"C"}, {u"ç", u"c"}, {u"ç", u"C"},
                 {u"Ö", u"O"}, {u"ö", u"o"}, {u"Ö", u"o"}, {u"Ü", u"U"}, {u"ü", u"u"},
                 {u"ü", u"U"}, {u"Â", u"A"}, {u"â", u"a"}, {u"Î", u"I"}, {u"î", u"ı"},
                 {u"Î", u"İ"}, {u"Û", u"U"}, {u"û", u"u"}, {u"A", u"a"}, {u"Z", u"z"}};
    for (const auto& p : pairs) {
        const QString a = QString::fromUtf16(p.a), b = QString::fromUtf16(p.b);
        QTest::addRow("%s~%s", qPrintable(a), qPrintable(b)) << a << b << true;
        QTest::addRow("%s~%s", qPrintable(b), qPrintable(a)) << b << a << true;
    }

    // Letters that only look alike stay apart.
    QTest::newRow("a is not e") << u"a"_s << u"e"_s << false;
    QTest::newRow("A is not E") << u"A"_s << u"e"_s << false;
    QTest::newRow("ş is not ç") << u"ş"_s << u"ç"_s << false;
    QTest::newRow("ğ is not ü") << u"ğ"_s << u"ü"_s << false;
    QTest::newRow("ö is not ü") << u"ö"_s << u"ü"_s << false;
    QTest::newRow("i is not l") << u"i"_s << u"l"_s << false;
    QTest::newRow("Â is not E") << u"Â"_s << u"E"_s << false;
    QTest::newRow("one letter is not two") << u"s"_s << u"ss"_s << false;

    // Whole names as the search bar sends them.
    QTest::newRow("şahin/ŞAHİN") << u"şahin"_s << u"ŞAHİN"_s << true;
    QTest::newRow("ŞAHİN/SAHIN") << u"ŞAHİN"_s << u"SAHIN"_s << true;
    QTest::newRow("SAHIN/şahin") << u"SAHIN"_s << u"şahin"_s << true;
    QTest::newRow("çağrı/CAGRI") << u"çağrı"_s << u"CAGRI"_s << true;
    QTest::newRow("ÖĞÜTÇÜ/öğütçü") << u"ÖĞÜTÇÜ"_s << u"öğütçü"_s << true;
    QTest::newRow("kâtip/KATİP") << u"kâtip"_s << u"KATİP"_s << true;
    QTest::newRow("İSTANBUL lower-cased by Qt") << u"istanbul"_s << u"İSTANBUL"_s.toLower() << true;
    QTest::newRow("şahin/şahan") << u"şahin"_s << u"şahan"_s << false;
}

void TurkishLikeTest::lettersFoldAsALibrarianExpects() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(like(pattern, text), matches);
}

void TurkishLikeTest::percentMatchesAnyRun_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");

    QTest::newRow("% alone, empty text") << u"%"_s << QString() << true;
    QTest::newRow("% alone, any text") << u"%"_s << u"Kürk Mantolu Madonna"_s << true;
    QTest::newRow("%% on empty text") << u"%%"_s << QString() << true;
    QTest::newRow("%%% on text") << u"%%%"_s << u"ab"_s << true;
    QTest::newRow("empty pattern, empty text") << QString() << QString() << true;
    QTest::newRow("empty pattern, text") << QString() << u"a"_s << false;
    QTest::newRow("text, empty") << u"a"_s << QString() << false;
    QTest::newRow("contains") << u"%mantolu%"_s << u"KÜRK MANTOLU MADONNA"_s << true;
    QTest::newRow("contains, empty run before") << u"%kürk%"_s << u"Kürk Mantolu"_s << true;
    QTest::newRow("contains, empty run after") << u"%madonna%"_s << u"Kürk Madonna"_s << true;
    QTest::newRow("contains the whole text") << u"%kürk%"_s << u"kürk"_s << true;
    QTest::newRow("starts with") << u"kürk%"_s << u"Kürk Mantolu"_s << true;
    QTest::newRow("starts with, wrong start") << u"mantolu%"_s << u"Kürk Mantolu"_s << false;
    QTest::newRow("ends with") << u"%mantolu"_s << u"Kürk Mantolu"_s << true;
    QTest::newRow("ends with, more after") << u"%kürk"_s << u"Kürk Mantolu"_s << false;
    QTest::newRow("no % means the whole text") << u"kürk"_s << u"Kürk Mantolu"_s << false;
    QTest::newRow("several runs in order") << u"%a%b%c%"_s << u"xaybzc"_s << true;
    QTest::newRow("several runs out of order") << u"%c%b%a%"_s << u"xaybzc"_s << false;
    QTest::newRow("adjacent %%") << u"a%%b"_s << u"ab"_s << true;
    // The first place a run could start is not the right one: the matcher must go back.
    QTest::newRow("backtrack to the last occurrence") << u"%aab"_s << u"aaaab"_s << true;
    QTest::newRow("backtrack inside") << u"a%ab%b"_s << u"aabab"_s << true;
    QTest::newRow("backtrack fails honestly") << u"%aab"_s << u"aaaba"_s << false;
    QTest::newRow("backtrack over Turkish letters") << u"%şış"_s << u"ŞŞIŞ"_s << true;
    QTest::newRow("backtrack then end") << u"%ab%"_s << u"aaab"_s << true;
    QTest::newRow("pattern longer than text") << u"%abc%"_s << u"ab"_s << false;
}

void TurkishLikeTest::percentMatchesAnyRun() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(like(pattern, text), matches);
}

void TurkishLikeTest::underscoreMatchesExactlyOneCharacter_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");

    QTest::newRow("one for one") << u"_"_s << u"a"_s << true;
    QTest::newRow("not none") << u"_"_s << QString() << false;
    QTest::newRow("not two") << u"_"_s << u"ab"_s << false;
    QTest::newRow("a two-byte letter is one character") << u"_"_s << u"ğ"_s << true;
    QTest::newRow("İ is one character") << u"_"_s << u"İ"_s << true;
    QTest::newRow("two-byte letters counted as letters") << u"a__"_s << u"aşç"_s << true;
    QTest::newRow("two-byte letters, one too few") << u"a___"_s << u"aşç"_s << false;
    QTest::newRow("inside a word") << u"ş_hin"_s << u"ŞAHİN"_s << true;
    QTest::newRow("with %") << u"%_n"_s << u"şahin"_s << true;
    QTest::newRow("with %, too short") << u"%__"_s << u"ş"_s << false;
    QTest::newRow("_% needs one") << u"_%"_s << QString() << false;
    QTest::newRow("three-byte character") << u"_"_s << u"€"_s << true;
    QTest::newRow("four-byte character") << u"_"_s << u"😀"_s << true;
}

void TurkishLikeTest::underscoreMatchesExactlyOneCharacter() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(like(pattern, text), matches);
}

void TurkishLikeTest::longTextsMatchWithoutBlowingUp() {
    QString text;
    for (int i = 0; i < 10'000; ++i)
        text += QChar(i % 2 ? u'ş' : u'a');
    QCOMPARE(text.size(), 10'000);
    const QString tail = text + u"SON"_s;

    QVERIFY(like(u"%"_s, text));
    QVERIFY(like(u"%son"_s, tail));
    QVERIFY(like(u"a%son"_s, tail));
    QVERIFY(!like(u"%sonx"_s, tail));
    QVERIFY(like(u"%as%as%as%son"_s, tail));
    // The worst case for a matcher without the single-star rule: many "%" and a miss at the end.
    QVERIFY(!like(u"%a%a%a%a%a%a%a%a%a%a%b"_s, text));
    QVERIFY(like(QString(10'000, u'_'), text));
    QVERIFY(!like(QString(10'001, u'_'), text));
}

void TurkishLikeTest::invalidUtf8StandsForItself() {
    const auto raw = [](std::string_view p, std::string_view t) { return data::turkishLike(p, t); };
    // A stray continuation byte, a cut-off two-byte letter, an over-long encoding, a lone lead.
    const std::string broken[] = {"\x80",     "\xC5",         "a\xC5",    "\xC0\xAF",
                                  "\xE2\x82", "\xF0\x9F\x98", "\xFF\xFE", std::string("a\0b", 3)};
    for (const std::string& b : broken) {
        QVERIFY(raw("%", b));
        QVERIFY(raw(b, b));
        QVERIFY(raw("%" + b + "%", "x" + b + "y"));
        QVERIFY(!raw(b, "x"));
        QVERIFY(!raw("x", b));
    }
    // A cut-off "ş" (C5 9F) is a byte, not the letter, and "_" takes one such byte.
    QVERIFY(!raw("\xC5", "\xC5\x9F"));
    QVERIFY(raw("_", "\xC5"));
    QVERIFY(raw("__", "\xC5\x80\x80"));
    // A byte that is no UTF-8 is not the Latin-1 letter of the same number: 0xC0 is not "À" or
    // "à" (C3 80, C3 A0), 0xE7 is not "ç".
    QVERIFY(!raw("\xC0", "\xC3\x80"));
    QVERIFY(!raw("\xC0", "\xC3\xA0"));
    QVERIFY(!raw("\xE7", "\xC3\xA7"));
    QVERIFY(!raw("\xC3\xA7", "\xE7"));
    // An over-long encoding of "%" (E0 80 A5) or of "_" (C1 9F) is three or two bytes, no wildcard.
    QVERIFY(!raw("\xE0\x80\xA5", "xyz"));
    QVERIFY(raw("\xE0\x80\xA5", "\xE0\x80\xA5"));
    QVERIFY(!raw("\xC1\x9F", "x"));
}

QTEST_APPLESS_MAIN(TurkishLikeTest)
#include "tst_turkishlike.moc"
