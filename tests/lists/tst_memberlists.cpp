// The list windows with their own conditions: name ranges and sort orders, zone and group,
// registration years, baptism marks, households, and their list-menu items.
#include "core/dm.h"
#include "core/global.h"
#include "lists/list.h"
#include "lists/listarea.h"
#include "lists/listbap.h"
#include "lists/listgen.h"
#include "lists/handoff.h"
#include "lists/listreg.h"
#include "mainwindow.h"
#include "platform/clock.h"
#include "scripted.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

} // namespace

class TestMemberLists : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Clock::setFixed(std::nullopt); }

    void wholeListRangesAndOrders()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("김민수"), {{"Addr1", S("서울")}, {"Addr2", S("나동")}});
        reg.addMember("2", S("가영"), {{"Addr1", S("서울")}, {"Addr2", S("가동")}});
        reg.addMember("3", "Kim", {{"Addr1", S("부산")}});
        reg.addMember("4", "7up");
        reg.addMember("5", S("힘찬"));
        reg.addMember("6", S("나래"));
        f.open();
        TfrmList w;
        QCOMPARE(ColumnValues(w.qrList), (QStringList{"7up", "Kim", S("가영"), S("김민수"), S("나래"), S("힘찬")}));
        w.tcList->setCurrentIndex(1);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("가영"), S("김민수")}));
        w.tcList->setCurrentIndex(14);
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("힘찬")});
        w.tcList->setCurrentIndex(15);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{"7up", "Kim"}));
        // the joined address orders, the tab stays
        w.tcList->setCurrentIndex(0);
        w.cbxSel->setCurrentIndex(5);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{"7up", S("나래"), S("힘찬"), "Kim", S("가영"), S("김민수")}));
        w.tcList->setCurrentIndex(1);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("가영"), S("김민수")}));
        QCOMPARE(w.cbxSel->currentIndex(), 5);
    }

    void zoneAndGroupKeepTheChosenZone()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("가"), {{"Zone", S("1교구")}, {"Area", S("1")}});
        reg.addMember("2", S("나"), {{"Zone", S("2교구")}, {"Area", S("1")}});
        reg.addMember("3", S("다"), {{"Zone", S("2교구")}, {"Area", S("2")}});
        f.open();
        ZoneList = QStringList{S("1교구"), S("2교구")};
        ZoneCount = 2;
        AreaList = QStringList{"1", "2"};
        AreaCount = 2;
        TfrmLArea w;
        w.show();
        QCOMPARE(w.tcList->tabText(1), S("1구역"));
        w.tcList->setCurrentIndex(1);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("가"), S("나")}));
        w.cbxSel->setCurrentIndex(2);
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("나")});
        // back from a window opened over it: the box still names the zone listed
        ScriptedMessages boxes;
        boxes.expect(S("저장이 완료되었습니다."));
        const auto saveDlg = SaveDlg;
        SaveDlg = [&] { return f.r.reg.folder() + QStringLiteral("/list.txt"); };
        w.bbtnSave->click();
        SaveDlg = saveDlg;
        QCOMPARE(w.cbxSel->currentText(), S("2교구"));
        w.tcList->setCurrentIndex(0);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("나"), S("다")}));
    }

    void registrationYearsCountBackFromToday()
    {
        Clock::setFixed(QDateTime(QDate(2024, 6, 1), QTime(9, 0)));
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("금년"), {{"Reg", "20240105"}});
        reg.addMember("2", S("작년"), {{"Reg", "20230105"}});
        reg.addMember("3", S("삼년"), {{"Reg", "20210105"}});
        reg.addMember("4", S("오래"), {{"Reg", "20001231"}});
        reg.addMember("5", S("미상"));
        f.open();
        TfrmLReg w;
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("오래"), S("삼년"), S("작년"), S("금년")}));
        w.tcList->setCurrentIndex(1);
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("작년")});
        QVERIFY(!w.mskYear1->isEnabled());
        w.tcList->setCurrentIndex(3);
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("삼년")});
        w.tcList->setCurrentIndex(11);
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("오래")});
        w.tcList->setCurrentIndex(0);
        QCOMPARE(w.mskYear2->storedText(), QStringLiteral("2024"));
        w.mskYear1->setText("202");
        ScriptedMessages boxes;
        boxes.expect(S("년도가 잘못 입력되어 있습니다."));
        w.bbtnRet->click();
        QVERIFY(boxes.allAnswered());
        QCOMPARE(ColumnValues(w.qrList).size(), 4);
        // every year tab shows at the window's own size, none behind scroll arrows
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY2(w.tcList->tabRect(11).right() < w.tcList->width(),
                 qPrintable(QStringLiteral("%1 of %2").arg(w.tcList->tabRect(11).right()).arg(w.tcList->width())));
    }

    void baptismWordingAndMarks()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("가"), {{"B", true}, {"Bap", "20200101"}, {"C", true}});
        reg.addMember("2", S("나"), {{"B", true}, {"Bap", "19990101"}});
        f.open();
        BaptOption = 1;
        TfrmLBap w;
        BaptOption = 0;
        QCOMPARE(w.tcList->tabText(0), S("헌아자(&1)"));
        QCOMPARE(w.tcList->tabText(2), S("침례자(&3)"));
        QCOMPARE(w.dgrdList->model().headerData(4, Qt::Horizontal).toString(), S("헌아일자"));
        QCOMPARE(w.dgrdList->model().headerData(6, Qt::Horizontal).toString(), S("침례일자"));
        QCOMPARE(ColumnValues(w.qrList), QStringList{S("가")});
        w.tcList->setCurrentIndex(2);
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("나"), S("가")}));
    }

    void householdFamilyFollowsTheHead()
    {
        MainWindowFixture f;
        auto &reg = f.r.reg;
        reg.addMember("1", S("가장"), {{"G", true}});
        reg.addMember("2", S("나장"), {{"G", true}});
        reg.addMember("3", S("식구"));
        reg.addMember("4", S("다장"), {{"G", true}}); // no family
        // stored out of order: the family comes in sequence order, 10 after 2
        for (const auto &[ino, seq, name, r] : {std::tuple{"1", 10, "아들", false}, {"1", 2, "아내", true},
                                                {"2", 1, "딸", false}})
            reg.db().execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name, R) VALUES (:i, :s, :n, :r)"),
                             {{"i", QString::fromLatin1(ino)}, {"s", seq}, {"n", S(name)}, {"r", r}});
        f.open();
        TfrmLGen w;
        w.show();
        QCOMPARE(ColumnValues(w.qrList), (QStringList{S("가장"), S("나장"), S("다장")}));
        QCOMPARE(ColumnValues(w.qrFList), (QStringList{S("아내"), S("아들")}));
        QCOMPARE(w.qrFList.fieldByName("R").type(), FieldType::Logical); // drawn as boxes
        w.qrList.next();
        QCOMPARE(ColumnValues(w.qrFList), QStringList{S("딸")});
        QCOMPARE(w.pnlFn->text(), S(" 가족 1 명"));
        w.qrList.next(); // the count must not keep the previous head's
        w.dgrdFamily->grab();
        QCOMPARE(w.pnlFn->text(), S(" 가족 0 명"));
        QSignalSpy family(&w.qrFList, &Dataset::stateChanged);
        w.RefreshList(); // the family is read once: closed and opened again
        QCOMPARE(family.count(), 2);
    }

    void listMenuOpensEachWindow()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가")); // an empty register has no lists
        TfrmMain &main = f.open();
        QStringList captions;
        ScriptedModals modals([&](QDialog &d) {
            captions << d.windowTitle();
            return int(QDialog::Rejected);
        });
        for (const char *item : {"mnuList", "mnuLArea", "mnuLPart", "mnuLDuty", "mnuLGita", "mnuLBigo", "mnuLReg",
                                 "mnuLGen", "mnuLBap", "mnuLStudy"})
            main.command(QString::fromLatin1(item))->trigger();
        QCOMPARE(captions, (QStringList{S("전체 명단"), S("교구/구역별 명단"), S("소속기관별 명단"), S("직분별 명단"),
                                        S("활동기타별 명단"), S("비고별 명단"), S("등록자 명단"), S("세대주 명단"),
                                        S("학습/세례자 명단"), S("이력 제목별 명단")}));
    }
};

QTEST_MAIN(TestMemberLists)
#include "tst_memberlists.moc"
