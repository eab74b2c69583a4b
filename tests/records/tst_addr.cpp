// The address picker and the head-of-household picker: searches, enabling, and where a pick goes.
#include "core/dm.h"
#include "core/global.h"
#include "platform/dbcontrols.h"
#include "records/addr.h"
#include "records/gendlg.h"
#include "scripted.h"
#include "tempregister.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

void addZip(TempRegister &reg, const QString &zip, const QString &zdo, const QString &zgun, const QString &zaddr,
            const QVariant &addr)
{
    reg.db().execute(QStringLiteral("INSERT INTO ZIP (ZIP, ZDO, ZGUN, ZADDR, ADDR) VALUES (:z, :d, :g, :t, :a)"),
                     {{QStringLiteral("z"), zip}, {QStringLiteral("d"), zdo}, {QStringLiteral("g"), zgun},
                      {QStringLiteral("t"), zaddr}, {QStringLiteral("a"), addr}});
}

void fillZips(TempRegister &reg)
{
    addZip(reg, QStringLiteral("135-080"), QStringLiteral("서울"), QStringLiteral("강남구"), QStringLiteral("역삼동"),
           QStringLiteral("서울 강남구 역삼동"));
    addZip(reg, QStringLiteral("135-081"), QStringLiteral("서울"), QStringLiteral("강남구"), QStringLiteral("역삼1동"),
           QStringLiteral("서울 강남구 역삼1동"));
    // rows of older directories: no address text, no dash
    addZip(reg, QStringLiteral("612021"), QStringLiteral("부산"), QStringLiteral("해운대구"), QStringLiteral("우동"), QVariant());
}

QString field(const char *name)
{
    return frmDM->tbMaster.fieldByName(QString::fromLatin1(name)).asString();
}

// Searches and takes the first row found.
int pick(TfrmAddr &addr, const QString &town)
{
    addr.edtAddr->setText(town);
    addr.btnFind->click();
    addr.bbtnOK->click();
    return addr.result();
}

} // namespace

