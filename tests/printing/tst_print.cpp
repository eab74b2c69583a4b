// The print dialog: marked members in sort order, margins per layout and their saving, the
// order of the outputs, the list printout and a printer that cannot be opened.
#include "core/dm.h"
#include "core/global.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "printcapture.h"
#include "printing/print.h"
#include "scripted.h"
#include "tempregister.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

// The current printer writing into a PDF file.
class PdfPrinter {
public:
    PdfPrinter()
    {
        QPrinter &p = CurrentPrinter();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(file());
        p.setPageSize(QPageSize(QPageSize::A4));
        p.setPageOrientation(QPageLayout::Portrait);
    }
    ~PdfPrinter() { CurrentPrinter().setOutputFileName(QString()); }
    QString file() const { return m_dir.filePath(u("printer.pdf")); }

private:
    QTemporaryDir m_dir;
};

} // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallFontSubstitutes();
        Clock::setFixed(QDateTime(QDate(2026, 3, 5), QTime(14, 30, 15)));
    }

    void opensOnTheMarkedMembersInSortOrder()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.reg.addMember(u("1"), u("하나"), {{u("Sel"), true}, {u("Tday"), u("0101")}});
        r.reg.addMember(u("2"), u("가나"), {{u("Sel"), true}, {u("Tday"), u("1231")}});
        r.reg.addMember(u("3"), u("나다"), {{u("Sel"), false}});
        r.open();
        MarginTop = 45; // clamped into the spin boxes' bounds
        MarginLeft = -2;
        PrintSortField.clear();
        TfrmPrint dlg;
        QCOMPARE(frmPrint, &dlg);
        QCOMPARE(PrintSortField, u("NAME"));
        QCOMPARE(dlg.qrPrt.sql(), u("SELECT * FROM MASTER WHERE SEL = TRUE ORDER BY NAME"));
        QStringList names;
        for (dlg.qrPrt.first(); !dlg.qrPrt.eof(); dlg.qrPrt.next())
            names << dlg.qrPrt.fieldByName(u("Name")).asString();
        QCOMPARE(names, (QStringList{u("가나"), u("하나")}));
        QCOMPARE(dlg.spedtTop->value(), 30);
        QCOMPARE(dlg.spedtLeft->value(), 0);
        QVERIFY(dlg.spedtTop->findChild<QLineEdit *>()->isReadOnly());
        // the layouts print with these masks, and without the register's resident-number mask
        dlg.qrPrt.first();
        QCOMPARE(dlg.qrPrt.fieldByName(u("Tday")).displayText(), u("12.31"));
        QCOMPARE(dlg.qrPrt.fieldByName(u("Regno")).editMask(), QString());

        // one option panel at a time
        dlg.setStyleIndex(2);
        QVERIFY(dlg.clbx3->isVisibleTo(&dlg) && !dlg.pnl1->isVisibleTo(&dlg) && !dlg.pnl4->isVisibleTo(&dlg));

        PrintSortField = u("TDAY");
        TfrmPrint byBirthday;
        byBirthday.qrPrt.first();
        QCOMPARE(byBirthday.qrPrt.fieldByName(u("Name")).asString(), u("하나"));
    }

    void cardsArePreviewedThenPrintedWithTheirMargins()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.reg.addMember(u("1"), u("김철수"), {{u("Sel"), true}});
        r.open();
        TfrmPrint dlg;
        dlg.show();
        dlg.chkV->setChecked(true);
        dlg.chkS->setChecked(true);
        dlg.spedtTop->setValue(30);
        dlg.spedtLeft->setValue(10);
        CapturedOutput out;
        dlg.bbtnPrint->click();
        QCOMPARE(out.size(), 3);
        const char *titles[] = {"교  적  카  드", "심방 기록 카드", "이력 기록 카드"};
        for (int i = 0; i < 3; ++i) {
            const auto &o = out.outputs()[i];
            QCOMPARE(o.kind, i == 0 ? Report::Output::Preview : Report::Output::Print);
            QCOMPARE(o.title, u("교적카드 인쇄"));
            QVERIFY(out.pdf(i).find(u(titles[i])));
            QCOMPARE(QList<double>({o.left, o.top, o.right, o.bottom}), QList<double>({10, 30, 0, 0}));
        }
        QCOMPARE(s.ini.ReadInteger(u("Margin"), u("Top"), 0), 30);
        QCOMPARE(s.ini.ReadInteger(u("Margin"), u("Left"), 0), 10);
        QCOMPARE(MarginTop, 30);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.modalResult(), int(mrOk));
    }

    void nothingCheckedStillSavesTheMarginsAndCloses()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.reg.addMember(u("1"), u("김철수"), {{u("Sel"), true}});
        r.open();
        TfrmPrint dlg;
        dlg.show();
        dlg.chkF->setChecked(false);
        dlg.spedtTop->setValue(0);
        CapturedOutput out;
        dlg.bbtnPrintClick();
        QCOMPARE(out.size(), 0);
        QCOMPARE(s.ini.ReadInteger(u("Margin"), u("Top"), -1), 0);
        QVERIFY(!dlg.isVisible());

        // a cancelled list question: the same
        TfrmPrint list;
        list.show();
        list.setStyleIndex(2);
        list.spedtLeft->setValue(7);
        ScriptedMessages boxes;
        boxes.expect(u("인쇄할 준비가 되었으면 확인을 누르세요."), IDCANCEL);
        list.bbtnPrintClick();
        QCOMPARE(boxes.shown().first().caption, u("리스트 인쇄"));
        QCOMPARE(boxes.shown().first().buttons, MsgButtons::OkCancel);
        QCOMPARE(s.ini.ReadInteger(u("Margin"), u("Left"), -1), 7);
        QVERIFY(!list.isVisible());
    }

    void aPrinterThatCannotBeOpenedIsToldAndTheDialogStays()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.reg.addMember(u("1"), u("김철수"), {{u("Sel"), true}});
        r.open();
        QPrinter &printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(r.reg.folder() + u("/no/such/folder/out.pdf"));
        for (int style : {1, 2, 3}) {
            TfrmPrint dlg;
            dlg.show();
            dlg.setStyleIndex(style);
            ScriptedMessages boxes;
            if (style == 2)
                boxes.expect(u("인쇄할 준비가 되었으면 확인을 누르세요."), IDOK);
            boxes.expect(u("프린터를 열 수 없습니다. 인쇄 설정을 확인하세요."));
            dlg.bbtnPrintClick();
            QVERIFY2(dlg.isVisible(), "the dialog must not close as if it had printed");
            QCOMPARE(s.ini.ReadInteger(u("Margin"), u("Top"), -1), 14);
        }
        printer.setOutputFileName(QString());
    }

    void listLinesAreWrittenAsStored()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.reg.addMember(u("1"), u("김철수"),
                        {{u("Sel"), true}, {u("X"), u("남")}, {u("Bday"), u("19650312")}, {u("L"), QString()},
                         {u("Addr1"), u("서울시")}, {u("Addr2"), u("1번지")}, {u("Zip"), u("135080")},
                         {u("Mday"), u("19900505")}, {u("Zone"), u("1교구")}, {u("Area"), u("3")},
                         {u("Duty1"), u("집사")}, {u("Chd"), u("19660101")}, {u("Std"), u("20020303")},
                         {u("Bap"), u("20030406")}, {u("Jaddr1"), u("중구")}, {u("Jzip"), u("100180")}});
        r.open();
        TfrmPrint dlg;
        dlg.qrPrt.first();
        const QStringList expected{
            u("      - 생년월일 : 19650312 ()"),
            u("      - 자택전화 : (1) , (2) "),
            u("      - 이동전화 : "),
            u("      - 자택주소 : 서울시 1번지 (135080)"),
            u("      - 결혼기념일: 19900505"),
            u("      - 학력/전공:  / "),
            u("      - 전자우편 : "),
            u("      - 등록일자 :  / "),
            u("      - 교구/구역: 1교구 / 3"),
            u("      - 소속/직책:  / "),
            u("      - 직    분 : (1) 집사, (2) "),
            u("      - 학습/세례: (유아) 19660101 (학습) 20020303 (세례) 20030406"),
            u("      - 근 무 처 :  / "),
            u("      - 부서/직위:  / "),
            u("      - 직장전화 : "),
            u("      - 직장팩스 : "),
            u("      - 직장주소 : 중구  (100180)"),
        };
        for (int i = 0; i < 17; ++i)
            QCOMPARE(ListItemLine(i, dlg.qrPrt), expected[i]);
        AreaOption = 1;
        BaptOption = 1;
        QCOMPARE(ListItemLine(8, dlg.qrPrt), u("      - 교구/속회: 1교구 / 3"));
        QCOMPARE(ListItemLine(11, dlg.qrPrt), u("      - 학습/침례: (헌아) 19660101 (학습) 20020303 (침례) 20030406"));
        QCOMPARE(dlg.clbx3->item(8)->text(), u("교구/구역")); // the item captions stay
        AreaOption = BaptOption = 0;
    }

    void listPrintsNameLinesCheckedItemsAndTheClosingLines()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.reg.addMember(u("1"), u("나중"), {{u("Sel"), true}, {u("X"), u("여")}, {u("Hp"), u("010-1")}});
        r.reg.addMember(u("2"), u("가장"), {{u("Sel"), true}, {u("X"), u("남")}, {u("Hp"), u("010-2")}});
        r.open();
        PdfPrinter printer;
        TfrmPrint dlg;
        dlg.show();
        dlg.setStyleIndex(2);
        dlg.setListItemChecked(2, true);
        ScriptedMessages boxes;
        boxes.expect(u("인쇄할 준비가 되었으면 확인을 누르세요."), IDOK);
        dlg.bbtnPrintClick();
        QVERIFY(!dlg.isVisible());
        QVERIFY(dlg.qrPrt.eof());

        PdfDoc pdf(printer.file());
        QCOMPARE(pdf.pages(), 1);
        // Qt's PDF writer keeps the blanks of these fonts, so every line reads back whole.
        const QString underscores49(49, u'_');
        const QStringList lines{u("  가장 (남)") + underscores49,
                                u("      - 이동전화 : 010-2"),
                                u(" "),
                                u("  나중 (여)") + underscores49,
                                u("      - 이동전화 : 010-1"),
                                u(" "),
                                QString(89, u'_'),
                                QString(66, u' ') + u("Printed By 켈모누리 3.0")};
        QStringList got;
        for (const PdfWord &w : pdf.words(1))
            got << w.text;
        QCOMPARE(got, lines);
        // the name line in 굴림체 14 pt bold, the items in 바탕체 10 pt, each below the last
        const QList<PdfWord> w = pdf.words(1);
        QVERIFY(w[0].bottom - w[0].top > 1.3 * (w[1].bottom - w[1].top));
        for (int i = 1; i < w.size(); ++i)
            QVERIFY(w[i].top > w[i - 1].top);
        QCOMPARE_MM(w[0].left, w[7].left); // lines start at the printable area's left edge
    }

    void noMarkedMemberListsOnlyTheClosingLines()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        r.open();
        PdfPrinter printer;
        TfrmPrint dlg;
        dlg.PrintList();
        PdfDoc pdf(printer.file());
        QCOMPARE(pdf.pages(), 1);
        QCOMPARE(pdf.words(1).size(), 2);
        QCOMPARE(pdf.words(1)[0].text, QString(89, u'_'));
    }
};

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
