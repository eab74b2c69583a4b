// Message boxes as the Korean Windows ones answer keys, Qt's own windows in Korean, and windows
// centred where they can be seen whole.
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/translation.h"
#include "scripted.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void questionsAnswerToYAndN()
    {
        for (const auto &[key, expected] : {std::pair{Qt::Key_Y, int(IDYES)}, std::pair{Qt::Key_N, int(IDNO)}}) {
            QStringList buttons;
            QTimer::singleShot(0, this, [&, key = key] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                for (QAbstractButton *b : box->buttons())
                    buttons << b->text();
                QTest::keyClick(box, key);
                QTimer::singleShot(1000, box, [box] { box->done(-1); }); // the key did not answer
            });
            QCOMPARE(MessageBox(QStringLiteral("지울까요?"), {}, MsgButtons::YesNo, MsgIcon::Question), expected);
            QCOMPARE(buttons, (QStringList{QStringLiteral("예(&Y)"), QStringLiteral("아니요(&N)")}));
        }
    }

    // A failure met again during one action (every cell of a paint, then the command that caused
    // it) opens one box; the user's next key may open another.
    void oneMessagePerUserAction()
    {
        const QString locked = QStringLiteral("다른 프로그램이 사용하고 있습니다.");
        ScriptedMessages boxes;
        boxes.expect(locked).expect(locked);
        PostError(locked);
        PostError(locked);
        Guarded([&] { throw std::runtime_error(locked.toStdString()); });
        QCoreApplication::processEvents();
        QCOMPARE(boxes.shown().size(), 1);
        QWidget grid;
        QTest::keyClick(&grid, Qt::Key_Down);
        PostError(locked);
        QCoreApplication::processEvents();
        QCOMPARE(boxes.shown().size(), 2);
    }

    void qtDialogsSpeakKorean()
    {
        QVERIFY(InstallQtKoreanTranslation());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("열기(&O)"));
    }

    // A window larger than its owner opens whole on the screen, not partly left of it.
    void centredWithinTheScreen()
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget owner;
        owner.setGeometry(available.left(), available.top(), 200, 150);
        TForm large;
        large.resize(available.width() - 40, 300);
        large.centreOn(&owner);
        QVERIFY2(large.x() >= available.left(), qPrintable(QString::number(large.x())));
        QVERIFY(large.y() >= available.top());
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
