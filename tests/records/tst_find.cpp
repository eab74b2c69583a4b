// The detailed search: the fixed and ticked conditions, the result grid, print marking with its
// question, dialling, and the go-to on close.
#include "core/dm.h"
#include "core/global.h"
#include "mainwindow.h"
#include "printing/print.h"
#include "records/find.h"
#include "scripted.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QStringList found(TfrmFind &w)
{
    return w.qrFind.active() ? ColumnValues(w.qrFind, "Name") : QStringList();
}

QStringList marked(Database &db)
{
    QStringList out;
    Statement st(db, QStringLiteral("SELECT Name FROM MASTER WHERE Sel = 1 ORDER BY Name"));
    while (st.step())
        out << st.column(0).toString();
    return out;
}

// Searches and answers the no-result message when one is expected.
void search(TfrmFind &w, bool expectNone = false)
{
    ScriptedMessages boxes;
    if (expectNone)
        boxes.expect(S("검색 조건에 맞는 내용이 없습니다."));
    w.bbtnFind->click();
    QVERIFY(boxes.allAnswered());
}

void goToRow(Dataset &rows, const QString &ino)
{
    QVERIFY(rows.locate(QStringLiteral("Ino"), {ino}));
}
} // namespace

class TestFind : public QObject {
    Q_OBJECT

private slots:
    void fixedConditionsAndResultGrid()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("김철수"), {{"X", S("남")}, {"Tel1", "02-111"}, {"Addr1", S("서울시 종로구")}});
        reg.addMember("2", S("가나다"), {{"X", S("여")}, {"Hp", "010-222"}, {"Addr1", S("부산시")}, {"Addr2", S("3층")}});
        reg.addMember("3", S("나무"), {{"X", S("남")}}); // no telephone at all
        reg.addMember("4", "O'Neil", {{"X", S("남")}, {"Tel2", "031-4"}});
        f.open();
        TfrmFind w;
        w.show();
        QVERIFY(!w.dgrdFind->isEnabled());
        QVERIFY(!w.bbtnPrint->isEnabled());

        search(w);
        QCOMPARE(found(w), (QStringList{"O'Neil", S("가나다"), S("김철수")}));
        QCOMPARE(w.pnlTotal->text(), S(" 3 명 검색"));
        QVERIFY(w.dgrdFind->isEnabled() && w.bbtnPrint->isEnabled() && w.bbtnSave->isEnabled());
        // a blank second address line leaves the first one, not an empty address
        QCOMPARE(ColumnValues(w.qrFind, "Addr"), (QStringList{" ", S("부산시 3층"), S("서울시 종로구 ")}));
        QCOMPARE(w.dgrdFind->model().headerData(7, Qt::Horizontal).toString(), S("주    소"));
        QCOMPARE(w.dgrdFind->model().headerData(11, Qt::Horizontal).toString(), S("구역"));

        w.edtName->setText("O'");
        search(w);
        QCOMPARE(found(w), QStringList{"O'Neil"});
        w.edtName->clear();
        w.cbxX->setCurrentText(S("여"));
        search(w);
        QCOMPARE(found(w), QStringList{S("가나다")});
        w.cbxX->setCurrentIndex(0);
        w.chkAddr->setChecked(true);
        w.edtAddr->setText(S("종로"));
        search(w);
        QCOMPARE(found(w), QStringList{S("김철수")});
        w.edtTel->setText("010");
        search(w, true);
        QCOMPARE(w.pnlTotal->text(), S(" 0 명 검색"));
        QVERIFY(!w.dgrdFind->isEnabled() && !w.bbtnPrint->isEnabled() && !w.bbtnSave->isEnabled());
    }

    void dateRangesAndFlags()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        const QVariantMap tel{{"Tel1", "02"}, {"X", S("남")}};
        auto with = [&](QVariantMap m) { m.insert(tel); return m; };
        reg.addMember("1", S("가"), with({{"R", true}, {"Reg", "20200101"}, {"Bday", "19700101"}, {"Std", "20230301"}}));
        reg.addMember("2", S("나"), with({{"R", true}, {"Reg", "20230505"}, {"Bday", "19800101"}}));
        reg.addMember("3", S("다"), with({{"R", false}, {"Reg", "20231231"}, {"Bday", "19900101"}, {"Bap", "20230301"}}));
        f.open();
        TfrmFind w;
        w.show();
        QCOMPARE(MaskedDateText(w.mskRs), QString());

        // a registration range applies although its box is unticked, both ends included
        w.mskRs->setText("20230101");
        w.mskRe->setText("20231231");
        QCOMPARE(MaskedDateText(w.mskRs), QStringLiteral("20230101"));
        search(w);
        QCOMPARE(found(w), (QStringList{S("나"), S("다")}));
        w.chkR->setChecked(true);
        search(w);
        QCOMPARE(found(w), QStringList{S("나")});
        // the box alone asks only for registered members
        w.mskRs->clear();
        w.mskRe->clear();
        search(w);
        QCOMPARE(found(w), (QStringList{S("가"), S("나")}));
        w.chkR->setChecked(false);

        // a birthday range needs its box and both dates
        w.chkBday->setChecked(true);
        w.mskDs->setText("19750101");
        search(w);
        QCOMPARE(found(w).size(), 3);
        w.chkBday->setChecked(false);
        w.mskDe->setText("19850101");
        search(w);
        QCOMPARE(found(w).size(), 3);
        w.chkBday->setChecked(true);
        search(w);
        QCOMPARE(found(w), QStringList{S("나")});
        w.chkBday->setChecked(false);

        // the catechism and baptism ranges each read their own edits and columns
        w.mskSs->setText("20230101");
        w.mskSe->setText("20231231");
        search(w);
        QCOMPARE(found(w), QStringList{S("가")});
        w.mskSs->clear();
        w.mskBs->setText("20230101");
        w.mskBe->setText("20231231");
        search(w);
        QCOMPARE(found(w), QStringList{S("다")});
    }

    // By keyboard: a box ticked with Space, then Tab, and the dates typed are its own.
    void aTickedBoxLeadsToItsValues()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가"), {{"Tel1", "02"}, {"X", S("남")}, {"Bday", "19700101"}});
        f.r.reg.addMember("2", S("나"), {{"Tel1", "02"}, {"X", S("남")}, {"Bday", "19800101"}});
        f.open();
        TfrmFind w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.chkBday->setFocus();
        QTest::keyClick(w.chkBday, Qt::Key_Space);
        for (const char *date : {"19750101", "19850101"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QLatin1String(date));
        }
        QCOMPARE(MaskedDateText(w.mskDs) + u' ' + MaskedDateText(w.mskDe), QStringLiteral("19750101 19850101"));
        search(w);
        QCOMPARE(found(w), QStringList{S("나")});
        w.pgcFind->setCurrentIndex(1);
        w.chkM->setFocus();
        QTest::keyClick(w.chkM, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.mskMs);
    }

    void printMarksWhatTheAnswerSays()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        for (const char *n : {"가", "나", "다"})
            reg.addMember(S(n), S(n), {{"Tel1", "02"}, {"X", S("여")}});
        reg.addMember("x", S("하"), {{"Sel", true}}); // marked by an earlier print, not found here
        f.open();
        Database &db = frmDM->dbKelmo;
        TfrmFind w;
        w.show();
        search(w);
        QStringList printed;
        int prints = 0;
        ScriptedModals modals([&](QDialog &d) {
            auto &p = dynamic_cast<TfrmPrint &>(d);
            ++prints;
            printed = ColumnValues(p.qrPrt, "Name");
            return int(QDialog::Rejected);
        });

        // "no" with nothing selected prints the current row only
        goToRow(w.qrFind, S("나"));
        w.cbxX->setCurrentIndex(1);
        {
            ScriptedMessages boxes;
            boxes.expect(S("전체 인쇄하시겠습니까?"), IDNO);
            w.bbtnPrint->click();
        }
        QCOMPARE(printed, QStringList{S("나")});
        QVERIFY(w.dgrdFind->SelectedRows().isEmpty());
        QCOMPARE(w.cbxX->currentText(), S("전체")); // the window came back with its first items

        // "no" with two rows selected prints them both
        goToRow(w.qrFind, S("가"));
        const Bookmark ga = w.qrFind.bookmark();
        goToRow(w.qrFind, S("다")); // a move leaves only the new row selected
        w.dgrdFind->selectRow(ga, true);
        {
            ScriptedMessages boxes;
            boxes.expect(S("전체 인쇄하시겠습니까?"), IDNO);
            w.bbtnPrint->click();
        }
        QCOMPARE(printed, (QStringList{S("가"), S("다")}));

        {
            ScriptedMessages boxes;
            boxes.expect(S("전체 인쇄하시겠습니까?"), IDYES);
            w.bbtnPrint->click();
        }
        QCOMPARE(printed, (QStringList{S("가"), S("나"), S("다")}));

        // cancel prints nothing, and the earlier marks are gone all the same
        {
            ScriptedMessages boxes;
            boxes.expect(S("전체 인쇄하시겠습니까?"), IDCANCEL);
            w.bbtnPrint->click();
        }
        QCOMPARE(prints, 3);
        QCOMPARE(marked(db), QStringList());
    }

    void dialsTheFirstTelephone()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가"), {{"Hp", "010-1"}, {"X", S("남")}});
        f.r.reg.addMember("2", S("나"), {{"Tel1", "02-22"}, {"X", S("남")}});
        f.open();
        TfrmFind w;
        w.show();
        search(w);
        DialNumber.clear();
        goToRow(w.qrFind, "1");
        w.dgrdFindDblClick();
        QCOMPARE(DialNumber, QString()); // only the first telephone is dialled
        goToRow(w.qrFind, "2");
        w.dgrdFind->selectRow(w.qrFind.bookmark(), true);
        QString caption;
        {
            ScriptedMessages boxes; // no modem port is set
            boxes.expect(S("모뎀 포트를 열 수 없습니다.\r\n닫기 버튼을 눌러 주세요."));
            ScriptedModals modals([&](QDialog &d) { caption = d.windowTitle(); return 0; });
            w.dgrdFindDblClick();
        }
        QCOMPARE(DialNumber, QStringLiteral("02-22"));
        QCOMPARE(caption, S("전화 걸기 [나의 전화1]"));
        QVERIFY(w.dgrdFind->SelectedRows().isEmpty());
    }

    void goToOnCloseFindsTheMemberByNumber()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("김철수"), {{"Tel1", "02-900"}, {"X", S("남")}});
        reg.addMember("2", S("김철수"), {{"Tel1", "02-100"}, {"X", S("남")}});
        reg.addMember("3", S("박영희"), {{"Tel1", "02-500"}, {"X", S("여")}});
        TfrmMain &main = f.open();
        Table &t = f.master();
        // the go-to window left the telephone order, and a tab without the member is shown
        t.setIndexName(QStringLiteral("Tel_idx"));
        main.tcN->setCurrentIndex(4);
        t.first();
        {
            TfrmFind w;
            w.show();
            w.edtName->setText(S("김철수"));
            w.edtTel->setText("02-1");
            search(w);
            QCOMPARE(ColumnValues(w.qrFind, "Ino"), QStringList{"2"});
            ScriptedMessages boxes;
            boxes.expect(S("즉시 이동하시겠습니까?"), IDYES);
            w.close();
            QVERIFY(boxes.allAnswered());
        }
        QCOMPARE(t.fieldByName("Ino").asString(), QStringLiteral("2"));
        QCOMPARE(main.tcN->currentIndex(), 0);
        QVERIFY(SavedBookmark && SavedBookmark->id == t.bookmark().id);

        // without a result nothing is asked
        {
            TfrmFind w;
            w.show();
            ScriptedMessages boxes;
            w.close();
            QVERIFY(boxes.shown().isEmpty());
        }
    }

    // A search that another program's lock stops lists its members once the register is free,
    // by the conditions it was given, with no further message.
    void searchStoppedByALockFindsOnceFree()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", "Paul Kim", {{"Tel1", "02-1"}, {"X", S("남")}});
        f.r.reg.addMember("2", "Paula", {{"Tel1", "02-2"}, {"X", S("여")}});
        f.r.reg.addMember("3", "Peter", {{"Tel1", "02-3"}, {"X", S("남")}});
        f.open();
        frmDM->dbKelmo.setBusyTimeout(100);
        TfrmFind w;
        w.show();
        RegisterLock other(f.r.reg.databaseFile());
        other.take();
        ScriptedMessages boxes;
        boxes.expect(other.message());
        w.edtName->setText("Paul");
        w.bbtnFind->click();
        w.edtName->setText("Peter"); // typed afterwards, not searched for
        other.release();
        QTRY_COMPARE(w.pnlTotal->text(), S(" 2 명 검색"));
        QCOMPARE(found(w), (QStringList{"Paul Kim", "Paula"}));
        QVERIFY(w.dgrdFind->isEnabled() && w.bbtnPrint->isEnabled() && w.bbtnSave->isEnabled());
        QCOMPARE(boxes.shown().size(), 1);
    }
};

QTEST_MAIN(TestFind)
#include "tst_find.moc"
