// The family editor: row numbers, the birthday flag, the required fields and dates, the modes and
// counts, and the family memo question on closing.
#include "core/dm.h"
#include "records/family.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

namespace {
void addFamily(TempRegister &reg, const QString &ino, int seq, const QString &name)
{
    reg.db().execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name, Rel) VALUES (:i, :s, :n, '처')"),
                     {{QStringLiteral("i"), ino}, {QStringLiteral("s"), seq}, {QStringLiteral("n"), name}});
}

QVariant stored(TempRegister &reg, const QString &sql)
{
    return reg.db().scalar(sql);
}

// Types text as the keyboard does, Hangul included.
void type(QWidget *w, const QString &text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

// Picks a relation the way the keyboard does on a closed drop-down list.
void chooseRelation(TfrmFamily &w)
{
    QTest::keyClick(w.dlcbxFrel, Qt::Key_Down);
}
} // namespace

class TestFamily : public QObject {
    Q_OBJECT

private slots:
    void rowsAreNumberedOneAboveTheHighest()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.addMember(QStringLiteral("B"), QStringLiteral("나홀로"));
        for (int seq : {1, 2, 10}) // 10 above 2: compared as numbers
            addFamily(r.reg, QStringLiteral("A"), seq, QStringLiteral("식구%1").arg(seq));
        r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('처'), ('아들')"));
        Table &m = r.open().tbMaster;
        m.first();
        QCOMPARE(m.fieldByName(QStringLiteral("Ino")).asString(), QStringLiteral("A"));
        m.edit();

        TfrmFamily w;
        QCOMPARE(w.countText(), QStringLiteral(" 가족 3 명"));
        w.bbtnAdd->click();
        QCOMPARE(frmDM->tbFamily.fieldByName(QStringLiteral("Seq")).asInteger(), 11);
        QCOMPARE(w.dcbxL->currentText(), QStringLiteral("음"));
        QVERIFY(w.pnlFamily->isEnabled() && !w.dgrdFamily->isEnabled() && !w.dmemFmemo->isEnabled());
        chooseRelation(w);
        type(w.dedtName, QStringLiteral("막내"));
        QVERIFY(w.dchkF->isChecked());
        w.bbtnSave->click(); // no birthday: never offered to the birthday lists
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT F FROM FAMILY WHERE Seq = 11")).toInt(), 0);
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT R FROM FAMILY WHERE Seq = 11")).toInt(), 1);
        QCOMPARE(w.countText(), QStringLiteral(" 가족 4 명"));
        QVERIFY(!w.pnlFamily->isEnabled() && w.bbtnEdit->isEnabled() && w.dmemFmemo->isEnabled());

        w.bbtnAdd->click();
        chooseRelation(w);
        type(w.dedtName, QStringLiteral("첫째"));
        QTest::keyClicks(w.dedtBday, QStringLiteral("19900101"));
        w.bbtnSave->click();
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT F FROM FAMILY WHERE Seq = 12")).toInt(), 1);
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT Bday FROM FAMILY WHERE Seq = 12")).toString(), QStringLiteral("19900101"));

        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("가족 메모를 저장하시겠습니까?"), IDNO);
        w.bbtnClose->click();
        QCOMPARE(m.state(), DatasetState::Browse);

        // another member's first row is 1
        m.last();
        TfrmFamily other;
        other.bbtnAdd->click();
        QCOMPARE(frmDM->tbFamily.fieldByName(QStringLiteral("Seq")).asInteger(), 1);
        other.close(); // the member row was not in edit state: no question
    }

    void requiredFieldsAndDeletingTheLastRow()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('처')"));
        r.open();
        TfrmFamily w;
        QVERIFY(!w.bbtnEdit->isEnabled() && !w.bbtnDel->isEnabled() && !w.bbtnSave->isEnabled());
        w.bbtnAdd->click();
        type(w.dedtName, QStringLiteral("이름"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("관계와 성명은 반드시 입력해야 합니다."));
            w.bbtnSave->click(); // no relation chosen
        }
        QCOMPARE(frmDM->tbFamily.state(), DatasetState::Insert);
        chooseRelation(w);
        w.bbtnSave->click();
        QVERIFY(w.bbtnEdit->isEnabled() && w.bbtnDel->isEnabled());
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("정말 삭제하시겠습니까?"), IDYES);
            w.bbtnDel->click();
        }
        QCOMPARE(w.countText(), QStringLiteral(" 가족 0 명"));
        QVERIFY(!w.bbtnEdit->isEnabled() && !w.bbtnDel->isEnabled());
    }

    // Tab walks the input panel row by row: what is typed lands where it reads.
    void tabFollowsTheInputRows()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('처')"));
        r.open();
        TfrmFamily w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.bbtnAdd->click();
        chooseRelation(w);
        type(w.dedtName, QStringLiteral("아내"));
        w.dedtBday->setFocus();
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        type(QApplication::focusWidget(), QStringLiteral("회사"));
        w.bbtnSave->click();
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT Job FROM FAMILY")).toString(), QStringLiteral("회사"));
    }

    // A birthday that cannot exist by the calendar the row names is refused, the row kept as typed.
    void impossibleBirthdayIsRefused()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('처')"));
        r.open();
        TfrmFamily w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.bbtnAdd->click();
        chooseRelation(w);
        type(w.dedtName, QStringLiteral("아이"));
        const auto refused = [&](const QString &bday) {
            w.dedtBday->selectAll();
            QTest::keyClicks(w.dedtBday, bday);
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[생년월일] 일자 형식이 잘못되었습니다."));
            w.bbtnSave->click();
            QCOMPARE(frmDM->tbFamily.state(), DatasetState::Insert);
            QVERIFY(w.dedtBday->hasFocus());
        };
        refused(QStringLiteral("19991340"));
        QTest::keyClick(w.dcbxL, Qt::Key_Down); // 양: a solar 30 February does not exist
        refused(QStringLiteral("19990230"));
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt(), 0);
        QTest::keyClick(w.dcbxL, Qt::Key_Up); // 음: a lunar one does
        w.bbtnSave->click();
        QCOMPARE(stored(r.reg, QStringLiteral("SELECT Bday || L FROM FAMILY")).toString(), QStringLiteral("19990230음"));
    }

    void closingAsksAboutTheMemoAndDropsTheRowBeingTyped()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"), {{QStringLiteral("Fmemo"), QStringLiteral("옛 메모")}});
        r.reg.db().execute(QStringLiteral("INSERT INTO FREL (FREL) VALUES ('처')"));
        Table &m = r.open().tbMaster;
        for (int answer : {IDNO, IDYES}) {
            m.edit();
            TfrmFamily w;
            w.dmemFmemo->setPlainText(QStringLiteral("새 메모"));
            w.bbtnAdd->click();
            chooseRelation(w);
            type(w.dedtName, QStringLiteral("버려질"));
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("가족 메모를 저장하시겠습니까?"), answer);
            w.close();
            QCOMPARE(boxes.shown().constLast().caption, QStringLiteral("가족 메모 저장"));
            QCOMPARE(m.state(), DatasetState::Browse);
            QCOMPARE(frmDM->tbFamily.state(), DatasetState::Browse);
            QCOMPARE(stored(r.reg, QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt(), 0);
            QCOMPARE(stored(r.reg, QStringLiteral("SELECT Fmemo FROM MASTER")).toString(),
                     answer == IDYES ? QStringLiteral("새 메모") : QStringLiteral("옛 메모"));
        }
    }
};

QTEST_MAIN(TestFamily)
#include "tst_family.moc"
