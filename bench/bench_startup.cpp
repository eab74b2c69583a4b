// Start-up and browsing figures on a large synthetic register.
//   bench_startup [members=100000] [--runs R] [--keep <folder>]
// Each run is a fresh process (the program's own start-up), timed from the data module's
// construction; the figures are medians over the runs.
#include "benchsupport.h"
#include "core/dm.h"
#include "generator/generator.h"
#include "core/tables.h"
#include "platform/clock.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {
const QString TabFilter = QStringLiteral("Name >= '사' And Name <  '자~'");

double msSince(QElapsedTimer &timer)
{
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    timer.restart();
    return ms;
}

void report(const char *key, double ms)
{
    std::printf("%s %.3f\n", key, ms);
}

// One run in a fresh process: prints "<figure> <ms>" lines.
int child(const QString &folder, const QString &fullName)
{
    QDir::setCurrent(folder);
    QElapsedTimer timer, total;
    timer.start();
    total.start();
    auto *dm = new TfrmDM;
    frmDM = dm;
    report("startup.construct", msSince(timer));
    if (!dm->DataModuleCreate())
        return 1;
    report("startup.DataModuleCreate", msSince(timer));
    const QString first = dm->tbMaster.fieldByName(QStringLiteral("Name")).asString();
    const int details = dm->tbFamily.recordCount() + dm->tbVisit.recordCount() + dm->tbStudy.recordCount();
    report("startup.firstMemberRead", msSince(timer));
    report("startup.total", double(total.nsecsElapsed()) / 1e6);
    std::fprintf(stderr, "first member %s with %d detail rows\n", qPrintable(first), details);

    Table &t = dm->tbMaster;
    t.setKey();
    t.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("박"));
    t.gotoNearest();
    const QString nearest = t.fieldByName(QStringLiteral("Name")).asString();
    report("search.gotoNearest", msSince(timer));
    const bool found = t.findKey({fullName});
    const QString foundName = t.fieldByName(QStringLiteral("Name")).asString();
    report("search.findKey(fullName)", msSince(timer));
    t.findKey({nearest});
    report("search.findKey(again)", msSince(timer));
    if (!found || foundName != fullName || !nearest.startsWith(u'박'))
        std::fprintf(stderr, "search went wrong: %s / %s\n", qPrintable(nearest), qPrintable(foundName));

    t.setFilter(TabFilter);
    t.setFiltered(true);
    const int onTab = t.recordCount();
    report("filter.tab", msSince(timer));
    t.setFiltered(false);
    report("filter.off", msSince(timer));
    std::fprintf(stderr, "%d members on the tab\n", onTab);

    auto walk = [&t] {
        t.disableControls();
        int rows = 0;
        for (t.first(); !t.eof(); t.next())
            rows += !t.fieldByName(QStringLiteral("Name")).asString().isEmpty();
        t.enableControls();
        return rows;
    };
    const int walked = walk();
    report("walk.allMembers", msSince(timer));
    // The same walk with the detail tables closed: what following the master costs.
    dm->tbFamily.close();
    dm->tbVisit.close();
    dm->tbStudy.close();
    timer.restart();
    walk();
    report("walk.detailsClosed", msSince(timer));
    std::fprintf(stderr, "walked %d named members\n", walked);

    delete dm;
    report("shutdown", msSince(timer));
    return 0;
}

QString middleName(Database &db)
{
    Statement st(db, QStringLiteral("SELECT Name FROM MASTER ORDER BY Name LIMIT 1 OFFSET (SELECT COUNT(*) / 2 FROM MASTER)"));
    return st.step() ? st.column(0).toString() : QString();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--child"))
        return child(args[2], args[3]);

    int members = 100000, runs = 5;
    QString keep;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = args[++i].toInt();
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            members = args[i].toInt();
    }

    QTemporaryDir tmp;
    const QString folder = keep.isEmpty() ? tmp.path() : keep;
    const QString dataFolder = folder + QStringLiteral("/Data");
    const QString file = dataFolder + QStringLiteral("/KELMODB.db");
    QString fullName;
    try {
        QDir().mkpath(dataFolder);
        Database db;
        db.setCatalog(KelmoTables());
        if (!QFile::exists(file)) {
            Database::create(file, KelmoTables());
            db.open(file);
            FillStartingLists(db);
            QElapsedTimer timer;
            timer.start();
            const GeneratedCounts c = GenerateRegister(db, members, 1);
            std::printf("generate %d members (%d family, %d visit, %d study rows): %.0f ms\n", c.members,
                        c.family, c.visits, c.studies, double(timer.nsecsElapsed()) / 1e6);
        } else {
            db.open(file);
            std::printf("using %s\n", qPrintable(file));
        }
        std::printf("database file: %.1f MB\n", double(QFileInfo(file).size()) / 1e6);
        fullName = middleName(db);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    QMap<QString, QList<double>> figures;
    QStringList order;
    for (int run = 0; run < runs; ++run) {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start(app.applicationFilePath(), {QStringLiteral("--child"), folder, fullName});
        p.waitForFinished(-1);
        if (p.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed:\n%s\n", run, p.readAllStandardError().constData());
            return 1;
        }
        if (run == 0)
            std::fprintf(stderr, "%s", p.readAllStandardError().constData());
        for (const QString &line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
            const QString key = line.section(u' ', 0, 0);
            if (!figures.contains(key))
                order << key;
            figures[key] << line.section(u' ', 1).toDouble();
        }
    }
    std::printf("%-28s %10s %10s %10s   (%d runs, ms)\n", "figure", "median", "min", "max", runs);
    for (const QString &key : order) {
        const QList<double> &v = figures[key];
        std::printf("%-28s %10.1f %10.1f %10.1f\n", qPrintable(key), Median(v), *std::min_element(v.begin(), v.end()),
                    *std::max_element(v.begin(), v.end()));
    }
    return 0;
}
