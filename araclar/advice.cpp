#include "araclar/advice.h"

#include "platform/savefile.h"
#include "tools/backup.h"
#include "tools/restore.h"

#include <QDir>
#include <QFileInfo>

namespace araclar {

using data::FileFault;

bool isRegisters(const QString& path) {
    return QFileInfo(path).fileName().compare(QStringLiteral("DATA.mdb"), Qt::CaseInsensitive) == 0;
}

Advice adviceFor(FileFault fault, const QString& file, bool registers) {
    const QString path = QDir::toNativeSeparators(file);
    const auto a = [&](const QString& what, const QString& todo) {
        return Advice{what.arg(path), todo.contains(u"%1") ? todo.arg(path) : todo};
    };
    switch (fault) {
    case FileFault::Missing:
        return registers ? a(QStringLiteral("'%1' bulunamadı."),
                             QStringLiteral("Araçları, Ternavolk Kütüphane Takip programının "
                                            "klasöründen, DATA.mdb'nin yanından başlatın."))
                         : a(QStringLiteral("'%1' bulunamadı."),
                             QStringLiteral("Dosya taşınmış, adı değişmiş ya da silinmiş olabilir; "
                                            "yerini denetleyip yeniden seçin."));
    case FileFault::AccessDenied:
        return a(QStringLiteral("'%1' dosyasını okuma ya da yazma izniniz yok."),
                 QStringLiteral("Dosyanın ve klasörünün izinlerini denetleyin; gerekirse "
                                "bilgisayarın yöneticisinden yardım isteyin."));
    case FileFault::Empty:
        return registers ? a(QStringLiteral("'%1' boş bir dosya: içinde hiç kayıt yok."),
                             QStringLiteral("Yedekler sayfasından son sağlam yedeği geri "
                                            "yükleyin."))
                         : a(QStringLiteral("'%1' boş bir dosya: içinde hiç kayıt yok."),
                             QStringLiteral("Bu dosya kullanılamaz; başka bir dosya seçin."));
    case FileFault::Exists:
        return a(QStringLiteral("'%1' zaten var ve üzerine yazılmaz."),
                 QStringLiteral("Başka bir ad seçin."));
    case FileFault::Busy:
        return a(QStringLiteral("'%1' şu anda kullanımda: Kütüphane Takip programı ya da başka "
                                "bir program ona yazıyor."),
                 QStringLiteral("Kaydın bitmesini bekleyip birkaç saniye sonra yeniden deneyin."));
    case FileFault::Damaged:
        return registers ? a(QStringLiteral("'%1' bozuk."),
                             QStringLiteral("Yedekler sayfasından son sağlam yedeği geri "
                                            "yükleyin; bozuk dosya silinmez, yanında saklanır."))
                         : a(QStringLiteral("'%1' bozuk."),
                             QStringLiteral("Bu dosyayı kullanmayın; başka bir dosya seçin."));
    case FileFault::NotADatabase:
        return registers ? a(QStringLiteral("'%1' bir kütüphane dosyası değil ya da "
                                            "okunamayacak kadar bozuk."),
                             QStringLiteral("Yedekler sayfasından son sağlam yedeği geri "
                                            "yükleyin."))
                         : a(QStringLiteral("'%1' bir kütüphane dosyası değil ya da "
                                            "okunamayacak kadar bozuk."),
                             QStringLiteral("Doğru dosyayı seçtiğinizi denetleyin."));
    case FileFault::AccessFormat:
        return a(QStringLiteral("'%1' eski Access biçiminde; araçlar ve program onu "
                                "okuyamaz."),
                 QStringLiteral("\"Access'ten Aktar\" sayfasından yeni biçime aktarın."));
    case FileFault::LeftJournal:
        return a(QStringLiteral("'%1' dosyasına yapılan bir kayıt yarıda kalmış; onarım için "
                                "gereken günlük dosyası '%1-journal' yanında duruyor."),
                 QStringLiteral("Dosyayı bir kez Ternavolk Kütüphane Takip programıyla açın: "
                                "program kaydı tamamlar. Sonra yeniden deneyin. Günlük "
                                "dosyasını silmeyin; onarım ona gerek duyar."));
    case FileFault::FolderNotWritable:
        return a(QStringLiteral("'%1' dosyasının klasörüne yazılamıyor, bu yüzden kaydı "
                                "güvenle yapmak için gereken günlük dosyası açılamıyor."),
                 QStringLiteral("Klasöre yazma izni verin ya da dosyayı yazılabilen bir "
                                "klasöre taşıyın."));
    case FileFault::ReadOnly:
        return a(QStringLiteral("'%1' salt okunur; ona yazılamıyor."),
                 QStringLiteral("Dosyanın \"Salt okunur\" özelliğini kaldırın ya da yazma izni "
                                "verin."));
    case FileFault::CannotOpen:
        return a(QStringLiteral("'%1' açılamıyor."),
                 QStringLiteral("Dosyanın yerini ve okuma-yazma izinlerini denetleyin."));
    case FileFault::DiskFull:
        return a(QStringLiteral("'%1' dosyasının bulunduğu disk dolu."),
                 QStringLiteral("Diskte yer açıp yeniden deneyin."));
    case FileFault::InputOutput:
        return a(QStringLiteral("'%1' okunurken ya da yazılırken disk veya ağ hatası oldu."),
                 QStringLiteral("Diski ya da ağ bağlantısını denetleyip yeniden deneyin."));
    case FileFault::WriteAheadLog:
        return a(QStringLiteral("'%1' başka bir program tarafından WAL günlüğüne "
                                "geçirilmiş."),
                 QStringLiteral("O programı kapatın ve dosyayı bir kez Ternavolk Kütüphane "
                                "Takip programıyla açın; program dosyayı kendi günlüğüne geri "
                                "çevirir."));
    case FileFault::Other:
        break;
    }
    return a(QStringLiteral("'%1' üzerinde istenen işlem yapılamadı."),
             QStringLiteral("Yeniden deneyin; sürerse Yedekler sayfasında \"Denetle\" ile "
                            "denetleyin."));
}

QString turkishMessage(const platform::Error& error) {
    QString detail;
    Advice advice;
    if (const auto* file = dynamic_cast<const data::FileError*>(&error)) {
        advice = adviceFor(file->fault(), file->path(), isRegisters(file->path()));
        detail = file->detail();
    } else if (const auto* write = dynamic_cast<const platform::WriteError*>(&error)) {
        advice = {QStringLiteral("'%1' yazılamadı.").arg(QDir::toNativeSeparators(write->path())),
                  QStringLiteral("Dosya başka bir programda açıksa kapatın ya da başka bir ad "
                                 "veya klasör seçin.")};
        detail = write->reason();
    } else if (const auto* copy = dynamic_cast<const tools::CopyFailedCheck*>(&error)) {
        return QStringLiteral("'%1' dosyasının kopyası alındı ama denetimden geçmedi: dosya "
                              "bozuk olabilir. Kopya, belki de elde olanın en iyisi olduğu için "
                              "'%2' adıyla saklandı; bir yedek sayılmaz. Son sağlam yedeğinizi "
                              "saklayın ve dosyayı Yedekler sayfasında denetleyin.")
            .arg(QDir::toNativeSeparators(copy->source()), QDir::toNativeSeparators(copy->copy()));
    } else if (const auto* unsound = dynamic_cast<const tools::SourceNotSound*>(&error)) {
        return QStringLiteral("'%1' denetimden geçmedi; yerine konmadı ve hiçbir şey "
                              "değişmedi. Başka bir dosya seçin.")
            .arg(QDir::toNativeSeparators(unsound->source()));
    } else {
        return error.message();
    }
    QString text = advice.what + u' ' + advice.todo;
    if (!detail.isEmpty())
        text += QStringLiteral(" (Ayrıntı: %1)").arg(detail);
    return text;
}

} // namespace araclar
