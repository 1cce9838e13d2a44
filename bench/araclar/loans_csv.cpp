// bench_araclar_loans_csv [BOOKS READERS LOANS [RUNS]]: the CSV for Excel of the whole loans
// table on a generated library, against writing the same bytes from a bare query.
//
// The companion: the loans of a period that holds every loan (loansOfPeriod, as the statistics
// page lists them), turned into CSV (toCsv) and written as saveCsv writes it (writeFile: a
// temporary file renamed into place). The bare run: the same statement on a new connection, every
// row stepped and each field appended straight from SQLite's UTF-8 (dates cut from their ISO text
// to dd.MM.yyyy, quoting where needed), the bytes written to a file. Both files are compared byte
// for byte.

#include "araclar/csv.h"
#include "araclar/statistics.h"
#include "data/sqlite.h"
#include "support/benchkit.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

void appendField(QByteArray& out, const char* text, int size) {
    const std::string_view v(text ? text : "", static_cast<size_t>(size));
    const bool quote = v.find_first_of(";\"\r\n") != std::string_view::npos ||
                       (!v.empty() && (v.front() == ' ' || v.back() == ' '));
    if (!quote) {
        out.append(v.data(), static_cast<qsizetype>(v.size()));
        return;
    }
    out += '"';
    for (const char c : v) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

QByteArray bareCsv(const QString& file, QDate from, QDate to) {
    const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
    data::sqlite::Statement st(db, araclar::loansOfPeriodSql());
    st.bindText(1, from.toString(Qt::ISODate));
    st.bindText(2, to.addDays(1).toString(Qt::ISODate));
    QByteArray out("\xEF\xBB\xBF");
    out += "No;Okuyucu;Kitap;Verili\xC5\x9F Tarihi;Geri Getirme "
           "Tarihi;Durum;A\xC3\xA7\xC4\xB1klama\r\n";
    sqlite3_stmt* h = st.handle();
    while (st.step()) {
        for (int c = 0; c < 7; ++c) {
            if (c)
                out += ';';
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(h, c));
            const int n = sqlite3_column_bytes(h, c);
            if ((c == 3 || c == 4) && t && n >= 10) {
                const char day[10] = {t[8], t[9], '.', t[5], t[6], '.', t[0], t[1], t[2], t[3]};
                out.append(day, 10);
            } else {
                appendField(out, t, n);
            }
        }
        out += "\r\n";
    }
    return out;
}

// Processor time of this process, in milliseconds: steadier than the wall clock while other
// programs share the machine.
double cpuMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const benchkit::LibrarySize size = benchkit::librarySize(app.arguments(), 7);
    QTemporaryDir dir;
    const QString file = benchkit::generateLibrary(dir.path(), size);
    const QDate from(1900, 1, 1), to(2100, 12, 31);

    std::vector<double> bare, companion, read, converted, written, bareCpu, companionCpu;
    qint64 bytes = 0;
    for (int run = 0; run < size.repeats; ++run) {
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuMs();
        {
            const QByteArray csv = bareCsv(file, from, to);
            QFile out(dir.filePath(QStringLiteral("bare.csv")));
            if (!out.open(QIODevice::WriteOnly) || out.write(csv) != csv.size())
                return 1;
        }
        bare.push_back(benchkit::elapsedMs(timer));
        bareCpu.push_back(cpuMs() - cpu);

        timer.restart();
        cpu = cpuMs();
        {
            const data::sqlite::Database db(file, data::sqlite::Database::Mode::ReadOnly);
            const araclar::ReportTable table = araclar::loansOfPeriod(db, from, to);
            read.push_back(benchkit::elapsedMs(timer));
            QElapsedTimer step;
            step.start();
            const QByteArray csv = araclar::toCsv(table);
            converted.push_back(benchkit::elapsedMs(step));
            step.restart();
            araclar::writeFile(csv, dir.filePath(QStringLiteral("araclar.csv")));
            written.push_back(benchkit::elapsedMs(step));
        }
        companion.push_back(benchkit::elapsedMs(timer));
        companionCpu.push_back(cpuMs() - cpu);

        QFile a(dir.filePath(QStringLiteral("bare.csv"))),
            b(dir.filePath(QStringLiteral("araclar.csv")));
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray x = a.readAll(), y = b.readAll();
        if (x != y) {
            std::printf("the two files differ (%lld and %lld bytes)\n",
                        static_cast<long long>(x.size()), static_cast<long long>(y.size()));
            return 1;
        }
        bytes = x.size();
        std::printf("run %d: bare %.1f ms; companion %.1f ms = list read %.1f + CSV bytes %.1f + "
                    "file written %.1f\n",
                    run + 1, bare.back(), companion.back(), read.back(), converted.back(),
                    written.back());
    }
    std::printf(
        "CSV of %d loans, %lld bytes (median of %d): bare %.1f ms, companion %.1f ms, ratio "
        "%.2f; processor time: bare %.1f ms, companion %.1f ms, ratio %.2f\n",
        size.loans, static_cast<long long>(bytes), size.repeats, benchkit::median(bare),
        benchkit::median(companion), benchkit::median(companion) / benchkit::median(bare),
        benchkit::median(bareCpu), benchkit::median(companionCpu),
        benchkit::median(companionCpu) / benchkit::median(bareCpu));
    return 0;
}
