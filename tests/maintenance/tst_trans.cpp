// The import of the earlier versions' members: what each source field becomes, the numbering,
// all-or-nothing runs with per-record rollback, and the alias and menu afterwards.
#include "core/dm.h"
#include "core/global.h"
#include "generator/dbasewriter.h"
#include "maintenance/trans1.h"
#include "maintenance/trans2.h"
#include "mainwindow.h"
#include "platform/aliases.h"
#include "platform/clock.h"
#include "scripted.h"

#include <QFile>
#include <QMenu>
#include <QProgressBar>
#include <QTest>

namespace {
const QString Done = QStringLiteral("변환이 완료되었습니다.\n데이타 변환을 종료합니다.\n\n변환한 자료 %1건, 변환하지 못한 자료 %2건");

// Writes the earlier version's table into a folder of its own and points alias at it.
QString sourceTable(const QString &root, const QString &alias, const QList<QVariantMap> &records,
                    QList<DbaseColumn> columns = EarlierMemberColumns(false))
{
    const QString folder = root + u'/' + alias;
    QDir().mkpath(folder);
    DbaseWriter w(std::move(columns), DbaseWriter::Dbase3);
    for (const QVariantMap &r : records)
        w.addRecord(r);
    w.save(folder + QStringLiteral("/KELMO.DBF"));
    AliasConfig().AddAlias(alias, folder);
    return folder + QStringLiteral("/KELMO.DBF");
}

void runImport(TfrmTransfer &&w, int imported, int skipped)
{
    ScriptedMessages boxes;
    boxes.expect(QStringLiteral("변환하시겠습니까?"), IDYES).expect(Done.arg(imported).arg(skipped));
    w.btnStart->click();
    QVERIFY(boxes.allAnswered());
}

QVariantMap member(const QString &name, const QVariantMap &more = {})
{
    QVariantMap m = more;
    m.insert(QStringLiteral("NAME"), name);
    return m;
}

struct ImportFixture {
    ImportFixture()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(r.reg.folder() + QStringLiteral("/config")));
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(23, 59, 30)));
        UserName = QStringLiteral("김목사");
    }
    ~ImportFixture() { Clock::setFixed(std::nullopt); }
    QString scalar(const QString &sql) { return r.reg.db().scalar(sql).toString(); }
    OpenedRegister r;
};
} // namespace

