// The history and visit editors: the values of a new row, duplicate keys and impossible dates and
// times refused with what was typed kept, the companions' count, and closing while a row is being
// typed.
#include "core/dm.h"
#include "core/global.h"
#include "platform/clock.h"
#include "records/study.h"
#include "records/visit.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {
QVariant stored(TempRegister &reg, const QString &sql)
{
    return reg.db().scalar(sql);
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        Clock::setFixed(QDateTime(QDate(2027, 3, 5), QTime(14, 7)));
    }
    void cleanup()
    {
        Clock::setFixed(std::nullopt);
    }

    void visitsNewValuesDuplicatesAndTheCompanionCount()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.db().execute(QStringLiteral("INSERT INTO VISIT (Ino, Vday, Vtime, Leader, Fellow) "
                                          "VALUES ('A', '20270305', '1000', '목사', 4)"));
        r.open();
        UserName = QStringLiteral("P김목사님입니다"); // 15 bytes for a field of 10
        Table &v = frmDM->tbVisit;
        TfrmVisit w;
        w.show();
        QCOMPARE(w.countText(), QStringLiteral(" 심방 1 회"));
        QVERIFY(w.dedtFellow->isVisible() && !w.udnFellow->isVisible());

        w.bbtnAdd->click();
        QCOMPARE(v.fieldByName(QStringLiteral("Vday")).asString(), QStringLiteral("20270305"));
        QCOMPARE(v.fieldByName(QStringLiteral("Vtime")).asString(), QStringLiteral("1407"));
        QCOMPARE(v.fieldByName(QStringLiteral("Leader")).asString(), QStringLiteral("P김목사님")); // 9 bytes: no half syllable
        QVERIFY(w.udnFellow->isVisible() && !w.dedtFellow->isVisible());
        QCOMPARE(w.mskFellow->text(), QStringLiteral("1"));

        // the same date and time as the stored visit
        w.dedtVtime->selectAll();
        QTest::keyClicks(w.dedtVtime, QStringLiteral("1000"));
        QTest::keyClick(w.udnFellow, Qt::Key_Up);
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("중복된 내용이 있습니다."));
            w.bbtnSave->click();
        }
        QCOMPARE(v.state(), DatasetState::Insert); // kept with what was typed
        QCOMPARE(v.fieldByName(QStringLiteral("Vtime")).asString(), QStringLiteral("1000"));
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT Leader || Fellow FROM VISIT")).toString(), QStringLiteral("목사4"));
        w.dedtVtime->selectAll();
        QTest::keyClicks(w.dedtVtime, QStringLiteral("1100"));
        w.bbtnSave->click();
        QCOMPARE(w.countText(), QStringLiteral(" 심방 2 회"));
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT Fellow FROM VISIT WHERE Vtime = '1100'")).toInt(), 2);

        // editing starts from the stored count and keeps it
        v.first();
        QCOMPARE(v.fieldByName(QStringLiteral("Vtime")).asString(), QStringLiteral("1000"));
        w.bbtnEdit->click();
        QCOMPARE(w.udnFellow->value(), 4);
        w.bbtnSave->click();
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT Fellow FROM VISIT WHERE Vtime = '1000'")).toInt(), 4);

        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("심방일자, 시간, 인도자는 반드시 입력해야 합니다."));
            w.bbtnAdd->click();
            w.dedtLeader->selectAll();
            QTest::keyClick(w.dedtLeader, Qt::Key_Delete);
            w.bbtnSave->click();
        }
        QCOMPARE(v.state(), DatasetState::Insert);
        w.close(); // no question: the row is dropped
        QCOMPARE(v.state(), DatasetState::Browse);
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT COUNT(*) FROM VISIT")).toInt(), 2);
    }

    void historyNewValuesRequiredTitleAndDuplicates()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.db().execute(QStringLiteral("INSERT INTO EDUC (EDUC) VALUES ('제자훈련'), ('성경공부')"));
        r.open();
        Table &s = frmDM->tbStudy;
        TfrmStudy w;
        w.show();
        w.bbtnAdd->click();
        QCOMPARE(s.fieldByName(QStringLiteral("Eday")).asString(), QStringLiteral("20270305"));
        QCOMPARE(s.fieldByName(QStringLiteral("Eday2")).asString(), QStringLiteral("20270305"));
        QCOMPARE(w.dlcbxEduc->count(), 2);
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("이력일자, 내용은 반드시 입력해야 합니다."));
            w.bbtnSave->click(); // no title
        }
        QCOMPARE(s.state(), DatasetState::Insert);

        // two entries with the same start, no end date and the same title
        for (int i = 0; i < 2; ++i) {
            if (i > 0)
                w.bbtnAdd->click();
            w.dedtEday2->selectAll();
            QTest::keyClick(w.dedtEday2, Qt::Key_Delete);
            QTest::keyClick(w.dlcbxEduc, Qt::Key_Down);
            ScriptedMessages boxes;
            if (i > 0)
                boxes.expect(QStringLiteral("중복된 내용이 있습니다."));
            w.bbtnSave->click();
        }
        QCOMPARE(s.state(), DatasetState::Insert);
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT COUNT(*) FROM STUDY WHERE Eday2 IS NULL")).toInt(), 1);
        QTest::keyClick(w.dlcbxEduc, Qt::Key_Down); // another title: stored
        w.bbtnSave->click();
        QCOMPARE(w.countText(), QStringLiteral(" 이력 2 건"));
        QVERIFY(!w.pnlStudy->isEnabled() && w.bbtnEdit->isEnabled());
    }

    // Dates and times that cannot exist are refused with the row kept as typed; nothing is stored.
    void impossibleDatesAndTimesAreRefused()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.db().execute(QStringLiteral("INSERT INTO EDUC (EDUC) VALUES ('제자훈련')"));
        r.open();
        const auto refused = [](TfrmSubRecord &w, QLineEdit *edit, const QString &text, const QString &message) {
            edit->selectAll();
            QTest::keyClicks(edit, text);
            ScriptedMessages boxes;
            boxes.expect(message);
            w.bbtnSave->click();
            QVERIFY(w.editing());
            QVERIFY(edit->hasFocus());
        };
        {
            TfrmVisit w;
            w.show();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            w.bbtnAdd->click();
            refused(w, w.dedtVdate, QStringLiteral("20261340"), QStringLiteral("[심방일자] 일자 형식이 잘못되었습니다."));
            w.dedtVdate->selectAll();
            QTest::keyClicks(w.dedtVdate, QStringLiteral("20261207"));
            for (const char *time : {"930", "2400", "0960"})
                refused(w, w.dedtVtime, QString::fromLatin1(time), QStringLiteral("[심방시간] 시간 형식이 잘못되었습니다."));
            QCOMPARE(stored(r.reg, QStringLiteral("SELECT COUNT(*) FROM VISIT")).toInt(), 0);
            w.dedtVtime->selectAll();
            QTest::keyClicks(w.dedtVtime, QStringLiteral("2359"));
            w.bbtnSave->click();
            QCOMPARE(stored(r.reg, QStringLiteral("SELECT Vday || Vtime FROM VISIT")).toString(), QStringLiteral("202612072359"));
        }
        TfrmStudy w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.bbtnAdd->click();
        QTest::keyClick(w.dlcbxEduc, Qt::Key_Down);
        refused(w, w.dedtEday2, QStringLiteral("20270229"), QStringLiteral("[이력일자] 일자 형식이 잘못되었습니다."));
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT COUNT(*) FROM STUDY")).toInt(), 0);
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
