#include "araclar/importpage.h"

#include "araclar/importoutput.h"
#include "araclar/listpanel.h"
#include "araclar/messages.h"
#include "tools/restore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace araclar {

namespace {
constexpr int tables = 3;
}

ImportPage::ImportPage(const Context& context, QWidget* parent)
    : QWidget(parent), context_(context) {
    setObjectName(QStringLiteral("importPage"));
    oldEdit = new QLineEdit(this);
    oldEdit->setObjectName(QStringLiteral("oldEdit"));
    auto* oldLabel = new QLabel(QStringLiteral("&Eski Access dosyası:"), this);
    labelControl(oldLabel, oldEdit);
    auto* oldButton = new QPushButton(QStringLiteral("Seç…"), this);
    oldButton->setObjectName(QStringLiteral("oldButton"));
    oldButton->setAccessibleName(QStringLiteral("Eski Access dosyasını seç"));
    newEdit = new QLineEdit(this);
    newEdit->setObjectName(QStringLiteral("newEdit"));
    newEdit->setText(QDir::toNativeSeparators(
        QFileInfo(context_.databasePath).absoluteDir().filePath(QStringLiteral("DATA-yeni.mdb"))));
    auto* newLabel = new QLabel(QStringLiteral("&Yeni dosya:"), this);
    labelControl(newLabel, newEdit);
    auto* newButton = new QPushButton(QStringLiteral("Seç…"), this);
    newButton->setObjectName(QStringLiteral("newButton"));
    newButton->setAccessibleName(QStringLiteral("Yeni dosyanın yerini seç"));
    startButton = new QPushButton(QStringLiteral("&Aktarmayı Başlat"), this);
    startButton->setObjectName(QStringLiteral("startButton"));
    cancelButton = new QPushButton(QStringLiteral("İ&ptal"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("progressBar"));
    progress->setRange(0, tables);
    progress->setValue(0);
    progress->setFormat(QStringLiteral("%v / %m tablo"));
    auto* progressLabel = new QLabel(QStringLiteral("İlerleme:"), this);
    labelControl(progressLabel, progress);
    stateLabel = new QLabel(this);
    stateLabel->setObjectName(QStringLiteral("stateLabel"));
    summary = new QPlainTextEdit(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setReadOnly(true);
    auto* summaryLabel = new QLabel(QStringLiteral("Özet ve &uyarılar:"), this);
    labelControl(summaryLabel, summary);
    auto* note = new QLabel(
        QStringLiteral("Eski dosya yalnızca okunur. Aktarmadan önce Kütüphane Takip programını "
                       "kapatın ve eski DATA.mdb'nin bir kopyasını güvenli bir yerde saklayın."),
        this);
    note->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(oldLabel, 0, 0);
    grid->addWidget(oldEdit, 0, 1);
    grid->addWidget(oldButton, 0, 2);
    grid->addWidget(newLabel, 1, 0);
    grid->addWidget(newEdit, 1, 1);
    grid->addWidget(newButton, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(progressLabel);
    layout->addWidget(progress);
    layout->addWidget(stateLabel);
    layout->addWidget(summaryLabel);
    layout->addWidget(summary, 1);
    setRunning(false);

    connect(oldButton, &QPushButton::clicked, this, [this] { guarded([this] { chooseOld(); }); });
    connect(newButton, &QPushButton::clicked, this, [this] { guarded([this] { chooseNew(); }); });
    connect(startButton, &QPushButton::clicked, this, [this] { guarded([this] { start(); }); });
    connect(cancelButton, &QPushButton::clicked, this, [this] { guarded([this] { cancel(); }); });
}

ImportPage::~ImportPage() {
    if (running()) {
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished(5000);
        removeLeftovers();
    }
}

void ImportPage::setRunning(bool on) {
    startButton->setEnabled(!on);
    cancelButton->setEnabled(on);
    oldEdit->setReadOnly(on);
    newEdit->setReadOnly(on);
}

bool ImportPage::running() const {
    return process_ && process_->state() != QProcess::NotRunning;
}

void ImportPage::chooseOld() {
    const QString path =
        choosers().openFile(this, QStringLiteral("Eski Access Dosyası"), oldEdit->text(),
                            QStringLiteral("Access veritabanı (*.mdb);;Bütün dosyalar (*)"));
    if (!path.isEmpty())
        oldEdit->setText(QDir::toNativeSeparators(path));
}

void ImportPage::chooseNew() {
    const QString path = choosers().saveFile(this, QStringLiteral("Yeni Dosya"), newEdit->text(),
                                             QStringLiteral("Kütüphane dosyası (*.mdb)"));
    if (!path.isEmpty())
        newEdit->setText(QDir::toNativeSeparators(path));
}

void ImportPage::start() {
    if (running())
        return;
    const QString oldPath = QDir::fromNativeSeparators(oldEdit->text().trimmed());
    const QString newPath = QDir::fromNativeSeparators(newEdit->text().trimmed());
    if (oldPath.isEmpty() || !QFileInfo(oldPath).isFile())
        throw platform::Error(QStringLiteral("Eski Access dosyası bulunamadı. \"Seç…\" ile eski "
                                             "DATA.mdb dosyasını seçin."));
    if (newPath.isEmpty())
        throw platform::Error(QStringLiteral("Yeni dosyanın adı girilmedi. \"Seç…\" ile yeni "
                                             "dosyanın yerini seçin."));
    if (!QFileInfo(QFileInfo(newPath).absolutePath()).isDir())
        throw platform::Error(QStringLiteral("Yeni dosyanın klasörü '%1' yok. \"Seç…\" ile var "
                                             "olan bir klasörde yeni dosyanın yerini seçin.")
                                  .arg(QDir::toNativeSeparators(QFileInfo(newPath).absolutePath())));
    if (QFileInfo::exists(newPath))
        throw platform::Error(QStringLiteral("'%1' zaten var ve üzerine yazılmaz. Yeni dosya "
                                             "için başka bir ad seçin.")
                                  .arg(newPath));
    if (!QFileInfo(context_.toolPath).isFile())
        throw platform::Error(QStringLiteral("Aktarma aracı '%1' bulunamadı. Araçları, "
                                             "ternavolk-db ile aynı klasörden başlatın ya da "
                                             "programı yeniden kurun.")
                                  .arg(context_.toolPath));
    delete process_;
    process_ = new QProcess(this);
    pending_.clear();
    failure_.clear();
    cancelled_ = false;
    before_ = QFileInfo(newPath).absoluteDir().entryList(QDir::Files | QDir::Hidden);
    summary->clear();
    progress->setValue(0);
    stateLabel->setText(QStringLiteral("Aktarılıyor…"));
    connect(process_, &QProcess::readyReadStandardOutput, this,
            [this] { guarded([this] { readOutput(); }); });
    // With --json the tool says everything on its output; what else comes is drained unread.
    connect(process_, &QProcess::readyReadStandardError, this,
            [this] { process_->readAllStandardError(); });
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        guarded([&] { finished(code, status); });
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            guarded([this] { failedToStart(); });
    });
    setRunning(true);
    process_->start(context_.toolPath,
                    {QStringLiteral("import"), QDir::toNativeSeparators(oldPath),
                     QDir::toNativeSeparators(newPath), QStringLiteral("--json")});
}

void ImportPage::readOutput() {
    pending_ += process_->readAllStandardOutput();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QByteArray line = pending_.left(end).trimmed();
        pending_.remove(0, end + 1);
        if (line.isEmpty())
            continue;
        const ImportEvent event = parseImportEvent(line);
        switch (event.kind) {
        case ImportEvent::Progress:
            stateLabel->setText(turkishImportEvent(event));
            break;
        case ImportEvent::Failed:
            failure_ = turkishImportEvent(event);
            break;
        case ImportEvent::Table:
            progress->setValue(std::max(
                progress->value(), importTableIndex(event.fields.value(u"table").toString()) + 1));
            summary->appendPlainText(turkishImportEvent(event));
            break;
        case ImportEvent::Done:
            progress->setValue(tables);
            summary->appendPlainText(turkishImportEvent(event));
            break;
        case ImportEvent::Start:
            summary->appendPlainText(turkishImportEvent(event));
            break;
        case ImportEvent::Unknown:
            break; // not the tool's: nothing the page can say of it
        }
    }
}

