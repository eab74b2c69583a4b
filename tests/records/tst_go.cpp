// The go-to window: exact and nearest searches by name or telephone, on the index they search.
#include "core/dm.h"
#include "records/go.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class TestGo : public QObject {
    Q_OBJECT

private slots:
    void searchesByNameAndTelephone()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"), {{QStringLiteral("Tel1"), QStringLiteral("02-300")}});
        r.reg.addMember(QStringLiteral("2"), QStringLiteral("박영희"), {{QStringLiteral("Tel1"), QStringLiteral("02-100")}});
        r.reg.addMember(QStringLiteral("3"), QStringLiteral("이민수"), {{QStringLiteral("Tel1"), QStringLiteral("02-200")}});
        Table &t = r.open().tbMaster;
        TfrmGo go;
        go.show();
        auto name = [&] { return t.fieldByName(QStringLiteral("Name")).asString(); };

        go.edtGo->setText(QStringLiteral("김"));
        go.bbtnGo->click();
        QCOMPARE(name(), QStringLiteral("김철수"));
        t.last();
        go.chkP->setChecked(true);
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("완전 일치하는 것이 없습니다."));
            go.bbtnGo->click();
        }
        QCOMPARE(name(), QStringLiteral("이민수")); // stayed
        go.edtGo->setText(QStringLiteral("   "));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("내용을 입력하세요."));
            go.bbtnGo->click();
        }

        go.rdgConTel->click();
        QCOMPARE(go.edtGo->text(), QString());
        QCOMPARE(t.indexName(), QStringLiteral("Tel_idx"));
        t.first();
        QCOMPARE(name(), QStringLiteral("박영희")); // the main grid follows the telephone order
        go.chkP->setChecked(false);
        go.edtGo->setText(QStringLiteral("02-15"));
        go.bbtnGo->click();
        QCOMPARE(name(), QStringLiteral("이민수"));

        // the search uses its own index even when another command changed it meanwhile
        t.setIndexName(QStringLiteral("Name_idx"));
        go.edtGo->setText(QStringLiteral("02-300"));
        go.chkP->setChecked(true);
        go.bbtnGo->click();
        QCOMPARE(name(), QStringLiteral("김철수"));

        // Esc hides it and the name order comes back
        QTest::keyClick(&go, Qt::Key_Escape);
        QVERIFY(!go.isVisible());
        QCOMPARE(t.indexName(), QStringLiteral("Name_idx"));
    }

    // Shown without the keys, the window hands them to the search text whenever it gets them.
    void activatedWindowTypesIntoTheSearchText()
    {
        OpenedRegister r;
        r.open();
        QWidget other;
        other.show();
        TfrmGo go;
        go.show();
        const auto bringForward = [](QWidget *w) {
            w->activateWindow();
            return QTest::qWaitForWindowActive(w);
        };
        QVERIFY(bringForward(&go));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("k"));
        go.chkP->setFocus(); // where the user left the keys
        QVERIFY(bringForward(&other));
        QVERIFY(bringForward(&go));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("k"));
        QCOMPARE(go.edtGo->text(), QStringLiteral("kk"));
    }
};

QTEST_MAIN(TestGo)
#include "tst_go.moc"