class TestTrans : public QObject {
    Q_OBJECT

private slots:
    void eachSourceFieldLandsWhereItBelongs()
    {
        ImportFixture f;
        const QVariantMap full{
            {"DAY", "1960.01.02"}, {"ZIP", "123-456"}, {"REG", "모름"}, {"BAP", "1999.03.04"},
            {"PIC", QByteArray("\x89PNG", 4)}, {"MEMO", "교적 메모"}, {"VISIT", "심방 내용"},
            {"R1", "부"}, {"N2", "철수"}, {"R2", "자"}, {"C2", true}, {"N4", "영희"}, {"M4", "막내"}};
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"),
                    {member(QStringLiteral("A가나다라마"), full), member(QStringLiteral("박"), {{"R3", "모"}})});
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO20"),
                    {member(QStringLiteral("최"), {{"GEN", true}, {"DUTY2", "권사"}})}, EarlierMemberColumns(true));
        f.r.open();
        runImport(TfrmTrans1(), 2, 0);
        // a Hangul syllable is never cut in half; the name field gets it too
        QCOMPARE(f.scalar("SELECT NAME || '/' || HNAME || '/' || BDAY || '/' || ZIP FROM MASTER WHERE INO = '26120623590000'"),
                 QStringLiteral("A가나다라/A가나다라/19600102/123456"));
        QCOMPARE(f.scalar("SELECT IFNULL(REG, '') || R || S || BAP || B || G || IFNULL(BIGO, '-') || CMEMO || LENGTH(PIC) FROM MASTER WHERE INO = '26120623590000'"),
                 QStringLiteral("101999030410-교적 메모4"));
        QCOMPARE(f.scalar("SELECT GROUP_CONCAT(SEQ || NAME || IFNULL(REL, '') || R || IFNULL(FBIGO, ''), ',') FROM FAMILY"),
                 QStringLiteral("1철수자1,2영희0막내")); // no row for the slots without a name
        QCOMPARE(f.scalar("SELECT GROUP_CONCAT(INO || VDAY || VTIME || LEADER || CONTENT) FROM VISIT"),
                 QStringLiteral("26120623590000202612062359김목사심방 내용"));
        QCOMPARE(f.scalar("SELECT R FROM MASTER WHERE NAME = '박'"), QStringLiteral("0"));
        runImport(TfrmTrans2(), 1, 0); // the other version in the same minute numbers on after the first
        QCOMPARE(f.scalar("SELECT INO || G || BIGO FROM MASTER WHERE NAME = '최'"), QStringLiteral("261206235900021권사"));
    }

    void numbersContinueAfterTakenOnesAndStayFourteenWide()
    {
        // a member entered by hand at second 45; a prefix whose four places run out
        const QList<std::pair<QStringList, QString>> cases = {
            {{QStringLiteral("261206235945")}, QStringLiteral("26120623590046,26120623590047,26120623590048")},
            {{QStringLiteral("26120623599998"), QStringLiteral("26120700000000")},
             QStringLiteral("26120623599999,26120700000001,26120700000002")},
        };
        for (const auto &[taken, expected] : cases) {
            ImportFixture f;
            sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가"), member("나"), member("다")});
            for (const QString &ino : taken)
                f.r.reg.addMember(ino, QStringLiteral("손"));
            f.r.open();
            runImport(TfrmTrans1(), 3, 0);
            QCOMPARE(f.scalar("SELECT GROUP_CONCAT(INO) FROM MASTER WHERE NAME <> '손'"), expected);
        }
    }

    void aFailedRecordLeavesNothingAndTheRestGoOn()
    {
        ImportFixture f;
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"),
                    {member("가", {{"N1", "갑"}}), member("나", {{"N1", "거부"}, {"VISIT", "x"}}), member("다", {{"N1", "을"}})});
        f.r.reg.db().executeNative(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON FAMILY WHEN NEW.NAME = '거부' "
                                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        f.r.open();
        runImport(TfrmTrans1(), 2, 1);
        QCOMPARE(f.scalar("SELECT GROUP_CONCAT(INO || NAME) FROM MASTER"), QStringLiteral("26120623590000가,26120623590002다"));
        QCOMPARE(f.scalar("SELECT GROUP_CONCAT(NAME) FROM FAMILY"), QStringLiteral("갑,을"));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM VISIT"), QStringLiteral("0"));
    }

    void aDamagedOrIncompleteSourceLeavesTheRegisterUntouched()
    {
        ImportFixture f;
        QList<DbaseColumn> lacking = EarlierMemberColumns(false);
        lacking.removeIf([](const DbaseColumn &c) { return c.name == "JMEMO"; });
        const QString table = sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가"), member("나")}, lacking);
        f.r.open();
        runImport(TfrmTrans1(), 0, 2); // every record fails at the missing field
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM MASTER"), QStringLiteral("0"));

        // the second record's memo lies past the end of the memo file
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가", {{"MEMO", "a"}}), member("나", {{"MEMO", "b"}})});
        QFile dbt(QFileInfo(table).path() + QStringLiteral("/KELMO.DBT"));
        QVERIFY(dbt.open(QIODevice::ReadWrite) && dbt.resize(1024));
        {
            TfrmTrans1 w;
            w.grab(); // the damaged row is painted without an error escaping
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("변환하시겠습니까?"), IDYES)
                .expect(QStringLiteral("Memo block 2 lies past the end of the memo file.\nFile: ") + dbt.fileName());
            w.btnStart->click();
            QVERIFY(boxes.allAnswered());
            QVERIFY(w.btnStart->isEnabled() && w.prgCopy->isHidden());
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM MASTER"), QStringLiteral("0"));
        QVERIFY(AliasConfig().IsAlias(QStringLiteral("KELMO")));

        // the commit refused while another program reads: nothing stored, the import still offered
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가")});
        {
            Database reader;
            reader.open(f.r.reg.databaseFile());
            reader.executeNative(QStringLiteral("BEGIN; SELECT COUNT(*) FROM MASTER;"));
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("변환하시겠습니까?"), IDYES).expect(QStringLiteral("다른 프로그램이 [KELMODB.db] 파일을 사용하고 있습니다. 잠시 후에 다시 해 보십시오.\n(database is locked)"));
            TfrmTrans1().btnStart->click();
            QVERIFY(boxes.allAnswered());
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM MASTER"), QStringLiteral("0"));
        QVERIFY(AliasConfig().IsAlias(QStringLiteral("KELMO")));

        QFile dbf(table);
        QVERIFY(dbf.open(QIODevice::ReadWrite) && dbf.resize(dbf.size() - 100));
        QVERIFY_THROWS_EXCEPTION(DbError, TfrmTrans1());
    }

    void theMenuOffersAnImportOnlyUntilItIsDone()
    {
        MainWindowFixture m;
        const QString table = sourceTable(m.r.reg.folder(), QStringLiteral("KELMO"), {member("가")});
        sourceTable(m.r.reg.folder(), QStringLiteral("KELMO20"), {}, EarlierMemberColumns(true));
        TfrmMain &main = m.open();
        QAction *item1 = main.command(QStringLiteral("mnu1to3")), *item2 = main.command(QStringLiteral("mnu2to3"));
        QVERIFY(item1->isVisible() && item2->isVisible());
        bool emptyShownFirst = false;
        {
            ScriptedMessages boxes; // the empty table says so before its window shows
            boxes.expect(QStringLiteral("변환할 데이타가 한건도 없습니다."));
            ScriptedModals modals([&](QDialog &d) {
                emptyShownFirst = boxes.allAnswered() && !static_cast<TfrmTrans2 &>(d).btnStart->isEnabled();
                return int(mrCancel);
            });
            item2->trigger();
        }
        QVERIFY(emptyShownFirst);
        {
            ScriptedModals modals([&](QDialog &d) {
                runImport(std::move(static_cast<TfrmTrans1 &>(d)), 1, 0);
                return int(mrOk);
            });
            item1->trigger();
        }
        QVERIFY(!item1->isVisible() && item2->isVisible());
        QVERIFY(!AliasConfig().IsAlias(QStringLiteral("KELMO")) && QFile::exists(table));
        QCOMPARE(m.r.reg.db().scalar(QStringLiteral("SELECT NAME FROM MASTER")).toString(), QStringLiteral("가"));
    }
};

QTEST_MAIN(TestTrans)
#include "tst_trans.moc"
