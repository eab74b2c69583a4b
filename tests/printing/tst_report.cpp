// The report layer and the printer text device, drawn into PDF files and read back.
#include "core/tables.h"
#include "printcapture.h"
#include "platform/dataset.h"
#include "platform/diskfile.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/report.h"
#include "platform/textprinter.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QTimer>
#include <QToolBar>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace decl;

namespace {

// Members M1..Mn, each with `family` rows.
void addMembers(TempRegister &reg, int members, int family)
{
    for (int m = 1; m <= members; ++m) {
        reg.addMember(u("M%1").arg(m), u("회원%1").arg(m));
        for (int f = 1; f <= family; ++f)
            reg.db().execute(u("INSERT INTO FAMILY (Ino, Seq, Name) VALUES ('M%1', %2, '가족%1-%2')").arg(m).arg(f));
    }
}

// Page header, title, column header, detail with a family sub-detail, page footer.
struct MemberReport {
    explicit MemberReport(Database &db) : rows(&db), family(&db, u("FAMILY"))
    {
        rows.setSql(u("SELECT * FROM MASTER ORDER BY INO"));
        rows.open();
        family.setIndexFieldNames(u("Ino;Seq"));
        family.setMasterSource(&source, u("Ino"));
        family.open();
        report.dataSet = &rows;
        report.setMargins(10, 20, 10, 15);
        report.addBand(BandType::PageHeader, 10).add(pageNumber("쪽 ", 0, 2));
        report.addBand(BandType::Title, 15).add(label("제목", 0, 3));
        report.addBand(BandType::ColumnHeader, 8).add(label("머리", 0, 1));
        ReportBand &detail = report.addBand(BandType::Detail, 20);
        detail.add(text("Name", 5, 2));
        ReportBand &sub = report.addBand(BandType::SubDetail, 10);
        sub.dataSet = &family;
        sub.add(text("Name", 20, 1));
        report.addBand(BandType::PageFooter, 6).add(label("바닥", 0, 1));
    }
    Query rows;
    DataSource source{&rows};
    Table family;
    Report report;
};

// The current printer with nothing to open, as on a machine without a print queue.
void setNoPrinter()
{
    QPrinter &printer = CurrentPrinter();
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::PdfFormat);
}

// The message of the ReportError a job ends with; empty when it succeeds.
QString failureOf(const std::function<void()> &job)
{
    try {
        job();
    } catch (const ReportError &e) {
        return e.message();
    }
    return QString();
}

void printText()
{
    TextPrinter text;
    text.open(u("생일자 인쇄"));
    text.writeLine(u("목록"));
    text.close();
}

