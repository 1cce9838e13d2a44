#include "araclar/listtables.h"

#include "data/tables.h"

#include <QFileInfo>

namespace araclar {

using tools::lists::Issue;
using tools::lists::Listed;
using tools::lists::Source;
using tools::sheets::Fault;

namespace {

const char16_t* const bookCaptions[] = {
    u"", // IDNO
    u"Kitap No",   u"Kitap Adı",  u"Yazarı",   u"Kitab Türü",      u"Yayın Evi",
    u"Barkodu",    u"Edinme",     u"Değeri",   u"Edinme Tarihi",   u"Baskı Tarihi",
    u"Basım Yeri", u"Basım Yılı", u"Baskı No", u"İçerik (Konusu)",
};

// The column a listed value belongs to, as the librarian knows it.
QString columnCaption(const QString& column, bool book) {
    if (book) {
        const data::TableDef& t = data::kitapkayitTable();
        if (const data::ColumnDef* c = t.column(column))
            return bookColumnCaption(static_cast<int>(c - t.columns.data()));
    }
    if (column == u"ADISOYADI")
        return QStringLiteral("Adı Soyadı");
    if (column == u"NUMARASI")
        return QStringLiteral("Numarası");
    if (column == u"OGRENIMDURUMU")
        return QStringLiteral("Öğrenim Durumu");
    return column;
}

QString fileCell(const Source& at) {
    return at.sheet.isEmpty() ? at.file : at.file + QStringLiteral(" / ") + at.sheet;
}

QString booksOutText(const std::vector<tools::lists::BookOut>& books) {
    QStringList titles;
    for (const tools::lists::BookOut& b : books)
        titles << (b.due ? QStringLiteral("%1 (son gün %2)").arg(b.title, dayText(*b.due))
                         : b.title);
    return titles.join(QStringLiteral(", "));
}

QString caption(const Listed& l) {
    return columnCaption(l.column, l.book);
}

} // namespace

QString turkishMessage(const tools::sheets::SheetError& error) {
    const QString file = QFileInfo(error.path()).fileName();
    QString text;
    switch (error.fault()) {
    case Fault::Missing:
        text = QStringLiteral("'%1' bulunamadı. Dosyayı yeniden seçin.");
        break;
    case Fault::AccessDenied:
        text = QStringLiteral("'%1' okunamıyor: erişim izni yok. Dosyayı okuyabildiğiniz bir "
                              "klasöre kopyalayıp yeniden deneyin.");
        break;
    case Fault::Empty:
        text = QStringLiteral("'%1' boş bir dosya. Listeyi e-Okul'dan ya da Excel'den yeniden "
                              "kaydedin.");
        break;
    case Fault::NotASpreadsheet:
        text = QStringLiteral("'%1' bir çizelge değil. Liste .xls, .xlsx ya da .csv olmalı: "
                              "e-Okul listesini Excel düğmesiyle yeniden indirin ya da Excel'de "
                              "bu biçimlerden biriyle kaydedin.");
        break;
    case Fault::Encrypted:
        text = QStringLiteral("'%1' parolayla korunuyor. Excel'de açıp parolasız kaydedin "
                              "(Dosya, Bilgi, Çalışma Kitabını Koru), sonra yeniden deneyin.");
        break;
    case Fault::Damaged:
        text = QStringLiteral("'%1' bozuk ve okunamadı. Excel ya da LibreOffice ile açıp "
                              "yeniden kaydedin; açılmıyorsa listeyi e-Okul'dan yeniden indirin.");
        break;
    case Fault::TooLarge:
        text = QStringLiteral("'%1' bir liste için çok büyük. Yalnızca öğrencileri ya da "
                              "kitapları tutan bir dosya seçin.");
        break;
    case Fault::NoHeader:
        text = QStringLiteral(
            "'%1' içinde tanınan sütun başlıkları yok. Okuyucular için \"Öğrenci No\" ile "
            "\"Adı Soyadı\" (ya da \"Adı\" ve \"Soyadı\"), kitaplar için \"Kitabın Adı\" ile "
            "başka bir kitap sütunu (\"Demirbaş No\", \"Yazarı\" …) başlıklı bir satır olmalı.");
        break;
    case Fault::NoRows:
        text = QStringLiteral("'%1' içinde sütun başlıklarının altında numarası olan hiç öğrenci "
                              "yok. Listeyi e-Okul'dan yeniden indirip yeniden deneyin.");
        break;
    case Fault::ReaderFailed:
        text = QStringLiteral("'%1' okunamadı: okuma aracı ternavolk-db başlatılamadı. Araçları, "
                              "ternavolk-db ile aynı klasörden başlatın ya da programı yeniden "
                              "kurun.");
        break;
    case Fault::Interrupted:
        text = QStringLiteral("'%1' okunurken durduruldu.");
        break;
    }
    text = text.arg(file) + QStringLiteral(" Hiçbir şey yazılmadı.");
    if (error.fault() == Fault::Damaged && !error.detail().isEmpty())
        text += QStringLiteral("\n\nAyrıntı: ") + error.detail();
    return text;
}

QString turkishSource(const Source& at) {
    if (at.sheet.isEmpty())
        return QStringLiteral("'%1' satır %2").arg(at.file).arg(at.row);
    return QStringLiteral("'%1', '%2' sayfası, satır %3").arg(at.file, at.sheet).arg(at.row);
}

QString turkishIssue(const Listed& l) {
    const QString other = turkishSource(l.other);
    switch (l.issue) {
    case Issue::NoNumber:
        return QStringLiteral("öğrenci numarası yok; alınmadı");
    case Issue::BadNumber:
        return QStringLiteral("'%1' bir öğrenci numarası değil; alınmadı").arg(l.value);
    case Issue::NoName:
        return QStringLiteral("numarası var, adı yok; alınmadı");
    case Issue::ListedTwice:
        return QStringLiteral("listelerde daha önce de var (%1); bir kez alındı").arg(other);
    case Issue::NumberTwice:
        return QStringLiteral("aynı numara başka bir ad ya da sınıfla da var (%1); hiçbiri "
                              "alınmadı")
            .arg(other);
    case Issue::RegisterTwice:
        return QStringLiteral("kayıtlarda bu okulun %1 okuyucusunda bu numara var; hiçbiri "
                              "değiştirilmedi")
            .arg(l.value);
    case Issue::NoTitle:
        return QStringLiteral("kitabın adı yok; alınmadı");
    case Issue::SerialInRegister:
        return QStringLiteral("bu kitap numarası kayıtlarda zaten var; atlandı");
    case Issue::SerialListed:
        return QStringLiteral("bu kitap numarası listelerde daha önce geçti (%1); atlandı")
            .arg(other);
    case Issue::BarcodeInRegister:
        return QStringLiteral("barkodu (%1) kayıtlarda zaten var; atlandı").arg(l.value);
    case Issue::BarcodeListed:
        return QStringLiteral("barkodu (%1) listelerde daha önce geçti (%2); atlandı")
            .arg(l.value, other);
    case Issue::BadPrice:
        return QStringLiteral("%1: '%2' bir fiyat değil; alınmadı").arg(caption(l), l.value);
    case Issue::PriceTooLarge:
        return QStringLiteral("%1: '%2' kayıtların tutabileceğinden büyük; alınmadı")
            .arg(caption(l), l.value);
    case Issue::BadDate:
        return QStringLiteral("%1: '%2' bir tarih değil; alınmadı").arg(caption(l), l.value);
    case Issue::TooLong:
        return QStringLiteral("%1: '%2' %3 karakterden uzun; alınmadı")
            .arg(caption(l), l.value)
            .arg(l.size);
    }
    return QString();
}

QString bookColumnCaption(int column) {
    if (column < 0 || column >= static_cast<int>(std::size(bookCaptions)))
        return QString();
    return QString::fromUtf16(bookCaptions[column]);
}

ReportTable addedReadersTable(const tools::lists::ReaderPlan& plan) {
    ReportTable t{QStringLiteral("Yeni Okuyucular: %1").arg(plan.school),
                  {QStringLiteral("Numarası"), QStringLiteral("Adı Soyadı"),
                   QStringLiteral("Sınıfı"), QStringLiteral("Dosya"), QStringLiteral("Satır")},
                  {}};
    for (const tools::lists::Pupil& p : plan.added)
        t.rows.append(QVariantList{p.number, p.name, p.klass, fileCell(p.at), p.at.row});
    return t;
}

ReportTable movedReadersTable(const tools::lists::ReaderPlan& plan) {
    ReportTable t{QStringLiteral("Sınıfı Değişen Okuyucular: %1").arg(plan.school),
                  {QStringLiteral("Numarası"), QStringLiteral("Adı Soyadı"),
                   QStringLiteral("Eski Sınıfı"), QStringLiteral("Yeni Sınıfı"),
                   QStringLiteral("Dosya"), QStringLiteral("Satır")},
                  {}};
    for (const tools::lists::Move& m : plan.moved)
        t.rows.append(QVariantList{m.pupil.number, m.reader.name, m.reader.klass, m.pupil.klass,
                                   fileCell(m.pupil.at), m.pupil.at.row});
    return t;
}

ReportTable unchangedReadersTable(const tools::lists::ReaderPlan& plan) {
    ReportTable t{
        QStringLiteral("Değişmeyen Okuyucular: %1").arg(plan.school),
        {QStringLiteral("Numarası"), QStringLiteral("Adı Soyadı"), QStringLiteral("Sınıfı")},
        {}};
    for (const tools::lists::Move& m : plan.unchanged)
        t.rows.append(QVariantList{m.pupil.number, m.reader.name, m.reader.klass});
    return t;
}

ReportTable conflictsTable(const tools::lists::ReaderPlan& plan) {
    ReportTable t{QStringLiteral("Adı Farklı Okuyucular: %1").arg(plan.school),
                  {QStringLiteral("Numarası"), QStringLiteral("Kayıttaki Adı"),
                   QStringLiteral("Listedeki Adı"), QStringLiteral("Sınıfı"),
                   QStringLiteral("Kayıttaki Adıyla Dışarıdaki Kitaplar"), QStringLiteral("Dosya"),
                   QStringLiteral("Satır")},
                  {}};
    for (const tools::lists::Move& m : plan.conflicts)
        t.rows.append(QVariantList{m.pupil.number, m.reader.name, m.pupil.name, m.pupil.klass,
                                   booksOutText(m.booksOut), fileCell(m.pupil.at), m.pupil.at.row});
    return t;
}

ReportTable leavingTable(const tools::lists::ReaderPlan& plan) {
    ReportTable t{QStringLiteral("Listelerde Olmayan (Ayrılan) Okuyucular: %1").arg(plan.school),
                  {QStringLiteral("Numarası"), QStringLiteral("Adı Soyadı"),
                   QStringLiteral("Sınıfı"), QStringLiteral("Dışarıdaki Kitaplar")},
                  {}};
    for (const tools::lists::Leaver& l : plan.leaving)
        t.rows.append(
            QVariantList{l.reader.number, l.reader.name, l.reader.klass, booksOutText(l.booksOut)});
    return t;
}

ReportTable listedTable(const QString& title, const std::vector<Listed>& rows, bool books) {
    ReportTable t{title,
                  {QStringLiteral("Dosya"), QStringLiteral("Satır"),
                   books ? QStringLiteral("Kitap No") : QStringLiteral("Numarası"),
                   books ? QStringLiteral("Kitap Adı") : QStringLiteral("Adı Soyadı"),
                   QStringLiteral("Neden")},
                  {}};
    for (const Listed& l : rows)
        t.rows.append(QVariantList{fileCell(l.at), l.at.row, l.key, l.name, turkishIssue(l)});
    return t;
}

ReportTable addedBooksTable(const tools::lists::BookPlan& plan) {
    const std::vector<int> columns = tools::lists::bookColumns();
    ReportTable t{
        QStringLiteral("Yeni Kitaplar"), {QStringLiteral("Dosya"), QStringLiteral("Satır")}, {}};
    for (const int c : columns)
        t.headers << bookColumnCaption(c);
    for (const tools::lists::Book& b : plan.added) {
        QVariantList row{fileCell(b.at), b.at.row};
        for (const data::Value& v : b.values) {
            if (v.isNull())
                row << QVariant();
            else if (v.isInteger())
                row << v.toInteger();
            else if (v.isDateTime())
                row << QVariant(v.toDateTime().date());
            else
                row << v.toText();
        }
        t.rows.append(row);
    }
    return t;
}

} // namespace araclar
