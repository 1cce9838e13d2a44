// The platform layer: DateTime, the text rules, the error box and the message boxes.
#include "platform/datetime.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/guard.h"
#include "platform/qtdialogs.h"
#include "platform/textrules.h"
#include "support/scripteddialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <ctime>
#include <stdexcept>

using namespace Qt::StringLiterals;
using platform::Answer;
using platform::Buttons;
using platform::DateTime;
using platform::Icon;
using platform::Placement;

Q_DECLARE_METATYPE(platform::Buttons)
Q_DECLARE_METATYPE(platform::Answer)

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void dayCountReadsAsDateAndTimeOfDay_data();
    void dayCountReadsAsDateAndTimeOfDay();
    void isoTextRoundTrips_data();
    void isoTextRoundTrips();
    void isoTextOfOtherToolsIsRead_data();
    void isoTextOfOtherToolsIsRead();
    void withDateKeepsTheTimeOfDay();

    void turkishUpperUsesTheTurkishRule_data();
    void turkishUpperUsesTheTurkishRule();
    void displayTextShowsTheTimeOnlyWhenItHasOne_data();
    void displayTextShowsTheTimeOnlyWhenItHasOne();

    void errorBoxAddsAFullStopOnlyAfterALetter_data();
    void errorBoxAddsAFullStopOnlyAfterALetter();
    void guardShowsAnErrorInTheErrorBox();
    void guardShowsNothingForTheSilentAbort();
    void guardKeepsEveryOtherExceptionFromQt();
    void plainMessageBoxHasNoIconAndNoFullStop();
    void deleteQuestionIsYesNoWithYesTheDefault();
    void deleteRecordConfirmationIsOkCancel();

    void qtBoxesShowWhatTheServiceAsks_data();
    void qtBoxesShowWhatTheServiceAsks();
};

void PlatformTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    // Turkish clocks, with the summer-time change of their time (03:00 became 04:00 on
    // 29 March 2009).
    qputenv("TZ", "Europe/Istanbul");
#if defined(Q_OS_UNIX)
    tzset();
#endif
}

void PlatformTest::dayCountReadsAsDateAndTimeOfDay_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QTime>("time");

    QTest::newRow("every picker's start")
        << 39954.67738298611 << QDate(2009, 5, 21) << QTime(16, 15, 25, 890);
    QTest::newRow("zero is the epoch") << 0.0 << QDate(1899, 12, 30) << QTime(0, 0);
    QTest::newRow("noon") << 1.5 << QDate(1899, 12, 31) << QTime(12, 0);
    QTest::newRow("leap day 2000") << 36585.25 << QDate(2000, 2, 29) << QTime(6, 0);
    // Before the epoch the whole part counts back and the fraction is still the time of day.
    QTest::newRow("before the epoch") << -1.25 << QDate(1899, 12, 29) << QTime(6, 0);
    // A hair before midnight rounds to the next day's midnight, never to 24:00.
    QTest::newRow("round-off carries into the next day")
        << 39954.999999999 << QDate(2009, 5, 22) << QTime(0, 0);
    QTest::newRow("last millisecond of the day")
        << 39954.0 + 86'399'999.0 / 86'400'000.0 << QDate(2009, 5, 21) << QTime(23, 59, 59, 999);
}

void PlatformTest::dayCountReadsAsDateAndTimeOfDay() {
    QFETCH(double, days);
    QFETCH(QDate, date);
    QFETCH(QTime, time);
    const DateTime dt(days);
    QCOMPARE(dt.date(), date);
    QCOMPARE(dt.time(), time);
    // And back: the date and time give the same day count to the millisecond.
    const DateTime back = DateTime::fromDate(date, time);
    QCOMPARE(back, dt);
}

void PlatformTest::isoTextRoundTrips_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("iso");

    QTest::newRow("picker start") << 39954.67738298611 << u"2009-05-21 16:15:25.890"_s;
    QTest::newRow("epoch") << 0.0 << u"1899-12-30 00:00:00.000"_s;
    QTest::newRow("before the epoch") << -1.25 << u"1899-12-29 06:00:00.000"_s;
    QTest::newRow("midnight") << 36526.0 << u"2000-01-01 00:00:00.000"_s;
    QTest::newRow("far future") << 73050.5 << u"2099-12-31 12:00:00.000"_s;
}

