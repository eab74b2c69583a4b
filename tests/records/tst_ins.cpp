// The member window in both modes, opened as the main window opens it: what typing stores, the
// copies made while inserting, the minted number, the checks before storing, the two pickers
// and the family question.
#include "core/dm.h"
#include "core/global.h"
#include "mainwindow.h"
#include "platform/clock.h"
#include "platform/dbcontrols.h"
#include "records/addr.h"
#include "records/gendlg.h"
#include "records/ins.h"
#include "scripted.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

namespace {

const QString InsertCaption = QStringLiteral("새 성도 등록");

QString field(const char *name)
{
    return frmDM->tbMaster.fieldByName(QString::fromLatin1(name)).asString();
}

// What the main window does around the window: the row prepared, the window shown.
std::unique_ptr<TfrmIns> openIns(bool insert)
{
    Table &t = frmDM->tbMaster;
    auto w = std::make_unique<TfrmIns>();
    w->setWindowTitle(insert ? InsertCaption : QStringLiteral("교적사항 수정"));
    if (insert) {
        t.append();
        t.fieldByName(QStringLiteral("X")).setAsString(QStringLiteral("남"));
        t.fieldByName(QStringLiteral("L")).setAsString(QStringLiteral("음"));
    } else {
        t.edit();
    }
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get()))
        qWarning("the member window did not become active");
    return w;
}

void type(QLineEdit *e, const QString &text)
{
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    e->home(false);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(e, c.toLatin1());
            continue;
        }
        // QTest types Latin-1 only; a Hangul syllable arrives as the input method commits it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &press);
    }
}

void fillRequired(TfrmIns &w, const QString &name)
{
    type(w.dedtName, name);
    type(w.dedtBday, QStringLiteral("19900115"));
    type(w.dedtTel1, QStringLiteral("02-123-4567"));
}

int stored(Database &db, const QString &where)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE ") + where).toInt();
}

} // namespace

