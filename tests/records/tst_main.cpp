// The main window: index tabs, counts and command state, the go box, the Shift range selection,
// deletion and printing marks, the this-year buttons, the close question and the size limits, and
// the windows it opens: their title-bar buttons and their fit on the smallest screen.
#include "anniversaries/calendlg.h"
#include "core/login.h"
#include "core/dm.h"
#include "core/global.h"
#include "lists/handoff.h"
#include "maintenance/pswd.h"
#include "mainwindow.h"
#include "records/del.h"
#include "records/go.h"
#include "records/ins.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/report.h"
#include "platform/textprinter.h"
#include "../printing/pdfcheck.h"
#include "scripted.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QTabWidget>
#include <QCalendarWidget>
#include <QLabel>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QFile>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

namespace {
QStringList shownNames(Table &t)
{
    QStringList out;
    for (int r = 0; r < t.recordCount(); ++r)
        out << t.valueAt(r, t.fieldByName(QStringLiteral("Name")).index()).toString();
    return out;
}

void addFamily(Database &db, const QString &ino, int rows)
{
    for (int seq = 1; seq <= rows; ++seq)
        db.execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name) VALUES (:ino, :seq, '가족')"),
                   {{QStringLiteral("ino"), ino}, {QStringLiteral("seq"), seq}});
}

int marked(Database &db)
{
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE SEL = TRUE")).toInt();
}
} // namespace

class TestMain : public QObject {
    Q_OBJECT

private slots:
    void indexTabsFilterAndCount()
    {
        MainWindowFixture f;
        int i = 0;
        for (const char *n : {"Kim", "가영", "다", "다솜", "마루", "하늘", "7번"})
            f.r.reg.addMember(QString::number(++i), QString::fromUtf8(n));
        TfrmMain &w = f.open();
        QCOMPARE(w.stbrName->text(), QStringLiteral("7 명"));
        w.tcN->setCurrentIndex(1);
        QCOMPARE(shownNames(f.master()), (QStringList{QStringLiteral("가영"), QStringLiteral("다")}));
        QCOMPARE(w.stbrName->text(), QStringLiteral("2 명"));
        w.tcN->setCurrentIndex(2);
        QVERIFY(shownNames(f.master()).contains(QStringLiteral("다"))); // on both tabs
        w.tcN->setCurrentIndex(8);
        QCOMPARE(shownNames(f.master()), (QStringList{QStringLiteral("7번"), QStringLiteral("Kim")}));
        w.tcN->setCurrentIndex(6); // ㅋㅌ: nobody
        QCOMPARE(w.stbrName->text(), QStringLiteral("0 명"));
        QVERIFY(!w.command(QStringLiteral("mnuPrint"))->isEnabled());
        w.tcN->setCurrentIndex(0);
        QCOMPARE(f.master().recordCount(), 7);
        QVERIFY(w.command(QStringLiteral("mnuPrint"))->isEnabled());
    }