void ImportPage::failedToStart() {
    setRunning(false);
    stateLabel->setText(QStringLiteral("Aktarma başlatılamadı."));
    fail(QStringLiteral("Aktarma aracı '%1' başlatılamadı (%2). Araçları, ternavolk-db ile aynı "
                        "klasörden başlatın ya da programı yeniden kurun.")
             .arg(context_.toolPath, process_->errorString()));
}

void ImportPage::cancel() {
    if (!running())
        return;
    cancelled_ = true;
    process_->kill();
}

void ImportPage::removeLeftovers() {
    // The tool writes into "NEW.import-xxxxxxxx" and renames it at the end; a stopped tool
    // leaves that file (and its journal) behind. Only such files that were not there before go.
    const QFileInfo target(QDir::fromNativeSeparators(newEdit->text().trimmed()));
    const QRegularExpression own(QStringLiteral("^") +
                                 QRegularExpression::escape(target.fileName()) +
                                 QStringLiteral("\\.import-[0-9a-f]{8}(-journal)?$"));
    const QDir dir = target.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        if (own.match(name).hasMatch() && !before_.contains(name))
            QFile::remove(dir.filePath(name));
}

void ImportPage::finished(int exitCode, QProcess::ExitStatus status) {
    readOutput();
    setRunning(false);
    const QString newPath = QDir::fromNativeSeparators(newEdit->text().trimmed());
    if (cancelled_) {
        removeLeftovers();
        QFile::remove(newPath); // renamed into place just before the stop: the import was cut
        progress->setValue(0);
        stateLabel->setText(QStringLiteral("Aktarma iptal edildi; yeni dosya oluşturulmadı."));
        summary->appendPlainText(stateLabel->text());
        return;
    }
    if (status != QProcess::NormalExit || exitCode != 0) {
        removeLeftovers();
        progress->setValue(0);
        stateLabel->setText(QStringLiteral("Aktarma yapılamadı."));
        if (!failure_.isEmpty())
            fail(failure_);
        else
            fail(QStringLiteral("Aktarma aracı beklenmedik biçimde durdu; yeni dosya "
                                "oluşturulmadı. Yeniden deneyin; sürerse programı yeniden "
                                "kurun."));
        return;
    }
    stateLabel->setText(QStringLiteral("Aktarma tamamlandı: %1").arg(newPath));
    offerToPutInPlace();
}