class TestPickers : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        AddrForJob = false;
        PickedAddr.clear();
        PickedZip.clear();
    }

    void searchEnablesOnlyWhileRowsAreFound()
    {
        OpenedRegister r;
        fillZips(r.reg);
        r.open();
        TfrmAddr addr;
        QVERIFY(!addr.bbtnOK->isEnabled());
        QVERIFY(!addr.dgrdAddr->isEnabled());

        addr.edtAddr->setText(QStringLiteral("  "));
        addr.btnFind->click(); // nothing to search: no message
        QVERIFY(!addr.qrFind.active());

        addr.edtAddr->setText(QStringLiteral(" 역삼 "));
        addr.btnFind->click();
        QCOMPARE(addr.qrFind.recordCount(), 2);
        QVERIFY(addr.bbtnOK->isEnabled());
        QVERIFY(addr.dgrdAddr->isEnabled());

        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("찾는 동(면) 이름이 없습니다."));
            addr.edtAddr->setText(QStringLiteral("삼성"));
            addr.btnFind->click();
        }
        QVERIFY(!addr.bbtnOK->isEnabled());
        QVERIFY(!addr.dgrdAddr->isEnabled());

        // Enter in the town box searches; it does not take a row
        addr.show();
        addr.edtAddr->setText(QStringLiteral("우"));
        QTest::keyClick(addr.edtAddr, Qt::Key_Return);
        QCOMPARE(addr.qrFind.recordCount(), 1);
        QVERIFY(addr.isVisible());
        QCOMPARE(PickedAddr, QString());
    }

    void pickGoesToTheGlobalsWithoutAnEditedRow()
    {
        OpenedRegister r;
        fillZips(r.reg);
        r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"), {{QStringLiteral("Addr1"), QStringLiteral("옛 주소")}});
        r.open();
        AddrForJob = true; // left so by the workplace window: the settings dialog must still get the globals
        {
            TfrmAddr addr;
            QVERIFY(!addr.bbtnClear->isEnabled()); // nothing to clear
            QCOMPARE(pick(addr, QStringLiteral("역삼동")), int(mrOk));
        }
        QCOMPARE(PickedAddr, QStringLiteral("서울 강남구 역삼동"));
        QCOMPARE(PickedZip, QStringLiteral("135080"));
        QCOMPARE(field("Addr1"), QStringLiteral("옛 주소"));

        // a row without address text gives its town's names; a code without a dash its six digits
        {
            TfrmAddr addr;
            QCOMPARE(pick(addr, QStringLiteral("우동")), int(mrOk));
        }
        QCOMPARE(PickedAddr, QStringLiteral("부산 해운대구 우동"));
        QCOMPARE(PickedZip, QStringLiteral("612021"));

        // cancelled: the previous pick stays and the caller is told nothing was taken
        TfrmAddr addr;
        addr.edtAddr->setText(QStringLiteral("역삼"));
        addr.btnFind->click();
        addr.bbtnCancel->click();
        QCOMPARE(addr.result(), int(mrCancel));
        QCOMPARE(PickedAddr, QStringLiteral("부산 해운대구 우동"));
    }

    void pickAndClearWriteTheEditedRow()
    {
        OpenedRegister r;
        fillZips(r.reg);
        r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"),
                        {{QStringLiteral("Addr2"), QStringLiteral("101호")}, {QStringLiteral("Jaddr2"), QStringLiteral("3층")}});
        Table &t = r.open().tbMaster;
        t.edit();
        {
            TfrmAddr addr;
            QCOMPARE(pick(addr, QStringLiteral("역삼1")), int(mrOk));
        }
        QCOMPARE(field("Addr1"), QStringLiteral("서울 강남구 역삼1동"));
        QCOMPARE(field("Zip"), QStringLiteral("135081"));
        QCOMPARE(field("Addr2"), QStringLiteral("101호")); // the second line is the user's
        QCOMPARE(PickedAddr, QString());

        AddrForJob = true;
        {
            TfrmAddr addr;
            pick(addr, QStringLiteral("우"));
        }
        QCOMPARE(field("Jaddr1"), QStringLiteral("부산 해운대구 우동"));
        QCOMPARE(field("Jzip"), QStringLiteral("612021"));
        QCOMPARE(field("Addr1"), QStringLiteral("서울 강남구 역삼1동"));
        {
            TfrmAddr addr;
            QVERIFY(addr.bbtnClear->isEnabled());
            addr.bbtnClear->click();
            QVERIFY(addr.result() != mrOk);
        }
        QCOMPARE(field("Jaddr1"), QString());
        QCOMPARE(field("Jaddr2"), QString());
        QCOMPARE(field("Jzip"), QString());
        QCOMPARE(field("Addr1"), QStringLiteral("서울 강남구 역삼1동"));
        t.post();
        QCOMPARE(r.reg.db().scalar(QStringLiteral("SELECT ZIP FROM MASTER WHERE INO = '1'")).toString(), QStringLiteral("135081"));
    }

    void headPickerListsHeadsOnly()
    {
        {
            OpenedRegister r;
            r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"), {{QStringLiteral("G"), false}});
            r.open();
            TfrmGenDlg dlg;
            QVERIFY(!dlg.bbtnOK->isEnabled());
            QVERIFY(!dlg.dgrdList->isEnabled());
            QVERIFY(dlg.bbtnCancel->isEnabled());
        }
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("1"), QStringLiteral("하늘"), {{QStringLiteral("G"), true}, {QStringLiteral("Tel1"), QStringLiteral("02-1")}});
        r.reg.addMember(QStringLiteral("2"), QStringLiteral("가람"),
                        {{QStringLiteral("G"), true}, {QStringLiteral("Addr1"), QStringLiteral("서울")},
                         {QStringLiteral("Zip"), QStringLiteral("135080")}, {QStringLiteral("Zone"), QStringLiteral("1교구")}});
        r.reg.addMember(QStringLiteral("3"), QStringLiteral("나무"));
        r.open();
        TfrmGenDlg dlg;
        QCOMPARE(dlg.qrList.recordCount(), 2);
        QVERIFY(dlg.bbtnOK->isEnabled());
        QCOMPARE(dlg.qrList.fieldByName(QStringLiteral("Zip")).displayText(), QStringLiteral("135-080"));
        dlg.bbtnOK->click(); // the first by name
        QCOMPARE(dlg.result(), int(mrOk));
        QCOMPARE(dlg.HeadIno, QStringLiteral("2"));
        QCOMPARE(dlg.HeadName, QStringLiteral("가람"));
        QCOMPARE(dlg.HeadTel1, QString());
        QCOMPARE(dlg.HeadZip, QStringLiteral("135080"));
        QCOMPARE(dlg.HeadZone, QStringLiteral("1교구"));

        TfrmGenDlg cancelled;
        cancelled.bbtnCancel->click();
        QCOMPARE(cancelled.HeadIno, QString());
    }

    // Both pickers, kept from reading by another program's lock, read by themselves once it is
    // gone: the town search by the name it was given.
    void pickersStoppedByALockReadOnceFree()
    {
        OpenedRegister r;
        fillZips(r.reg);
        r.reg.addMember(QStringLiteral("1"), QStringLiteral("하늘"), {{QStringLiteral("G"), true}});
        r.open();
        frmDM->dbKelmo.setBusyTimeout(100);
        RegisterLock other(r.reg.databaseFile());
        other.take();
        ScriptedMessages boxes;
        const QString locked = other.message();
        boxes.expect(locked);
        TfrmGenDlg heads;
        QVERIFY(!heads.bbtnOK->isEnabled());
        boxes.expect(locked);
        TfrmAddr addr;
        addr.edtAddr->setText(QStringLiteral("역삼"));
        addr.btnFind->click();
        addr.edtAddr->setText(QStringLiteral("우")); // typed afterwards, not searched for
        QVERIFY(!addr.bbtnOK->isEnabled());
        other.release();
        QTRY_VERIFY(heads.bbtnOK->isEnabled());
        QCOMPARE(heads.qrList.recordCount(), 1);
        QTRY_VERIFY(addr.bbtnOK->isEnabled());
        QCOMPARE(addr.qrFind.recordCount(), 2);
        QCOMPARE(boxes.shown().size(), 2);
    }
};

QTEST_MAIN(TestPickers)
#include "tst_addr.moc"