void PlatformTest::isoTextRoundTrips() {
    QFETCH(double, days);
    QFETCH(QString, iso);
    QCOMPARE(DateTime(days).toIso(), iso);
    const auto parsed = DateTime::fromIso(iso);
    QVERIFY(parsed.has_value());
    QCOMPARE(*parsed, DateTime(days));
    QVERIFY(qAbs(parsed->days() - days) < 1e-8);
    QCOMPARE(parsed->toIso(), iso);
}

void PlatformTest::isoTextOfOtherToolsIsRead_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("iso");

    QTest::newRow("no milliseconds")
        << u"2009-05-21 16:15:25"_s << true << u"2009-05-21 16:15:25.000"_s;
    QTest::newRow("with T") << u"2009-05-21T16:15:25.890"_s << true << u"2009-05-21 16:15:25.890"_s;
    QTest::newRow("no seconds") << u"2009-05-21 16:15"_s << true << u"2009-05-21 16:15:00.000"_s;
    QTest::newRow("date alone is midnight")
        << u"2009-05-21"_s << true << u"2009-05-21 00:00:00.000"_s;
    QTest::newRow("blanks around") << u" 2009-05-21 "_s << true << u"2009-05-21 00:00:00.000"_s;
    QTest::newRow("the hour summer time skipped")
        << u"2009-03-29 03:30:00.000"_s << true << u"2009-03-29 03:30:00.000"_s;
    QTest::newRow("the hour summer time repeated")
        << u"2009-10-25 03:30:00"_s << true << u"2009-10-25 03:30:00.000"_s;
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("hour 25") << u"2009-05-21 25:00:00"_s << false << QString();
    QTest::newRow("something after the date") << u"2009-05-21x"_s << false << QString();
    QTest::newRow("something after the time") << u"2009-05-21 16:15:25 x"_s << false << QString();
    QTest::newRow("no date") << u"21.05.2009"_s << false << QString();
    QTest::newRow("month 13") << u"2009-13-01"_s << false << QString();
    QTest::newRow("30 February") << u"2009-02-30 10:00:00"_s << false << QString();
}

void PlatformTest::isoTextOfOtherToolsIsRead() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, iso);
    const auto parsed = DateTime::fromIso(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(parsed->toIso(), iso);
}

void PlatformTest::withDateKeepsTheTimeOfDay() {
    const DateTime start(39954.67738298611);
    const DateTime moved = start.withDate(QDate(2024, 2, 29));
    QCOMPARE(moved.date(), QDate(2024, 2, 29));
    QCOMPARE(moved.time(), QTime(16, 15, 25, 890));
    QCOMPARE(moved.toIso(), u"2024-02-29 16:15:25.890"_s);

    const DateTime early = start.withDate(QDate(1899, 12, 29));
    QCOMPARE(early.date(), QDate(1899, 12, 29));
    QCOMPARE(early.time(), QTime(16, 15, 25, 890));
    QVERIFY(early.days() < 0);

    QCOMPARE(DateTime().date(), QDate(1899, 12, 30));
    QCOMPARE(DateTime().time(), QTime(0, 0));
    QCOMPARE(DateTime().withDate(QDate(2009, 5, 21)).toIso(), u"2009-05-21 00:00:00.000"_s);
}

void PlatformTest::turkishUpperUsesTheTurkishRule_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");

    QTest::newRow("dotted and dotless i") << u"istanbul ılık"_s << u"İSTANBUL ILIK"_s;
    QTest::newRow("the other Turkish letters") << u"çğöşü"_s << u"ÇĞÖŞÜ"_s;
    QTest::newRow("capitals stay") << u"İI ÇĞÖŞÜ ABC"_s << u"İI ÇĞÖŞÜ ABC"_s;
    QTest::newRow("digits and signs stay") << u"3-b/12, no: 5"_s << u"3-B/12, NO: 5"_s;
    QTest::newRow("circumflex letters") << u"kâtip îman ûmran"_s << u"KÂTİP ÎMAN ÛMRAN"_s;
    // One character for one, so a text keeps its length under a column's size.
    QTest::newRow("sharp s keeps its length") << u"straße"_s << u"STRAßE"_s;
    QTest::newRow("empty") << QString() << QString();
}

