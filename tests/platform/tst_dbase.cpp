// The dBASE reader: both memo layouts, code page 949 with the soft line break, deleted records,
// and damaged files refused at opening with their name and a Korean reason instead of being read
// past their end.
#include "generator/dbasewriter.h"
#include "platform/cp949.h"
#include "platform/dbase.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QList<DbaseColumn> Columns = {{"NAME", 'C', 10}, {"DAY", 'D', 8}, {"C1", 'L', 1}, {"MEMO", 'M', 10}, {"PIC", 'B', 10}};

QString write(const QTemporaryDir &dir, DbaseWriter::Layout layout, int blockSize = 512)
{
    DbaseWriter w(Columns, layout, blockSize);
    const QByteArray picture("\x89PNG\x1a\x1a\x00\xff", 8); // binary, with what would end a dBASE III memo
    w.addRecord({{"NAME", QStringLiteral("홍길동")}, {"DAY", QStringLiteral("19600101")}, {"C1", true},
                 {"MEMO", QString(600, u'가')}, {"PIC", picture}});
    w.addRecord({{"NAME", QStringLiteral("지운이")}}, true);
    w.addRecord({{"NAME", QStringLiteral("Kim")}, {"C1", false}});
    const QString file = dir.filePath(QStringLiteral("Kelmo.DBF"));
    w.save(file);
    return file;
}

// Overwrites bytes at pos, or cuts the file there when bytes is empty.
void patch(const QString &file, qint64 pos, const QByteArray &bytes)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(bytes.isEmpty() ? f.resize(pos) : f.seek(pos) && f.write(bytes) == bytes.size());
}

// Opening alone must find the damage: a grid would otherwise fail once for every row it paints.
void expectDamaged(const QString &file, const QString &named)
{
    try {
        DbaseFile table(file);
        QFAIL("a damaged file was opened");
    } catch (const DbError &e) {
        QCOMPARE(e.kind(), DbError::Damaged);
        const QString text = e.message();
        QVERIFY2(text.startsWith(QStringLiteral("[%1] 파일이 손상되었습니다.").arg(QFileInfo(named).fileName())), qPrintable(text));
        QVERIFY2(!text.section(u'\n', 1).contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), qPrintable(text));
    }
}
} // namespace

class TestDbase : public QObject {
    Q_OBJECT

private slots:
    void bothMemoLayoutsReadBackWhatWasWritten()
    {
        for (auto [layout, blockSize] : {std::pair{DbaseWriter::Dbase3, 512}, std::pair{DbaseWriter::Dbase4, 64}}) {
            QTemporaryDir dir;
            DbaseFile t(write(dir, layout, blockSize));
            QCOMPARE(t.recordCount(), 2); // the deleted one is hidden
            const int name = t.fieldIndex(QStringLiteral("name")), memo = t.fieldIndex(QStringLiteral("Memo"));
            QCOMPARE(t.value(0, name).toString(), QStringLiteral("홍길동"));
            QCOMPARE(t.value(1, name).toString(), QStringLiteral("Kim"));
            QCOMPARE(t.value(0, 1).toString(), QStringLiteral("19600101"));
            QCOMPARE(t.value(0, 2), QVariant(true));
            QCOMPARE(t.value(1, 2), QVariant(false));
            QCOMPARE(t.value(0, memo).toString(), QString(600, u'가')); // over several blocks
            QCOMPARE(t.value(1, memo).toString(), QString());
            if (layout == DbaseWriter::Dbase4) // its length header lets binary through whole
                QCOMPARE(t.bytes(0, 4), QByteArray("\x89PNG\x1a\x1a\x00\xff", 8));
        }
    }

    void dbase3MemosMayEndInOneMark()
    {
        QTemporaryDir dir;
        const QString file = write(dir, DbaseWriter::Dbase3), memoFile = dir.filePath(QStringLiteral("Kelmo.DBT"));
        QFile dbt(memoFile);
        QVERIFY(dbt.open(QIODevice::ReadWrite));
        const QByteArray oneMark = dbt.readAll().replace("\x1a\x1a", QByteArray("\x1a\0", 2));
        QVERIFY(dbt.seek(0) && dbt.write(oneMark) == oneMark.size());
        dbt.close();
        QCOMPARE(DbaseFile(file).value(0, 3).toString(), QString(600, u'가'));
    }

    // The earlier editors' soft line break (8D 0A) is a line break; an 8D that ends a two-byte
    // character before a line feed stays that character.
    void softLineBreaksReadAsLineBreaks()
    {
        const QByteArray trail8d("\x81\x8d", 2);
        const QByteArray memo = cp949::encode(QStringLiteral("첫 줄이 길어")) + "\x8d\n" +
                                cp949::encode(QStringLiteral("넘어감\r\n")) + trail8d + "\nend";
        for (auto layout : {DbaseWriter::Dbase3, DbaseWriter::Dbase4}) {
            QTemporaryDir dir;
            DbaseWriter w({{"MEMO", 'M', 10}}, layout);
            w.addRecord({{"MEMO", memo}});
            w.save(dir.filePath(QStringLiteral("Kelmo.DBF")));
            QCOMPARE(DbaseFile(dir.filePath(QStringLiteral("Kelmo.DBF"))).value(0, 0).toString(),
                     QStringLiteral("첫 줄이 길어\r\n넘어감\r\n") + cp949::decode(trail8d) + QStringLiteral("\nend"));
        }
    }

    void damagedFilesAreRefusedByName()
    {
        const int header = 32 + 5 * 32 + 1, firstMemo = header + 1 + 10 + 8 + 1;
        const struct {
            DbaseWriter::Layout layout;
            bool inMemoFile;
            qint64 pos;
            QByteArray bytes;
        } damages[] = {
            {DbaseWriter::Dbase3, false, header + 50, {}},                  // cut inside the records
            {DbaseWriter::Dbase3, false, 8, "\xff\x7f"},                     // header longer than the file
            {DbaseWriter::Dbase3, false, header - 1, " "},                   // the field list never ends
            {DbaseWriter::Dbase3, false, firstMemo, "      9999"},           // memo past the memo file's end
            {DbaseWriter::Dbase4, true, 512 + 4, "\xff\xff\xff"},            // memo length past the end
        };
        for (const auto &d : damages) {
            QTemporaryDir dir;
            const QString file = write(dir, d.layout), memoFile = dir.filePath(QStringLiteral("Kelmo.DBT"));
            patch(d.inMemoFile ? memoFile : file, d.pos, d.bytes);
            expectDamaged(file, d.pos == firstMemo || d.inMemoFile ? memoFile : file);
        }
        // A pointer field wide enough for a block number whose position overflows 64 bits
        // (to 0 with blocks of 512 bytes, below 0 with 64) is refused before any arithmetic.
        for (auto [layout, blockSize] : {std::pair{DbaseWriter::Dbase3, 512}, std::pair{DbaseWriter::Dbase4, 64}}) {
            QTemporaryDir dir;
            DbaseWriter w({{"NAME", 'C', 10}, {"MEMO", 'M', 20}}, layout, blockSize);
            w.addRecord({{"NAME", QStringLiteral("홍길동")}, {"MEMO", QStringLiteral("메모")}});
            const QString file = dir.filePath(QStringLiteral("Kelmo.DBF"));
            w.save(file);
            patch(file, 32 + 2 * 32 + 1 + 1 + 10, "  216172782113783808");
            expectDamaged(file, dir.filePath(QStringLiteral("Kelmo.DBT")));
        }
    }
};

QTEST_GUILESS_MAIN(TestDbase)
#include "tst_dbase.moc"
