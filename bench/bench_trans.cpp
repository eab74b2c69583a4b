// The import of an earlier version's member table.
//   bench_trans [records=20000]
// Writes a dBASE III table with memos and all five family slots filled, then times the whole
// import (question and completion answered) into a register that already holds 1,000 members.
#include "benchsupport.h"
#include "core/dm.h"
#include "generator/dbasewriter.h"
#include "maintenance/trans1.h"
#include "platform/aliases.h"
#include "platform/dialogs.h"

#include <cstdio>

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    const int records = bench.count(1, 20000);
    BenchProgram program;
    if (!program.openData(1000))
        return 1;
    TfrmDM &dm = program.dm;

    DbaseWriter table(EarlierMemberColumns(false), DbaseWriter::Dbase3);
    for (int i = 0; i < records; ++i) {
        QVariantMap r{{"NAME", QStringLiteral("김철수%1").arg(i % 100)}, {"DAY", "1960.01.02"}, {"ZIP", "123-456"},
                      {"ADDR", QStringLiteral("서울특별시 종로구 청운동 %1번지").arg(i)}, {"REG", "1990.05.06"},
                      {"MEMO", QStringLiteral("교적 메모 ").repeated(20)}, {"FMEMO", QStringLiteral("가족 메모")},
                      {"VISIT", QStringLiteral("심방 내용 %1").arg(i)}};
        for (int slot = 1; slot <= 5; ++slot) {
            r.insert(QStringLiteral("N%1").arg(slot), QStringLiteral("가족%1").arg(slot));
            r.insert(QStringLiteral("R%1").arg(slot), QStringLiteral("자"));
            r.insert(QStringLiteral("C%1").arg(slot), slot % 2 == 0);
        }
        table.addRecord(r);
    }
    const QString source = program.dir.filePath(QStringLiteral("old"));
    QDir().mkpath(source);
    table.save(source + QStringLiteral("/KELMO.DBF"));
    AliasConfig().AddAlias(QStringLiteral("KELMO"), source);

    dialogs::setMessageHandler([](const MessageRequest &) { return int(IDYES); });
    TfrmTrans1 w;
    w.show();
    const double ms = TimedStep([&] { w.btnStartClick(); });
    std::printf("%d records with memos and five family slots: %.0f ms; %lld members, %lld family, %lld visit rows\n",
                records, ms, dm.dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER")).toLongLong(),
                dm.dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toLongLong(),
                dm.dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM VISIT")).toLongLong());
    return 0;
}
