// member's memos, and the go-to on close while the main window shows an index tab.
#include "core/dm.h"
#include "core/global.h"
#include "mainwindow.h"
#include "records/memo.h"
#include "scripted.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <optional>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QStringList found(TfrmMemo &w)
{
    QStringList out;
    const int f = w.qrFind.fieldByName(QStringLiteral("Name")).index();
    for (int r = 0; r < w.qrFind.recordCount(); ++r)
        out << w.qrFind.valueAt(r, f).toString();
    return out;
}

int marked()
{
    return frmDM->dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE SEL = TRUE")).toInt();
}

void addVisit(TempRegister &reg, const char *ino, const char *day, const QString &content, const QString &result)
{
    reg.db().execute(QStringLiteral("INSERT INTO VISIT (Ino, Vday, Vtime, Content, Result) VALUES (:i, :d, '1000', :c, :r)"),
                     {{"i", QString::fromLatin1(ino)}, {"d", QString::fromLatin1(day)}, {"c", content}, {"r", result}});
}

void search(TfrmMemo &w, const QString &word, bool expectNone = false)
{
    ScriptedMessages boxes;
    if (expectNone)
        boxes.expect(S("검색어에 맞는 메모 내용이 없습니다."));
    w.edtText->setText(word);
    w.bbtnFind->click();
    QVERIFY(boxes.allAnswered());
}
} // namespace

