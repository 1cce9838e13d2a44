#include "araclar/importoutput.h"

#include "araclar/checkreport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QStringList>

namespace araclar {

namespace {

QString number(qint64 n) {
    return QLocale(QLocale::Turkish, QLocale::Turkey).toString(n);
}

// Why a row, a value or a file was refused or left out, as the tool names it.
QString reasonText(const QString& reason) {
    static const QList<std::pair<QString, QString>> reasons{
        {QStringLiteral("offsets"), QStringLiteral("sayfadaki satır yerleri tutarsız")},
        {QStringLiteral("layout"), QStringLiteral("satırın kendi düzeni tutarsız")},
        {QStringLiteral("null-mask"), QStringLiteral("boş sayılan değerleri satırda duruyor")},
        {QStringLiteral("outside-row"), QStringLiteral("bir değeri satırın dışına taşıyor")},
        {QStringLiteral("text"), QStringLiteral("metni okunamıyor")},
        {QStringLiteral("date"), QStringLiteral("tarihi okunamıyor")},
        {QStringLiteral("repeated-key"), QStringLiteral("kayıt kodu başka bir satırda da var")},
        {QStringLiteral("key-out-of-range"),
         QStringLiteral("kayıt kodu tablonun verdiği kodlardan çok büyük")},
        {QStringLiteral("row-count"), QStringLiteral("tablonun saydığından az satır var")},
        {QStringLiteral("definition"), QStringLiteral("tablonun tanımı bozuk")},
        {QStringLiteral("name"), QStringLiteral("bir sütun adı bozuk")},
        {QStringLiteral("columns"), QStringLiteral("programın sütunlarının çoğu bulunamıyor")},
        {QStringLiteral("file-size"), QStringLiteral("dosyanın boyu Access biçimine uymuyor")},
        {QStringLiteral("catalog"), QStringLiteral("dosyanın tablo listesi bozuk")},
    };
    for (const auto& [code, text] : reasons)
        if (code == reason)
            return text;
    return QStringLiteral("okunamıyor");
}

// Where a damaged row lies: its number, or its page and place for a row the reader passed over.
QString rowText(const QJsonObject& w) {
    if (!w.value(u"row").isNull() && !w.value(u"row").isUndefined())
        return QStringLiteral("%1. satır").arg(number(w.value(u"row").toInteger()));
    return QStringLiteral("%1. sayfadaki %2. yerdeki satır")
        .arg(number(w.value(u"page").toInteger()), number(w.value(u"slot").toInteger()));
}

QString warningText(const QJsonObject& w) {
    const QString code = w.value(u"code").toString();
    const QString column = w.value(u"column").toString();
    if (code == u"column-skipped")
        return QStringLiteral("'%1' sütunu programda yok; aktarılmadı").arg(column);
    if (code == u"column-emptied")
        return QStringLiteral("'%1' sütununda programın orada tutmadığı türde değerler var; boş "
                              "bırakıldı")
            .arg(column);
    if (code == u"new-keys")
        return QStringLiteral("'%1' sütunu eski tabloda yok; kayıtlara yeni kodlar verildi")
            .arg(column);
    if (code == u"column-missing")
        return QStringLiteral("'%1' sütunu eski tabloda yok; boş bırakıldı").arg(column);
    if (code == u"texts-too-long")
        return QStringLiteral("'%1' sütununda %2 karakterden uzun %3 metin var; tamamı aktarıldı")
            .arg(column, number(w.value(u"size").toInteger()),
                 number(w.value(u"count").toInteger()));
    if (code == u"reader-remark")
        return QStringLiteral("Access dosyası okunurken bir not düşüldü: %1")
            .arg(w.value(u"line").toString());
    if (code == u"row-left-out")
        return QStringLiteral("%1 bozuk olduğu için aktarılmadı (%2)")
            .arg(rowText(w), reasonText(w.value(u"reason").toString()));
    if (code == u"value-emptied")
        return QStringLiteral("%1: '%2' değeri güvenilir olmadığı için boş bırakıldı (%3)")
            .arg(rowText(w), column, reasonText(w.value(u"reason").toString()));
    if (code == u"column-damaged")
        return QStringLiteral("'%1' sütununun tanımı bozuk; bütün satırlarda boş bırakıldı (%2)")
            .arg(column, reasonText(w.value(u"reason").toString()));
    if (code == u"few-columns")
        return QStringLiteral("eski tabloda programın %1 sütunundan yalnızca %2 tanesi bulundu; "
                              "tablonun tanımı bozuk olabilir")
            .arg(number(w.value(u"known").toInteger()), number(w.value(u"found").toInteger()));
    if (code == u"rows-missing")
        return QStringLiteral("eski tablo %1 satır tuttuğunu söylüyor, %2 satır bulunabildi")
            .arg(number(w.value(u"declared").toInteger()), number(w.value(u"found").toInteger()));
    return QStringLiteral("Bir uyarı var (kodu: %1)").arg(code);
}

QString libraryLines(const QJsonObject& o) {
    QStringList lines;
    for (const QJsonValue& line : o.value(u"lines").toArray())
        lines << line.toString();
    if (lines.isEmpty())
        return QString();
    return QStringLiteral(" (Access okuyucusunun söyledikleri: %1)")
        .arg(lines.join(QStringLiteral(" / ")));
}

const QString repair = QStringLiteral("Eski dosyayı Access ile açıp \"Veritabanını Sıkıştır ve "
                                      "Onar\" yaptıktan sonra yeniden deneyin; olmazsa "
                                      "ternavolk-db import --salvage ile okunabilen kadarı "
                                      "aktarılabilir.");

QString failureText(const QJsonObject& o) {
    const QString cause = o.value(u"cause").toString();
    const QString none = QStringLiteral("Aktarma yapılamadı; yeni dosya oluşturulmadı. ");
    if (cause == u"exists")
        return none + QStringLiteral("Yeni dosya zaten var ve üzerine yazılmaz. Başka bir ad "
                                     "seçin.");
    if (cause == u"not-found")
        return none + QStringLiteral("Eski dosya bulunamadı ya da okunamıyor. \"Seç…\" ile eski "
                                     "dosyayı yeniden seçin.");
    if (cause == u"not-access")
        return none + QStringLiteral("Seçilen dosya Access 2000 ya da 2002–2003 biçiminde bir "
                                     "Access dosyası değil. Doğru dosyayı seçin; daha eski ya "
                                     "da daha yeni bir Access biçimindeyse Access ile bu "
                                     "biçimde kaydedip yeniden deneyin.");
    if (cause == u"missing-table")
        return none + QStringLiteral("Eski dosyada '%1' tablosu yok: bir Ternavolk kütüphanesi "
                                     "değil gibi görünüyor. Doğru dosyayı seçin.")
                          .arg(o.value(u"table").toString());
    if (cause == u"damaged") {
        QStringList rows;
        for (const QJsonValue& r : o.value(u"rows").toArray())
            rows << number(r.toInteger());
        return none +
               QStringLiteral("Eski dosyanın '%1' tablosu bozuk (%2. satır: %3).%4 ")
                   .arg(o.value(u"table").toString(), rows.join(QStringLiteral(", ")),
                        reasonText(o.value(u"reason").toString()), libraryLines(o)) +
               repair;
    }
    if (cause == u"definition")
        return none +
               QStringLiteral("Eski dosyada '%1' tablosunun tanımı bozuk (%2); sütunları "
                              "güvenle okunamıyor. ")
                   .arg(o.value(u"table").toString(), reasonText(o.value(u"reason").toString())) +
               repair;
    if (cause == u"reader-crashed")
        return none +
               QStringLiteral("Access dosyasını okuyan araç dosyanın bozuk bir yerinde "
                              "çöktü.%1 ")
                   .arg(libraryLines(o)) +
               repair;
    if (cause == u"reader-limit") {
        const QString limit = o.value(u"limit").toString();
        const QString memory = number(o.value(u"memoryMB").toInteger());
        const QString cpu = number(o.value(u"cpuSeconds").toInteger());
        const QString what =
            limit == u"memory" ? QStringLiteral("izin verilen belleği (%1 MB)").arg(memory)
            : limit == u"cpu"  ? QStringLiteral("izin verilen süreyi (%1 saniye)").arg(cpu)
                               : QStringLiteral("izin verilen belleği (%1 MB) ya da süreyi (%2 "
                                                 "saniye)")
                                    .arg(memory, cpu);
        return none +
               QStringLiteral("Access dosyasını okumak %1 aştı; dosya bozuk olabilir.%2 ")
                   .arg(what, libraryLines(o)) +
               repair;
    }
    if (cause == u"reader-stalled")
        return none +
               QStringLiteral("Access dosyasını okuyan araç %1 saniye boyunca hiçbir şey "
                              "vermedi; dosya bozuk olabilir.%2 ")
                   .arg(number(o.value(u"seconds").toInteger()), libraryLines(o)) +
               repair;
    if (cause == u"reader-flooded")
        return none +
               QStringLiteral("Access dosyasını okuyan araç çok fazla hata iletisi "
                              "verdi; dosya bozuk.%1 ")
                   .arg(libraryLines(o)) +
               repair;
    if (cause == u"reader-refused")
        return none +
               QStringLiteral("Access dosyası okunamıyor: dosya bozuk ya da yarım.%1 ")
                   .arg(libraryLines(o)) +
               repair;
    if (cause == u"unreadable")
        return none + QStringLiteral("Access dosyasını okuyan araçtan anlaşılmayan bir yanıt "
                                     "geldi. Programı yeniden kurup yeniden deneyin.");
    if (cause == u"interrupted")
        return QStringLiteral("Aktarma durduruldu; yeni dosya oluşturulmadı.");
    if (cause == u"write-failed") {
        const QString fault = o.value(u"fault").toString();
        if (fault == u"disk-full")
            return none + QStringLiteral("Yeni dosyanın yazılacağı disk dolu. Diskte yer açıp "
                                         "yeniden deneyin.");
        if (fault == u"folder-not-writable" || fault == u"access-denied" || fault == u"read-only" ||
            fault == u"cannot-open")
            return none + QStringLiteral("Yeni dosyanın klasörüne yazılamıyor. Yazma izniniz "
                                         "olan bir klasör seçin.");
        return none + QStringLiteral("Yeni dosya yazılamadı. Başka bir klasör seçip yeniden "
                                     "deneyin.");
    }
    return none + QStringLiteral("Beklenmeyen bir sorun çıktı. Yeniden deneyin; sürerse eski "
                                 "dosyanın bir kopyasıyla yardım isteyin.");
}

} // namespace

ImportEvent parseImportEvent(const QByteArray& line) {
    ImportEvent e;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return e;
    e.fields = doc.object();
    const QString event = e.fields.value(u"event").toString();
    if (event == u"start")
        e.kind = ImportEvent::Start;
    else if (event == u"progress")
        e.kind = ImportEvent::Progress;
    else if (event == u"table")
        e.kind = ImportEvent::Table;
    else if (event == u"done")
        e.kind = ImportEvent::Done;
    else if (event == u"failed")
        e.kind = ImportEvent::Failed;
    return e;
}

QString turkishImportEvent(const ImportEvent& e) {
    const QJsonObject& o = e.fields;
    switch (e.kind) {
    case ImportEvent::Start:
        return QStringLiteral("Aktarma başladı.");
    case ImportEvent::Progress:
        return QStringLiteral("%1: şimdiye kadar %2 satır okundu…")
            .arg(tableTitle(o.value(u"table").toString()), number(o.value(u"rows").toInteger()));
    case ImportEvent::Table: {
        QString text =
            QStringLiteral("%1: %2 satır okundu, %3 satır yazıldı.")
                .arg(tableTitle(o.value(u"table").toString()), number(o.value(u"read").toInteger()),
                     number(o.value(u"written").toInteger()));
        for (const QJsonValue& w : o.value(u"warnings").toArray())
            text += QStringLiteral("\n    Uyarı: ") + warningText(w.toObject());
        return text;
    }
    case ImportEvent::Done: {
        const qint64 warnings = o.value(u"warnings").toInteger();
        return warnings == 0
                   ? QStringLiteral("Aktarma uyarısız tamamlandı.")
                   : QStringLiteral("Aktarma %1 uyarıyla tamamlandı.").arg(number(warnings));
    }
    case ImportEvent::Failed:
        return failureText(o);
    case ImportEvent::Unknown:
        break;
    }
    return QString();
}

int importTableIndex(const QString& table) {
    if (table == u"okuyucu")
        return 0;
    if (table == u"kitapkayit")
        return 1;
    if (table == u"hareket")
        return 2;
    return -1;
}

} // namespace araclar
