// Opening figures of the head-count charts on a large synthetic register.
//   bench_charts [members=100000] [folder for a picture of each chart window]
// Each window is built, shown and painted; the area page is timed on its own as a zone change.
#include "benchsupport.h"
#include "core/global.h"
#include "lists/stat.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {
QString picturesFolder;


void picture(QWidget &w, const char *name)
{
    if (!picturesFolder.isEmpty())
        w.grab().save(picturesFolder + u'/' + QString::fromLatin1(name) + QStringLiteral(".png"));
}

template <class Window>
void timeOpening(const char *name)
{
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<Window> w;
        times.push_back(TimedStep([&] {
            w = std::make_unique<Window>();
            w->show();
        }));
        if (i == 0)
            picture(*w, name);
    }
    std::printf("%-10s open %7.1f ms (median of 5)\n", name, Median(times));
}
} // namespace

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    const int members = bench.count(1, 100000);
    picturesFolder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    BenchProgram program;
    if (!program.open(members))
        return 1;
    std::printf("%d members\n", program.counts.members);

    {
        std::vector<double> times;
        for (int i = 0; i < 5; ++i) {
            Query q(&program.dm.dbKelmo);
            q.setSql(QStringLiteral("SELECT Part, Count(*)\nFROM Master\nGROUP BY Part"));
            times.push_back(TimedStep([&] { q.open(); }));
        }
        std::printf("%-10s query alone %7.1f ms (median of 5)\n", "Part", Median(times));
    }
    timeOpening<TfrmSPart>("SPart");
    timeOpening<TfrmSBigo>("SBigo");
    timeOpening<TfrmSDuty>("SDuty");
    timeOpening<TfrmSGita>("SGita");
    timeOpening<TfrmStat>("Stat");
    timeOpening<TfrmSArea>("SArea");

    TfrmStat stat;
    stat.show();
    std::vector<double> items;
    for (int i = 1; i <= 3; ++i)
        items.push_back(TimedStep([&] { stat.cbxSel->setCurrentIndex(i); }));
    std::printf("%-10s item change %7.1f ms (median of 3)\n", "Stat", Median(items));
    picture(stat, "Stat-Jkind");

    TfrmSArea area;
    area.show();
    area.FormActivate();
    const double page = TimedStep([&] { area.pcStat->setCurrentIndex(1); });
    std::vector<double> zones;
    for (int i = 1; i < std::min(6, area.cbxSel->count()); ++i)
        zones.push_back(TimedStep([&] { area.cbxSel->setCurrentIndex(i); }));
    std::printf("%-10s area page %7.1f ms, zone change %7.1f ms (median)\n", "SArea", page,
                zones.empty() ? 0.0 : Median(zones));
    picture(area, "SArea-areas");
    return 0;
}
