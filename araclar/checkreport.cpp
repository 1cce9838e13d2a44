#include "araclar/checkreport.h"

#include "tools/check.h"

#include <QDir>

namespace araclar {

QStringList checkInTurkish(const QString& path) {
    const QStringList problems = tools::checkDatabase(path);
    if (problems.isEmpty())
        return {};
    return {QStringLiteral("'%1' denetimden geçmedi: %2 sorun bulundu.")
                .arg(QDir::toNativeSeparators(path))
                .arg(problems.size())};
}

} // namespace araclar
