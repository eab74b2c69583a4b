// The import of the earlier versions' members: what each source field becomes, the numbering,
// all-or-nothing runs with per-record rollback, what the user is told of refused records and odd
// files, and the alias and menu afterwards.
#include "core/dm.h"
#include "core/global.h"
#include "generator/dbasewriter.h"
#include "lists/handoff.h"
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
        // an import in the same minute up to 0150 and a member entered by hand at second 45, whose
        // shorter number sorts above them as text; a prefix whose four places run out
        QStringList earlier{QStringLiteral("261206235945")};
        for (int n = 0; n <= 150; ++n)
            earlier << QStringLiteral("2612062359%1").arg(n, 4, 10, QLatin1Char('0'));
        const QList<std::pair<QStringList, QString>> cases = {
            {earlier, QStringLiteral("26120623590151,26120623590152,26120623590153")},
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

    void refusedRecordsAreNamedAndNoneImportedIsNoSuccess()
    {
        ImportFixture f;
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"),
                    {member("가", {{"N1", "갑"}}), member("나", {{"N1", "거부"}, {"VISIT", "x"}}), member("다", {{"N1", "을"}})});
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO20"), {member("라", {{"N1", "거부"}})}, EarlierMemberColumns(true));
        f.r.reg.db().executeNative(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON FAMILY WHEN NEW.NAME = '거부' "
                                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        f.r.open();
        const QString refused = QStringLiteral("[Data/KELMODB.db] 파일을 처리하는 중에 오류가 발생했습니다. (refused)");
        const QString saved = f.r.reg.folder() + QStringLiteral("/refused.txt");
        const auto saveDlg = SaveDlg;
        SaveDlg = [&] { return saved; };
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("변환하시겠습니까?"), IDYES)
                .expect(Done.arg(2).arg(1) + QStringLiteral("\n\n변환하지 못한 자료:\n2번째 나: ") + refused +
                            QStringLiteral("\n\n변환하지 못한 자료의 목록을 파일로 저장하시겠습니까?"),
                        IDYES)
                .expect(QStringLiteral("저장이 완료되었습니다."));
            TfrmTrans1().btnStart->click();
        }
        SaveDlg = saveDlg;
        QFile file(saved);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("2번째 나 ") + refused + QStringLiteral("\n"));
        QCOMPARE(f.scalar("SELECT GROUP_CONCAT(INO || NAME) FROM MASTER"), QStringLiteral("26120623590000가,26120623590002다"));
        QCOMPARE(f.scalar("SELECT GROUP_CONCAT(NAME) FROM FAMILY"), QStringLiteral("갑,을"));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM VISIT"), QStringLiteral("0"));

        // nothing imported: no success, nothing kept, the import still offered
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("변환하시겠습니까?"), IDYES)
            .expect(QStringLiteral("자료를 한 건도 변환하지 못하여 아무것도 추가하지 않았습니다.\n변환하지 못한 자료 1건\n\n"
                                   "변환하지 못한 자료:\n1번째 라: ") + refused +
                        QStringLiteral("\n\n변환하지 못한 자료의 목록을 파일로 저장하시겠습니까?"),
                    IDNO);
        TfrmTrans2 w;
        w.btnStart->click();
        QVERIFY(boxes.allAnswered() && w.modalResult() == 0 && w.btnStart->isEnabled());
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM MASTER"), QStringLiteral("2"));
        QVERIFY(AliasConfig().IsAlias(QStringLiteral("KELMO20")));
    }

    void aStaleRecordCountLosesNoRecord()
    {
        ImportFixture f;
        DbaseWriter w(EarlierMemberColumns(false), DbaseWriter::Dbase3);
        for (int i = 1; i <= 20; ++i)
            w.addRecord(member(QString::number(i), {{"MEMO", QString::number(i)}}), i == 7);
        const QString folder = f.r.reg.folder() + QStringLiteral("/old");
        QDir().mkpath(folder);
        w.save(folder + QStringLiteral("/KELMO.DBF"));
        AliasConfig().AddAlias(QStringLiteral("KELMO"), folder);
        QFile dbf(folder + QStringLiteral("/KELMO.DBF"));
        QVERIFY(dbf.open(QIODevice::ReadWrite) && dbf.seek(4) && dbf.putChar(5)); // the header counts 5 of 20
        dbf.close();
        f.r.open();
        std::unique_ptr<TfrmTrans1> window;
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[KELMO.DBF] 파일의 머리에는 자료가 5건으로 적혀 있으나 파일에는 20건이 들어 있습니다.\n"
                                        "파일에 들어 있는 자료를 모두 보여 드리고 변환합니다."));
            window = std::make_unique<TfrmTrans1>();
        }
        QCOMPARE(window->grd1Data->model().rowCount(), 19);
        runImport(std::move(*window), 19, 0);
        QCOMPARE(f.scalar("SELECT COUNT(*) || '/' || MAX(INO) || '/' || SUM(CMEMO) FROM MASTER WHERE NAME = CMEMO"),
                 QStringLiteral("19/26120623590018/203")); // every live record, the 7th left out
    }

    void anOddSourceImportsNothingAndTheImportStaysOffered()
    {
        ImportFixture f;
        QList<DbaseColumn> lacking = EarlierMemberColumns(false);
        lacking.removeIf([](const DbaseColumn &c) { return c.name == "JMEMO" || c.name == "M5"; });
        const QString table = sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가"), member("나")}, lacking);
        QFile dbf(table);
        QVERIFY(dbf.open(QIODevice::ReadWrite) && dbf.seek(4) && dbf.putChar(1)); // a stale count says nothing more
        dbf.close();
        f.r.open();
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[KELMO.DBF] 파일에 변환에 필요한 필드가 없습니다: JMEMO, M5\n이 파일의 자료는 변환할 수 없습니다."));
            QVERIFY(!TfrmTrans1().btnStart->isEnabled());
        }

        // the commit refused while another program reads: nothing stored, the import still offered
        sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가", {{"MEMO", "a"}}), member("나", {{"MEMO", "b"}})});
        {
            Database reader;
            reader.open(f.r.reg.databaseFile());
            reader.executeNative(QStringLiteral("BEGIN; SELECT COUNT(*) FROM MASTER;"));
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("변환하시겠습니까?"), IDYES).expect(QStringLiteral("다른 프로그램이 [Data/KELMODB.db] 파일을 사용하고 있습니다. 잠시 후에 다시 해 보십시오.\n(database is locked)"));
            TfrmTrans1().btnStart->click();
            QVERIFY(boxes.allAnswered());
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM MASTER"), QStringLiteral("0"));
        QVERIFY(AliasConfig().IsAlias(QStringLiteral("KELMO")));

        // a memo file cut short: refused at opening, so the main window reports it once
        QFile dbt(QFileInfo(table).path() + QStringLiteral("/KELMO.DBT"));
        QVERIFY(dbt.open(QIODevice::ReadWrite) && dbt.resize(1024));
        QVERIFY_THROWS_EXCEPTION(DbError, TfrmTrans1());

        // a memo pointer wide enough to name a block past any file is refused the same way
        QList<DbaseColumn> wide = EarlierMemberColumns(false);
        int memoAt = 32 + 32 * int(wide.size()) + 1 + 1;
        for (DbaseColumn &c : wide) {
            if (c.name == "MEMO") {
                c.length = 20;
                break;
            }
            memoAt += c.length;
        }
        QFile crafted(sourceTable(f.r.reg.folder(), QStringLiteral("KELMO"), {member("가", {{"MEMO", "a"}})}, wide));
        QVERIFY(crafted.open(QIODevice::ReadWrite) && crafted.seek(memoAt) && crafted.write("  216172782113783808") == 20);
        crafted.close();
        try {
            TfrmTrans1 refused;
            QFAIL("the table was opened");
        } catch (const DbError &e) {
            QCOMPARE(e.message(), QStringLiteral("[KELMO/KELMO.DBT] 파일이 손상되었습니다.\n(216172782113783808번 메모 블록이 메모 파일 밖에 있습니다)"));
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM MASTER"), QStringLiteral("0"));
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