class TestMemo : public QObject {
    Q_OBJECT

private slots:
    void kindsAndMatching()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("가영"), {{"Cmemo", S("새벽기도\n꾸준히")}, {"Sel", true}});
        reg.addMember("2", S("나래"), {{"Jmemo", "Prayer Team"}});
        reg.addMember("3", S("다솜"), {{"Fmemo", S("가족 모두 출석")}});
        reg.addMember("4", S("라온"));
        addVisit(reg, "4", "20240101", S("대심방"), S("첫째 방문"));
        addVisit(reg, "4", "20240301", S("병원 심방"), S("수술 후 회복"));
        reg.db().execute(QStringLiteral("INSERT INTO STUDY (Ino, Eday, Ename, Result) VALUES ('3', '20240101', 'A', :r)"),
                         {{"r", S("성실하게 참여")}});
        f.open();
        TfrmMemo w;
        w.show();
        QCOMPARE(marked(), 0); // opening clears every mark
        QVERIFY(!w.dgrdFind->isEnabled() && !w.pcMemo->isEnabled() && !w.bbtnPrint->isEnabled());

        {
            ScriptedMessages boxes;
            boxes.expect(S("찾을 단어를 입력하세요."));
            w.edtText->setText(QStringLiteral("  "));
            w.bbtnFind->click();
        }

        // only in the result memo of one visit
        search(w, S("수술"));
        QCOMPARE(found(w), QStringList{S("라온")});
        QCOMPARE(w.pnlTotal->text(), S(" 1 명이 검색되었습니다."));
        QVERIFY(w.dgrdFind->isEnabled() && w.pcMemo->isEnabled() && w.bbtnSave->isEnabled());
        QCOMPARE(w.tbVisit.recordCount(), 2); // the found member's visits on their page
        QCOMPARE(marked(), 1);
        w.chkV->setChecked(false);
        search(w, S("수술"), true);
        QCOMPARE(marked(), 0);
        QVERIFY(!w.dgrdFind->isEnabled());
        w.chkV->setChecked(true);

        // Latin letters in either case; every kind of memo
        search(w, "pRAYER t");
        QCOMPARE(found(w), QStringList{S("나래")});
        QCOMPARE(w.dmemJmemo->toPlainText(), QStringLiteral("Prayer Team"));
        search(w, S("꾸준히"));
        QCOMPARE(found(w), QStringList{S("가영")});
        search(w, S("출석"));
        QCOMPARE(found(w), QStringList{S("다솜")});
        search(w, S("참여"));
        QCOMPARE(found(w), QStringList{S("다솜")});
        QCOMPARE(w.tbStudy.recordCount(), 1);
        // a word over a line break is not in any one line
        search(w, S("기도\n꾸준"), true);

        // unticked kinds are left out, and with none ticked nobody is found
        w.chkS->setChecked(false);
        search(w, S("참여"), true);
        w.chkC->setChecked(false);
        search(w, S("꾸준히"), true);
        for (QCheckBox *c : {w.chkJ, w.chkF, w.chkV})
            c->setChecked(false);
        search(w, S("수술"), true);

        // closing without a result asks nothing
        ScriptedMessages boxes;
        w.close();
        QVERIFY(boxes.shown().isEmpty());
    }

    void everyMemberWhileAnIndexTabIsShownAndGoToByNumber()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("하늘"), {{"Cmemo", S("심방 요청")}});
        reg.addMember("2", S("하늘"), {{"Fmemo", S("병원 심방")}});
        reg.addMember("3", S("가람"), {{"Cmemo", S("이사 예정")}});
        reg.addMember("4", S("나비"), {{"Cmemo", S("심방 필요")}});
        TfrmMain &main = f.open();
        Table &t = f.master();
        main.tcN->setCurrentIndex(1); // 가-나: neither 하늘 is shown
        t.first();
        // as the main window opens it: keep the position, afterwards go back to SavedBookmark
        SavedBookmark = t.bookmark();
        {
            TfrmMemo w;
            w.show();
            search(w, S("심방"));
            QCOMPARE(found(w), (QStringList{S("나비"), S("하늘"), S("하늘")}));
            QCOMPARE(marked(), 3);
            QVERIFY(w.qrFind.locate(QStringLiteral("Ino"), {QStringLiteral("2")}));
            QCOMPARE(w.dmemFmemo->toPlainText(), S("병원 심방"));
            ScriptedMessages boxes;
            boxes.expect(S("즉시 이동하시겠습니까?"), IDYES);
            w.close();
            QVERIFY(boxes.allAnswered());
        }
        QVERIFY(SavedBookmark && t.gotoBookmark(*SavedBookmark));
        SavedBookmark.reset();
        QCOMPARE(t.fieldByName("Ino").asString(), QStringLiteral("2"));
        QCOMPARE(marked(), 3); // the found members stay marked for printing
    }

    // A search that another program's lock stops marks and lists its members once the register
    // is free, for the word it was given, with no further message; while the lock lasts the
    // window never waits on it as long as a statement would. A program that keeps reading the
    // register, statement after statement, lets the search in between within a few seconds.
    void searchStoppedByALockFindsOnceFree_data()
    {
        QTest::addColumn<int>("hold");
        QTest::addColumn<bool>("polled");
        QTest::newRow("register held") << int(RegisterLock::Exclusive) << false;
        QTest::newRow("write under way") << int(RegisterLock::Writing) << false;
        QTest::newRow("read left open") << int(RegisterLock::Reading) << false;
        QTest::newRow("read left open, another program polling") << int(RegisterLock::Reading) << true;
    }
    void searchStoppedByALockFindsOnceFree()
    {
        QFETCH(int, hold);
        QFETCH(bool, polled);
        MainWindowFixture f;
        f.r.reg.addMember("1", S("하늘"), {{"Cmemo", S("심방 요청")}});
        f.r.reg.addMember("2", S("가람"), {{"Cmemo", S("이사 예정")}});
        Transaction postcodes(f.r.reg.db()); // enough that each of the poller's reads takes a while
        for (int i = 0; i < 300; ++i)
            f.r.reg.db().execute(QStringLiteral("INSERT INTO ZIP (ZIP) VALUES (:z)"), {{"z", QString::number(i)}});
        postcodes.commit();
        f.open();
        frmDM->dbKelmo.setBusyTimeout(400);
        TfrmMemo w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        int markings = 0;
        connect(&frmDM->dbKelmo, &Database::tablesChanged, this,
                [&markings](const QSet<QString> &tables) { markings += tables.contains(QStringLiteral("MASTER")); });
        RegisterLock other(f.r.reg.databaseFile());
        other.take(RegisterLock::Hold(hold));
        std::optional<RegisterPoller> poller;
        if (polled)
            poller.emplace(f.r.reg.databaseFile(), "SELECT count(*) FROM ZIP a, ZIP b");
        ScriptedMessages boxes;
        boxes.expect(other.message());
        w.edtText->setText(S("심방"));
        w.bbtnFind->click();
        QTest::keyClick(w.edtText, Qt::Key_End); // the user goes on
        w.edtText->setText(S("이사")); // typed afterwards, not searched for
        qint64 longest = 0;
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer step;
            step.start();
            QTest::qWait(50);
            longest = std::max(longest, step.elapsed());
        }
        QVERIFY2(longest < 400, qPrintable(QString::number(longest)));
        QCOMPARE(boxes.shown().size(), 1);
        other.release();
        QTRY_COMPARE_WITH_TIMEOUT(w.pnlTotal->text(), S(" 1 명이 검색되었습니다."), 5000);
        QCOMPARE(found(w), QStringList{S("하늘")});
        QCOMPARE(marked(), 1);
        QCOMPARE(markings, 1);
        QCOMPARE(boxes.shown().size(), 1);
    }
};

QTEST_MAIN(TestMemo)
#include "tst_memo.moc"
