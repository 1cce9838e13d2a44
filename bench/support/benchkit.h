#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <vector>

// What the benchmarks share: the size of the library they generate, the generation itself,
// and the figures' arithmetic.
namespace benchkit {

// Books, readers and loans from the command line (the first three arguments when all three
// are given; otherwise 100,000 books, 20,000 readers and 200,000 loans), and a fourth count
// with its own default (saves, moves, runs).
struct LibrarySize {
    int books;
    int readers;
    int loans;
    int repeats;
};
LibrarySize librarySize(const QStringList& args, int defaultRepeats);

// Generates the library as DATA.mdb in `folder`, says so with the time it took, and returns
// the file's path.
QString generateLibrary(const QString& folder, const LibrarySize& size);

double median(std::vector<double> values);
double elapsedMs(const QElapsedTimer& timer);

} // namespace benchkit
