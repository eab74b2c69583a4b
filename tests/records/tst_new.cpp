// Household quick registration: the member rows and numbers, the family rows, the print marks,
// all or nothing on failure, the person list and the address picker's hand-off.
#include "core/dm.h"
#include "core/global.h"
#include "mainwindow.h"
#include "platform/clock.h"
#include "records/addr.h"
#include "records/new.h"
#include "scripted.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

const QDateTime Moment(QDate(2024, 3, 5), QTime(14, 7, 9));

void type(QLineEdit *e, const QString &text)
{
    e->clear();
    e->home(false);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &press);
    }
}

void fillHead(TfrmNew &w, const QString &name)
{
    type(w.edtName, name);
    type(w.mskBday, QStringLiteral("19600101"));
    type(w.edtTel, QStringLiteral("02-555-1234"));
}

void addPerson(TfrmNew &w, const QString &name, const QString &bday, bool solar = false)
{
    type(w.edtFName, name);
    type(w.mskFBday, bday);
    w.cbxFL->setCurrentIndex(solar ? 1 : 0);
    w.bbtnAdd->click();
}

QStringList column(Database &db, const QString &sql)
{
    Query q(&db);
    q.setSql(sql);
    q.open();
    QStringList out;
    for (q.first(); !q.eof(); q.next()) {
        QStringList row;
        for (int i = 0; i < q.fieldCount(); ++i)
            row << q.field(i).asString();
        out << row.join(u'|');
    }
    return out;
}

} // namespace

class TestNew : public QObject {
    Q_OBJECT

private slots:
    void init() { Clock::setFixed(Moment); }
    void cleanup() { Clock::setFixed(std::nullopt); }