class TestIns : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Clock::setFixed(std::nullopt); }

    void insertStoresWhatIsTypedUnderAFreeNumber()
    {
        MainWindowFixture f;
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZONE (ZONE) VALUES ('1교구')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZONE (ZONE) VALUES ('2교구')"));
        f.open();
        Clock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        Database &db = f.r.reg.db();

        auto w = openIns(true);
        QCOMPARE(w->dcbxZone->count(), 3); // a blank, then the list
        QCOMPARE(w->dcbxZone->currentText(), QStringLiteral(" "));
        QCOMPARE(w->lblArea->text(), QStringLiteral("구역"));
        QVERIFY(w->dedtName->hasFocus());
        fillRequired(*w, QStringLiteral("O'김"));
        QCOMPARE(field("Hname"), QStringLiteral("O'김"));
        QCOMPARE(field("Regno"), QStringLiteral("900115"));
        type(w->dedtMday, QStringLiteral("20100505"));
        w->dcbxZone->setFocus(); // leaving the date ticks "결혼기념일"
        QVERIFY(w->dchkM->isChecked());
        type(w->dedtMday, QString()); // emptied later: stays ticked
        w->dcbxZone->setFocus();
        QVERIFY(w->dchkM->isChecked());
        w->dedtStd->setFocus(); // an empty date left alone ticks nothing
        w->dcbxZone->setFocus();
        QVERIFY(!w->dchkS->isChecked());
        w->dcbxZone->setCurrentIndex(2);
        emit w->dcbxZone->textActivated(w->dcbxZone->currentText());
        w->bbtnOk->click();
        QCOMPARE(w->result(), int(mrOk));
        QCOMPARE(frmDM->tbMaster.state(), DatasetState::Browse);
        QCOMPARE(field("Ino"), QStringLiteral("240305140709"));
        QCOMPARE(field("Name"), QStringLiteral("O'김"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT BDAY FROM MASTER WHERE INO = '240305140709'")).toString(),
                 QStringLiteral("19900115"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT ZONE FROM MASTER WHERE INO = '240305140709'")).toString(),
                 QStringLiteral("2교구"));
        QCOMPARE(stored(db, QStringLiteral("M = TRUE AND MDAY IS NULL")), 1);

        // a second member in the same second takes the next one
        w = openIns(true);
        fillRequired(*w, QStringLiteral("이영희"));
        w->bbtnOk->click();
        QCOMPARE(field("Ino"), QStringLiteral("240305140710"));
        QCOMPARE(field("Name"), QStringLiteral("이영희"));
    }

    void badInputIsRefusedAndNothingStored()
    {
        MainWindowFixture f;
        f.open();
        Database &db = f.r.reg.db();
        auto w = openIns(true);
        fillRequired(*w, QStringLiteral("   "));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("성명, 생일, 전화번호는 반드시 입력하세요."));
            w->bbtnOk->click();
        }
        QVERIFY(w->isVisible());
        QVERIFY(w->dedtName->hasFocus());
        QCOMPARE(frmDM->tbMaster.state(), DatasetState::Insert);

        // eleven bytes and more do not go in; no half syllable either
        type(w->dedtName, QStringLiteral("가나다라마a바"));
        QCOMPARE(field("Name"), QStringLiteral("가나다라마"));
        type(w->dedtBday, QStringLiteral("19901301"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[생년월일] 일자 형식이 잘못되었습니다."));
            w->bbtnOk->click();
        }
        QVERIFY(w->dedtBday->hasFocus());
        type(w->dedtBday, QStringLiteral("19900230")); // 30th of the second lunar month exists
        type(w->dedtBap, QStringLiteral("20010230")); // a solar 30 February does not
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[세례일자] 일자 형식이 잘못되었습니다."));
            w->bbtnOk->click();
        }
        QCOMPARE(stored(db, QStringLiteral("1 = 1")), 0);

        QTest::keyClick(w.get(), Qt::Key_Escape);
        QVERIFY(!w->isVisible());
        QCOMPARE(frmDM->tbMaster.state(), DatasetState::Browse);
        QCOMPARE(stored(db, QStringLiteral("1 = 1")), 0);
    }

    void editKeepsTheNumberCopiesNothingAndFollowsTheMember()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"),
                          {{QStringLiteral("Regno"), QStringLiteral("5501011234567")}, {QStringLiteral("Tel1"), QStringLiteral("1")},
                           {QStringLiteral("Bday"), QStringLiteral("19550101")}, {QStringLiteral("G"), true}});
        f.r.reg.addMember(QStringLiteral("2"), QStringLiteral("강감찬"), {{QStringLiteral("Tel1"), QStringLiteral("2")},
                                                                       {QStringLiteral("Bday"), QStringLiteral("19550101")}});
        TfrmMain &main = f.open();
        main.tcN->setCurrentIndex(1); // ㄱㄴ
        QVERIFY(f.master().locate(QStringLiteral("Ino"), {QStringLiteral("1")}));
        auto w = openIns(false);
        QVERIFY(!w->btnGenSel->isEnabled()); // already a head of household
        type(w->dedtName, QStringLiteral("박철수"));
        type(w->dedtBday, QStringLiteral("19560202"));
        QCOMPARE(field("Hname"), QString());
        QCOMPARE(field("Regno"), QStringLiteral("5501011234567"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("가족사항을 입력하시겠습니까?"), IDNO);
            w->bbtnOk->click();
        }
        // the ㄱㄴ tab hides 박철수 now: the window still leaves him as the current member
        QCOMPARE(field("Ino"), QStringLiteral("1"));
        QCOMPARE(field("Name"), QStringLiteral("박철수"));
        QCOMPARE(main.tcN->currentIndex(), 0);
    }

    // Entered from the main window, a member outside the shown tab: afterwards the main window is
    // back on the member it showed before, on the same tab; a new head of household still gets
    // the family editor.
    void newMemberLeavesTheMainWindowWhereItWas()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("강감찬"), {});
        f.r.reg.addMember(QStringLiteral("2"), QStringLiteral("김철수"), {});
        TfrmMain &main = f.open();
        main.tcN->setCurrentIndex(1); // ㄱㄴ
        QVERIFY(f.master().locate(QStringLiteral("Ino"), {QStringLiteral("2")}));
        bool head = false;
        QStringList family;
        ScriptedModals modals([&](QDialog &d) {
            auto *w = dynamic_cast<TfrmIns *>(&d);
            if (!w) { // the family editor, closed with its memo question answered no
                family << d.windowTitle();
                f.master().cancel();
                return int(mrCancel);
            }
            w->show();
            fillRequired(*w, head ? QStringLiteral("Qa Head") : QStringLiteral("홍길동"));
            if (head)
                w->dchkG->click();
            w->bbtnOk->click();
            return w->result();
        });
        main.mnuInsClick();
        QCOMPARE(field("Ino"), QStringLiteral("2"));
        QCOMPARE(main.tcN->currentIndex(), 1);
        QCOMPARE(f.master().recordCount(), 2);

        head = true;
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("가족사항을 입력하시겠습니까?"), IDYES);
            main.mnuInsClick();
        }
        QCOMPARE(family, QStringList{QStringLiteral("가족 사항 [Qa Head]")});
        QCOMPARE(field("Ino"), QStringLiteral("2"));
        QCOMPARE(main.tcN->currentIndex(), 1);
        QVERIFY(f.master().filtered());
        QCOMPARE(f.master().recordCount(), 2);
    }

    void headPickerFillsTheHousehold()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("H"), QStringLiteral("가장"),
                          {{QStringLiteral("G"), true}, {QStringLiteral("Addr1"), QStringLiteral("서울 종로구")},
                           {QStringLiteral("Zip"), QStringLiteral("110010")}, {QStringLiteral("Zone"), QStringLiteral("3교구")}});
        f.r.reg.addMember(QStringLiteral("M"), QStringLiteral("나중"),
                          {{QStringLiteral("Tel1"), QStringLiteral("010")}, {QStringLiteral("Addr2"), QStringLiteral("2층")}});
        f.open();
        QVERIFY(f.master().locate(QStringLiteral("Ino"), {QStringLiteral("M")}));
        auto w = openIns(false);
        QVERIFY(w->btnGenSel->isEnabled());
        {
            ScriptedModals modals([](QDialog &d) {
                auto &dlg = dynamic_cast<TfrmGenDlg &>(d);
                dlg.bbtnOK->click();
                return dlg.result();
            });
            w->btnGenSel->click();
        }
        QCOMPARE(field("GNO"), QStringLiteral("H"));
        QCOMPARE(field("Gname"), QStringLiteral("가장"));
        QCOMPARE(field("Tel1"), QString()); // the head's empty values clear the member's
        QCOMPARE(field("Addr2"), QString());
        QCOMPARE(field("Addr1"), QStringLiteral("서울 종로구"));
        QCOMPARE(field("Zip"), QStringLiteral("110010"));
        QCOMPARE(w->dcbxZone->currentText(), QStringLiteral("3교구"));
        QVERIFY(w->dedtGrel->hasFocus());
        w->dchkG->click();
        QVERIFY(!w->btnGenSel->isEnabled());
        w->dchkG->click();
        QVERIFY(w->btnGenSel->isEnabled());
    }

    void addressPickerFillsTheHomeAddress()
    {
        MainWindowFixture f;
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZIP (ZIP, ZADDR, ADDR) VALUES ('135-080', '역삼동', '서울 강남구 역삼동')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZONE (ZONE) VALUES ('1교구')"));
        f.open();
        auto w = openIns(true);
        w->dcbxZone->setCurrentIndex(1);
        emit w->dcbxZone->textActivated(w->dcbxZone->currentText());
        AddrForJob = true; // as the workplace window leaves it
        int opened = 0;
        ScriptedModals modals([&](QDialog &d) {
            ++opened;
            auto &addr = dynamic_cast<TfrmAddr &>(d);
            addr.edtAddr->setText(QStringLiteral("역삼"));
            addr.btnFind->click();
            addr.bbtnOK->click();
            return addr.result();
        });
        // entering the first address line opens the picker
        w->dedtAddr1->setFocus();
        QTRY_COMPARE(opened, 1);
        QCOMPARE(field("Addr1"), QStringLiteral("서울 강남구 역삼동"));
        QCOMPARE(field("Zip"), QStringLiteral("135080"));
        QCOMPARE(field("Jaddr1"), QString());
        QCOMPARE(w->dedtZip->text(), QStringLiteral("135-080"));
        QVERIFY(w->dedtAddr2->hasFocus());
        QCOMPARE(w->dcbxZone->currentText(), QStringLiteral("1교구"));
        w->btnZip->click();
        QCOMPARE(opened, 2);
    }

    void familyQuestionOpensTheNewHeadsFamily()
    {
        MainWindowFixture f; // an empty register: the family command is off until a member exists
        TfrmMain &main = f.open();
        QAction *family = main.command(QStringLiteral("mnuFamily"));
        QSignalSpy opened(family, &QAction::triggered);
        QString current;
        connect(family, &QAction::triggered, this, [&] { current = field("Name"); });

        QStringList windows;
        ScriptedModals modals([&](QDialog &d) {
            windows << d.windowTitle(); // the family window's own closing is not ours to test
            return int(mrCancel);
        });
        auto w = openIns(true);
        fillRequired(*w, QStringLiteral("세대주"));
        w->dchkG->click();
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("가족사항을 입력하시겠습니까?"), IDYES);
            boxes.onShow([](const MessageRequest &r) { QCOMPARE(r.caption, QStringLiteral("입력 확인")); });
            w->bbtnOk->click();
        }
        QCOMPARE(opened.count(), 1);
        QCOMPARE(current, QStringLiteral("세대주"));
        QCOMPARE(windows, QStringList{QStringLiteral("가족 사항 [세대주]")});

        w = openIns(true); // not a head: no question
        fillRequired(*w, QStringLiteral("식구"));
        w->bbtnOk->click();
        QCOMPARE(opened.count(), 1);
    }
};

QTEST_MAIN(TestIns)
#include "tst_ins.moc"