void PlatformTest::turkishUpperUsesTheTurkishRule() {
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QCOMPARE(platform::turkishUpper(text), upper);
    QCOMPARE(platform::turkishUpper(text).size(), text.size());
}

void PlatformTest::displayTextShowsTheTimeOnlyWhenItHasOne_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("text");

    QTest::newRow("with time") << 39954.67738298611 << u"21.05.2009 16:15:25"_s;
    QTest::newRow("midnight") << 39954.0 << u"21.05.2009"_s;
    QTest::newRow("milliseconds do not count")
        << DateTime::fromDate(QDate(2009, 5, 21), QTime(0, 0, 0, 500)).days() << u"21.05.2009"_s;
    QTest::newRow("one second") << DateTime::fromDate(QDate(2009, 5, 21), QTime(0, 0, 1)).days()
                                << u"21.05.2009 00:00:01"_s;
    QTest::newRow("one minute") << DateTime::fromDate(QDate(2009, 5, 21), QTime(0, 1)).days()
                                << u"21.05.2009 00:01:00"_s;
    QTest::newRow("the epoch") << 0.0 << u"30.12.1899"_s;
}

void PlatformTest::displayTextShowsTheTimeOnlyWhenItHasOne() {
    QFETCH(double, days);
    QFETCH(QString, text);
    QCOMPARE(platform::dateTimeDisplayText(DateTime(days)), text);
}

void PlatformTest::errorBoxAddsAFullStopOnlyAfterALetter_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("empty stays empty") << QString() << QString();
    QTest::newRow("ends in a letter")
        << u"kitap: Cannot perform this operation on an empty dataset"_s
        << u"kitap: Cannot perform this operation on an empty dataset."_s;
    QTest::newRow("ends in a Turkish letter")
        << u"Kayıt silinemedi: ş"_s << u"Kayıt silinemedi: ş."_s;
    QTest::newRow("ends in a digit") << u"hata 5"_s << u"hata 5."_s;
    QTest::newRow("ends in a quote") << u"'12a' is not a valid integer value for field 'DEGERI'"_s
                                     << u"'12a' is not a valid integer value for field 'DEGERI'"_s;
    QTest::newRow("ends in a blank") << u"hata "_s << u"hata "_s;
    QTest::newRow("ends in a full stop")
        << u"Could not find file 'DATA.mdb'."_s << u"Could not find file 'DATA.mdb'."_s;
    QTest::newRow("ends in !") << u"Dur!"_s << u"Dur!"_s;
    QTest::newRow("ends in a double quote") << u"\"x\""_s << u"\"x\""_s;
    QTest::newRow("ends in )") << u"(x)"_s << u"(x)"_s;
    QTest::newRow("ends in -") << u"x -"_s << u"x -"_s;
    QTest::newRow("ends in ,") << u"x,"_s << u"x,"_s;
    // Characters after "." in the code page's order get the full stop.
    QTest::newRow("ends in /") << u"a/"_s << u"a/."_s;
    QTest::newRow("ends in :") << u"a:"_s << u"a:."_s;
    QTest::newRow("ends in ?") << u"a?"_s << u"a?."_s;
}

void PlatformTest::errorBoxAddsAFullStopOnlyAfterALetter() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(platform::errorBoxText(message), shown);

    testsupport::ScriptedDialogs boxes;
    platform::showError(message);
    QCOMPARE(boxes.texts(), QStringList{shown});
}

void PlatformTest::guardShowsAnErrorInTheErrorBox() {
    testsupport::ScriptedDialogs boxes;
    QStringList steps;
    const bool ok = platform::guard([&] {
        steps << u"before"_s;
        throw platform::Error(u"okuyucu: Cannot perform this operation on an empty dataset"_s);
        steps << u"after"_s; // never reached
    });
    QVERIFY(!ok);
    QCOMPARE(steps, QStringList{u"before"_s});
    QCOMPARE(boxes.shown().size(), 1);
    const auto& box = boxes.shown().front();
    QCOMPARE(box.caption, u"Ternavolk Kütüphane Takip"_s);
    QCOMPARE(box.text, u"okuyucu: Cannot perform this operation on an empty dataset."_s);
    QCOMPARE(box.icon, Icon::Stop);
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(box.defaultAnswer, Answer::Ok);

    boxes.clear();
    QVERIFY(!platform::guard(
        [] { throw platform::Error(u"'12a' is not a valid integer value for field 'DEGERI'"_s); }));
    QCOMPARE(boxes.texts(),
             QStringList{u"'12a' is not a valid integer value for field 'DEGERI'"_s});

    // A handler that ends normally shows nothing.
    boxes.clear();
    bool ran = false;
    QVERIFY(platform::guard([&] { ran = true; }));
    QVERIFY(ran);
    QVERIFY(boxes.shown().isEmpty());
}