void ImportPage::offerToPutInPlace() {
    const QString newPath = QDir::fromNativeSeparators(newEdit->text().trimmed());
    const QString target = context_.databasePath;
    if (QFileInfo(newPath).absoluteFilePath() == QFileInfo(target).absoluteFilePath())
        return;
    if (!ask(QStringLiteral("Yeni dosya programın kullandığı DATA.mdb'nin yerine konsun mu?\n\n"
                            "Şimdiki DATA.mdb silinmez: önce yanına yeni bir adla saklanır. "
                            "Kütüphane Takip programı açıksa yeni kayıtları, kapatılıp yeniden "
                            "başlatıldığında gösterir.")))
        return;
    const auto watch = choosers().progress(this, QStringLiteral("Yeni dosya yerine konuyor…"));
    tools::Replaced done;
    try {
        done = tools::replaceRegisters(newPath, target, QFileInfo(target).absolutePath(),
                                       tools::KeepAs::Import, context_.now(), *watch);
    } catch (const tools::SourceNotSound&) {
        throw platform::Error(QStringLiteral("Yeni dosya '%1' denetimden geçmedi; DATA.mdb'nin "
                                             "yerine konmadı ve hiçbir şey değişmedi. Aktarmayı "
                                             "yeniden yapın.")
                                  .arg(QDir::toNativeSeparators(newPath)));
    }
    QFile::remove(newPath); // its registers are now those of DATA.mdb
    const QString kept = QFileInfo(done.keptAs).fileName();
    QString message;
    switch (done.before) {
    case tools::Replaced::Before::Sound:
        message = QStringLiteral("Yeni dosya DATA.mdb olarak yerine kondu; önceki DATA.mdb '%1' "
                                 "adıyla saklandı.")
                      .arg(kept);
        break;
    case tools::Replaced::Before::Damaged:
        message = QStringLiteral("Yeni dosya DATA.mdb olarak yerine kondu; önceki DATA.mdb "
                                 "bozuktu ve olduğu gibi '%1' adıyla saklandı.")
                      .arg(kept);
        break;
    case tools::Replaced::Before::Missing:
        message = QStringLiteral("Yeni dosya DATA.mdb olarak yerine kondu.");
        break;
    }
    stateLabel->setText(message);
    inform(message + QStringLiteral(" Kütüphane Takip programını şimdi başlatabilirsiniz."));
}

} // namespace araclar