    void emptyRegisterLeavesEntryMaintenanceHelpAndExit()
    {
        MainWindowFixture f;
        TfrmMain &w = f.open();
        QCOMPARE(w.stbrName->text(), QStringLiteral("0 명"));
        for (const char *name : {"mnuIns", "mnuSetup", "mnuBackup", "mnuExit", "mnuHelp", "mnuAbout", "mnuNew"})
            QVERIFY2(w.command(QString::fromLatin1(name))->isEnabled(), name);
        // hidden items follow their header: Ctrl+F11 is dead while the print menu is
        for (const char *name : {"mnuEdit", "mnuDel", "mnuFind", "mnuPrint", "mnuFileSave", "mnuJob", "mnuList", "mnuStat"})
            QVERIFY2(!w.command(QString::fromLatin1(name))->isEnabled(), name);
        QVERIFY(!w.pnlMain->isEnabled());
        QVERIFY(!w.dgrdName->isEnabled());
        QVERIFY(w.findChild<QToolButton *>(QStringLiteral("tbtnIns"))->isEnabled());
        QVERIFY(!w.findChild<QToolButton *>(QStringLiteral("tbtnEdit"))->isEnabled());
        QVERIFY(w.tcN->isEnabled());
        // hidden items are not in the menus but answer their shortcuts
        QVERIFY(w.command(QStringLiteral("mnuFileSave"))->associatedObjects().contains(&w));
        QCOMPARE(w.command(QStringLiteral("mnuFileSave"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F11));
    }

    // The grid, disabled while it has no rows, takes the keys with the first member entered and
    // gets them back when a tab with rows follows an empty one.
    void nameGridTakesTheKeysOnceItHasRows()
    {
        MainWindowFixture f;
        TfrmMain &w = f.open();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        {
            ScriptedModals modals([&](QDialog &d) {
                auto &ins = dynamic_cast<TfrmIns &>(d);
                QTest::keyClicks(ins.dedtName, QStringLiteral("Kim"));
                QTest::keyClick(ins.dedtBday, Qt::Key_Home);
                QTest::keyClicks(ins.dedtBday, QStringLiteral("19900115"));
                QTest::keyClicks(ins.dedtTel1, QStringLiteral("02-100"));
                ins.bbtnOk->click();
                return ins.result();
            });
            QTest::keyClick(&w, Qt::Key_Insert);
        }
        QTRY_COMPARE(w.focusWidget(), w.dgrdName); // once the counts follow the stored row

        w.tcN->setCurrentIndex(1); // ㄱㄴ: nobody
        QVERIFY(!w.dgrdName->isEnabled());
        w.tcN->setCurrentIndex(0);
        QCOMPARE(QApplication::focusWidget(), w.dgrdName);
    }

    void goBoxMovesToTheNearestName()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"));
        f.r.reg.addMember(QStringLiteral("2"), QStringLiteral("박영희"));
        TfrmMain &w = f.open();
        w.show();
        f.master().setIndexName(QStringLiteral("Tel_idx")); // as the go-to window may leave it
        w.cbxGo->setEditText(QStringLiteral("  힣 "));
        QTest::keyClick(w.cbxGo->lineEdit(), Qt::Key_Return);
        QCOMPARE(f.master().fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("박영희")); // past every name: the last
        QCOMPARE(w.cbxGo->count(), 1);
        QCOMPARE(w.cbxGo->itemText(0), QStringLiteral("힣"));
        QCOMPARE(w.cbxGo->currentText(), QString());
        w.command(QStringLiteral("mnuAll"))->trigger();
        w.cbxGo->setEditText(QStringLiteral("김"));
        QTest::keyClick(w.cbxGo->lineEdit(), Qt::Key_Return);
        QCOMPARE(f.master().fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("김철수"));
        QCOMPARE(w.dgrdName->SelectedRows().size(), 1); // the jump leaves only the member it found selected
        w.cbxGo->setEditText(QStringLiteral("   "));
        QTest::keyClick(w.cbxGo->lineEdit(), Qt::Key_Return);
        QCOMPARE(w.cbxGo->count(), 2);
    }

    void menuShortcutsWinOverTheGoBox()
    {
        MainWindowFixture f;
        for (int i = 0; i < 3; ++i)
            f.r.reg.addMember(QString::number(i), QStringLiteral("이름%1").arg(i));
        TfrmMain &w = f.open();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.cbxGo->setFocus();
        w.cbxGo->setEditText(QStringLiteral("이름"));
        QTest::keyClick(w.cbxGo->lineEdit(), Qt::Key_A, Qt::ControlModifier); // select all members, not the text
        QCOMPARE(w.dgrdName->SelectedRows().size(), 3);
        // a hidden item's shortcut acts: Ctrl+F11 opens the save dialog
        bool asked = false;
        SaveDlg = [&] { asked = true; return QString(); };
        QTest::keyClick(w.dgrdName, Qt::Key_F11, Qt::ControlModifier);
        QVERIFY(asked);
    }

    // The go-to window comes up on top while the keys stay with the name grid.
    void goToWindowLeavesTheKeysWithTheNameGrid()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"), {{QStringLiteral("Tel1"), QStringLiteral("02-300")}});
        f.r.reg.addMember(QStringLiteral("2"), QStringLiteral("박영희"), {{QStringLiteral("Tel1"), QStringLiteral("02-100")}});
        TfrmMain &w = f.open();
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        f.master().setIndexName(QStringLiteral("Tel_idx")); // as a telephone search leaves it
        w.cbxGo->setFocus();
        QTest::keyClick(w.cbxGo, Qt::Key_G, Qt::ControlModifier);
        QVERIFY(frmGo->isVisible());
        QTest::qWait(50); // the window system's activations arrive
        QCOMPARE(QApplication::activeWindow(), &w);
        QCOMPARE(QApplication::focusWidget(), w.dgrdName);
        QCOMPARE(f.master().indexName(), QStringLiteral("Name_idx"));

