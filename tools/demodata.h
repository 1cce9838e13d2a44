#pragma once

#include <QString>

namespace tools {

// A new database (createDatabase) filled with realistic Turkish demo data: a few dozen readers,
// about a hundred books and some loans.
void createDemoDatabase(const QString& path);

// A new database with generated rows for benchmarks: `books` books, `readers` readers and
// `loans` loans, deterministic for the same numbers.
void createGeneratedDatabase(const QString& path, int books, int readers, int loans);

} // namespace tools
