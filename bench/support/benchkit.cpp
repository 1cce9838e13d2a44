#include "support/benchkit.h"

#include "tools/demodata.h"

#include <algorithm>
#include <cstdio>

namespace benchkit {

LibrarySize librarySize(const QStringList& args, int defaultRepeats) {
    const bool given = args.size() > 3;
    return {given ? args[1].toInt() : 100000, given ? args[2].toInt() : 20000,
            given ? args[3].toInt() : 200000, args.size() > 4 ? args[4].toInt() : defaultRepeats};
}

QString generateLibrary(const QString& folder, const LibrarySize& size) {
    const QString file = folder + QStringLiteral("/DATA.mdb");
    QElapsedTimer timer;
    timer.start();
    tools::createGeneratedDatabase(file, size.books, size.readers, size.loans);
    std::printf("generated %d books, %d readers, %d loans in %.1f s\n", size.books, size.readers,
                size.loans, static_cast<double>(timer.elapsed()) / 1000.0);
    return file;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace benchkit
