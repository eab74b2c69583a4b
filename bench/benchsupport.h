#pragma once
// What the window benchmarks share: a generated register in a folder, and a timed step.
#include "generator/generator.h"
#include "core/tables.h"
#include "platform/database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <functional>

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
