// Start-up and shutdown of the whole program over a temporary executable folder.

#include "data/widgets/datetimepicker.h"
#include "emanetkitap_/emanetkitap.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "formkit/searchedit.h"
#include "kitap_/kitapkayit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "platform/qtdialogs.h"
#include "support/menus.h"
#include "support/programfixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

using namespace testsupport;
using namespace Qt::StringLiterals;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QDir::setCurrent(elsewhere.path()); }
    void cleanup() { app::destroyWindows(); }

    void opensTheDatabaseBesideTheExecutableWhateverItsFolderIsCalled_data();
    void opensTheDatabaseBesideTheExecutableWhateverItsFolderIsCalled();
    void createsTheFiveWindowsHiddenInOrder();
    void missingDatabaseShowsOneBoxBeforeTheWindowAndOneOnEachReturn();
    void aDatabaseThatAppearsLaterOpensOnActivationButTheBooksLackTheirConnection();
    void returningFromAnotherProgramWindowKeepsFiltersAndPendingRows();
    void closingOtherWindowsOnlyHidesThem();
    void closingTheMainWindowEndsTheProgramWithoutSavingAPendingRow();
    void textsQtDrawsFollowTheDesktopWhileTheQuotedOnesStay_data();
    void textsQtDrawsFollowTheDesktopWhileTheQuotedOnesStay();

private:
    QTemporaryDir elsewhere; // the working directory: never where DATA.mdb lies
};

void StartupTest::opensTheDatabaseBesideTheExecutableWhateverItsFolderIsCalled_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("blanks and Turkish letters") << QStringLiteral("Okul Kütüphanesi ŞĞİıöç");
    QTest::newRow("a semicolon") << QStringLiteral("Kitap;Data Source=başka");
#ifndef Q_OS_WIN // Windows allows no '"' in a folder's name
    QTest::newRow("quotes") << QStringLiteral("\"Kitaplar' 2\"");
#endif
}

void StartupTest::opensTheDatabaseBesideTheExecutableWhateverItsFolderIsCalled() {
    QFETCH(QString, folder);
    TempDatabase db(folder);
    db.insert(QStringLiteral("okuyucu"), {QStringLiteral("ADISOYADI")},
              {QStringLiteral("ALİ KAYA")});
    db.insert(QStringLiteral("kitapkayit"), {QStringLiteral("KITABINADI")},
              {QStringLiteral("ÇALIKUŞU")});
    db.insert(QStringLiteral("hareket"), {QStringLiteral("DURUM")}, {QStringLiteral("Verildi")});
    ScriptedDialogs dialogs;
    app::createWindows(db.executablePath());
    app::showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(anaform));
    QCOMPARE(dialogs.texts(), QStringList());
    QCOMPARE(anaform->okuyucu->state(), data::DataSetState::Browse);
    QCOMPARE(anaform->okuyucuADISOYADI->text(), QStringLiteral("ALİ KAYA"));
    QCOMPARE(anaform->kitapKITABINADI->text(), QStringLiteral("ÇALIKUŞU"));
    QCOMPARE(emanetkitapkaydi->emanetDURUM->text(), QStringLiteral("Verildi"));
    // The three record sets hold equal strings of their own.
    QCOMPARE(anaform->kitap->connectionString(), anaform->okuyucu->connectionString());
    QCOMPARE(emanetkitapkaydi->emanet->connectionString(), anaform->okuyucu->connectionString());
    QCOMPARE(anaform->okuyucu->sqlLines(), QStringList{QStringLiteral("select * from  okuyucu")});
}

void StartupTest::createsTheFiveWindowsHiddenInOrder() {
    TempDatabase db;
    app::createWindows(db.executablePath());
    const QList<QWidget*> windows{anaform, kitapkayit, okuyucu_kayit, emanetkitap,
                                  emanetkitapkaydi};
    const QStringList captions{
        QStringLiteral("Ternavolk  Kütüphane Takip "), QStringLiteral("Kitap Kayıt Formu"),
        QStringLiteral("Okuyucu Kayıt Formu"), QStringLiteral("Emanet Verilen Kitap Kaydı"),
        QStringLiteral("Emanet Verilen Kitap Kaydı")};
    for (int i = 0; i < windows.size(); ++i) {
        QVERIFY(windows[i]);
        QCOMPARE(windows[i]->windowTitle(), captions[i]);
        QVERIFY(!windows[i]->isVisible());
    }
    // Nothing reaches the database before the main window is shown.
    QVERIFY(!anaform->okuyucu->active());
    QVERIFY(anaform->okuyucu->connectionString().isEmpty());
    QVERIFY(emanetkitapkaydi->emanet->connectionString().isEmpty());
    QCOMPARE(platform::applicationTitle(), QStringLiteral("Ternavolk Kütüphane Takip"));
}

