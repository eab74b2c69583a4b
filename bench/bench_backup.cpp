// Backup figures: the backup window copying a generated register while it is open.
//   bench_backup [members=100000] [--keep <folder>]
// Prints the register's size, the time of each of three runs and how often the bar moved.
#include "benchsupport.h"
#include "core/dm.h"
#include "core/global.h"
#include "maintenance/backup.h"
#include "platform/dialogs.h"

#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int members = 100000;
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            members = args[i].toInt();
    }
    QTemporaryDir tmp;
    const QString folder = keep.isEmpty() ? tmp.path() : keep;
    if (!QFileInfo::exists(folder + QStringLiteral("/Data/KELMODB.db")))
        MakeBenchRegister(folder, members);
    QDir::setCurrent(folder);
    TfrmDM dm;
    frmDM = &dm;
    if (!dm.DataModuleCreate())
        return 1;
    std::printf("register: %d members, %.1f MB\n", dm.tbMaster.recordCount(),
                double(QFileInfo(TfrmDM::DatabaseFileName()).size()) / 1e6);
    QString last;
    dialogs::setMessageHandler([&](const MessageRequest &r) {
        last = r.text;
        return int(IDOK);
    });
    for (int run = 1; run <= 3; ++run) {
        TfrmBackup w;
        QSet<int> positions;
        QObject::connect(w.pbrProgress, &QProgressBar::valueChanged, [&](int v) { positions.insert(v); });
        const double ms = TimedStep([&] { w.bbtnOK->click(); });
        std::printf("backup.run%d.ms %.0f  (bar at %d positions; %s)\n", run, ms, int(positions.size()),
                    qPrintable(last));
    }
    frmDM = nullptr;
    return 0;
}
