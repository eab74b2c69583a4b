// List window figures on a large synthetic register.
//   bench_lists [members=100000]
// The whole list opened (statement, rows, head count and the grid painted), then a tab and a
// sort order switched, each step timed through the window as a user meets it.
#include "benchsupport.h"
#include "lists/list.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <cstdio>
#include <memory>

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    BenchProgram program;
    if (!program.open(bench.count(1, 100000)))
        return 1;
    std::printf("%d members\n", program.counts.members);
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
    std::printf("open whole list           %8.1f ms (median of %d)\n", Median(open), runs);
    std::printf("switch tab (and back)     %8.1f ms (median of %d)\n", Median(tab), int(tab.size()));
    std::printf("switch sort, whole list   %8.1f ms (median of 14 orders; slowest %.1f ms, %s)\n", Median(sort),
                slowest, w.cbxSel->itemText(slowestOrder).toUtf8().constData());
    return 0;
}