void StartupTest::missingDatabaseShowsOneBoxBeforeTheWindowAndOneOnEachReturn() {
    TempDatabase db;
    QVERIFY(db.removeFile());
    ScriptedDialogs dialogs;
    QList<bool> mainVisible;
    dialogs.onShow = [&](const ScriptedDialogs::Shown&) {
        mainVisible << (anaform->windowHandle() && anaform->windowHandle()->isVisible());
    };
    app::createWindows(db.executablePath());
    app::showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(anaform));
    QTRY_COMPARE(dialogs.shown().size(), 2);
    const QString message =
        QStringLiteral("Could not find file '%1'.").arg(QDir::toNativeSeparators(db.filePath()));
    QCOMPARE(dialogs.texts(), (QStringList{message, message}));
    QCOMPARE(dialogs.shown()[0].caption, QStringLiteral("Ternavolk Kütüphane Takip"));
    QCOMPARE(dialogs.shown()[0].icon, platform::Icon::Stop);
    QCOMPARE(dialogs.shown()[0].buttons, platform::Buttons::Ok);
    QCOMPARE(mainVisible, (QList<bool>{false, true}));
    QVERIFY(!QFile::exists(db.filePath())); // never created
    QVERIFY(anaform->kitap->connectionString().isEmpty());

    // A foreign window is not one of the program's: coming back from it runs nothing.
    QWidget foreign;
    QVERIFY(activate(&foreign));
    QVERIFY(activate(anaform));
    QCOMPARE(dialogs.shown().size(), 2);
    // Coming back from an entry window tries again.
    QVERIFY(activate(kitapkayit));
    QVERIFY(activate(anaform));
    QTRY_COMPARE(dialogs.shown().size(), 3);
    QCOMPARE(dialogs.texts().last(), message);
}

void StartupTest::aDatabaseThatAppearsLaterOpensOnActivationButTheBooksLackTheirConnection() {
    auto db = std::make_unique<TempDatabase>();
    const QString file = db->filePath();
    db->release();
    QVERIFY(QFile::rename(file, file + QStringLiteral(".away")));
    ScriptedDialogs dialogs;
    app::createWindows(db->executablePath());
    app::showMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(anaform));
    QTRY_COMPARE(dialogs.shown().size(), 2);
    QVERIFY(QFile::rename(file + QStringLiteral(".away"), file));
    QVERIFY(activate(okuyucu_kayit));
    QVERIFY(activate(anaform));
    QTRY_COMPARE(dialogs.shown().size(), 3);
    QCOMPARE(dialogs.texts().last(), QStringLiteral("Missing Connection or ConnectionString."));
    QVERIFY(anaform->okuyucu->active());
    QVERIFY(!anaform->kitap->active());
    QVERIFY(!emanetkitapkaydi->emanet->active()); // nothing reopens the loans
}

void StartupTest::returningFromAnotherProgramWindowKeepsFiltersAndPendingRows() {
    ProgramFixture program;
    QVERIFY(program.start([](TempDatabase& db) {
        for (const char16_t* name : {u"ALİ", u"AYŞE", u"MEHMET"})
            db.insert(QStringLiteral("okuyucu"), {QStringLiteral("ADISOYADI")},
                      {QString::fromUtf16(name)});
    }));
    anaform->Edit1->setText(QStringLiteral("A"));
    QCOMPARE(anaform->okuyucu->recordCount(), 2);
    anaform->okuyucu->next();
    anaform->YeniKitapKayd1Click();
    QVERIFY(activate(anaform));
    QCOMPARE(anaform->okuyucu->sqlLines(),
             QStringList{QStringLiteral("select * from okuyucu where  ADISOYADI like '%A%'")});
    QCOMPARE(anaform->okuyucu->recordCount(), 2);
    QCOMPARE(anaform->okuyucuADISOYADI->text(), QStringLiteral("AYŞE"));
    QCOMPARE(anaform->kitap->state(), data::DataSetState::Insert);
    QCOMPARE(program.dialogs->texts(), QStringList());
    program.stop();
}

void StartupTest::closingOtherWindowsOnlyHidesThem() {
    ProgramFixture program;
    QVERIFY(program.start([](TempDatabase&) {}));
    anaform->YeniKitapKayd1Click();
    QVERIFY(kitapkayit->isVisible());
    QVERIFY(kitapkayit->close());
    QVERIFY(!kitapkayit->isVisible());
    QVERIFY(anaform->isVisible());
    // Its close handler dropped the new row.
    QCOMPARE(anaform->kitap->state(), data::DataSetState::Browse);
    QCOMPARE(anaform->kitap->recordCount(), 0);
    anaform->EmanetVerilenKitapKayd1Click();
    QVERIFY(emanetkitapkaydi->close());
    QVERIFY(anaform->isVisible());
    program.stop();
}

