#include "araclar/database.h"

#include "data/connectionstring.h"
#include "data/databasefile.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>

namespace araclar {

using platform::Error;

QString databasePathBeside(const QString& executablePath) {
    const QString directory = data::executableDirectory(executablePath);
    return data::databaseFilePath(data::dataSourceOf(data::connectionString(directory)));
}

std::unique_ptr<data::sqlite::Database> openForReading(const QString& path) {
    data::requireDatabaseFile(path, data::FileUse::Read);
    if (data::isAccessFile(path))
        throw data::FileError(
            data::FileFault::AccessFormat, path,
            QStringLiteral("The file '%1' is in the old Access format").arg(path));
    auto db =
        std::make_unique<data::sqlite::Database>(path, data::sqlite::Database::Mode::ReadOnly);
    db->setBusyTimeout(data::sqlite::busyTimeoutMs);
    return db;
}

} // namespace araclar
