#include "araclar/checkreport.h"

#include "araclar/advice.h"
#include "tools/check.h"

#include <QDir>
#include <QLocale>

namespace araclar {

QString tableTitle(const QString& table) {
    if (table == u"okuyucu")
        return QStringLiteral("Okuyucular (okuyucu)");
    if (table == u"kitapkayit")
        return QStringLiteral("Kitaplar (kitapkayit)");
    if (table == u"hareket")
        return QStringLiteral("Ödünçler (hareket)");
    return table;
}

namespace {

QString findingText(const tools::CheckFinding& f, const QString& path) {
    using Kind = tools::CheckFinding::Kind;
    const QString value = QStringLiteral("%1, %2 numaralı kayıt, '%3' sütunu: ")
                              .arg(tableTitle(f.table))
                              .arg(f.id)
                              .arg(f.column);
    switch (f.kind) {
    case Kind::File: {
        const Advice a = adviceFor(f.fault, path, isRegisters(path));
        return a.what + u' ' + a.todo;
    }
    case Kind::Integrity:
        return QStringLiteral("Dosyanın sayfalarında bozukluk var (SQLite'ın kendi denetiminin "
                              "söylediği: %1).")
            .arg(f.detail);
    case Kind::Stopped:
        return QStringLiteral("Dosya daha fazla okunamayacak kadar bozuk; denetim burada durdu.");
    case Kind::MissingTable:
        return QStringLiteral("%1 tablosu dosyada yok.").arg(tableTitle(f.table));
    case Kind::MissingColumn:
        return QStringLiteral("%1 tablosunda '%2' sütunu yok.").arg(tableTitle(f.table), f.column);
    case Kind::WrongColumnKind:
        return QStringLiteral("%1 tablosunun '%2' sütunu programın beklediği türde değil (%3).")
            .arg(tableTitle(f.table), f.column, f.detail);
    case Kind::KeyWithoutAutoIncrement:
        return QStringLiteral("%1 tablosunun kayıt kodu (IDNO) kendiliğinden artan değil: "
                              "silinen kayıtların kodları yeniden verilebilir.")
            .arg(tableTitle(f.table));
    case Kind::WritingTrigger:
        return QStringLiteral("%1 tablosunda satır yazan bir tetikleyici (%2) var; program "
                              "böyle bir dosyayı kabul etmez.")
            .arg(tableTitle(f.table), f.detail);
    case Kind::InvalidUtf8:
        return value + QStringLiteral("metin bozuk, okunamıyor.");
    case Kind::ControlCharacter:
        return value + QStringLiteral("metinde olmaması gereken bir denetim karakteri var.");
    case Kind::BadDateTime:
        return value + QStringLiteral("tarih okunamıyor (%1).").arg(f.detail);
    case Kind::MoreFindings:
        return QStringLiteral("Bunlardan başka %1 değer daha sorunlu.")
            .arg(QLocale(QLocale::Turkish, QLocale::Turkey).toString(f.count));
    }
    return QString();
}

} // namespace

QStringList checkInTurkish(const QString& path) {
    QStringList lines;
    for (const tools::CheckFinding& f : tools::checkFindings(path))
        lines << findingText(f, path);
    return lines;
}

} // namespace araclar
