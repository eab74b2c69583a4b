// Message boxes as the Korean Windows ones answer keys, Qt's own windows in Korean, and windows
// centred where they can be seen whole.
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/translation.h"
#include "scripted.h"

#include <QAbstractProxyModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void questionsAnswerToYAndN()
    {
        for (const auto &[key, expected] : {std::pair{Qt::Key_Y, int(IDYES)}, std::pair{Qt::Key_N, int(IDNO)}}) {
            QStringList buttons;
            const QString caption = QStringLiteral("삭제 확인 - 켈모누리 3.0");
            QTimer::singleShot(0, this, [&, key = key] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                // a short question keeps its whole caption
                QVERIFY(box->width() > box->fontMetrics().horizontalAdvance(caption) + 100);
                for (QAbstractButton *b : box->buttons())
                    buttons << b->text();
                QTest::keyClick(box, key);
                QTimer::singleShot(1000, box, [box] { box->done(-1); }); // the key did not answer
            });
            QCOMPARE(MessageBox(QStringLiteral("지울까요?"), caption, MsgButtons::YesNo, MsgIcon::Question), expected);
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

    // Texts, weekdays, file types and dates of Qt's own widgets are Korean.
    void qtDialogsSpeakKorean()
    {
        QVERIFY(InstallQtKoreanTranslation());
        QCOMPARE(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("열기(&O)"));

        QCalendarWidget calendar;
        calendar.setFirstDayOfWeek(Qt::Sunday);
        calendar.setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        const QAbstractItemModel *days = calendar.findChild<QTableView *>()->model();
        QCOMPARE(days->data(days->index(0, 0)).toString(), QStringLiteral("일"));

        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        QFileDialog files(nullptr, QString(), dir.path());
        files.setViewMode(QFileDialog::Detail);
        files.show();
        QAbstractItemModel *list = files.proxyModel();
        QVERIFY(list);
        QModelIndex sub;
        QTRY_VERIFY((sub = files.findChild<QTreeView *>(QStringLiteral("treeView"))->indexAt(QPoint(1, 1))).isValid());
        QCOMPARE(list->data(sub.siblingAtColumn(2)).toString(), QStringLiteral("폴더"));
        const QDateTime modified = QFileInfo(dir.path() + QStringLiteral("/sub")).lastModified();
        QCOMPARE(list->data(sub.siblingAtColumn(3)).toString(),
                 QLocale(QLocale::Korean).toString(modified, QLocale::ShortFormat));
    }

    // Enter presses the focused button, otherwise the window's default button; a memo keeps it.
    void enterPressesTheFocusedButtonElseTheDefault()
    {
        for (const bool withDefault : {true, false}) {
            TForm w;
            auto *edit = new QLineEdit(&w);
            auto *memo = new QPlainTextEdit(&w);
            QPushButton *ok = NamedButton(QStringLiteral("확인"), "btnOk", &w);
            QPushButton *cancel = NamedButton(QStringLiteral("취소"), "btnCancel", &w);
            auto *layout = new QVBoxLayout(&w);
            for (QWidget *c : {static_cast<QWidget *>(edit), static_cast<QWidget *>(memo), static_cast<QWidget *>(ok),
                               static_cast<QWidget *>(cancel)})
                layout->addWidget(c);
            QStringList pressed;
            connect(ok, &QPushButton::clicked, &w, [&] { pressed << QStringLiteral("ok"); });
            connect(cancel, &QPushButton::clicked, &w, [&] { pressed << QStringLiteral("cancel"); });
            if (withDefault)
                w.setDefaultButton(ok);
            w.show();
            w.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&w));
            for (QWidget *focused : {static_cast<QWidget *>(cancel), static_cast<QWidget *>(edit), static_cast<QWidget *>(memo)}) {
                focused->setFocus();
                QTest::keyClick(focused, Qt::Key_Return);
            }
            QCOMPARE(pressed.join(u' '), QLatin1String(withDefault ? "cancel ok" : "cancel"));
            QCOMPARE(memo->toPlainText(), QStringLiteral("\n"));
        }
    }

    // A window sized by its contents opens centred on its owner; one larger than its owner opens
    // whole on the screen, not partly left of it.
    void centredOnTheOwnerWithinTheScreen()
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget owner;
        owner.setGeometry(available.left() + 100, available.top() + 100, 500, 400);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        TForm small;
        (new QVBoxLayout(&small))->addWidget(new QLabel(QStringLiteral("추가할 구역을 입력하세요."), &small));
        small.centreOn(&owner);
        small.show();
        QVERIFY(QTest::qWaitForWindowExposed(&small));
        const QPoint off = small.frameGeometry().center() - owner.frameGeometry().center();
        QVERIFY2(off.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(off.x()).arg(off.y())));

        owner.setGeometry(available.left(), available.top(), 200, 150);
        TForm large;
        large.resize(available.width() - 40, 300);
        large.centreOn(&owner);
        QVERIFY2(large.x() >= available.left(), qPrintable(QString::number(large.x())));
        QVERIFY(large.y() >= available.top());
    }

    // While a window kept on top (the go-to window) is shown, message boxes and modal windows
    // come above it, not hidden under it.
    void modalWindowsShowAboveAStayOnTopWindow()
    {
        QWidget onTop(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
        onTop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&onTop));
        bool boxAbove = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *box = QApplication::activeModalWidget();
            boxAbove = box && box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            if (box)
                box->close();
        });
        MessageBox(QStringLiteral("내용을 입력하세요."));
        QVERIFY(boxAbove);
        QList<bool> dialogsAbove;
        {
            ScriptedModals modals([&](QDialog &d) {
                dialogsAbove << d.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                return 0;
            });
            QDialog dialog;
            ExecModal(dialog);
            onTop.hide();
            QDialog plain; // nothing on top: an ordinary window
            ExecModal(plain);
        }
        QCOMPARE(dialogsAbove, (QList<bool>{true, false}));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