        // Down moves in the grid and leaves the go-to window's condition alone
        f.master().first();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(frmGo->rdgConName->isChecked());
        QCOMPARE(f.master().indexName(), QStringLiteral("Name_idx"));
        QCOMPARE(f.master().fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("박영희"));
        // and Ctrl+E opens the member for editing at once
        QStringList opened;
        {
            ScriptedModals modals([&](QDialog &d) {
                opened << d.windowTitle();
                return int(mrCancel);
            });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
        }
        f.master().cancel();
        QCOMPARE(opened, QStringList{QStringLiteral("교적사항 수정")});
    }

    void shiftRangesFromOneAnchor()
    {
        MainWindowFixture f;
        for (int i = 0; i < 6; ++i)
            f.r.reg.addMember(QString::number(i), QStringLiteral("이름%1").arg(i));
        TfrmMain &w = f.open();
        Table &t = f.master();
        auto selectedRows = [&] {
            QList<int> rows;
            const Bookmark here = t.bookmark();
            for (const Bookmark &b : w.dgrdName->SelectedRows()) {
                t.gotoBookmark(b);
                rows << t.currentRow();
            }
            t.gotoBookmark(here);
            std::sort(rows.begin(), rows.end());
            return rows;
        };
        t.setRecNo(3);
        w.dgrdName->clearSelectedRows();
        w.dgrdName->selectRow(t.bookmark(), true); // row 2 selected by a plain click
        w.ShiftDown = true;
        emit w.dgrdName->mousePressed(Qt::ShiftModifier);
        emit w.dgrdName->cellClicked(4, 0);
        QCOMPARE(selectedRows(), (QList<int>{2, 3, 4}));
        emit w.dgrdName->mousePressed(Qt::ShiftModifier);
        emit w.dgrdName->cellClicked(0, 0);
        QCOMPARE(selectedRows(), (QList<int>{0, 1, 2})); // the anchor stays row 2
        QCOMPARE(w.SelAnchor, 2);
        // Shift released where the grid did not see it: a plain press gives the anchor up
        emit w.dgrdName->mousePressed(Qt::NoModifier);
        QCOMPARE(w.SelAnchor, -1);
    }

    void deletingSelectedMembersAndPrintingMarks()
    {
        MainWindowFixture f;
        for (int i = 1; i <= 5; ++i) {
            f.r.reg.addMember(QString::number(i), QStringLiteral("회원%1").arg(i));
            f.r.reg.db().execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name) VALUES (:i, 1, '가족')"), {{QStringLiteral("i"), QString::number(i)}});
            f.r.reg.db().execute(QStringLiteral("INSERT INTO VISIT (Ino, Vday, Vtime) VALUES (:i, '20240101', '1000')"), {{QStringLiteral("i"), QString::number(i)}});
            f.r.reg.db().execute(QStringLiteral("INSERT INTO STUDY (Ino, Eday, Ename) VALUES (:i, '20240101', 'A')"), {{QStringLiteral("i"), QString::number(i)}});
        }
        // member 4's visits cannot be deleted: it must stay whole
        f.r.reg.db().executeNative(QStringLiteral(
            "CREATE TRIGGER keep4 BEFORE DELETE ON VISIT WHEN old.Ino = '4' BEGIN SELECT RAISE(ABORT, 'locked'); END"));
        TfrmMain &w = f.open();
        Table &t = f.master();
        QList<Bookmark> picked;
        t.disableControls(); // not a move the grid follows: that would leave only the new row selected
        for (int row : {0, 3}) {
            t.setRecNo(row + 1);
            picked << t.bookmark();
        }
        t.setRecNo(2); // the current row joins the selection
        t.enableControls();
        for (const Bookmark &b : picked)
            w.dgrdName->selectRow(b, true);
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("[회원4] 삭제가 불가능합니다."));
        QStringList listed;
        int printDialogs = 0;
        ScriptedModals modals([&](QDialog &d) {
            auto *del = qobject_cast<TfrmDel *>(&d);
            if (!del) { // the print dialog, left without printing
                ++printDialogs;
                return int(mrCancel);
            }
            for (int i = 0; i < del->lbxList->count(); ++i)
                listed << del->lbxList->item(i)->text();
            del->bbtnYes->click();
            return int(mrYes);
        });
        w.command(QStringLiteral("mnuDel"))->trigger();
        QCOMPARE(listed, (QStringList{QStringLiteral("회원1"), QStringLiteral("회원4"), QStringLiteral("회원2")}));
        QCOMPARE(shownNames(t), (QStringList{QStringLiteral("회원3"), QStringLiteral("회원4"), QStringLiteral("회원5")}));
        Database &db = f.r.reg.db();
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY")).toInt(), 3);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM FAMILY WHERE Ino = '4'")).toInt(), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM VISIT")).toInt(), 3);
        QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM STUDY")).toInt(), 3);
        QVERIFY(w.dgrdName->SelectedRows().isEmpty());
        QCOMPARE(w.stbrName->text(), QStringLiteral("3 명"));

        // F11 with nothing selected marks the current member only
        t.setRecNo(3);
        w.command(QStringLiteral("mnuPrint"))->trigger();
        QCOMPARE(marked(db), 1);
        QCOMPARE(db.scalar(QStringLiteral("SELECT Name FROM MASTER WHERE SEL = TRUE")).toString(), QStringLiteral("회원5"));
        QCOMPARE(PrintSortField, QStringLiteral("NAME"));
        // Ctrl+A then F11 marks every member of the tab
        w.command(QStringLiteral("mnuAll"))->trigger();
        w.command(QStringLiteral("mnuPrint"))->trigger();
        QCOMPARE(marked(db), 3);
        // the table stays on the last row of the selection list: 회원5 was in it before Ctrl+A
        QCOMPARE(t.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("회원4"));
        QCOMPARE(printDialogs, 2);
    }

    void dialAndAboutWindowsOpenFromTheirCommands()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("가"), {{QStringLiteral("Tel1"), QStringLiteral("02-1")}});
        TfrmMain &w = f.open();
        QStringList opened;
        ScriptedModals modals([&](QDialog &d) {
            opened << d.objectName() + QLatin1Char(' ') + d.windowTitle();
            return 0;
        });
        ScriptedMessages boxes; // no modem port is set
        boxes.expect(QStringLiteral("모뎀 포트를 열 수 없습니다.\r\n닫기 버튼을 눌러 주세요."));
        w.findChild<QToolButton *>(QStringLiteral("sbtnDial1"))->click();
        w.command(QStringLiteral("mnuDial"))->trigger();
        w.imgAbout->click();
        QCOMPARE(opened, (QStringList{QStringLiteral("frmDialDlg 전화 걸기 [가의 전화1]"), QStringLiteral("frmDial 전화걸기"),
                                      QStringLiteral("frmAbout 켈모누리 정보")}));
    }

    // 인쇄 설정 picks, among the system's printers (two stand-ins writing files here), the one the
    // printouts without a print dialog of their own go to, with its paper and orientation.
    void printerSetupChoosesWhereDialogLessPrintoutsGo()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("가")); // the print menu needs a member
        TfrmMain &w = f.open();
        QTemporaryDir dir;
        const QString office = dir.filePath(QStringLiteral("office.pdf"));
        const QString labels = dir.filePath(QStringLiteral("labels.pdf"));
        setTestPrinters({{QStringLiteral("사무실"), office}, {QStringLiteral("라벨"), labels}});
        SelectPrinter(QStringLiteral("사무실"));
        const auto guard = qScopeGuard([] {
            setTestPrinters({});
            CurrentPrinter().setOutputFileName(QString());
            CurrentPrinter().setPageSize(QPageSize(QPageSize::A4));
            CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
        });
        QStringList listed;
        const auto setUp = [&](const QString &printer, bool ok) {
            ScriptedModals modals([&](QDialog &d) {
                auto *setup = qobject_cast<PrinterSetupDialog *>(&d);
                if (!setup)
                    return 0;
                listed.clear();
                for (int i = 0; i < setup->cbxPrinter->count(); ++i)
                    listed << setup->cbxPrinter->itemText(i);
                listed << setup->cbxPrinter->currentText();
                setup->cbxPrinter->setCurrentText(printer);
                setup->cbxPaper->setCurrentText(QPageSize(QPageSize::JisB5).name());
                setup->rbtnLandscape->setChecked(true);
                setup->findChild<QPushButton *>(ok ? QStringLiteral("btnOk") : QStringLiteral("btnCancel"))->click();
                return setup->modalResult();
            });
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("인쇄 설정 후 적용이 되지 않을 경우\r\n윈도우에서 프린터를 설정해 주세요."));
            w.command(QStringLiteral("mnuPrtset"))->trigger();
            QVERIFY(boxes.allAnswered());
        };
        const auto printText = [] {
            TextPrinter text;
            text.open(QStringLiteral("목록"));
            text.writeLine(QStringLiteral("줄"));
            text.close();
        };

        setUp(QStringLiteral("라벨"), true);
        QCOMPARE(listed, (QStringList{QStringLiteral("사무실"), QStringLiteral("라벨"), QStringLiteral("사무실")}));
        printText();
        QVERIFY(!QFile::exists(office));
        const PdfDoc text(labels);
        QCOMPARE(text.text(1), QStringLiteral("줄"));
        QCOMPARE_MM(text.size(1).width(), 257);
        QCOMPARE_MM(text.size(1).height(), 182);
        QVERIFY(QFile::remove(labels));
        Report card; // a report keeps its own paper
        card.addBand(BandType::Detail, 10).add(decl::label("카드", 0, 0));
        card.Print();
        QVERIFY(!PdfDoc(labels).landscape(1));

        setUp(QStringLiteral("사무실"), false); // cancelled: the choice stays
        QCOMPARE(listed.last(), QStringLiteral("라벨"));
        printText();
        QVERIFY(!QFile::exists(office));
        QCOMPARE(PdfDoc(labels).text(1), QStringLiteral("줄"));
    }

    // Title-bar buttons as the windows' borders give them: none on the login and password windows,
    // the close box alone on a dialog, the maximise box besides it on the list and chart windows.
    void titleBarButtonsFollowTheBorders()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("가"));
        TfrmMain &w = f.open();
        const auto buttons = [](const QWidget &window) {
            QString out;
            for (const auto &[flag, letter] : {std::pair{Qt::WindowSystemMenuHint, 'S'}, std::pair{Qt::WindowMinimizeButtonHint, 'N'},
                                               std::pair{Qt::WindowMaximizeButtonHint, 'X'}, std::pair{Qt::WindowCloseButtonHint, 'C'}})
                if (window.windowFlags().testFlag(flag))
                    out += QLatin1Char(letter);
            return out;
        };
        QStringList shown;
        ScriptedModals modals([&](QDialog &d) {
            shown << d.objectName() + QLatin1Char(' ') + buttons(d);
            return int(mrCancel);
        });
        w.imgAbout->click();
        w.command(QStringLiteral("mnuList"))->trigger();
        w.command(QStringLiteral("mnuStat"))->trigger();
        QCOMPARE(shown, (QStringList{QStringLiteral("frmAbout SC"), QStringLiteral("frmList SXC"), QStringLiteral("frmStat SXC")}));
        QCOMPARE(buttons(TfrmLogin()), QString());
        QCOMPARE(buttons(TfrmPswd()), QString());
    }

    void deletionAnsweredNoDeletesNothing()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("가"));
        TfrmMain &w = f.open();
        ScriptedModals modals([](QDialog &d) {
            static_cast<TfrmDel &>(d).bbtnNo->click();
            return int(mrNo);
        });
        w.command(QStringLiteral("mnuDel"))->trigger();
        QCOMPARE(f.master().recordCount(), 1);
        QCOMPARE(w.dgrdName->SelectedRows().size(), 1); // as the delete command left it
    }

    void thisYearButtons()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("가"),
                          {{QStringLiteral("Bday"), QStringLiteral("19600229")}, {QStringLiteral("L"), QStringLiteral("양")},
                           {QStringLiteral("Mday"), QStringLiteral("19851399")}});
        TfrmMain &w = f.open();
        Clock::setFixed(QDateTime(QDate(2027, 3, 1), QTime(9, 0)));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("일자 형식이 잘못되었습니다."))
                .expect(QStringLiteral("일자가 비어 있습니다.")); // no family row
            w.sbtnMdayClick();
            w.sbtnFbdayClick();
        }
        QDate shown;
        QString panel;
        ScriptedModals modals([&](QDialog &d) {
            auto &dlg = static_cast<TfrmCalenDlg &>(d);
            shown = dlg.calDay->selectedDate();
            panel = dlg.pnlDay->text();
            return int(mrOk);
        });
        w.sbtnBdayClick();
        QCOMPARE(shown, QDate(2027, 2, 28)); // 29 February in a common year, as the calendars list it
        f.master().edit();
        f.master().fieldByName(QStringLiteral("Bday")).setAsString(QStringLiteral("19801210"));
        f.master().fieldByName(QStringLiteral("L")).setAsString(QStringLiteral("음"));
        f.master().post();
        w.sbtnBdayClick();
        // lunar 2027-12-10 falls in 2028: last lunar year's date is taken
        QCOMPARE(shown.year(), 2027);
        QCOMPARE(panel.left(5), QStringLiteral("2027년"));
        Clock::setFixed(std::nullopt);
    }

    // At the smallest size, with every field at its widest, nothing is cut: title strip, fields,
    // toolbar buttons, lower tabs; the family grid shows several rows; the count is centred.
    void everythingShowsWholeAt800x600()
    {
        InstallFontSubstitutes();
        const QFont oldFont = QApplication::font();
        QApplication::setFont(ApplicationFont());
        MainWindowFixture f;
        const QString phone = QStringLiteral("010-1234-5678");
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("홍길동무개"),
                          {{QStringLiteral("Tel1"), phone}, {QStringLiteral("Tel2"), phone}, {QStringLiteral("Hp"), phone},
                           {QStringLiteral("Regno"), QStringLiteral("8003151234567")}, {QStringLiteral("Bday"), QStringLiteral("19710901")},
                           {QStringLiteral("Zip"), QStringLiteral("123456")}, {QStringLiteral("Mday"), QStringLiteral("19981231")},
                           {QStringLiteral("X"), QStringLiteral("남")}, {QStringLiteral("L"), QStringLiteral("양")}});
        TfrmMain &w = f.open();
        w.show(); // at its least size
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::qWait(20);
        const auto whole = [](QWidget *widget, const QString &text) {
            QLineEdit *edit = qobject_cast<QLineEdit *>(widget);
            const int room = edit ? edit->width() - 8 : widget->contentsRect().width();
            return widget->fontMetrics().horizontalAdvance(text) <= room;
        };
        for (QTabWidget *pages : {w.pgcUpper, w.pgcLower}) {
            for (int i = 0; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                QTest::qWait(1);
                for (DBEdit *e : pages->currentWidget()->findChildren<DBEdit *>()) {
                    QVERIFY2(whole(e, e->displayText()), qPrintable(e->objectName()));
                    for (QWidget *other : e->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                        QVERIFY2(other == e || !other->isVisible() || !other->geometry().intersects(e->geometry()),
                                 qPrintable(e->objectName() + QLatin1Char(' ') + other->objectName()));
                }
                QVERIFY2(pages->tabBar()->tabRect(i).right() <= pages->tabBar()->width(), qPrintable(pages->tabText(i)));
            }
            pages->setCurrentIndex(0);
        }
        for (DBText *t : w.findChildren<DBText *>())
            if (t->isVisible())
                QVERIFY2(whole(t, t->text()), qPrintable(t->objectName()));
        for (const char *name : {"tbtnIns", "tbtnEdit", "tbtnDel", "tbtnFind", "tbtnPrint", "tbtnList", "tbtnPhoto", "tbtnCalen", "tbtnExit"})
            QVERIFY2(w.findChild<QToolButton *>(QString::fromLatin1(name))->isVisible(), name);
        w.pgcLower->setCurrentIndex(2);
        QTest::qWait(1);
        QVERIFY(w.dgrdFamily->viewport()->height() >= 4 * w.dgrdFamily->verticalHeader()->defaultSectionSize());
        QCOMPARE(w.stbrName->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QApplication::setFont(oldFont);
    }

    // On the smallest screen, 800 x 600, the main window and the member, search and memo windows
    // lie wholly within the screen with their frames, none squeezed below its layout's least size.
    void windowsFitTheSmallestScreen()
    {
        InstallFontSubstitutes();
        const QFont oldFont = QApplication::font();
        QApplication::setFont(ApplicationFont());
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("홍길동"), {});
        TfrmMain &w = f.open();
        const auto fits = [](QWidget &window) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTest::qWait(20);
            const QRect available = window.screen()->availableGeometry();
            QVERIFY2(available.contains(window.frameGeometry()), qPrintable(window.objectName()));
            const QSize least = window.minimumSizeHint();
            QVERIFY2(window.width() >= least.width() && window.height() >= least.height(),
                     qPrintable(window.objectName()));
        };
        fits(w);
        QStringList opened;
        ScriptedModals modals([&](QDialog &d) {
            opened << d.objectName();
            fits(d);
            d.close();
            return int(mrCancel);
        });
        w.mnuInsClick();
        w.mnuEditClick();
        w.mnuFindClick();
        w.mnuMemoClick();
        QCOMPARE(opened, (QStringList{QStringLiteral("frmIns"), QStringLiteral("frmIns"), QStringLiteral("frmFind"),
                                      QStringLiteral("frmMemo")}));
        QApplication::setFont(oldFont);
    }

    void closeQuestionAndSizeLimits()
    {
        MainWindowFixture f;
        TfrmMain &w = f.open();
        w.show();
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("정말 나가시겠습니까?"), IDNO);
            w.close();
        }
        QVERIFY(w.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(1200, 500); // the limits count the frame
        QCOMPARE(w.frameGeometry().size(), QSize(1024, 600));
        w.resize(700, 700);
        QCOMPARE(w.frameGeometry().width(), 800);
        QCOMPARE(w.windowTitle(), QStringLiteral("켈모누리 3.0 [교회 - 사용자]"));
    }

    // Another program locks the register as the grid moves to the next member: the panes show
    // nobody rather than the member before, each count equals its grid, and when the lock is gone
    // every pane shows the member the grid is on.
    void lockedRegisterPanesFollowTheGrid()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("정숙자"));
        f.r.reg.addMember(QStringLiteral("2"), QStringLiteral("정영호"));
        addFamily(f.r.reg.db(), QStringLiteral("1"), 2);
        addFamily(f.r.reg.db(), QStringLiteral("2"), 3);
        TfrmMain &w = f.open();
        frmDM->dbKelmo.setBusyTimeout(100);
        const auto *name = w.findChild<DBText *>(QStringLiteral("dtxtName"));
        QCOMPARE(w.pnlFn->text(), QStringLiteral(" 가족 2 명"));
        RegisterLock other(f.r.reg.databaseFile());
        other.take();
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("다른 프로그램이 [Data/KELMODB.db] 파일을 사용하고 있습니다. 잠시 후에 다시 해 보십시오.\n(database is locked)"));
            f.master().next();
            QCoreApplication::processEvents();
        }
        QCOMPARE(name->text(), QString());
        QCOMPARE(w.pnlFn->text(), QStringLiteral(" 가족 0 명"));
        QCOMPARE(w.dgrdFamily->model().rowCount(), 0);
        other.release();
        QTRY_COMPARE(name->text(), QStringLiteral("정영호"));
        QCOMPARE(w.pnlFn->text(), QStringLiteral(" 가족 3 명"));
        QCOMPARE(w.dgrdFamily->model().rowCount(), 3);
    }

    // A damaged page: its member shows empty in every pane, never as the member before, with one
    // message naming the file; editing it is refused, so nothing is written to the page.
    void damagedMemberShowsEmpty()
    {
        MainWindowFixture f;
        const QVariantMap memo{{QStringLiteral("Cmemo"), QString(2500, u'x')}}; // a member a page
        f.r.reg.addMember(QStringLiteral("1"), QStringLiteral("정숙자"), memo);
        f.r.reg.addMember(QStringLiteral("2"), QStringLiteral("정영호"), memo);
        addFamily(f.r.reg.db(), QStringLiteral("2"), 3);
        f.r.reg.damagePageOf(QStringLiteral("2"), QStringLiteral("정영호"));
        TfrmMain &w = f.open();
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("[Data/KELMODB.db] 파일이 손상되었습니다.\n(database disk image is malformed)"));
        f.master().next();
        w.command(QStringLiteral("mnuEdit"))->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(f.master().state(), DatasetState::Browse);
        QCOMPARE(w.findChild<DBText *>(QStringLiteral("dtxtName"))->text(), QString());
        QCOMPARE(w.dmemCmemo->toPlainText(), QString());
        QCOMPARE(w.pnlFn->text(), QStringLiteral(" 가족 0 명"));
        QCOMPARE(w.dgrdFamily->model().rowCount(), 0);
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"
