// bench_araclar_labels_pdf [BOOKS READERS LOANS [LABELS]]: the first LABELS books with a code
// (2,000 unless given) of a generated library as book labels on 3 × 8 sheets in a PDF file:
// chosen from the registers, each code encoded by zint and drawn as vectors, the texts cut to
// the labels, the file written. No bare counterpart: the figure is how long a batch takes.

#include "data/sqlite.h"
#include "platform/progress.h"
#include "printing/labels.h"
#include "support/benchkit.h"
#include "tools/printdata.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const benchkit::LibrarySize size = benchkit::librarySize(app.arguments(), 2000);
    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);
    for (int run = 1; run <= 3; ++run) {
        const QString pdf = dir.filePath(QStringLiteral("etiket-%1.pdf").arg(run));
        QElapsedTimer timer;
        timer.start();
        std::vector<printing::BookLabel> labels;
        printing::LabelRun how;
        {
            const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
            how.library = tools::printdata::libraryName(db);
            for (const auto& b : tools::printdata::chooseBooks(db, {}))
                if (static_cast<int>(labels.size()) < size.repeats)
                    labels.push_back(b.label);
        }
        const double chosen = benchkit::elapsedMs(timer);
        printing::saveLabelsPdf(labels, how, pdf, QStringLiteral("bench"), platform::noProgress());
        std::printf("run %d: %zu labels, books chosen in %.1f ms, PDF of %lld bytes in %.1f ms "
                    "in all\n",
                    run, labels.size(), chosen, static_cast<long long>(QFileInfo(pdf).size()),
                    benchkit::elapsedMs(timer));
    }
    return 0;
}
