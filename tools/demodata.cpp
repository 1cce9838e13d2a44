#include "tools/demodata.h"

#include "data/sqlite.h"
#include "data/tables.h"
#include "data/value.h"
#include "platform/datetime.h"
#include "platform/errors.h"
#include "platform/textrules.h"
#include "tools/dbfile.h"

#include <QDate>
#include <QFile>
#include <QStringList>
#include <QTime>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace tools {

namespace {

using data::Value;
using platform::DateTime;
using platform::Error;

// Every date the entry windows save carries the time of day their pickers start with.
DateTime enteredDate(QDate date) {
    return DateTime::fromDate(date, QTime(16, 15, 25, 890));
}
DateTime enteredDate(int year, int month, int day) {
    return enteredDate(QDate(year, month, day));
}

QString text(const char16_t* s) {
    return QString::fromUtf16(s);
}
// What a capitals edit box stores for a typed text.
QString caps(const char16_t* s) {
    return platform::turkishUpper(QString::fromUtf16(s));
}

using data::sqlite::RowInserter;

// Every column but IDNO, in the table's order. A value of the wrong kind, or a text longer than
// its column, is refused, so that no database comes out that the program could not read or
// edit.
RowInserter tableWriter(const data::sqlite::Database& db, const data::TableDef& table) {
    return RowInserter(db, table, RowInserter::allButKey(table), RowInserter::Rules::Strict);
}

struct Writers {
    RowInserter readers;
    RowInserter books;
    RowInserter loans;
};

// Makes a new database and fills it in one transaction. When filling fails, the half-made
// file is removed again and the error goes on.
void createFilled(const QString& path, const std::function<void(Writers&)>& fill) {
    createDatabase(path);
    try {
        data::sqlite::Database db(path, data::sqlite::Database::Mode::ReadWrite);
        db.execute(QStringLiteral("BEGIN"));
        {
            Writers writers{tableWriter(db, data::okuyucuTable()),
                            tableWriter(db, data::kitapkayitTable()),
                            tableWriter(db, data::hareketTable())};
            fill(writers);
        }
        db.execute(QStringLiteral("COMMIT"));
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

// A made-up EAN-13 with the Turkish prefix 869 and a correct check digit.
QString barcode(qint64 serial) {
    QString digits =
        QStringLiteral("869") + QStringLiteral("%1").arg(serial, 9, 10, QLatin1Char('0'));
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (digits[i].unicode() - u'0') * (i % 2 ? 3 : 1);
    return digits + QChar(u'0' + (10 - sum % 10) % 10);
}

// Telephone numbers of the form "0 (312) 01x xx xx": no subscriber number starts with 0, so
// none of them can ring anyone.
QString phone(const char* area, int block, int n) {
    return QStringLiteral("0 (%1) 01%2 %3 %4")
        .arg(QLatin1String(area))
        .arg(block)
        .arg(10 + n % 90)
        .arg(10 + (n * 37 + 11) % 90);
}

// The print date lies in the year of printing and not after the book came to the library.
QDate printedOn(int year, int month, int day, QDate acquired) {
    const QDate printed(year, month, day);
    return printed < acquired ? printed : acquired.addDays(-30);
}

// ---------------------------------------------------------------------------------------------
// Demo data: a school library in Ankara in spring 2009.

struct School {
    const char16_t* name;
    const char16_t* level;
};

constexpr School schools[] = {
    {u"Atatürk İlkokulu", u"İlkokul"},      {u"Cumhuriyet İlkokulu", u"İlkokul"},
    {u"İnönü Ortaokulu", u"Ortaokul"},      {u"Gazi Ortaokulu", u"Ortaokul"},
    {u"Mehmet Akif Ersoy Lisesi", u"Lise"}, {u"Ziya Gökalp Anadolu Lisesi", u"Lise"},
};

struct DemoReader {
    const char16_t* name;
    int school;
    bool teacher;
    const char16_t* birthPlace; // null: not entered
    int year, month, day;       // year 0: not entered
};

constexpr DemoReader demoReaders[] = {
    {u"Ayşe Yılmaz", 0, false, u"Ankara", 2000, 3, 14},
    {u"Mehmet Öztürk", 0, false, u"Konya", 1999, 11, 2},
    {u"Zeynep Kaya", 1, false, u"Ankara", 2001, 6, 25},
    {u"Mustafa Demir", 1, false, u"Kırşehir", 2000, 1, 9},
    {u"Elif Şahin", 0, false, u"İstanbul", 2001, 9, 30},
    {u"Emre Çelik", 1, false, u"Ankara", 1999, 4, 17},
    {u"İsmail Kılıç", 0, false, u"Iğdır", 2000, 12, 5},
    {u"Fatma Yıldız", 1, false, u"Çorum", 2002, 2, 20},
    {u"Ahmet Aydın", 2, false, u"Ankara", 1996, 5, 11},
    {u"Merve Arslan", 2, false, u"Eskişehir", 1997, 8, 3},
    {u"Burak Doğan", 3, false, u"Trabzon", 1995, 10, 21},
    {u"Gizem Kurt", 3, false, u"Ankara", 1996, 7, 7},
    {u"Hüseyin Koç", 2, false, u"Şanlıurfa", 1997, 1, 28},
    {u"Büşra Özdemir", 3, false, u"Ankara", 1998, 3, 16},
    {u"Oğuz Aslan", 2, false, u"Bursa", 1995, 12, 24},
    {u"Şeyma Çetin", 3, false, u"Kayseri", 1996, 9, 9},
    {u"Yusuf Kara", 2, false, u"Ağrı", 0, 0, 0},
    {u"Irmak Polat", 3, false, u"Muğla", 1998, 6, 19},
    {u"Çağrı Erdoğan", 2, false, u"Ankara", 1996, 11, 13},
    {u"Gülşen Yavuz", 3, false, u"Sivas", 1995, 2, 8},
    {u"Ali Can Şimşek", 4, false, u"Ankara", 1992, 3, 3},
    {u"Esra Özkan", 4, false, u"İzmir", 1993, 5, 27},
    {u"Tuğba Aksoy", 5, false, u"Ankara", 1991, 8, 15},
    {u"Kaan Güneş", 5, false, u"Antalya", 1993, 10, 10},
    {u"Dilek Bulut", 4, false, u"Samsun", 1992, 12, 1},
    {u"Serkan Turan", 5, false, u"Erzurum", 1994, 1, 22},
    {u"Hatice Karaca", 4, false, u"Ankara", 1991, 4, 29},
    {u"İbrahim Yücel", 5, false, u"Diyarbakır", 1993, 7, 4},
    {u"Nur Özer", 4, false, u"Çanakkale", 1994, 9, 18},
    {u"Cem Acar", 5, false, u"Ankara", 1992, 6, 6},
    {u"Derya Ünal", 4, false, u"Edirne", 1993, 2, 14},
    {u"Onur Kaplan", 5, false, u"Malatya", 1991, 11, 30},
    {u"Hasan Yılmaz", 0, true, u"Sinop", 1965, 4, 12},
    {u"Sevgi Korkmaz", 1, true, u"Ankara", 1972, 8, 23},
    {u"Recep Tekin", 2, true, u"Rize", 1968, 1, 5},
    {u"Nermin Işık", 3, true, u"Afyonkarahisar", 1975, 10, 30},
    {u"Cengiz Altun", 4, true, u"Kastamonu", 1962, 3, 19},
    {u"Aylin Güler", 5, true, u"İzmir", 1979, 12, 8},
    {u"Murat Ateş", 4, true, u"Ankara", 1970, 6, 14},
    {u"Selin Uçar", 2, true, nullptr, 0, 0, 0},
};

constexpr const char16_t* neighbourhoods[] = {u"Bahçelievler",  u"Emek",     u"Kavaklıdere",
                                              u"Esat",          u"Ayrancı",  u"Demetevler",
                                              u"Aydınlıkevler", u"Kurtuluş", u"Dikmen"};
constexpr const char16_t* streets[] = {
    u"Gazi Mustafa Kemal Blv.", u"Ziya Gökalp Cad.", u"Menekşe Sok.", u"Lale Sok.", u"Çamlık Sok.",
    u"Şehit Öğretmen Cad.",     u"Akasya Sok."};
constexpr const char16_t* districts[] = {u"Çankaya", u"Keçiören", u"Yenimahalle", u"Mamak"};

QString address(int i) {
    return QStringLiteral("%1 Mah. %2 No: %3/%4 %5/Ankara")
        .arg(text(neighbourhoods[(i * 5) % std::size(neighbourhoods)]),
             text(streets[(i * 3 + 1) % std::size(streets)]))
        .arg(1 + (i * 7) % 60)
        .arg(1 + (i * 3) % 12)
        .arg(text(districts[(i / 3) % std::size(districts)]));
}

struct DemoBook {
    const char16_t* title;
    const char16_t* author;
    const char16_t* kind;
    const char16_t* publisher;
};

constexpr DemoBook demoBooks[] = {
    {u"Çalıkuşu", u"Reşat Nuri Güntekin", u"Roman", u"İnkılap Kitabevi"},
    {u"Yaprak Dökümü", u"Reşat Nuri Güntekin", u"Roman", u"İnkılap Kitabevi"},
    {u"Sinekli Bakkal", u"Halide Edib Adıvar", u"Roman", u"Özgür Yayınları"},
    {u"Ateşten Gömlek", u"Halide Edib Adıvar", u"Roman", u"Özgür Yayınları"},
    {u"Kuyucaklı Yusuf", u"Sabahattin Ali", u"Roman", u"Yapı Kredi Yayınları"},
    {u"İçimizdeki Şeytan", u"Sabahattin Ali", u"Roman", u"Yapı Kredi Yayınları"},
    {u"Kürk Mantolu Madonna", u"Sabahattin Ali", u"Roman", u"Yapı Kredi Yayınları"},
    {u"İnce Memed", u"Yaşar Kemal", u"Roman", u"Yapı Kredi Yayınları"},
    {u"Yer Demir Gök Bakır", u"Yaşar Kemal", u"Roman", u"Yapı Kredi Yayınları"},
    {u"Ağrı Dağı Efsanesi", u"Yaşar Kemal", u"Roman", u"Yapı Kredi Yayınları"},
    {u"Aşk-ı Memnu", u"Halit Ziya Uşaklıgil", u"Roman", u"Özgür Yayınları"},
    {u"Mai ve Siyah", u"Halit Ziya Uşaklıgil", u"Roman", u"Özgür Yayınları"},
    {u"Eylül", u"Mehmet Rauf", u"Roman", u"Everest Yayınları"},
    {u"Araba Sevdası", u"Recaizade Mahmut Ekrem", u"Roman", u"Everest Yayınları"},
    {u"Huzur", u"Ahmet Hamdi Tanpınar", u"Roman", u"Dergah Yayınları"},
    {u"Saatleri Ayarlama Enstitüsü", u"Ahmet Hamdi Tanpınar", u"Roman", u"Dergah Yayınları"},
    {u"Tutunamayanlar", u"Oğuz Atay", u"Roman", u"İletişim Yayınları"},
    {u"Yaban", u"Yakup Kadri Karaosmanoğlu", u"Roman", u"İletişim Yayınları"},
    {u"Kiralık Konak", u"Yakup Kadri Karaosmanoğlu", u"Roman", u"İletişim Yayınları"},
    {u"Sözde Kızlar", u"Peyami Safa", u"Roman", u"Ötüken Neşriyat"},
    {u"Dokuzuncu Hariciye Koğuşu", u"Peyami Safa", u"Roman", u"Ötüken Neşriyat"},
    {u"Fatih-Harbiye", u"Peyami Safa", u"Roman", u"Ötüken Neşriyat"},
    {u"Vurun Kahpeye", u"Halide Edib Adıvar", u"Roman", u"Özgür Yayınları"},
    {u"Bereketli Topraklar Üzerinde", u"Orhan Kemal", u"Roman", u"Everest Yayınları"},
    {u"Cemile", u"Orhan Kemal", u"Roman", u"Everest Yayınları"},
    {u"Hababam Sınıfı", u"Rıfat Ilgaz", u"Roman", u"Çınar Yayınları"},
    {u"Anayurt Oteli", u"Yusuf Atılgan", u"Roman", u"Yapı Kredi Yayınları"},
    {u"Sergüzeşt", u"Samipaşazade Sezai", u"Roman", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"İntibah", u"Namık Kemal", u"Roman", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Beyaz Kale", u"Orhan Pamuk", u"Roman", u"İletişim Yayınları"},
    {u"Kar", u"Orhan Pamuk", u"Roman", u"İletişim Yayınları"},
    {u"Kaşağı", u"Ömer Seyfettin", u"Hikaye", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Forsa", u"Ömer Seyfettin", u"Hikaye", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Yalnız Efe", u"Ömer Seyfettin", u"Hikaye", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Semaver", u"Sait Faik Abasıyanık", u"Hikaye", u"Yapı Kredi Yayınları"},
    {u"Alemdağ'da Var Bir Yılan", u"Sait Faik Abasıyanık", u"Hikaye", u"Yapı Kredi Yayınları"},
    {u"Son Kuşlar", u"Sait Faik Abasıyanık", u"Hikaye", u"Yapı Kredi Yayınları"},
    {u"Memleket Hikayeleri", u"Refik Halit Karay", u"Hikaye", u"İnkılap Kitabevi"},
    {u"Dede Korkut Hikayeleri", u"Anonim", u"Hikaye", u"Türk Dil Kurumu"},
    {u"Safahat", u"Mehmet Akif Ersoy", u"Şiir", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Kendi Gök Kubbemiz", u"Yahya Kemal Beyatlı", u"Şiir", u"İnkılap Kitabevi"},
    {u"Çile", u"Necip Fazıl Kısakürek", u"Şiir", u"Büyük Doğu Yayınları"},
    {u"Memleketimden İnsan Manzaraları", u"Nazım Hikmet", u"Şiir", u"Yapı Kredi Yayınları"},
    {u"Garip", u"Orhan Veli Kanık", u"Şiir", u"Yapı Kredi Yayınları"},
    {u"Otuz Beş Yaş", u"Cahit Sıtkı Tarancı", u"Şiir", u"Can Yayınları"},
    {u"Yunus Emre Divanı", u"Yunus Emre", u"Şiir", u"Türk Dil Kurumu"},
    {u"Nutuk", u"Mustafa Kemal Atatürk", u"Tarih", u"Türk Tarih Kurumu"},
    {u"Nasreddin Hoca Fıkraları", u"Anonim", u"Mizah", u"Çınar Yayınları"},
    {u"Yaşar Ne Yaşar Ne Yaşamaz", u"Aziz Nesin", u"Mizah", u"Nesin Yayınevi"},
    {u"Zübük", u"Aziz Nesin", u"Mizah", u"Nesin Yayınevi"},
    {u"Bizim Köy", u"Mahmut Makal", u"Anı", u"Everest Yayınları"},
    {u"Vatan Yahut Silistre", u"Namık Kemal", u"Tiyatro", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Şair Evlenmesi", u"İbrahim Şinasi", u"Tiyatro", u"Milli Eğitim Bakanlığı Yayınları"},
    {u"Keloğlan Masalları", u"Anonim", u"Masal", u"Çınar Yayınları"},
    {u"Şeker Portakalı", u"José Mauro de Vasconcelos", u"Roman", u"Can Yayınları"},
    {u"Küçük Prens", u"Antoine de Saint-Exupéry", u"Roman", u"Can Yayınları"},
    {u"Sefiller", u"Victor Hugo", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Notre Dame'ın Kamburu", u"Victor Hugo", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Suç ve Ceza", u"Fyodor Dostoyevski", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Karamazov Kardeşler", u"Fyodor Dostoyevski", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Savaş ve Barış", u"Lev Tolstoy", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Anna Karenina", u"Lev Tolstoy", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Beyaz Diş", u"Jack London", u"Roman", u"Altın Kitaplar"},
    {u"Martin Eden", u"Jack London", u"Roman", u"Altın Kitaplar"},
    {u"Robinson Crusoe", u"Daniel Defoe", u"Roman", u"Altın Kitaplar"},
    {u"Define Adası", u"Robert Louis Stevenson", u"Roman", u"Altın Kitaplar"},
    {u"Gulliver'in Gezileri", u"Jonathan Swift", u"Roman", u"Altın Kitaplar"},
    {u"Don Kişot", u"Miguel de Cervantes", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Oliver Twist", u"Charles Dickens", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"İki Şehrin Hikayesi", u"Charles Dickens", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Seksen Günde Devri Alem", u"Jules Verne", u"Roman", u"Remzi Kitabevi"},
    {u"Denizler Altında Yirmi Bin Fersah", u"Jules Verne", u"Roman", u"Remzi Kitabevi"},
    {u"Dünyanın Merkezine Yolculuk", u"Jules Verne", u"Roman", u"Remzi Kitabevi"},
    {u"Tom Sawyer'ın Maceraları", u"Mark Twain", u"Roman", u"Remzi Kitabevi"},
    {u"Huckleberry Finn'in Maceraları", u"Mark Twain", u"Roman", u"Remzi Kitabevi"},
    {u"Alice Harikalar Diyarında", u"Lewis Carroll", u"Roman", u"Can Yayınları"},
    {u"Pinokyo", u"Carlo Collodi", u"Masal", u"Can Yayınları"},
    {u"Heidi", u"Johanna Spyri", u"Roman", u"Altın Kitaplar"},
    {u"Pollyanna", u"Eleanor H. Porter", u"Roman", u"Altın Kitaplar"},
    {u"Küçük Kadınlar", u"Louisa May Alcott", u"Roman", u"Altın Kitaplar"},
    {u"Uğultulu Tepeler", u"Emily Brontë", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Jane Eyre", u"Charlotte Brontë", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Gurur ve Önyargı", u"Jane Austen", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Hayvan Çiftliği", u"George Orwell", u"Roman", u"Can Yayınları"},
    {u"Bin Dokuz Yüz Seksen Dört", u"George Orwell", u"Roman", u"Can Yayınları"},
    {u"Fareler ve İnsanlar", u"John Steinbeck", u"Roman", u"Remzi Kitabevi"},
    {u"Yaşlı Adam ve Deniz", u"Ernest Hemingway", u"Roman", u"Bilgi Yayınevi"},
    {u"Çanlar Kimin İçin Çalıyor", u"Ernest Hemingway", u"Roman", u"Bilgi Yayınevi"},
    {u"Dönüşüm", u"Franz Kafka", u"Hikaye", u"İş Bankası Kültür Yayınları"},
    {u"Genç Werther'in Acıları", u"Johann Wolfgang von Goethe", u"Roman", u"Can Yayınları"},
    {u"Madam Bovary", u"Gustave Flaubert", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Monte Kristo Kontu", u"Alexandre Dumas", u"Roman", u"Altın Kitaplar"},
    {u"Üç Silahşörler", u"Alexandre Dumas", u"Roman", u"Altın Kitaplar"},
    {u"Hamlet", u"William Shakespeare", u"Tiyatro", u"İş Bankası Kültür Yayınları"},
    {u"Romeo ve Juliet", u"William Shakespeare", u"Tiyatro", u"İş Bankası Kültür Yayınları"},
    {u"Ezop Masalları", u"Ezop", u"Masal", u"Çınar Yayınları"},
    {u"Grimm Masalları", u"Grimm Kardeşler", u"Masal", u"Çınar Yayınları"},
    {u"Andersen Masalları", u"Hans Christian Andersen", u"Masal", u"Çınar Yayınları"},
    {u"La Fontaine Masalları", u"Jean de La Fontaine", u"Masal", u"Çınar Yayınları"},
    // The library keeps second copies of the most read books under the same title.
    {u"Çalıkuşu", u"Reşat Nuri Güntekin", u"Roman", u"İnkılap Kitabevi"},
    {u"Sefiller", u"Victor Hugo", u"Roman", u"İş Bankası Kültür Yayınları"},
    {u"Türkçe Sözlük", u"Türk Dil Kurumu", u"Sözlük", u"Türk Dil Kurumu"},
};

constexpr const char16_t* bookRemarks[] = {
    u"Velilerimizden bağış.",        u"Cildi yıpranmış, onarıldı.",
    u"Öğrencilere önerilir.",        u"Resimli baskı.",
    u"Okuma saatinde kullanılıyor.", u"Kapağında eski sahibinin adı yazılı.",
};

constexpr const char16_t* loanRemarks[] = {
    u"Zamanında getirdi.",
    u"Sayfaları yıpranmış olarak geri getirildi.",
    u"Ödev için aldı.",
    u"Süre bir hafta uzatıldı.",
};

void fillDemo(Writers& w) {
    const int readerCount = static_cast<int>(std::size(demoReaders));
    const int bookCount = static_cast<int>(std::size(demoBooks));

    for (int i = 0; i < readerCount; ++i) {
        const DemoReader& r = demoReaders[i];
        const School& s = schools[r.school];
        w.readers.insert({
            caps(r.name),
            r.teacher ? caps(u"Üniversite") : caps(s.level),
            caps(s.name),
            r.teacher ? Value() : Value(QString::number(100 + (i * 37) % 800)),
            r.teacher ? caps(u"Öğretmen") : caps(u"Öğrenci"),
            r.birthPlace ? Value(caps(r.birthPlace)) : Value(),
            r.year ? Value(enteredDate(r.year, r.month, r.day)) : Value(),
            phone("312", 0, i * 11 + 3),
            phone("555", 1, i * 7 + 5),
            address(i),
        });
    }

    for (int i = 0; i < bookCount; ++i) {
        const DemoBook& b = demoBooks[i];
        const QDate acquired = QDate(2004, 9, 1).addDays((i * 37) % 1700);
        const int printYear = 1995 + (i * 5) % (acquired.year() - 1995 + 1);
        const QString place = b.publisher == std::u16string_view(u"Türk Dil Kurumu") ||
                                      b.publisher == std::u16string_view(u"Türk Tarih Kurumu") ||
                                      i % 9 == 4
                                  ? caps(u"Ankara")
                                  : caps(u"İstanbul");
        w.books.insert({
            QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
            caps(b.title),
            caps(b.author),
            caps(b.kind),
            caps(b.publisher),
            i % 17 == 9 ? Value() : Value(barcode(1000 + i)),
            i % 3 == 0 ? text(u"Bağış") : text(u"Satınalma"),
            i % 13 == 5 ? Value() : Value(static_cast<qint32>(5 + (i * 7) % 40)),
            enteredDate(acquired),
            enteredDate(printedOn(printYear, 1 + i % 12, 1 + (i * 3) % 28, acquired)),
            place,
            QString::number(printYear),
            QString::number(1 + (i * 3) % 15),
            i % 4 == 3 ? Value() : Value(text(bookRemarks[i % std::size(bookRemarks)])),
        });
    }

    // Loans from February to May 2009: the older ones are back, the recent ones still out.
    constexpr int loanCount = 30;
    for (int k = 0; k < loanCount; ++k) {
        const QDate given = QDate(2009, 2, 16).addDays(k * 3);
        w.loans.insert({
            caps(demoReaders[(k * 7 + 3) % readerCount].name),
            Value(), // no window writes the loan's telephone
            caps(demoBooks[(k * 11 + 2) % bookCount].title),
            enteredDate(given),
            enteredDate(given.addDays(15)),
            k % 3 == 1 ? Value() : Value(text(loanRemarks[k % std::size(loanRemarks)])),
            k < 18 ? text(u"Geri Alindi") : text(u"Verildi"),
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Generated data for benchmarks.

// SplitMix64: small, fast and the same on every platform and compiler.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    template <typename T, size_t N> const T& pick(const T (&items)[N]) {
        return items[below(static_cast<int>(N))];
    }
    const QString& pick(const QStringList& items) {
        return items[below(static_cast<int>(items.size()))];
    }

private:
    quint64 state_;
};

QStringList capsList(std::initializer_list<const char16_t*> words) {
    QStringList out;
    for (const char16_t* w : words)
        out << caps(w);
    return out;
}

// Title words: each common word stands in a few percent of the titles; a rare word is added
// to about one title in four hundred, so that searches find anything from most rows to a few.
struct Words {
    QStringList givenNames = capsList(
        {u"Ayşe",  u"Mehmet", u"Zeynep", u"Mustafa", u"Elif",    u"Emre",  u"İsmail", u"Fatma",
         u"Ahmet", u"Merve",  u"Burak",  u"Gizem",   u"Hüseyin", u"Büşra", u"Oğuz",   u"Şeyma",
         u"Yusuf", u"Irmak",  u"Çağrı",  u"Gülşen",  u"Ali",     u"Esra",  u"Tuğba",  u"Kaan",
         u"Dilek", u"Serkan", u"Hatice", u"İbrahim", u"Nur",     u"Cem",   u"Derya",  u"Onur",
         u"Hasan", u"Sevgi",  u"Recep",  u"Nermin",  u"Cengiz",  u"Aylin", u"Murat",  u"Selin"});
    QStringList surnames = capsList(
        {u"Yılmaz", u"Kaya",    u"Demir",  u"Şahin",  u"Çelik", u"Yıldız",  u"Yıldırım", u"Öztürk",
         u"Aydın",  u"Özdemir", u"Arslan", u"Doğan",  u"Kılıç", u"Aslan",   u"Çetin",    u"Kara",
         u"Koç",    u"Kurt",    u"Özkan",  u"Şimşek", u"Polat", u"Erdoğan", u"Yavuz",    u"Aksoy",
         u"Güneş",  u"Bulut",   u"Turan",  u"Karaca", u"Yücel", u"Özer",    u"Acar",     u"Ünal",
         u"Kaplan", u"Korkmaz", u"Tekin",  u"Işık",   u"Altun", u"Güler",   u"Ateş",     u"Uçar"});
    QStringList adjectives =
        capsList({u"Kayıp", u"Son",    u"Mavi",   u"Kırmızı",   u"Sessiz",   u"Uzak",  u"Eski",
                  u"Büyük", u"Küçük",  u"Gizli",  u"Yalnız",    u"Karanlık", u"Beyaz", u"Altın",
                  u"Yaşlı", u"Genç",   u"Sonsuz", u"Unutulmuş", u"Yeşil",    u"Kara",  u"Derin",
                  u"Vahşi", u"Çılgın", u"Mutlu",  u"Dağınık",   u"Tatlı",    u"Acı",   u"Sıcak"});
    QStringList nouns =
        capsList({u"Deniz", u"Şehir", u"Ada",     u"Yol",    u"Orman", u"Kale",   u"Bahçe",
                  u"Köprü", u"Kuş",   u"Yıldız",  u"Nehir",  u"Dağ",   u"Rüzgar", u"Kapı",
                  u"Saat",  u"Ev",    u"Mektup",  u"Harita", u"Fener", u"Gemi",   u"Çocuk",
                  u"Prens", u"Sokak", u"Pencere", u"Ağaç",   u"Gece",  u"Sabah",  u"Masal"});
    QStringList endings = capsList({u"", u"", u"", u"Sırrı", u"Yolculuğu", u"Hikayesi", u"Günlüğü",
                                    u"Şarkısı", u"Efsanesi", u"Maceraları"});
    QStringList rareWords = capsList(
        {u"Zümrüt", u"Kehribar", u"Firuze", u"Lacivert", u"Zeberced", u"Mercan", u"Lal", u"Yakut"});
    QStringList kinds = capsList({u"Roman", u"Hikaye", u"Şiir", u"Masal", u"Tiyatro", u"Deneme",
                                  u"Anı", u"Tarih", u"Bilim", u"Ansiklopedi", u"Ders Kitabı"});
    QStringList publishers =
        capsList({u"Deniz Yayınevi", u"Işık Yayınları", u"Yıldız Kitabevi", u"Çınar Yayınları",
                  u"Güneş Neşriyat", u"Mavi Kalem Yayınları", u"Öykü Kitapları",
                  u"Ilgın Yayıncılık", u"Şafak Basımevi", u"Umut Kitap"});
    QStringList cities = capsList({u"Ankara", u"İstanbul", u"İzmir", u"Bursa", u"Konya", u"Trabzon",
                                   u"Diyarbakır", u"Eskişehir", u"Iğdır", u"Muğla"});
};

// Each random draw is a statement of its own: the operands of "+" or of a call are evaluated
// in an unspecified order, and the same seed must give the same rows with every compiler.
QString generatedName(Random& r, const Words& w) {
    const QString& given = r.pick(w.givenNames);
    return given + QLatin1Char(' ') + r.pick(w.surnames);
}

QString generatedTitle(Random& r, const Words& w) {
    const QString& adjective = r.pick(w.adjectives);
    QString title = adjective + QLatin1Char(' ') + r.pick(w.nouns);
    const QString& ending = r.pick(w.endings);
    if (!ending.isEmpty())
        title += QLatin1Char(' ') + ending;
    if (r.below(400) == 0)
        title += QLatin1Char(' ') + r.pick(w.rareWords);
    return title;
}

// A birth date that fits the reader: pupils by their school's level, teachers grown up.
QDate bornAs(Random& r, bool teacher, const School& s) {
    const QStringView level(s.level);
    const int firstYear = teacher                ? 1955
                          : level == u"İlkokul"  ? 1998
                          : level == u"Ortaokul" ? 1994
                                                 : 1990;
    const int years = teacher ? 30 : 5;
    return QDate(firstYear, 1, 1).addDays(r.below(365 * years));
}

void fillGenerated(Writers& wr, int books, int readers, int loans) {
    Random r(20090521);
    const Words w;

    std::vector<QString> readerNames;
    readerNames.reserve(static_cast<size_t>(readers));
    for (int i = 0; i < readers; ++i) {
        QString name = generatedName(r, w);
        const School& s = r.pick(schools);
        const bool teacher = r.below(10) == 0;
        wr.readers.insert({
            name,
            teacher ? caps(u"Üniversite") : caps(s.level),
            caps(s.name),
            teacher ? Value() : Value(QString::number(1 + r.below(2000))),
            teacher ? caps(u"Öğretmen") : caps(u"Öğrenci"),
            r.pick(w.cities),
            enteredDate(bornAs(r, teacher, s)),
            phone("312", r.below(10), i),
            phone("555", r.below(10), i * 7 + 1),
            address(r.below(1000)),
        });
        readerNames.push_back(std::move(name));
    }

    std::vector<QString> titles;
    titles.reserve(static_cast<size_t>(books));
    for (int i = 0; i < books; ++i) {
        QString title = generatedTitle(r, w);
        const QDate acquired = QDate(2000, 1, 1).addDays(r.below(3400));
        const int printYear = 1980 + r.below(acquired.year() - 1980 + 1);
        const int printMonth = 1 + r.below(12);
        wr.books.insert({
            QString::number(i + 1),
            title,
            generatedName(r, w),
            r.pick(w.kinds),
            r.pick(w.publishers),
            r.below(20) == 0 ? Value() : Value(barcode(i)),
            r.below(3) == 0 ? text(u"Bağış") : text(u"Satınalma"),
            r.below(10) == 0 ? Value() : Value(static_cast<qint32>(1 + r.below(200))),
            enteredDate(acquired),
            enteredDate(printedOn(printYear, printMonth, 1 + r.below(28), acquired)),
            r.pick(w.cities),
            QString::number(printYear),
            QString::number(1 + r.below(30)),
            r.below(4) == 0 ? Value() : Value(text(r.pick(bookRemarks))),
        });
        titles.push_back(std::move(title));
    }

    for (int i = 0; i < loans; ++i) {
        const QDate given = QDate(2005, 1, 1).addDays(r.below(1600));
        const bool back = r.below(4) != 0;
        wr.loans.insert({
            readerNames[static_cast<size_t>(r.below(readers))],
            Value(),
            titles[static_cast<size_t>(r.below(books))],
            enteredDate(given),
            enteredDate(given.addDays(15)),
            r.below(5) == 0 ? Value(text(r.pick(loanRemarks))) : Value(),
            back ? text(u"Geri Alindi") : text(u"Verildi"),
        });
    }
}

} // namespace

void createDemoDatabase(const QString& path) {
    createFilled(path, fillDemo);
}

void createGeneratedDatabase(const QString& path, int books, int readers, int loans) {
    if (books < 0 || readers < 0 || loans < 0)
        throw Error(QStringLiteral("The numbers of books, readers and loans cannot be negative"));
    if (loans > 0 && (books == 0 || readers == 0))
        throw Error(QStringLiteral("Loans need at least one reader and one book"));
    createFilled(path, [&](Writers& w) { fillGenerated(w, books, readers, loans); });
}

} // namespace tools