    void householdOfHeadAndTwo()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("OLD"), QStringLiteral("예전"), {{QStringLiteral("Sel"), true}});
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZONE (ZONE) VALUES ('1교구')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('처')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('자')"));
        TfrmMain &main = f.open();
        Database &db = f.r.reg.db();
        TfrmNew w;
        w.cbxArea->addItems({QStringLiteral(" "), QStringLiteral("1"), QStringLiteral("2")});
        w.show();
        fillHead(w, QStringLiteral("O'Kim"));
        w.cbxArea->setCurrentIndex(2);
        type(w.edtAddr2, QStringLiteral("101호"));
        type(w.edtZip, QStringLiteral("135080")); // typed without the dash
        addPerson(w, QStringLiteral("아내"), QStringLiteral("19620202"));
        w.cbxFrel->setCurrentIndex(1);
        addPerson(w, QStringLiteral("아들"), QStringLiteral("19900303"), true);
        QCOMPARE(w.lvFamily->topLevelItem(1)->text(0), QStringLiteral("자"));
        w.bbtnOk->click();
        QCOMPARE(w.result(), int(mrOk));

        QCOMPARE(column(db, QStringLiteral("SELECT INO, NAME, G, GNAME, GREL, GNO, TEL1, ZONE, AREA, ZIP, ADDR2 FROM MASTER "
                                           "WHERE SEL = TRUE ORDER BY INO")),
                 (QStringList{QStringLiteral("240305140709|O'Kim|True|O'Kim|본인||02-555-1234|1교구|2|135080|101호"),
                              QStringLiteral("24030514070900|아내|False|O'Kim|처|240305140709|02-555-1234|1교구|2|135080|101호"),
                              QStringLiteral("24030514070901|아들|False|O'Kim|자|240305140709|02-555-1234|1교구|2|135080|101호")}));
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE SEL = TRUE")).toInt(), 3); // OLD unmarked
        QCOMPARE(column(db, QStringLiteral("SELECT INO, SEQ, NAME, BDAY, L FROM FAMILY ORDER BY INO, SEQ")),
                 (QStringList{QStringLiteral("240305140709|1|아내|19620202|음"),
                              QStringLiteral("240305140709|2|아들|19900303|양"),
                              QStringLiteral("24030514070900|1|O'Kim|19600101|음"),
                              QStringLiteral("24030514070900|2|아들|19900303|양"),
                              QStringLiteral("24030514070901|1|O'Kim|19600101|음"),
                              QStringLiteral("24030514070901|2|아내|19620202|음")}));
        QCOMPARE(main.dgrdName->SelectedRows().size(), 3);

        // a second household in the same second moves its whole base on
        TfrmNew again;
        fillHead(again, QStringLiteral("이웃"));
        addPerson(again, QStringLiteral("딸"), QString());
        again.bbtnOk->click();
        QCOMPARE(column(db, QStringLiteral("SELECT INO FROM MASTER WHERE SEL = TRUE ORDER BY INO")),
                 (QStringList{QStringLiteral("240305140710"), QStringLiteral("24030514071000")}));
    }

    void headAloneAndTheRequiredFields()
    {
        MainWindowFixture f;
        f.open();
        Database &db = f.r.reg.db();
        TfrmNew w;
        w.show();
        type(w.edtName, QStringLiteral("  "));
        type(w.mskBday, QStringLiteral("19600101"));
        type(w.edtTel, QStringLiteral("1"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("세대주 필수 내용이 비어 있습니다."));
            w.bbtnOk->click();
        }
        type(w.edtName, QStringLiteral("홀로"));
        type(w.mskBday, QStringLiteral("19601340"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[생년월일] 일자 형식이 잘못되었습니다."));
            w.bbtnOk->click();
        }
        QVERIFY(w.isVisible());
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER")).toInt(), 0);
        type(w.mskBday, QStringLiteral("19600101"));
        w.bbtnOk->click();
        QCOMPARE(column(db, QStringLiteral("SELECT INO, NAME FROM MASTER")), QStringList{QStringLiteral("240305140709|홀로")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt(), 0);
    }

    void aFailureStoresNothingAndKeepsTheWindowOpen()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("OLD"), QStringLiteral("예전"), {{QStringLiteral("Sel"), true}});
        // the engine refuses the last family row, after everything else went in
        f.r.reg.db().executeNative(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON FAMILY WHEN NEW.NAME = '막내' "
                                                  "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
        f.open();
        Database &db = f.r.reg.db();
        TfrmNew w;
        w.show();
        fillHead(w, QStringLiteral("가장"));
        addPerson(w, QStringLiteral("막내"), QStringLiteral("20000101"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("가족을 등록하지 못했습니다.\r\n[Data/KELMODB.db] 파일을 처리하는 중에 오류가 발생했습니다.\n(refused)"));
            w.bbtnOk->click();
        }
        QVERIFY(w.isVisible());
        QCOMPARE(column(db, QStringLiteral("SELECT INO FROM MASTER WHERE SEL = TRUE")), QStringList{QStringLiteral("OLD")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt(), 0);
        QCOMPARE(f.master().state(), DatasetState::Browse);
        QCOMPARE(f.master().recordCount(), 1);
    }

    void personList()
    {
        MainWindowFixture f;
        f.open();
        TfrmNew w;
        type(w.edtFName, QStringLiteral("   "));
        w.bbtnAdd->click();
        QCOMPARE(w.lvFamily->topLevelItemCount(), 0);
        addPerson(w, QStringLiteral(" 하나 "), QStringLiteral("19900101"), true);
        QCOMPARE(w.lvFamily->topLevelItem(0)->text(1), QStringLiteral("하나"));
        QCOMPARE(w.lvFamily->topLevelItem(0)->text(3), QStringLiteral("19900101"));
        QCOMPARE(w.lvFamily->topLevelItem(0)->text(4), QStringLiteral("양"));
        QCOMPARE(w.edtFName->text(), QString());
        QCOMPARE(w.cbxFL->currentIndex(), 0);
        QVERIFY(w.bbtnDel->isEnabled());
        w.lvFamily->setCurrentItem(w.lvFamily->topLevelItem(0));
        w.bbtnDel->click();
        QCOMPARE(w.lvFamily->topLevelItemCount(), 0);
        QVERIFY(!w.bbtnDel->isEnabled());

        for (int i = 0; i < MaxListedPersons; ++i)
            addPerson(w, QStringLiteral("P%1").arg(i), QString());
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("가족은 100명까지 추가할 수 있습니다."));
            addPerson(w, QStringLiteral("넘침"), QString());
        }
        QCOMPARE(w.lvFamily->topLevelItemCount(), MaxListedPersons);
    }

    void addressPickerHandsOnlyAFreshPick()
    {
        MainWindowFixture f;
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZIP (ZIP, ZADDR, ADDR) VALUES ('135-080', '역삼동', '서울 강남구 역삼동')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZONE (ZONE) VALUES ('1교구')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO ZONE (ZONE) VALUES ('2교구')"));
        f.open();
        PickedAddr = QStringLiteral("교회 주소"); // an earlier pick, from the settings dialog
        PickedZip = QStringLiteral("999999");
        TfrmNew w;
        w.show();
        w.cbxZone->setCurrentIndex(1);
        bool take = false;
        ScriptedModals modals([&](QDialog &d) {
            auto &addr = dynamic_cast<TfrmAddr &>(d);
            addr.edtAddr->setText(QStringLiteral("역삼"));
            addr.btnFind->click();
            (take ? addr.bbtnOK : addr.bbtnCancel)->click();
            return addr.result();
        });
        w.btnZip->click();
        QCOMPARE(w.edtAddr1->text(), QString());
        QCOMPARE(w.edtZip->displayText(), QStringLiteral("___-___"));
        take = true;
        w.btnZip->click();
        w.FormActivate(); // coming back from the picker refills the lookup boxes
        QCOMPARE(w.edtAddr1->text(), QStringLiteral("서울 강남구 역삼동"));
        QCOMPARE(w.edtZip->text(), QStringLiteral("135-080"));
        QCOMPARE(w.cbxZone->currentText(), QStringLiteral("2교구"));
    }
};

QTEST_MAIN(TestNew)
#include "tst_new.moc"