void StartupTest::closingTheMainWindowEndsTheProgramWithoutSavingAPendingRow() {
    ProgramFixture program;
    QVERIFY(program.start([](TempDatabase&) {}));
    anaform->YeniKitapKayd1Click();
    anaform->kitapKITABINADI->setText(QStringLiteral("KAYDEDİLMEYECEK"));
    QTimer::singleShot(0, anaform, [] { anaform->close(); });
    QCOMPARE(QApplication::exec(), 0); // the event loop ends with the main window
    QVERIFY(kitapkayit->isVisible());  // no close handler of another window ran
    QCOMPARE(anaform->kitap->state(), data::DataSetState::Insert);
    app::destroyWindows(); // as the program does after its loop
    QCOMPARE(program.db->count(QStringLiteral("kitapkayit")), 0);
    QCOMPARE(program.dialogs->texts(), QStringList());
    program.stop();
}

namespace {

// The button texts of the real box that `show` puts up, read while it is up; the box is then
// answered with its last button.
QStringList buttonTextsOf(const std::function<void()>& show) {
    QStringList texts;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !texts.isEmpty())
            return;
        for (QAbstractButton* button : box->buttons())
            texts << button->text();
        box->buttons().back()->click();
    });
    poll.start();
    show();
    return texts;
}

} // namespace

void StartupTest::textsQtDrawsFollowTheDesktopWhileTheQuotedOnesStay_data() {
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("question"); // the delete question's buttons
    QTest::addColumn<QStringList>("error");    // the error box's button
    QTest::addColumn<QStringList>("pickerMenu");
    const QStringList turkishMenu{u"&Geri al"_s,    u"&Yinele"_s,     u"Ke&s"_s,
                                  u"&Kopyala"_s,    u"Ya&pıştır"_s,   u"Sil"_s,
                                  u"Tümünü &Seç"_s, u"&Yukarı çık"_s, u"&Aşağı in"_s};
    QTest::newRow("unset") << u"C"_s << QStringList{u"&Evet"_s, u"&Hayır"_s}
                           << QStringList{u"Tamam"_s} << turkishMenu;
    QTest::newRow("Turkish") << u"tr_TR"_s << QStringList{u"&Evet"_s, u"&Hayır"_s}
                             << QStringList{u"Tamam"_s} << turkishMenu;
    QTest::newRow("English") << u"en_US"_s << QStringList{u"&Yes"_s, u"&No"_s}
                             << QStringList{u"OK"_s}
                             << QStringList{u"&Undo"_s,       u"&Redo"_s,    u"Cu&t"_s,
                                            u"&Copy"_s,       u"&Paste"_s,   u"Delete"_s,
                                            u"&Select All"_s, u"&Step up"_s, u"Step &down"_s};
}

// Qt's own texts (the window system's boxes, the picker's edit menu) speak the desktop's
// language, Turkish where none is set; the plain box's "OK" and the grid's "Confirm" box with
// "OK" and "Cancel" read as the program always wrote them.
void StartupTest::textsQtDrawsFollowTheDesktopWhileTheQuotedOnesStay() {
    QFETCH(QString, desktop);
    QFETCH(QStringList, question);
    QFETCH(QStringList, error);
    QFETCH(QStringList, pickerMenu);
    TempDatabase db;
    const auto translator = app::installQtTranslation(db.executablePath(), QLocale(desktop));
    platform::QtDialogs qt;
    platform::Dialogs* const previous = platform::setDialogs(&qt);
    const QStringList questionSeen = buttonTextsOf([] { platform::askDelete(u"Silinsin mi"_s); });
    const QStringList errorSeen = buttonTextsOf([] { platform::showError(u"Olmadı"_s); });
    const QStringList plainSeen = buttonTextsOf([] { platform::showMessage(u"Boş"_s); });
    const QStringList confirmSeen = buttonTextsOf([] { platform::confirmDeleteRecord(); });
    platform::setDialogs(previous);
    data::TDateTimePicker picker;
    picker.show();
    QStringList menu;
    testsupport::chooseFromContextMenu(&picker, QString(), &menu);
    for (QString& entry : menu)
        entry = entry.section(u'\t', 0, 0); // without the shortcut
    if (translator)
        QCoreApplication::removeTranslator(translator.get());

    QCOMPARE(questionSeen, question);
    QCOMPARE(errorSeen, error);
    QCOMPARE(plainSeen, QStringList{u"OK"_s});
    QCOMPARE(confirmSeen, (QStringList{u"OK"_s, u"Cancel"_s}));
    QCOMPARE(menu, pickerMenu);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
