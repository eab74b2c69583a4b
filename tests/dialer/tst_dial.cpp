// The dial dialog and the dialer window against a pseudo-terminal standing in for the modem.
#include "core/dm.h"
#include "core/global.h"
#include "dialer/comm.h"
#include "dialer/dial.h"
#include "dialer/dialdlg.h"
#include "fakemodem.h"
#include "platform/inifile.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {
const QString CannotOpen = QStringLiteral("모뎀 포트를 열 수 없습니다.\r\n닫기 버튼을 눌러 주세요.");
const QString MinutePassed = QStringLiteral("1분이 지났습니다.\r\n자동으로 전화를 끊습니다.");
} // namespace

class TestDial : public QObject {
    Q_OBJECT

    OpenedRegister *r = nullptr;
    FakeModemLines *lines = nullptr;
    PseudoModem *modem = nullptr;

    void usePort(const QString &port) { IniFile->WriteString(QStringLiteral("Modem"), QStringLiteral("Com"), port); }

private slots:
    void init()
    {
        r = new OpenedRegister;
        IniFile = new IniStore(r->reg.folder() + QStringLiteral("/KELMO.INI"));
        lines = new FakeModemLines;
        modem = new PseudoModem;
    }
    void cleanup()
    {
        delete modem;
        delete lines;
        delete IniFile;
        IniFile = nullptr;
        delete r;
    }

    void dialDialogSendsTheCommandAndHangsUp()
    {
        usePort(modem->port());
        QByteArray sent;
        QString shown;
        ScriptedModals modals([&](QDialog &d) {
            auto &dlg = static_cast<TfrmDialDlg &>(d);
            shown = dlg.stxtNo->text();
            (void)QTest::qWaitFor([&] { return (sent += modem->received()).endsWith('\n'); });
            dlg.btnClose->click();
            return 0;
        });
        DialWithDialog(QStringLiteral("02-123-4567"), QStringLiteral("전화 걸기 [홍길동의 전화1]"));
        QCOMPARE(shown, QStringLiteral("02-123-4567"));
        QCOMPARE(sent, QByteArray("ATDT 02-123-4567\r\n"));
        QCOMPARE(DialNumber, QStringLiteral("02-123-4567"));
        QCOMPARE(lines->changes().last(), QStringLiteral("DTR-"));

        // a stored line break never ends the command early: no second command reaches the modem
        sent.clear();
        DialWithDialog(QStringLiteral("02-123-4567\rATZ\n\x1b\x7f\u0085;"), QStringLiteral("전화 걸기"));
        QCOMPARE(sent, QByteArray("ATDT 02-123-4567ATZ;\r\n"));
    }

    void dialDialogWithoutAPortSaysSoAndHangsUpOnceAfterAMinute()
    {
        ScriptedMessages boxes; // no Modem key: the port "3", which is no device
        boxes.expect(CannotOpen);
        boxes.expect(MinutePassed);
        bool timerRanUnderMessage = false;
        ScriptedModals modals([&](QDialog &d) {
            auto &dlg = static_cast<TfrmDialDlg &>(d);
            dlg.show();
            // The timer is stopped while the message is up: no second hang-up behind it.
            boxes.onShow([&](const MessageRequest &) { timerRanUnderMessage |= dlg.tmrTimer->isActive(); });
            dlg.tmrTimer->start(5);
            (void)QTest::qWaitFor([&] { return !dlg.isVisible(); });
            return 0;
        });
        DialWithDialog(QStringLiteral("02-123-4567"), QStringLiteral("전화 걸기"));
        QVERIFY(!timerRanUnderMessage);
        QVERIFY(boxes.allAnswered());
    }