void PlatformTest::guardShowsNothingForTheSilentAbort() {
    testsupport::ScriptedDialogs boxes;
    bool after = false;
    QVERIFY(!platform::guard([&] {
        platform::abortSilently();
        after = true;
    }));
    QVERIFY(!after);
    QVERIFY(boxes.shown().isEmpty());
    QCOMPARE(platform::Abort().message(), u"Operation aborted"_s);
}

void PlatformTest::guardKeepsEveryOtherExceptionFromQt() {
    testsupport::ScriptedDialogs boxes;
    QVERIFY(!platform::guard([] { throw std::runtime_error("disk full"); }));
    QVERIFY(!platform::guard([] { throw 42; }));
    QCOMPARE(boxes.texts(), (QStringList{u"disk full."_s, u"Unknown error."_s}));
    for (const auto& box : boxes.shown()) {
        QCOMPARE(box.caption, u"Ternavolk Kütüphane Takip"_s);
        QCOMPARE(box.icon, Icon::Stop);
    }
    // Even a box that itself fails does not let the exception out.
    boxes.onShow = [](const testsupport::ScriptedDialogs::Shown&) {
        throw std::runtime_error("the box failed");
    };
    QVERIFY(!platform::guard([] { throw platform::Error(u"x"_s); }));
}

void PlatformTest::plainMessageBoxHasNoIconAndNoFullStop() {
    testsupport::ScriptedDialogs boxes;
    platform::showMessage(u"Kitap Adı Boş Olamaz"_s);
    QCOMPARE(boxes.shown().size(), 1);
    const auto& box = boxes.shown().front();
    QCOMPARE(box.caption, u"Ternavolk Kütüphane Takip"_s);
    QCOMPARE(box.text, u"Kitap Adı Boş Olamaz"_s);
    QCOMPARE(box.icon, Icon::None);
    QCOMPARE(box.buttons, Buttons::Ok);
}

void PlatformTest::deleteQuestionIsYesNoWithYesTheDefault() {
    testsupport::ScriptedDialogs boxes;
    const QString question = u"Seçili okuyucu kaydı silinecek, emin misiniz"_s;
    boxes.answerNext(Answer::No);
    QCOMPARE(platform::askDelete(question), false);
    boxes.answerNext(Answer::Yes);
    QCOMPARE(platform::askDelete(question), true);
    QCOMPARE(boxes.shown().size(), 2);
    for (const auto& box : boxes.shown()) {
        QCOMPARE(box.caption, u"Dikkat"_s);
        QCOMPARE(box.text, question); // a question gets no full stop
        QCOMPARE(box.icon, Icon::Question);
        QCOMPARE(box.buttons, Buttons::YesNo);
        QCOMPARE(box.defaultAnswer, Answer::Yes);
    }
}

void PlatformTest::deleteRecordConfirmationIsOkCancel() {
    testsupport::ScriptedDialogs boxes;
    boxes.answerNext(Answer::Cancel);
    QCOMPARE(platform::confirmDeleteRecord(), false);
    boxes.answerNext(Answer::Ok);
    QCOMPARE(platform::confirmDeleteRecord(), true);
    QCOMPARE(boxes.shown().size(), 2);
    for (const auto& box : boxes.shown()) {
        QCOMPARE(box.caption, u"Confirm"_s);
        QCOMPARE(box.text, u"Delete record?"_s);
        QCOMPARE(box.icon, Icon::Question);
        QCOMPARE(box.buttons, Buttons::OkCancel);
        QCOMPARE(box.defaultAnswer, Answer::Ok);
    }
}

