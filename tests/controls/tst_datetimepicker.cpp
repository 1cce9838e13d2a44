// The date picker: its starting value, setting its date or its whole value, and the user
// changing the date by typing or in the calendar, always keeping the time of day it holds.

#include "data/widgets/datetimepicker.h"
#include "platform/datetime.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QTest>
#include <QWheelEvent>

using namespace Qt::Literals::StringLiterals;
using platform::DateTime;

class DateTimePickerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void startsAtTheFormsValue();
    void setDateKeepsTimeOfDay_data();
    void setDateKeepsTimeOfDay();
    void setDateTimeReplacesWholeValue();
    void typingADateKeepsTimeOfDay();
    void theWheelChangesTheDateOnlyWithTheFocus();
    void choosingInCalendarKeepsTimeOfDay();
};

void DateTimePickerTest::startsAtTheFormsValue() {
    data::TDateTimePicker picker;
    QCOMPARE(picker.date().toIso(), u"2009-05-21 16:15:25.890"_s);
    QVERIFY(picker.date() == DateTime(39954.67738298611));
    QCOMPARE(picker.text(), u"21.05.2009"_s);
    QCOMPARE(picker.displayFormat(), u"d.MM.yyyy"_s);
    QVERIFY(picker.calendarPopup());
}

void DateTimePickerTest::setDateKeepsTimeOfDay_data() {
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("a date with its own time")
        << DateTime::fromDate(QDate(2023, 1, 2), QTime(8, 30)).days()
        << u"2023-01-02 16:15:25.890"_s << u"2.01.2023"_s;
    QTest::newRow("a date at midnight") << DateTime::fromDate(QDate(2024, 2, 29)).days()
                                        << u"2024-02-29 16:15:25.890"_s << u"29.02.2024"_s;
    QTest::newRow("null column read as 0")
        << 0.0 << u"1899-12-30 16:15:25.890"_s << u"30.12.1899"_s;
}

void DateTimePickerTest::setDateKeepsTimeOfDay() {
    QFETCH(double, days);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    data::TDateTimePicker picker;
    picker.setDate(DateTime(days));
    QCOMPARE(picker.date().toIso(), value);
    QCOMPARE(picker.text(), shown);
    // Setting the same date again changes nothing.
    picker.setDate(picker.date());
    QCOMPARE(picker.date().toIso(), value);
}

void DateTimePickerTest::setDateTimeReplacesWholeValue() {
    data::TDateTimePicker picker;
    picker.setDateTime(DateTime::fromDate(QDate(2020, 2, 29), QTime(10, 11, 12, 500)));
    QCOMPARE(picker.date().toIso(), u"2020-02-29 10:11:12.500"_s);
    QCOMPARE(picker.text(), u"29.02.2020"_s);
    picker.setDate(DateTime(0));
    QCOMPARE(picker.date().toIso(), u"1899-12-30 10:11:12.500"_s);
    QCOMPARE(picker.text(), u"30.12.1899"_s);
}

void DateTimePickerTest::typingADateKeepsTimeOfDay() {
    QWidget window;
    auto* picker = new data::TDateTimePicker(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    picker->setFocus();

    picker->setCurrentSection(QDateTimeEdit::DaySection);
    picker->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClicks(picker, u"15"_s);
    QCOMPARE(picker->date().toIso(), u"2009-05-15 16:15:25.890"_s);

    picker->setCurrentSection(QDateTimeEdit::YearSection);
    QTest::keyClick(picker, Qt::Key_Up);
    QCOMPARE(picker->date().toIso(), u"2010-05-15 16:15:25.890"_s);
    QCOMPARE(picker->text(), u"15.05.2010"_s);
}

namespace {
void wheelUp(QWidget* target) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}
} // namespace

// A turn of the wheel over a picker without the focus passes by: the date stays and the focus
// stays where it was; with the focus, it steps the section as the arrow keys do.
void DateTimePickerTest::theWheelChangesTheDateOnlyWithTheFocus() {
    QWidget window;
    auto* focused = new data::TDateTimePicker(&window);
    auto* other = new data::TDateTimePicker(&window);
    other->move(0, 40);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    focused->setFocus();
    focused->setCurrentSection(QDateTimeEdit::YearSection);

    wheelUp(other);
    QCOMPARE(other->date().toIso(), u"2009-05-21 16:15:25.890"_s);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(focused));
    wheelUp(focused);
    QCOMPARE(focused->date().toIso(), u"2010-05-21 16:15:25.890"_s);
    QVERIFY(!other->changedByUser());
    QVERIFY(focused->changedByUser());
}

void DateTimePickerTest::choosingInCalendarKeepsTimeOfDay() {
    QWidget window;
    auto* picker = new data::TDateTimePicker(&window);
    picker->setDateTime(DateTime::fromDate(QDate(2015, 6, 10), QTime(9, 45, 0)));
    picker->resize(150, 25);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    picker->setFocus();

    // A click on the drop-down arrow opens the calendar.
    QTest::mouseClick(picker, Qt::LeftButton, {},
                      QPoint(picker->width() - 5, picker->height() / 2));
    QCalendarWidget* calendar = picker->calendarWidget();
    QTRY_VERIFY(calendar->isVisible());
    QCOMPARE(calendar->selectedDate(), QDate(2015, 6, 10));
    QWidget* days = QApplication::focusWidget();
    QVERIFY(days && calendar->isAncestorOf(days));
    QTest::keyClick(days, Qt::Key_Right);
    QTest::keyClick(days, Qt::Key_Return);
    QTRY_VERIFY(!calendar->isVisible());
    QCOMPARE(picker->date().toIso(), u"2015-06-11 09:45:00.000"_s);
    QCOMPARE(picker->text(), u"11.06.2015"_s);
}

QTEST_MAIN(DateTimePickerTest)
#include "tst_datetimepicker.moc"
