#include "maintenance/backup.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/dialogs.h"
#include "platform/diskfile.h"
#include "platform/errortext.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QPushButton>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString IniName = QStringLiteral("KELMO.INI");

// The set being written, and a set complete on the disk but not yet in place.
const QString Writing = QStringLiteral(".writing/");
const QString Complete = QStringLiteral(".complete/");

// What failed and why, for the message.
struct BackupFailure {
    QString file;
    QString reason;
};

void check(int err, const QString &file)
{
    if (err != 0)
        throw BackupFailure{file, FileErrorText(err, file)};
}

// Puts a complete set in place of the old one. Run again after a kill at any point, it ends the
// same way: the register goes in before the settings, so a set still holding its register but no
// settings is one made without them, and the old set's settings must not stay beside it.
void putInPlace(const QString &dbName)
{
    const QString set = BackupPath + Complete;
    if (QFileInfo::exists(set + dbName)) {
        if (!QFileInfo::exists(set + IniName) && ::unlink(QFile::encodeName(BackupPath + IniName).constData()) != 0)
            check(errno == ENOENT ? 0 : errno, IniName);
        check(RenameFile(set + dbName, BackupPath + dbName), dbName);
    }
    if (QFileInfo::exists(set + IniName))
        check(RenameFile(set + IniName, BackupPath + IniName), IniName);
    check(SyncToDisk(BackupPath), dbName);
    QDir().rmdir(set);
}

QLineEdit *folderEdit(QWidget *parent, const char *name, const QString &path)
{
    auto *e = new QLineEdit(QDir::toNativeSeparators(path), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(true);
    e->setEnabled(false);
    return e;
}
} // namespace

TfrmBackup::TfrmBackup(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("데이터 보관"));
    // The start-up folders: a save dialog may have moved the current folder since.
    QDir().mkpath(BackupPath); // a failure shows when the copy runs

    edtCurDir = folderEdit(this, "edtCurDir", AppPath);
    edtDatDir = folderEdit(this, "edtDatDir", DataPath);
    edtBakDir = folderEdit(this, "edtBakDir", BackupPath);
    aniCopy = new QProgressBar(this);
    aniCopy->setObjectName(QStringLiteral("aniCopy"));
    aniCopy->setTextVisible(false);
    aniCopy->setRange(0, 1);
    aniCopy->setMaximumHeight(12);
    stxtStat = Panel(QStringLiteral("시작하시려면 확인을 누르세요."), this, true);
    stxtStat->setObjectName(QStringLiteral("stxtStat"));
    stxtStat->setAlignment(Qt::AlignCenter);
    stxtStat->setFixedHeight(28);
    pbrProgress = new QProgressBar(this);
    pbrProgress->setObjectName(QStringLiteral("pbrProgress"));
    pbrProgress->setRange(0, 1);
    pbrProgress->setValue(0);
    bbtnOK = NamedButton(QStringLiteral("확인(&O)"), "bbtnOK", this);
    bbtnCancel = NamedButton(QStringLiteral("취소(&C)"), "bbtnCancel", this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(LabelledRows(
        this, {{"켈모누리 디렉토리", edtCurDir}, {"데이타 디렉토리", edtDatDir}, {"보관 디렉토리", edtBakDir}}));
    layout->addWidget(aniCopy);
    layout->addWidget(stxtStat);
    layout->addWidget(pbrProgress);
    layout->addLayout(ButtonRow({bbtnOK, bbtnCancel}));
    setFixedSize(420, 230);

    setCancelButton(bbtnCancel);
    connect(bbtnOK, &QPushButton::clicked, this, GuardedSlot(this, &TfrmBackup::bbtnOKClick));
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
}

void TfrmBackup::setRunning(bool running)
{
    aniCopy->setRange(0, running ? 0 : 1); // an empty range is Qt's busy indicator
    bbtnOK->setEnabled(!running);
    bbtnCancel->setEnabled(!running);
}

void TfrmBackup::bbtnOKClick()
{
    const QString ini = AppPath + IniName;
    const QString db = TfrmDM::DatabaseFileName();
    const QString dbName = QFileInfo(db).fileName();
    // Progress in kilobytes of the two files, so the bar follows the work actually done.
    const qint64 iniKb = QFileInfo::exists(ini) ? QFileInfo(ini).size() / 1024 + 1 : 0;
    const qint64 dbKb = QFileInfo(db).size() / 1024 + 1;
    pbrProgress->setRange(0, int(iniKb + dbKb));
    pbrProgress->setValue(0);
    setRunning(true);
    const auto show = [this](const QString &status) {
        stxtStat->setText(status);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    try {
        if (!QDir().mkpath(BackupPath))
            throw BackupFailure{iniKb > 0 ? IniName : dbName,
                                QDir::toNativeSeparators(BackupPath) + QStringLiteral(": 보관 디렉토리를 만들 수 없습니다.")};
        // A set a killed run left complete goes in first; one it left half-written goes away.
        if (QFileInfo::exists(BackupPath + Complete))
            putInPlace(dbName);
        const QString writing = BackupPath + Writing;
        QDir(writing).removeRecursively();
        if (::mkdir(QFile::encodeName(writing).constData(), 0777) != 0)
            check(errno, dbName);
        // Without an INI file the settings are the defaults: there is nothing to keep.
        if (iniKb > 0) {
            show(QStringLiteral("KELMO.INI 파일을 백업 중..."));
            QByteArray bytes;
            unsigned mode = 0;
            check(ReadWholeFile(ini, bytes), IniName);
            check(FilePermissions(ini, mode), IniName);
            // Readable by no one who cannot read the settings themselves.
            check(WriteFileSynced(writing + IniName, bytes, mode), IniName);
            pbrProgress->setValue(int(iniKb));
        }
        show(dbName + QStringLiteral(" 파일 백업 중..."));
        try {
            frmDM->dbKelmo.backupTo(writing + dbName, [&](int done, int total) {
                pbrProgress->setValue(int(iniKb + (total > 0 ? dbKb * done / total : 0)));
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        } catch (const DbError &e) {
            throw BackupFailure{dbName, e.message()};
        }
        // Both copies are whole and on the disk: from this rename on, the new set is the backup.
        check(SyncToDisk(writing), dbName);
        check(RenameFile(writing, BackupPath + Complete), dbName);
        putInPlace(dbName);
        pbrProgress->setValue(pbrProgress->maximum());
    } catch (const BackupFailure &f) {
        QDir(BackupPath + Writing).removeRecursively();
        setRunning(false);
        pbrProgress->setValue(0);
        const QString failed = f.file + QStringLiteral(" 파일을 보관하지 못했습니다.");
        stxtStat->setText(failed);
        ShowError(failed + QStringLiteral("\n") + f.reason);
        return;
    }
    setRunning(false);
    ShowMessage(QStringLiteral("데이터 보관이 완료되었습니다."));
    setModalResult(mrOk);
}
