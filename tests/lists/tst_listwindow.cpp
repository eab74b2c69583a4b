// The list-window template on the category lists: tabs from the lookup lists, literal tab
// texts, head counts, the button rule, print marks and the go-to on close.
#include "core/dm.h"
#include "core/global.h"
#include "lists/listcategory.h"
#include "mainwindow.h"
#include "printing/print.h"
#include "scripted.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QStringList marked()
{
    QStringList out;
    Statement st(frmDM->dbKelmo, QStringLiteral("SELECT Name FROM MASTER WHERE Sel = 1 ORDER BY Name"));
    while (st.step())
        out << st.column(0).toString();
    return out;
}
} // namespace

class TestListWindow : public QObject {
    Q_OBJECT

private slots:
    void tabsPatternsAndCounts()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("가"), {{"Bigo", S("새가족")}, {"X", S("남")}});
        reg.addMember("2", S("나"), {{"Bigo", S("100%")}, {"X", S("여")}});
        reg.addMember("3", S("다"), {{"Bigo", S("1000")}, {"X", S("여")}});
        reg.addMember("4", S("라"), {{"Bigo", S("새_가족")}}); // sex left blank
        reg.addMember("5", S("마"), {{"X", S("남")}});          // no remark at all
        f.open();

        BigoList.clear();
        BigoCount = 0;
        {
            TfrmLBigo w;
            QCOMPARE(w.tcList->count(), 1);
            // a blank remark is not matched by "%"; the blank sex counts in the total only
            QCOMPARE(ColumnValues(w.qrList), (QStringList{S("나"), S("다"), S("라"), S("가")}));
            QCOMPARE(w.stbrList->text(), S("전체 4명 / 남 1명 / 여 2명"));
            QCOMPARE(w.dgrdList->model().headerData(12, Qt::Horizontal).toString(), S("구역"));
        }

        BigoList = QStringList{S("100%"), S("새_가족"), S("없음")};
        BigoCount = 3;
        AreaOption = 1;
        TfrmLBigo w;
        QCOMPARE(w.dgrdList->model().headerData(12, Qt::Horizontal).toString(), S("속회"));
        AreaOption = 0;
        w.tcList->setCurrentIndex(1); // not "1000"
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("나")});
        w.tcList->setCurrentIndex(2); // not "새가족"
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("라")});
        QVERIFY(w.bbtnPrint->isEnabled() && w.dgrdList->isEnabled());

        w.tcList->setCurrentIndex(3);
        QCOMPARE(w.stbrList->text(), S("전체 0명 / 남 0명 / 여 0명"));
        QVERIFY(!w.bbtnSave->isEnabled() && !w.bbtnStat->isEnabled() && !w.bbtnPrint->isEnabled() &&
                !w.dgrdList->isEnabled());
        ScriptedMessages none; // closing an empty list asks nothing
        w.close();
        QVERIFY(none.shown().isEmpty());
    }

    void printMarksAndGoToOnClose()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("김철수"), {{"Duty1", S("집사")}});
        reg.addMember("2", S("김철수"), {{"Duty1", S("권사")}});
        reg.addMember("3", S("박영희"), {{"Duty1", S("집사")}, {"Sel", true}});
        f.open();
        DutyList = QStringList{S("권사"), S("집사")};
        DutyCount = 2;
        int prints = 0;
        ScriptedModals modals([&](QDialog &d) {
            prints += dynamic_cast<TfrmPrint *>(&d) ? 1 : 100;
            return int(QDialog::Rejected);
        });

        TfrmLDuty w;
        w.show();
        QVERIFY(w.qrList.locate(QStringLiteral("Ino"), {QStringLiteral("2")}));
        {
            ScriptedMessages boxes;
            boxes.expect(S("전체 인쇄하시겠습니까?"), IDNO);
            w.bbtnPrint->click();
        }
        QCOMPARE(prints, 1);
        QCOMPARE(marked(), QStringList{S("김철수")});
        {
            ScriptedMessages boxes;
            boxes.expect(S("전체 인쇄하시겠습니까?"), IDCANCEL);
            w.bbtnPrint->click();
        }
        QCOMPARE(prints, 1);
        QCOMPARE(marked(), QStringList());

        // rows chosen on one tab are not chosen on the next; Shift extends from the first
        w.qrList.first();
        QTest::keyClick(w.dgrdList, Qt::Key_Down, Qt::ShiftModifier);
        w.tcList->setCurrentIndex(2);
        QCOMPARE(w.dgrdList->selectionModel()->selectedRows().size(), 1);
        QTest::keyClick(w.dgrdList, Qt::Key_Down, Qt::ShiftModifier); // from the row it opened on
        QCOMPARE(w.dgrdList->selectionModel()->selectedRows().size(), 2);
        w.tcList->setCurrentIndex(0);

        // the second 김철수 is the chosen row: the main window goes to that member, not the first;
        // 닫기 is the tab stop after the grid
        QVERIFY(w.qrList.locate(QStringLiteral("Ino"), {QStringLiteral("2")}));
        {
            ScriptedMessages boxes;
            boxes.expect(S("즉시 이동하시겠습니까?"), IDYES);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            w.dgrdList->setFocus();
            QTest::keyClick(w.dgrdList, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), w.bbtnClose);
            QTest::keyClick(w.bbtnClose, Qt::Key_Space);
        }
        QVERIFY(!w.isVisible());
        QCOMPARE(f.master().fieldByName(QStringLiteral("Ino")).asString(), QStringLiteral("2"));
    }

    void historyTitlesListEachMemberOnce()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("가"));
        reg.addMember("2", S("나"));
        for (const auto &[ino, day, title] : {std::tuple{"1", "20200101", "제자훈련"}, {"1", "20210101", "제자훈련"},
                                              {"2", "20200101", "성경공부"}})
            reg.db().execute(QStringLiteral("INSERT INTO STUDY (Ino, Eday, Eday2, Ename) VALUES (:i, :d, '', :t)"),
                             {{"i", QString::fromLatin1(ino)}, {"d", QString::fromLatin1(day)}, {"t", S(title)}});
        reg.addMember("3", S("다")); // no history
        f.open();
        EducList = QStringList{S("제자훈련")};
        EducCount = 1;
        TfrmLStudy w;
        QVERIFY(!w.bbtnStat->isVisibleTo(&w));
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("가"), S("나")}));
        w.tcList->setCurrentIndex(1);
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("가")});
    }

    // A list opened, and a tab chosen, while another program holds the register: one message,
    // "0명" with the buttons off, and once the register is free the list reads itself.
    void listsReadThemselvesOnceALockIsGone()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가"), {{"Bigo", S("새가족")}, {"X", S("남")}});
        f.r.reg.addMember("2", S("나"), {{"Bigo", S("장년")}, {"X", S("여")}});
        f.open();
        BigoList = QStringList{S("새가족"), S("장년"), S("없음")};
        BigoCount = 3;
        frmDM->dbKelmo.setBusyTimeout(100);
        RegisterLock other(f.r.reg.databaseFile());
        ScriptedMessages boxes;
        const QString locked = other.message();
        other.take();
        boxes.expect(locked);
        TfrmLBigo w;
        QCOMPARE(w.stbrList->text(), S("0명"));
        QVERIFY(!w.bbtnSave->isEnabled() && !w.bbtnStat->isEnabled() && !w.bbtnPrint->isEnabled());
        other.release();
        QTRY_COMPARE(w.stbrList->text(), S("전체 2명 / 남 1명 / 여 1명"));
        QVERIFY(w.bbtnSave->isEnabled() && w.bbtnStat->isEnabled() && w.bbtnPrint->isEnabled());

        w.tcList->setCurrentIndex(3); // an empty list holds no read of the register open
        other.take();
        boxes.expect(locked);
        w.tcList->setCurrentIndex(2);
        QCOMPARE(w.stbrList->text(), S("0명"));
        other.release();
        QTRY_COMPARE(w.stbrList->text(), S("전체 1명 / 남 0명 / 여 1명"));
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("나")});
        QCOMPARE(boxes.shown().size(), 2);
    }
};

QTEST_MAIN(TestListWindow)
#include "tst_listwindow.moc"
