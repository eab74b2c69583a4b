// List window figures on a large synthetic register.
//   bench_lists [members=100000]
// The whole list opened (statement, rows, head count and the grid painted), then a tab and a
// sort order switched, each step timed through the window as a user meets it.
#include "benchsupport.h"
#include "core/dm.h"
#include "lists/list.h"
#include "platform/dialogs.h"
#include "platform/fonts.h"
#include "records/main.h"

#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    const int members = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
    const GeneratedCounts c = MakeBenchRegister(dir.path(), members);
    std::printf("%d members\n", c.members);
    QDir::setCurrent(dir.path());
    TfrmDM dm;
    frmDM = &dm;
    if (!dm.DataModuleCreate())
        return 1;
    std::unique_ptr<TfrmMain> main(static_cast<TfrmMain *>(CreateMainWindow()));
    if (!main)
        return 1;
    dialogs::setMessageHandler([](const MessageRequest &) { return int(IDOK); });
    const int runs = 5;

    std::vector<double> open, tab, sort;
    QString count;
    for (int i = 0; i < runs; ++i) {
        std::unique_ptr<TfrmList> w;
        open.push_back(TimedStep([&] {
            w = std::make_unique<TfrmList>();
            w->show();
        }));
        count = w->stbrList->text();
        tab.push_back(TimedStep([&] { w->tcList->setCurrentIndex(1 + i % 14); }));
        tab.push_back(TimedStep([&] { w->tcList->setCurrentIndex(0); }));
    }
    // Every sort order over the whole list; none but the name has an index to walk.
    TfrmList w;
    w.show();
    QApplication::processEvents();
    double slowest = 0;
    int slowestOrder = 0;
    for (int order = 1; order < w.cbxSel->count(); ++order) {
        const double ms = TimedStep([&] { w.cbxSel->setCurrentIndex(order); });
        sort.push_back(ms);
        if (ms > slowest) {
            slowest = ms;
            slowestOrder = order;
        }
    }
    std::printf("whole list: %s\n", count.toUtf8().constData());
    std::printf("open whole list           %8.1f ms (median of %d)\n", median(open), runs);
    std::printf("switch tab (and back)     %8.1f ms (median of %d)\n", median(tab), int(tab.size()));
    std::printf("switch sort, whole list   %8.1f ms (median of 14 orders; slowest %.1f ms, %s)\n", median(sort),
                slowest, w.cbxSel->itemText(slowestOrder).toUtf8().constData());
    return 0;
}
