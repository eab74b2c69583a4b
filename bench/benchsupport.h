#pragma once
// What the window benchmarks share: a generated register in a folder, and a timed step.
#include "generator/generator.h"
#include "core/dm.h"
#include "core/tables.h"
#include "records/main.h"
#include "platform/database.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

// The offscreen application a window benchmark runs in, with the program's font substitutes.
struct BenchApp {
    BenchApp(int &argc, char **argv) : app(offscreen(argc), argv) { InstallFontSubstitutes(); }
    // Argument i read as a number, or the fallback when it is not given.
    int count(int i, int fallback) const
    {
        const QStringList args = QCoreApplication::arguments();
        return args.size() > i ? args[i].toInt() : fallback;
    }
    QApplication app;

private:
    static int &offscreen(int &argc)
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }
};

// Makes <folder>/Data/KELMODB.db with generated members and a KELMO.INI that opens no calendar.
inline GeneratedCounts MakeBenchRegister(const QString &folder, int members, quint32 seed = 1)
{
    QDir().mkpath(folder + QStringLiteral("/Data"));
    const QString file = folder + QStringLiteral("/Data/KELMODB.db");
    Database::create(file, KelmoTables());
    Database db;
    db.setCatalog(KelmoTables());
    db.open(file);
    const GeneratedCounts counts = GenerateRegister(db, members, seed);
    QFile ini(folder + QStringLiteral("/KELMO.INI"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[ETC]\nCalen=0\n");
    return counts;
}

// Milliseconds of one step, with every event it caused processed (the windows repaint as a user sees them).
inline double TimedStep(const std::function<void()> &step)
{
    QElapsedTimer t;
    t.start();
    step();
    QApplication::processEvents();
    return double(t.nsecsElapsed()) / 1e6;
}

// Of an even count, the mean of the middle two.
template <class Values>
double Median(Values v)
{
    std::sort(v.begin(), v.end());
    const auto n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The program as start-up leaves it (data module and main window) on a generated register in a
// temporary folder that is the current one.
struct BenchProgram {
    QTemporaryDir dir;
    TfrmDM dm;
    std::unique_ptr<TfrmMain> main;
    GeneratedCounts counts;

    // Without the main window.
    bool openData(int members)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        counts = MakeBenchRegister(dir.path(), members);
        QDir::setCurrent(dir.path());
        frmDM = &dm;
        return dm.DataModuleCreate();
    }

    // beforeMain may change the register before the main window reads it.
    bool open(int members, const std::function<void(TfrmDM &)> &beforeMain = {})
    {
        if (!openData(members))
            return false;
        if (beforeMain)
            beforeMain(dm);
        main.reset(static_cast<TfrmMain *>(CreateMainWindow()));
        return main != nullptr;
    }
};
