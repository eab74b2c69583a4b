// Browsing figures of the main window on a large synthetic register.
//   bench_main [members=100000]
// Times, with the window shown offscreen and every event processed: switching index tabs, a go-box
// jump, moving to the next member, and the counts.
#include "benchsupport.h"
#include "core/dm.h"
#include "records/main.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabBar>
#include <cstdio>

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    const int members = bench.count(1, 100000);
    BenchProgram program;
    if (!program.open(members))
        return 1;
    TfrmDM &dm = program.dm;
    TfrmMain *w = program.main.get();
    w->show();
    QApplication::processEvents();

    std::printf("%d members\n", members);
    for (int tab : {1, 4, 7, 8, 0}) {
        const double ms = TimedStep([&] { w->tcN->setCurrentIndex(tab); });
        std::printf("tab %d (%s): %.1f ms, %s\n", tab, qPrintable(w->tcN->tabText(tab)), ms,
                    qPrintable(w->stbrName->text()));
    }
    for (const char *name : {"김", "박영", "하"}) {
        const double ms = TimedStep([&] {
            w->cbxGo->setEditText(QString::fromUtf8(name));
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(w->cbxGo->lineEdit(), &enter);
        });
        std::printf("go box \"%s\": %.1f ms -> %s\n", name, ms,
                    qPrintable(dm.tbMaster.fieldByName(QStringLiteral("Name")).asString()));
    }
    double worst = 0, sum = 0;
    for (int i = 0; i < 50; ++i) {
        const double ms = TimedStep([&] { dm.tbMaster.next(); });
        worst = std::max(worst, ms);
        sum += ms;
    }
    std::printf("next member: mean %.1f ms, worst %.1f ms\n", sum / 50, worst);
    w->hide();
    return 0;
}