    void dialerListsTheMembersNumbersAndSendsTheTypedOneWithItsBlanks()
    {
        r->reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"),
                         {{QStringLiteral("Hp"), QStringLiteral("010-1")}, {QStringLiteral("Jfax"), QStringLiteral("02-9")}});
        r->open();
        usePort(modem->port());
        TfrmDial w;
        w.show();
        QCOMPARE(w.cbxNo->count(), 2);
        QCOMPARE(w.cbxNo->currentText(), QStringLiteral("010-1"));
        QCOMPARE(w.cbxNo->itemText(1), QStringLiteral("02-9"));
        w.cbxNo->setEditText(QStringLiteral(" 02-123-4567 "));
        w.bbtnDial->click();
        QCOMPARE(w.pnlState->text(), QStringLiteral("전화를 걸고 있습니다. 수화기를 들어 주세요."));
        QVERIFY(!w.bbtnDial->isEnabled() && w.bbtnStop->isEnabled() && !w.cbxPort->isEnabled());
        QByteArray sent;
        QTRY_COMPARE(sent += modem->received(), QByteArray("ATDT  02-123-4567 \r\n"));

        ScriptedMessages boxes;
        boxes.expect(MinutePassed).expect(QStringLiteral("전화를 끊었습니다."));
        w.tmrTimer->start(5);
        QTRY_VERIFY(boxes.allAnswered());
        QVERIFY(!w.comComm->Connected());
        QVERIFY(!w.tmrTimer->isActive());
        QCOMPARE(w.pnlState->text(), QStringLiteral("전화번호를 입력하세요."));
        QCOMPARE(w.cbxNo->itemText(w.cbxNo->count() - 1), QStringLiteral(" 02-123-4567 "));
        // A hang-up by hand stops the timer before its message is up. Control characters in
        // the number never reach the modem; the dial modifiers do.
        w.cbxNo->setEditText(QStringLiteral("9,\t02-1\x1b;"));
        w.tmrTimer->setInterval(60000); // no hang-up of its own while the command is read
        w.bbtnDial->click();
        sent.clear();
        QTRY_COMPARE(sent += modem->received(), QByteArray("ATDT 9,02-1;\r\n"));
        bool timerUnderMessage = true;
        boxes.expect(QStringLiteral("전화를 끊었습니다."));
        boxes.onShow([&](const MessageRequest &) { timerUnderMessage = w.tmrTimer->isActive(); });
        w.bbtnStop->click();
        QVERIFY(!timerUnderMessage);
    }

    // The first Enter dials the member's number; Enter on the focused "끊기" then hangs up.
    void dialerDialsAndHangsUpByEnter()
    {
        r->reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"), {{QStringLiteral("Tel1"), QStringLiteral("031-222-3333")}});
        r->open();
        usePort(modem->port());
        TfrmDial w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(w.comComm->Connected());
        QCOMPARE(QApplication::focusWidget(), w.bbtnStop);
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("전화를 끊었습니다."));
        QTest::keyClick(w.bbtnStop, Qt::Key_Return);
        QVERIFY(boxes.allAnswered());
        QVERIFY(!w.comComm->Connected());
    }

    void dialerRefusesEmptyAndOverlongNumbersAndStoresTheChosenPort()
    {
        usePort(modem->port()); // not one of the machine's ports: nothing chosen
        {
            TfrmDial w;
            w.show();
            w.cbxNo->setEditText(QStringLiteral("   "));
            w.bbtnDial->click();
            QCOMPARE(w.pnlState->text(), QStringLiteral("전화번호를 입력하세요."));
            w.cbxNo->setEditText(QString(MaxDialNumberBytes + 1, QLatin1Char('1')));
            w.bbtnDial->click();
            QCOMPARE(w.pnlState->text(), QStringLiteral("전화번호가 너무 깁니다."));
            QVERIFY(!w.comComm->Connected());
            QVERIFY(w.close());
        }
        QVERIFY(modem->received().isEmpty());
        QCOMPARE(IniFile->ReadString(QStringLiteral("Modem"), QStringLiteral("Com"), QStringLiteral("3")), QString());
        TfrmDial w; // the empty port opens nothing
        w.cbxNo->setEditText(QStringLiteral("02-1"));
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("모뎀 포트를 열 수 없습니다.\r\n올바른 모뎀 포트를 설정해 주세요."));
        w.bbtnDial->click();
        QVERIFY(w.bbtnDial->isEnabled() && !w.bbtnStop->isEnabled());
    }
};

QTEST_MAIN(TestDial)
#include "tst_dial.moc"
