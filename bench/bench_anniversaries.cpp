// Birthday cache and calendar figures on a large synthetic register.
//   bench_anniversaries [members=100000] [familyRows=150000]
// The member and the family pass with every row to write (an empty cache) and for another
// year; then opening the birthday calendar and stepping one month once the year's pass is done.
#include "anniversaries/calendar.h"
#include "anniversaries/tday.h"
#include "benchsupport.h"
#include "core/dm.h"
#include "platform/dialogs.h"

#include <cstdio>

namespace {
// Tops the family table up to the wanted size with copies of its own rows under new numbers.
void topUpFamily(Database &db, int wanted)
{
    int have = db.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt();
    // Shifted, not set, sequence numbers: a member's several rows stay apart.
    for (int shift = 100; have < wanted; shift += 100)
        have += db.execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Rel, Name, Bday, L, F) "
                                          "SELECT Ino, Seq + %1, Rel, Name, Bday, L, F FROM FAMILY WHERE Seq < 100 LIMIT %2")
                               .arg(shift)
                               .arg(wanted - have));
}
} // namespace

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    const int members = bench.count(1, 100000);
    const int familyRows = bench.count(2, 150000);
    BenchProgram program;
    if (!program.open(members, [&](TfrmDM &dm) { topUpFamily(dm.dbKelmo, familyRows); }))
        return 1;
    TfrmDM &dm = program.dm;
    dialogs::setMessageHandler([](const MessageRequest &) { return int(IDNO); });
    std::printf("%d members, %d family rows\n", dm.dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER")).toInt(),
                dm.dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt());
    const int year = QDate::currentDate().year();
    for (const auto &[table, name] : {std::pair{TdayTable::Master, "member"}, std::pair{TdayTable::Family, "family"}}) {
        dm.dbKelmo.execute(table == TdayTable::Master ? QStringLiteral("UPDATE MASTER SET Tday = NULL")
                                                      : QStringLiteral("UPDATE FAMILY SET TDAY = NULL"));
        const double empty = TimedStep([&] { RecalcTday(table, year); });
        const double other = TimedStep([&] { RecalcTday(table, year + 1); });
        const double back = TimedStep([&] { RecalcTday(table, year); });
        std::printf("%s pass: empty cache %.0f ms, next year %.0f ms, back to this year %.0f ms\n", name, empty, other,
                    back);
    }
    TfrmCalenB *w = nullptr;
    const double open = TimedStep([&] {
        w = new TfrmCalenB;
        w->show();
    });
    const int openRows = w->qrFind.recordCount();
    // A month back: one forward from December would be the next year's pass.
    const double step = TimedStep([&] { w->sbtnPmClick(); });
    std::printf("birthday calendar: open %.0f ms (%d rows), one month back %.0f ms (%d rows)\n", open, openRows,
                step, w->qrFind.recordCount());
    delete w;
    return 0;
}
