// The postal-code editor: counts and modes, the required fields and the code's form, Esc,
// search as you type, and deleting.
#include "core/dm.h"
#include "records/zip.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
void type(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

// Types a whole row into the input panel.
void fill(TfrmZip &w, const QString &zip, const QString &zdo, const QString &gun, const QString &addr)
{
    QTest::keyClicks(w.dedtZip, zip);
    type(w.dedtDo, zdo);
    type(w.dedtGun, gun);
    type(w.dedtAddr, addr);
}

QString current(const char *field)
{
    return frmDM->tbZip.fieldByName(QString::fromLatin1(field)).asString();
}
} // namespace

class TestZip : public QObject {
    Q_OBJECT

private slots:
    void addingWithItsRequiredFieldsAndEscape()
    {
        OpenedRegister r;
        r.open();
        TfrmZip w;
        w.show();
        QCOMPARE(w.countText(), QStringLiteral(" 자료 0 건"));
        QVERIFY(!w.bbtnEdit->isEnabled() && !w.bbtnDel->isEnabled() && !w.pnlZip->isEnabled());
        QTest::keyClick(&w, Qt::Key_Escape); // browsing: the window stays
        QVERIFY(w.isVisible());

        w.bbtnAdd->click();
        QVERIFY(!w.pnlZn->isEnabled() && !w.dgrdZip->isEnabled());
        fill(w, QStringLiteral("123456"), QStringLiteral("서울"), QStringLiteral("종로구"), QString());
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("각 내용은 반드시 입력해야 합니다."));
            w.bbtnSave->click();
        }
        QCOMPARE(frmDM->tbZip.state(), DatasetState::Insert);
        type(w.dedtAddr, QStringLiteral("청운동"));
        w.bbtnSave->click();
        QCOMPARE(w.countText(), QStringLiteral(" 자료 1 건"));
        QVERIFY(w.pnlZn->isEnabled() && w.bbtnEdit->isEnabled() && !w.bbtnSave->isEnabled());
        QCOMPARE(r.reg.db().scalar(QStringLiteral("SELECT ZIP || '/' || ADDR FROM ZIP")).toString(),
                 QStringLiteral("123-456/서울 종로구 청운동"));

        // a code short of its digits is not a code
        w.bbtnAdd->click();
        fill(w, QStringLiteral("12"), QStringLiteral("부산"), QStringLiteral("중구"), QStringLiteral("중앙동"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("각 내용은 반드시 입력해야 합니다."));
            w.bbtnSave->click();
        }
        QTest::keyClick(w.dedtDo, Qt::Key_Escape); // editing: cancels the row
        QVERIFY(w.isVisible());
        QCOMPARE(frmDM->tbZip.state(), DatasetState::Browse);
        QVERIFY(w.bbtnAdd->isEnabled() && !w.bbtnCancel->isEnabled());
        QCOMPARE(w.countText(), QStringLiteral(" 자료 1 건"));

        // closing while changing a row discards the change
        w.bbtnEdit->click();
        type(w.dedtDo, QStringLiteral("시"));
        w.close();
        QCOMPARE(r.reg.db().scalar(QStringLiteral("SELECT ZDO FROM ZIP")).toString(), QStringLiteral("서울"));
        QCOMPARE(frmDM->tbZip.indexName(), QStringLiteral("Zip"));
    }

    void searchAsYouTypeAndDelete()
    {
        OpenedRegister r;
        r.reg.db().execute(QStringLiteral(
            "INSERT INTO ZIP (ZIP, ZDO, ZGUN, ZADDR, ADDR) VALUES "
            "('110-031', '서울', '종로구', '청운동', '서울 종로구 청운동'), "
            "('600-011', '부산', '중구', '중앙동', '부산 중구 중앙동'), "
            "('100-011', '서울', '중구', '충정로', '서울 중구 충정로')"));
        r.open();
        TfrmZip w;
        w.show();
        QCOMPARE(current("ZIP"), QStringLiteral("100-011")); // in postal-code order
        type(w.edtAddr, QStringLiteral("부산"));
        QCOMPARE(current("ZIP"), QStringLiteral("600-011"));
        type(w.edtAddr, QStringLiteral("x")); // "부산x": nothing starts so
        QCOMPARE(current("ZIP"), QStringLiteral("600-011"));
        w.edtAddr->setText(QStringLiteral("서울 종"));
        QTest::keyClick(w.edtAddr, Qt::Key_Return);
        QCOMPARE(current("ZIP"), QStringLiteral("110-031"));
        QVERIFY(w.isVisible()); // Enter is the search's, not the window's

        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("정말 삭제하시겠습니까?"), IDNO).expect(QStringLiteral("정말 삭제하시겠습니까?"), IDYES);
        w.bbtnDel->click();
        QCOMPARE(w.countText(), QStringLiteral(" 자료 3 건"));
        w.bbtnDel->click();
        QCOMPARE(w.countText(), QStringLiteral(" 자료 2 건"));
        QCOMPARE(r.reg.db().scalar(QStringLiteral("SELECT COUNT(*) FROM ZIP WHERE ZIP = '110-031'")).toInt(), 0);
        QCOMPARE(boxes.shown().constFirst().caption, QStringLiteral("삭제"));
    }
};

QTEST_MAIN(TestZip)
#include "tst_zip.moc"