void PlatformTest::qtBoxesShowWhatTheServiceAsks_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Answer>("defaultAnswer");
    QTest::addColumn<int>("standardButtons");
    QTest::addColumn<int>("qtIcon");
    QTest::addColumn<int>("qtDefault");
    QTest::addColumn<bool>("escapeCloses");
    QTest::addColumn<Answer>("escapeAnswer");
    QTest::addColumn<QString>("caption");

    QTest::newRow("error box") << int(Icon::Stop) << Buttons::Ok << Answer::Ok
                               << int(QMessageBox::Ok) << int(QMessageBox::Critical)
                               << int(QMessageBox::Ok) << true << Answer::Ok
                               << platform::applicationTitle();
    QTest::newRow("plain box") << int(Icon::None) << Buttons::Ok << Answer::Ok
                               << int(QMessageBox::Ok) << int(QMessageBox::NoIcon)
                               << int(QMessageBox::Ok) << true << Answer::Ok
                               << platform::applicationTitle();
    QTest::newRow("delete question")
        << int(Icon::Question) << Buttons::YesNo << Answer::Yes
        << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Question)
        << int(QMessageBox::Yes) << false << Answer::No << u"Dikkat"_s;
    QTest::newRow("delete record?")
        << int(Icon::Question) << Buttons::OkCancel << Answer::Ok
        << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Question)
        << int(QMessageBox::Ok) << true << Answer::Cancel << u"Confirm"_s;
}

// The real boxes, on the offscreen platform: a timer looks at the box while it is up, presses
// Esc and then, if it is still up, its last button. Nothing is asserted inside the box's loop,
// so a failure cannot leave a box waiting.
void PlatformTest::qtBoxesShowWhatTheServiceAsks() {
    QFETCH(int, icon);
    QFETCH(Buttons, buttons);
    QFETCH(Answer, defaultAnswer);
    QFETCH(int, standardButtons);
    QFETCH(int, qtIcon);
    QFETCH(int, qtDefault);
    QFETCH(bool, escapeCloses);
    QFETCH(Answer, escapeAnswer);
    QFETCH(QString, caption);

    struct Seen {
        QString title, text;
        int buttons = 0, icon = -1;
        bool openAfterEscape = false;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QPoint centre;
        int width = 0, captionWidth = 0;
    } seen;
    // An active window in a corner: a box over it would not stand in the middle of the screen.
    QWidget corner;
    corner.setGeometry(0, 0, 200, 100);
    corner.show();
    corner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&corner));
    const bool screenCentre = buttons != Buttons::YesNo && icon != int(Icon::Stop);
    bool looked = false;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || looked)
            return;
        looked = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.buttons = int(box->standardButtons());
        seen.icon = int(box->icon());
        seen.defaultButton = box->standardButton(box->defaultButton());
        seen.centre = box->frameGeometry().center();
        seen.width = box->width();
        seen.captionWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
        QTest::keyClick(box, Qt::Key_Escape);
        seen.openAfterEscape = box->isVisible();
        if (seen.openAfterEscape)
            box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click()
                                         : box->buttons().back()->click();
    });
    poll.start();
    platform::QtDialogs qt;
    const Answer answer =
        qt.show(caption, u"Silinsin mi"_s, Icon(icon), buttons, defaultAnswer,
                screenCentre ? Placement::ScreenCentre : Placement::OverActiveWindow);
    poll.stop();

    QVERIFY(looked);
    QCOMPARE(seen.title, caption);
    QCOMPARE(seen.text, u"Silinsin mi"_s);
    QCOMPARE(seen.buttons, standardButtons);
    QCOMPARE(seen.icon, qtIcon);
    QCOMPARE(int(seen.defaultButton), qtDefault);
    QCOMPARE(seen.openAfterEscape, !escapeCloses);
    QCOMPARE(answer, escapeAnswer);
    // Wide enough for the whole caption beside the title bar's icon and close button.
    QVERIFY2(seen.width >= seen.captionWidth + 64,
             qPrintable(u"%1 px for a caption of %2 px"_s.arg(seen.width).arg(seen.captionWidth)));
    // The plain box and the grid's confirmation stand in the middle of the screen, the others
    // over the active window.
    const QPoint screenMiddle = corner.screen()->availableGeometry().center();
    QCOMPARE((seen.centre - screenMiddle).manhattanLength() <= 2, screenCentre);
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
