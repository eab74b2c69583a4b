// Makes an empty register (the database file with the register's tables and the starting lookup
// lists), or fills one with synthetic members.
//   kelmo_register create <folder>
//   kelmo_register generate <folder> <N> [--seed S]
//   kelmo_register alias <NAME> <folder>   (KELMO: version 1.x's folder, KELMO20: version 2.x's)
#include "generator/generator.h"
#include "core/tables.h"
#include "platform/aliases.h"
#include "platform/database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

namespace {
int usage()
{
    std::fprintf(stderr, "usage: kelmo_register create <folder>\n"
                         "       kelmo_register generate <folder> <N> [--seed S]\n"
                         "       kelmo_register alias <NAME> <folder>\n");
    return 2;
}

QString databaseFile(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("KELMODB.db"));
}

int create(const QString &folder)
{
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make folder %s\n", qPrintable(folder));
        return 1;
    }
    const QString file = databaseFile(folder);
    Database::create(file, KelmoTables());
    Database db;
    db.setCatalog(KelmoTables());
    db.open(file);
    FillStartingLists(db);
    std::printf("%s\n", qPrintable(file));
    return 0;
}

int generate(const QString &folder, int members, quint32 seed)
{
    Database db;
    db.setCatalog(KelmoTables());
    db.open(databaseFile(folder));
    QElapsedTimer timer;
    timer.start();
    const GeneratedCounts c = GenerateRegister(db, members, seed);
    std::printf("%s: %d members, %d family, %d visit, %d study rows; %d postal and %d lookup rows "
                "added (seed %u, %.2f s)\n",
                qPrintable(db.fileName()), c.members, c.family, c.visits, c.studies, c.zipRows,
                c.lookupRows, seed, double(timer.elapsed()) / 1000.0);
    return 0;
}
// Tells the program where an earlier version's data folder is; its import is then offered.
int alias(const QString &name, const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        std::fprintf(stderr, "no such folder: %s\n", qPrintable(folder));
        return 1;
    }
    AliasConfig().AddAlias(name, info.absoluteFilePath());
    std::printf("[%s] PATH=%s\n", qPrintable(name), qPrintable(info.absoluteFilePath()));
    return 0;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 3 && args[1] == QLatin1String("create"))
            return create(args[2]);
        if (args.size() == 4 && args[1] == QLatin1String("alias"))
            return alias(args[2], args[3]);
        if ((args.size() == 4 || args.size() == 6) && args[1] == QLatin1String("generate")) {
            bool ok = false;
            const int members = args[3].toInt(&ok);
            if (!ok || members < 0)
                return usage();
            quint32 seed = 1;
            if (args.size() == 6) {
                if (args[4] != QLatin1String("--seed"))
                    return usage();
                seed = args[5].toUInt(&ok);
                if (!ok)
                    return usage();
            }
            return generate(args[2], members, seed);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return usage();
}
