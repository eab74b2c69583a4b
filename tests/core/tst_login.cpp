// The login: the stored user name and password, trimmed as typed; no way out but the exit button.
#include "core/global.h"
#include "core/login.h"
#include "platform/dbcontrols.h"
#include "scripted.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QPushButton>
#include <QTest>

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallEditRules(); // as start-up does
    }

    void init()
    {
        UserName = QStringLiteral("Admin");
        Password = QStringLiteral(" 비밀1 "); // stored with blanks at both ends
    }

    void acceptsTrimmedNameAndPassword()
    {
        TfrmLogin login;
        login.show();
        login.edtUser->setText(QStringLiteral("  Admin "));
        login.edtPswd->setText(QStringLiteral("비밀1"));
        login.btnOk->click();
        QVERIFY(LoginAccepted);
        QCOMPARE(login.result(), int(mrOk));
        QVERIFY(login.edtPswd->testAttribute(Qt::WA_InputMethodEnabled));
        // every character shown as "*", and the captions whole
        QCOMPARE(login.edtPswd->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, login.edtPswd), int('*'));
        for (QLabel *caption : login.findChildren<QLabel *>())
            QVERIFY2(caption->contentsRect().width() >= caption->fontMetrics().horizontalAdvance(caption->text()),
                     qPrintable(caption->text()));
    }

    // What is pasted goes in on one line, as typing gives it.
    void pastedLineBreaksBecomeBlanks()
    {
        UserName = QStringLiteral("Kim Admin");
        Password = QStringLiteral("ab cd");
        TfrmLogin login;
        login.show();
        QGuiApplication::clipboard()->setText(QStringLiteral("Kim\nAdmin"));
        login.edtUser->paste();
        QGuiApplication::clipboard()->setText(QStringLiteral("ab\r\ncd"));
        login.edtPswd->paste();
        QCOMPARE(login.edtUser->text(), QStringLiteral("Kim Admin"));
        QCOMPARE(login.edtPswd->text(), QStringLiteral("ab cd"));
        login.btnOk->click();
        QVERIFY(LoginAccepted);

        // one stored with a line break, before edits took none, is typed with a blank
        Password = QStringLiteral("ab\ncd");
        TfrmLogin again;
        again.show();
        again.edtUser->setText(QStringLiteral("Kim Admin"));
        again.edtPswd->setText(QStringLiteral("ab cd"));
        again.btnOk->click();
        QVERIFY(LoginAccepted);
    }

    void wrongNameIsToldBeforeThePasswordIsLookedAt()
    {
        TfrmLogin login;
        login.show();
        login.edtUser->setText(QStringLiteral("admin")); // letter case counts
        login.edtPswd->setText(QStringLiteral("wrong"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("사용자 이름이 맞지 않습니다."));
            login.btnOk->click();
        }
        QVERIFY(!LoginAccepted);
        QVERIFY(login.isVisible());
        QCOMPARE(login.edtUser->text(), QStringLiteral("admin")); // not cleared
        login.edtUser->setText(QStringLiteral("Admin"));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("비밀 번호가 맞지 않습니다."));
            login.btnOk->click();
        }
        QVERIFY(login.isVisible());
    }

    void noWayOutButTheExitButton()
    {
        TfrmLogin login;
        login.show();
        QTest::keyClick(&login, Qt::Key_Escape);
        QVERIFY(login.isVisible());
        login.close();
        QVERIFY(login.isVisible());
        QVERIFY(!(login.windowFlags() & Qt::WindowCloseButtonHint));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("정말 종료하시겠습니까?"), IDNO);
            login.btnExit->click();
        }
        QVERIFY(login.isVisible());
        QVERIFY(!login.exitChosen());
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("정말 종료하시겠습니까?"), IDYES);
            login.btnExit->click();
            QCOMPARE(boxes.shown().first().caption, QStringLiteral("종료 확인"));
        }
        QVERIFY(login.exitChosen());
        QVERIFY(!login.isVisible());
        QVERIFY(!LoginAccepted);
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
