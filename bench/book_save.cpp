// One "Kaydet" of a new book in the book entry window, from the click to the closed window
// (the eight checks, the two dates, the post with its read-back, the close), against one bare
// SQLite insert of the same row on the same file in the same process: on the disk, then on a
// memory file system where one is at hand.
//
//   bench_book_save [BOOKS READERS LOANS [SAVES]]     (default 100000 20000 200000 60)

#include "anaform_/anaform.h"
#include "app/startup.h"
#include "data/adoquery.h"
#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbedit.h"
#include "formkit/entrywindow.h"
#include "kitap_/kitapkayit.h"
#include "platform/application.h"
#include "support/benchkit.h"
#include "tools/demodata.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using benchkit::elapsedMs;
using benchkit::median;

namespace {

// Types `text` into a control key by key, as the keyboard would.
void type(QWidget* control, const QString& text) {
    for (const QChar c : text) {
        int key = Qt::Key_unknown;
        if ((c.isLetter() && c.unicode() < 0x80) || c.isDigit() || c == u' ')
            key = c.toUpper().unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(control, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(control, &release);
    }
}

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

// `saves` saves on a library generated in `dir`, each followed by the bare insert of its row.
// False when something did not go as a user would see it.
bool measure(const QTemporaryDir& dir, const benchkit::LibrarySize& size, int saves,
             std::vector<double>& saveTimes, std::vector<double>& bareTimes) {
    const QString file = benchkit::generateLibrary(dir.path(), size);

    app::createWindows(dir.path() + QStringLiteral("/ternavolk"));
    app::showMainWindow();
    QCoreApplication::processEvents();

    // The bare connection: opened as the program opens its own (no pragma changed, so the
    // journal is a rollback journal and every commit syncs in full).
    sqlite3* bare = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &bare, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                    nullptr);
    sqlite3_busy_timeout(bare, 5000);
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(bare, "PRAGMA synchronous", -1, &st, nullptr);
        sqlite3_step(st);
        const int sync = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        sqlite3_prepare_v2(bare, "PRAGMA journal_mode", -1, &st, nullptr);
        sqlite3_step(st);
        std::printf("bare connection: synchronous=%d, journal_mode=%s\n", sync,
                    reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(bare,
                       "INSERT INTO kitapkayit (SERINO, KITABINADI, YAZARI, TURU, YAYINEVI, "
                       "BARKODU, EDINME, DEGERI, EDINMETARIHI, BASKITARIHI, BASIMYERI, "
                       "BASIMYILI, BASKINO, ACIKLAMA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                       "?, ?, ?)",
                       -1, &insert, nullptr);

    Tkitapkayit* w = kitapkayit;
    const int before = anaform->kitap->recordCount();
    for (int i = 0; i < saves; ++i) {
        // Not timed: the menu action and the typing.
        anaform->YeniKitapKayd1Click();
        QCoreApplication::processEvents();
        const QString number = QString::number(900000 + i);
        const QString title = QStringLiteral("Sinekli Bakkal %1").arg(i);
        type(w->DBEdit1, number);
        type(w->DBEdit2, title);
        type(w->DBEdit3, QStringLiteral("Halide Edib Adıvar"));
        type(w->DBComboBox1, QStringLiteral("roman"));
        type(w->DBEdit4, QStringLiteral("Can Yayınları"));
        type(w->DBEdit6, QStringLiteral("İstanbul"));
        type(w->DBEdit7, QStringLiteral("1936"));
        type(w->DBEdit8, QStringLiteral("12"));
        const QString entered[] = {w->DBEdit1->text(), w->DBEdit2->text(),
                                   w->DBEdit3->text(), w->DBComboBox1->currentText(),
                                   w->DBEdit4->text(), w->DBEdit6->text(),
                                   w->DBEdit7->text(), w->DBEdit8->text()};
        for (const QString& e : entered)
            if (e.isEmpty()) {
                std::printf("typing left a required entry empty\n");
                return false;
            }

        QElapsedTimer t;
        t.start();
        w->Button1Click();
        saveTimes.push_back(elapsedMs(t));
        const int saved = anaform->kitap->recordCount() - 1;
        if (w->isVisible() || saved != before + i ||
            anaform->kitap->displayText(saved, anaform->kitapKITABINADI->index()) != entered[1]) {
            std::printf("the save did not go through\n");
            return false;
        }

        // The same row bare: every column, the ones the save left empty as null.
        const QByteArray cells[] = {
            utf8(entered[0]),
            utf8(entered[1]),
            utf8(entered[2]),
            utf8(entered[3]),
            utf8(entered[4]),
            QByteArray(),
            QByteArray(),
            QByteArray(),
            utf8(w->DateTimePicker1->date().toIso()),
            utf8(w->DateTimePicker2->date().toIso()),
            utf8(entered[5]),
            utf8(entered[6]),
            utf8(entered[7]),
            QByteArray(),
        };
        QCoreApplication::processEvents();
        t.restart();
        for (int c = 0; c < 14; ++c) {
            if (cells[c].isNull())
                sqlite3_bind_null(insert, c + 1);
            else
                sqlite3_bind_text(insert, c + 1, cells[c].constData(),
                                  static_cast<int>(cells[c].size()), SQLITE_STATIC);
        }
        const int rc = sqlite3_step(insert);
        sqlite3_reset(insert);
        bareTimes.push_back(elapsedMs(t));
        if (rc != SQLITE_DONE) {
            std::printf("bare insert failed: %s\n", sqlite3_errmsg(bare));
            return false;
        }
    }
    sqlite3_finalize(insert);
    sqlite3_close_v2(bare);
    app::destroyWindows();
    return true;
}

void report(const char* where, int saves, const std::vector<double>& saveTimes,
            const std::vector<double>& bareTimes) {
    const double b = median(bareTimes), s = median(saveTimes);
    const auto [bmin, bmax] = std::minmax_element(bareTimes.begin(), bareTimes.end());
    const auto [smin, smax] = std::minmax_element(saveTimes.begin(), saveTimes.end());
    std::printf("\n%s: %d saves, interleaved with the bare inserts; milliseconds\n\n", where,
                saves);
    std::printf("| | median | min | max |\n|---|---|---|---|\n");
    std::printf("| bare SQLite insert (bind, step, autocommit) | %.2f | %.2f | %.2f |\n", b, *bmin,
                *bmax);
    std::printf("| \"Kaydet\": Button1Click() | %.2f | %.2f | %.2f |\n", s, *smin, *smax);
    std::printf("\nratio of the medians: %.2f\n", s / b);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::Application application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const benchkit::LibrarySize size = benchkit::librarySize(args, 60);
    const int saves = size.repeats;

    // On the disk, where every commit waits for its sync; then, where a memory file system is
    // at hand, without the sync, which leaves what the program itself adds.
    {
        QTemporaryDir dir;
        std::vector<double> saveTimes, bareTimes;
        if (!measure(dir, size, saves, saveTimes, bareTimes))
            return 1;
        report("on the disk", saves, saveTimes, bareTimes);
    }
    if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) {
        QTemporaryDir dir(QStringLiteral("/dev/shm/ternavolk-bench-XXXXXX"));
        std::vector<double> saveTimes, bareTimes;
        if (!measure(dir, size, saves, saveTimes, bareTimes))
            return 1;
        report("in memory (/dev/shm)", saves, saveTimes, bareTimes);
    }
    return 0;
}
