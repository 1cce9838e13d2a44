#include "araclar/database.h"

#include "data/connectionstring.h"
#include "data/databasefile.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>

namespace araclar {

using platform::Error;

namespace {
constexpr int waitForWriterMs = 3000;
} // namespace

QString databasePathBeside(const QString& executablePath) {
    const QString directory = data::executableDirectory(executablePath);
    return data::databaseFilePath(data::dataSourceOf(data::connectionString(directory)));
}

std::unique_ptr<data::sqlite::Database> openForReading(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        throw Error(QStringLiteral("'%1' bulunamadı. Araçları, Ternavolk Kütüphane Takip "
                                   "programının klasöründen, DATA.mdb'nin yanından başlatın; "
                                   "kütüphane eski bir Access dosyasındaysa 'Access'ten Aktar' "
                                   "sayfasından aktarın.")
                        .arg(path));
    if (data::isAccessFile(path))
        throw Error(QStringLiteral("'%1' eski Access biçiminde; araçlar ve program onu "
                                   "okuyamaz. 'Access'ten Aktar' sayfasından yeni biçime "
                                   "aktarın.")
                        .arg(path));
    try {
        auto db =
            std::make_unique<data::sqlite::Database>(path, data::sqlite::Database::Mode::ReadOnly);
        sqlite3_busy_timeout(db->handle(), waitForWriterMs);
        return db;
    } catch (const Error& e) {
        throw Error(QStringLiteral("'%1' açılamadı (%2). Dosyayı okuma izniniz olduğunu "
                                   "denetleyin ve yeniden deneyin.")
                        .arg(path, e.message()));
    }
}

} // namespace araclar