// Prints from the preview as the user does: the print dialog puts the chosen file in the
// preview's printer, and the paper of the print queue it showed first (A5 landscape here).
// `proposed`: the document and file name the dialog starts from.
QString previewInto(Report &report, const QString &file, QString *proposed = nullptr)
{
    ScriptedModals modals([&](QDialog &d) {
        QPrinter *target = static_cast<QPrintPreviewDialog &>(d).printer();
        if (proposed)
            *proposed = target->docName() + u("|") + target->outputFileName();
        target->setOutputFileName(file);
        target->setPageSize(QPageSize(QPageSize::A5));
        target->setPageOrientation(QPageLayout::Landscape);
        d.findChild<QPrintPreviewWidget *>()->print();
        return int(QDialog::Accepted);
    });
    return failureOf([&] { report.Preview(); });
}

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallFontSubstitutes(); }

    void bandsFollowThePagesAndSubDetailsOverflow()
    {
        TempRegister reg;
        addMembers(reg, 2, 25);
        MemberReport m(reg.db());
        QTemporaryDir dir;
        const QString file = dir.filePath(u("r.pdf"));
        // page 1: 20 + 10 + 15 + 8 = 53 down, footer at 297 - 15 - 6 = 276: the detail and
        // 20 family rows fit, the 21st goes to page 2 below that page's column header.
        QCOMPARE(m.report.PrintToPdf(file), 3);
        PdfDoc pdf(file);
        QCOMPARE(pdf.pages(), 3);
        QCOMPARE(pdf.count(u("제목")), 1);
        QCOMPARE(pdf.find(u("제목"))->page, 1);
        for (int page = 1; page <= 3; ++page) {
            QCOMPARE(pdf.find(u("쪽 %1").arg(page))->page, page);
            QCOMPARE(pdf.count(u("머리"), page), 1);
            QCOMPARE_MM(pdf.find(u("바닥"), page)->top, 276 + 1);
        }
        QCOMPARE_MM(pdf.find(u("회원1"))->top, 53 + 2);
        QCOMPARE_MM(pdf.find(u("가족1-1"))->top, 73 + 1);
        QCOMPARE(pdf.find(u("가족1-20"))->page, 1);
        QCOMPARE(pdf.find(u("가족1-21"))->page, 2);
        QCOMPARE_MM(pdf.find(u("가족1-21"))->top, 20 + 10 + 8 + 1);
        QCOMPARE_MM(pdf.find(u("가족1-21"))->left, 10 + 20);
        // the second member follows on page 2 (38 + 5 rows down) and overflows onto page 3
        QCOMPARE(pdf.find(u("회원2"))->page, 2);
        QCOMPARE_MM(pdf.find(u("회원2"))->top, 88 + 2);
        QCOMPARE(pdf.find(u("가족2-16"))->page, 2);
        QCOMPARE(pdf.find(u("가족2-17"))->page, 3);
        QVERIFY(m.rows.eof());
    }

    void noRowsGiveOnePageOfPageBands()
    {
        TempRegister reg;
        MemberReport m(reg.db());
        QTemporaryDir dir;
        QCOMPARE(m.report.PrintToPdf(dir.filePath(u("r.pdf"))), 1);
        PdfDoc pdf(dir.filePath(u("r.pdf")));
        QCOMPARE(pdf.text(1), u("쪽 1 제목 머리 바닥"));
    }

    void printsOnTheCurrentPrinterAndGivesItsSetUpBack()
    {
        TempRegister reg;
        addMembers(reg, 1, 0);
        MemberReport m(reg.db());
        m.report.title = u("시험 인쇄");
        m.report.page.orientation = QPageLayout::Landscape;
        QTemporaryDir dir;
        QPrinter &printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u("p.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A5));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setFullPage(false);
        m.report.Print();
        QVERIFY(printer.pageLayout().pageSize().isEquivalentTo(QPageSize(QPageSize::A5)));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
        QVERIFY(!printer.fullPage());
        PdfDoc pdf(dir.filePath(u("p.pdf")));
        QCOMPARE(pdf.pages(), 1);
        QCOMPARE_MM(pdf.size(1).width(), 297); // the report's paper, not the setup's
        QCOMPARE_MM(pdf.size(1).height(), 210);
        QCOMPARE(pdf.title(), u("시험 인쇄"));
        QCOMPARE_MM(pdf.find(u("회원1"))->left, 10 + 5); // margins from the paper's edge

        // the preview draws the same pages in its window, wholly on the smallest screen
        int previewPages = 0;
        bool whole = false;
        {
            ScriptedModals modals([&](QDialog &d) {
                d.show();
                whole = QTest::qWaitForWindowExposed(&d) && d.screen()->availableGeometry().contains(d.frameGeometry());
                auto *w = d.findChild<QPrintPreviewWidget *>();
                w->updatePreview();
                previewPages = w->pageCount();
                return 0;
            });
            m.report.Preview();
        }
        QCOMPARE(previewPages, 1);
        QVERIFY(whole);

        // its print button, aimed at one of the program's own files, leaves the file alone
        const QString own = dir.filePath(u("KELMODB.db"));
        QFile ownFile(own);
        QVERIFY(ownFile.open(QIODevice::WriteOnly) && ownFile.write("register") == 8);
        ownFile.close();
        SetOwnFiles({own});
        QString failure;
        {
            ScriptedModals modals([&](QDialog &d) {
                qobject_cast<QPrintPreviewDialog *>(&d)->printer()->setOutputFileName(own); // as its dialog does
                d.findChild<QPrintPreviewWidget *>()->print();
                return 0;
            });
            try {
                m.report.Preview();
            } catch (const ReportError &e) {
                failure = e.message();
            }
        }
        SetOwnFiles({});
        QCOMPARE(failure, u("선택한 파일은 켈모누리가 사용하는 파일(KELMODB.db)입니다.\r\n"
                            "이 파일에는 저장할 수 없으니 다른 파일 이름을 고르십시오."));
        QVERIFY(ownFile.open(QIODevice::ReadOnly));
        QCOMPARE(ownFile.readAll(), QByteArray("register"));
        QCOMPARE(printer.outputFileName(), dir.filePath(u("p.pdf"))); // later printouts do not aim at it
        printer.setPageSize(QPageSize(QPageSize::A4));
    }

    // Each report keeps its own paper: the preview offers no orientation or page setup, and
    // Ctrl+P prints, through the print dialog, as the print button does.
    void thePreviewPrintsByKeyboardAndOffersNothingIdle()
    {
        TempRegister reg;
        addMembers(reg, 1, 0);
        MemberReport m(reg.db());
        QTemporaryDir dir;
        const QString card = dir.filePath(u("card.pdf"));
        setNoPrinter();
        const auto caption = [](const char *text) { return QCoreApplication::translate("QPrintPreviewDialog", text); };
        QStringList offered;
        ScriptedModals modals([&](QDialog &d) {
            for (QAction *action : d.findChild<QToolBar *>()->actions())
                if (action->isVisible() && !action->isSeparator())
                    offered << action->text();
            static_cast<QPrintPreviewDialog &>(d).printer()->setOutputFileName(card);
            d.show();
            if (!QTest::qWaitForWindowActive(&d))
                return 0;
            QTimer::singleShot(0, &d, [] {
                if (auto *print = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()))
                    print->accept();
            });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
            return d.result();
        });
        QCOMPARE(failureOf([&] { m.report.Preview(); }), QString());
        QVERIFY(PdfDoc(card).find(u("회원1")));
        for (const char *idle : {"Portrait", "Landscape", "Page setup"})
            QVERIFY(!offered.contains(caption(idle)));
        QVERIFY(offered.contains(caption("Print")) && offered.contains(caption("Zoom in")) &&
                offered.contains(caption("Next page")));
    }

    // No print queue, as on an office PC whose printer is not set up yet: a failed job ends with
    // itself, and the next one starts from a sound printer.
    void aFailedPrintoutEndsWithItsJob()
    {
        TempRegister reg;
        addMembers(reg, 1, 0);
        MemberReport m(reg.db());
        m.report.title = u("교적카드");
        setNoPrinter();
        QCOMPARE(failureOf(printText), Report::cannotOpenMessage());
        QCOMPARE(failureOf([&] { m.report.Print(); }), Report::cannotOpenMessage());
        QTemporaryDir dir;
        const QString card = dir.filePath(u("card.pdf"));
        QString proposed;
        QCOMPARE(previewInto(m.report, card, &proposed), QString());
        QCOMPARE(proposed, u("교적카드|")); // nothing of the failed job
        QVERIFY(PdfDoc(card).find(u("회원1")));
        QCOMPARE_MM(PdfDoc(card).size(1).width(), 210); // the report's own paper
        QCOMPARE_MM(PdfDoc(card).size(1).height(), 297);
    }

    // A file chosen in the preview's print dialog is for that job alone: the printouts without a
    // dialog go on to the printer (a file stands for it), or fail when there is none.
    void aFileChosenInThePrintDialogIsForItsJobAlone()
    {
        TempRegister reg;
        addMembers(reg, 1, 0);
        MemberReport m(reg.db());
        QTemporaryDir dir;
        const QString card = dir.filePath(u("card.pdf"));
        setNoPrinter();
        QCOMPARE(previewInto(m.report, card), QString());
        const QByteArray printed = contents(card);
        QVERIFY(!printed.isEmpty());
        QCOMPARE(failureOf(printText), Report::cannotOpenMessage());
        QCOMPARE(failureOf([&] { m.report.Print(); }), Report::cannotOpenMessage());
        QCOMPARE(contents(card), printed);

        const QString office = dir.filePath(u("printer.pdf"));
        CurrentPrinter().setOutputFileName(office);
        QCOMPARE(previewInto(m.report, dir.filePath(u("again.pdf"))), QString());
        QVERIFY(!QFile::exists(office));
        QCOMPARE(failureOf(printText), QString());
        QCOMPARE(PdfDoc(office).text(1), u("목록"));
        QCOMPARE(contents(card), printed);
        CurrentPrinter().setOutputFileName(QString());
    }

    // Every printout into a file that a full disk stops says so, as a text export does; a file
    // written in part does not stay.
    void aPrintoutIntoAFullDiskIsTold()
    {
        const QString full = u("/dev/full"); // every write fails as on a full disk
        if (!QFileInfo(full).exists())
            QSKIP("no /dev/full");
        TempRegister reg;
        addMembers(reg, 1, 0);
        MemberReport m(reg.db());
        const QString told = u("파일을 저장하지 못했습니다.\r\n디스크에 빈 공간이 없어 [full] 파일을 쓰지 못했습니다.\n"
                               "(No space left on device)");
        QCOMPARE(previewInto(m.report, full), told);
        QCOMPARE(failureOf([&] { m.report.PrintToPdf(full); }), told);
        QPrinter &printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(full); // a stand-in printer
        QCOMPARE(failureOf([&] { m.report.Print(); }), told);
        QCOMPARE(failureOf(printText), told);
        setNoPrinter();
        QVERIFY(QFileInfo(full).exists()); // a device is not a file to remove

        // A printout that stops part-way keeps the earlier one of its name whole, and leaves no
        // part of itself; one that is written whole takes its place, with its mode.
        QTemporaryDir dir;
        const QString file = dir.filePath(u("r.pdf"));
        const QByteArray earlier(3000, 'e');
        QFile earlierFile(file);
        QVERIFY(earlierFile.open(QIODevice::WriteOnly) && earlierFile.write(earlier) == earlier.size());
        earlierFile.close();
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        rlimit limit {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit unlimited = limit;
        limit.rlim_cur = 1000; // the file stops growing part-way
        ::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
        printer.setOutputFileName(file);
        const QStringList failures{failureOf([&] { m.report.Print(); }), previewInto(m.report, file),
                                   failureOf(printText), WritePrintout(file, QByteArray(5000, '%'))};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        for (const QString &failure : failures)
            QVERIFY2(failure.startsWith(u("파일을 저장하지 못했습니다.\r\n[r.pdf] 파일")), qPrintable(failure));
        QCOMPARE(contents(file), earlier);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u("r.pdf")});
        QCOMPARE(failureOf([&] { m.report.Print(); }), QString());
        setNoPrinter();
        QVERIFY(PdfDoc(file).find(u("회원1")));
        unsigned mode = 0;
        QCOMPARE(FilePermissions(file, mode), 0);
        QCOMPARE(mode, 0640u);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u("r.pdf")});
    }

    void textDeviceWrapsLongLinesAndStartsNewPages()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u("t.pdf")));
        printer.setPageSize(QPageSize(QPageSize::A4));
        {
            TextPrinter text(printer);
            text.open(u("목록"));
            text.setFont({u("바탕체"), 10, false});
            text.writeLine(QString(150, u'가')); // wider than the page
            for (int i = 0; i < 80; ++i)
                text.writeLine(u("줄%1").arg(i));
            QCOMPARE(text.pageCount(), 2);
        } // closed by going out of scope
        PdfDoc pdf(dir.filePath(u("t.pdf")));
        QCOMPARE(pdf.pages(), 2);
        QCOMPARE(pdf.title(), u("목록"));
        const QList<PdfWord> first = pdf.words(1);
        QString joined;
        int n = 0;
        while (joined.size() < 150) {
            QCOMPARE_MM(first[n].left, first[0].left);
            QVERIFY(n == 0 || first[n].top > first[n - 1].bottom - 0.2);
            joined += first[n++].text;
        }
        QVERIFY(n > 1);
        QCOMPARE(joined, QString(150, u'가'));
        QCOMPARE(first[n].text, u("줄0"));
        const int lastOnFirst = first.last().text.mid(1).toInt();
        QCOMPARE(pdf.words(2).first().text, u("줄%1").arg(lastOnFirst + 1));
        QVERIFY(pdf.words(2).first().top < first[0].top + 0.5); // from the top of the new page

        // a job cut short by a failure leaves the file of the last whole one
        const QByteArray whole = contents(dir.filePath(u("t.pdf")));
        try {
            TextPrinter text(printer);
            text.open(u("목록"));
            text.writeLine(u("반쯤"));
            throw std::runtime_error("cut short");
        } catch (const std::runtime_error &) {
        }
        QCOMPARE(contents(dir.filePath(u("t.pdf"))), whole);
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
