// Every layout printed through the print dialog into PDF files and read back: texts, order,
// pages and positions in millimetres from the paper's corner.
#include "core/dm.h"
#include "core/global.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "printcapture.h"
#include "printing/print.h"
#include "printing/prtpic.h"
#include "tempregister.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

// A member with every field the layouts print, marked for printing.
void addMember(TempRegister &reg, const QString &ino, const QString &name, bool withPhoto = true)
{
    QVariantMap m{{u("Sel"), true}, {u("Hname"), u("金哲洙")}, {u("X"), u("남")},
                  {u("Bday"), u("19650312")}, {u("L"), u("음")}, {u("Tday"), u("0410")},
                  {u("Tel1"), u("02-555-1234")}, {u("Tel2"), u("02-555-9876")}, {u("Hp"), u("010-1234-5678")},
                  {u("Addr1"), u("서울시 강남구")}, {u("Addr2"), u("역삼동 12")}, {u("Zip"), u("135080")},
                  {u("Regno"), u("6503121234567")}, {u("Zone"), u("1교구")}, {u("Area"), u("3")},
                  {u("Duty1"), u("집사")}, {u("Part"), u("남선교회")}, {u("Reg"), u("20010107")},
                  {u("Jaddr1"), u("중구 을지로")}, {u("Jaddr2"), u("한국빌딩")}, {u("Jzip"), u("100180")}};
    if (withPhoto)
        m.insert(u("Pic"), bitmap(Qt::blue, 60, 80));
    reg.addMember(ino, name, m);
}

void addFamily(TempRegister &reg, const QString &ino, int rows)
{
    for (int i = 1; i <= rows; ++i)
        reg.db().execute(u("INSERT INTO FAMILY (Ino, Seq, Rel, Name, Bday) VALUES ('%1', %2, '자녀', '가족%2', '19950101')")
                             .arg(ino)
                             .arg(i));
}

// Runs one print command of the dialog and returns what it output.
CapturedOutput &print(CapturedOutput &out, int style, const std::function<void(TfrmPrint &)> &options = {})
{
    TfrmPrint dlg;
    dlg.setStyleIndex(style);
    if (options)
        options(dlg);
    dlg.bbtnPrintClick();
    return out;
}

constexpr double CardTop = 14 + 14.6; // top margin and page header
constexpr double CardLeft = 4;

struct Placed {
    const char *text;
    double left, top;
};

// Each text starts at its place from the corner (x, y) of its band.
void checkPlaced(const PdfDoc &pdf, std::initializer_list<Placed> items, double x, double y, int page = 0)
{
    for (const Placed &p : items) {
        const PdfWord *w = pdf.find(u(p.text), page);
        QVERIFY2(w, p.text);
        QCOMPARE_MM(w->left, x + p.left);
        QCOMPARE_MM(w->top, y + p.top);
    }
}

} // namespace

class TestLayouts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallFontSubstitutes();
        Clock::setFixed(QDateTime(QDate(2026, 3, 5), QTime(14, 30, 15)));
    }

    void recordCardPrintsEveryBlockInPlace()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        addMember(r.reg, u("1"), u("김철수"));
        addFamily(r.reg, u("1"), 1);
        r.open();
        CapturedOutput out;
        print(out, 0);
        PdfDoc pdf = out.pdf(0);
        QCOMPARE(pdf.pages(), 1);
        QCOMPARE(pdf.title(), u("교적카드 인쇄"));
        QVERIFY(!pdf.landscape(1));
        QVERIFY(pdf.text(1).startsWith(u("교  적  카  드 출력일시 : 2026-03-05 14:30:15 페이지 : 1 성    명 (한글) 김철수 (   ) 남 생년월일 1965.03.12 음")));
        checkPlaced(pdf,
                    {{"김철수", 41.3, 2.1}, {"1965.03.12", 104.0, 2.1}, {"음", 131.2, 2.1}, {"04.10", 104.0, 9.5},
                     {"135-080", 136.5, 24.6}, {"역삼동 12", 59.3, 30.7}, {"6503121234567", 59.3, 56.1},
                     {"100-180", 182.0, 83.6}, {"2001.01.07", 20.1, 98.4}, {"구역", 58.2, 104.8},
                     {"세례일자", 128.1, 117.5}, {"생년월일  ", 37.0, 134.4}, {"19950101", 37.0, 140.5 + 1.1}},
                    CardLeft, CardTop);
        const PdfWord *family = pdf.find(u("가    족    사    항"));
        QCOMPARE_MM((family->left + family->right) / 2, CardLeft + 100);
        QCOMPARE_MM(family->top, CardTop + 124.9);
        // the area value ends where its box does, right before the label
        QCOMPARE_MM(pdf.find(u("3"))->right, CardLeft + 48.7 + 8.7);
        const PdfWord *church = pdf.find(u("사랑교회"));
        QCOMPARE_MM(church->left, CardLeft + 1.1);
        QCOMPARE_MM(church->top, 297 - 16 - 5.8 + 0.9);
        QVERIFY(pdf.find(u("Printed by 켈모누리 3.0"))->right <= CardLeft + 200);
        const QImage page = pdf.image(1, 60);
        QVERIFY(near(page, 60, CardLeft + 2, CardTop + 20, Qt::blue));
        QVERIFY(near(page, 60, CardLeft + 38, CardTop + 66, Qt::blue));
    }

    void familyRowsContinueOnTheNextPageAndEachCardStartsAPage()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        addMember(r.reg, u("1"), u("가나다"), false);
        addFamily(r.reg, u("1"), 15);
        addMember(r.reg, u("2"), u("라마바"));
        r.open();
        CapturedOutput out;
        print(out, 0);
        PdfDoc pdf = out.pdf(0);
        QCOMPARE(pdf.pages(), 3);
        QCOMPARE(pdf.find(u("가족14"))->page, 1);
        const PdfWord *last = pdf.find(u("가족15"));
        QCOMPARE(last->page, 2);
        QCOMPARE_MM(last->top, CardTop + 1.1); // right under that page's header
        QVERIFY(pdf.find(u("페이지 : 2"), 2));
        QCOMPARE(pdf.find(u("라마바"))->page, 3);
        // no photo: an empty box
        const QImage page = pdf.image(1, 60);
        QVERIFY(near(page, 60, CardLeft + 20, CardTop + 40, Qt::white));
    }

    void namingOptionsRelabelCardsAndAddressBooks()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        addMember(r.reg, u("1"), u("김철수"));
        r.open();
        AreaOption = 1;
        BaptOption = 1;
        CapturedOutput out;
        print(out, 0, [](TfrmPrint &d) {
            d.chkV->setChecked(true);
            d.chkS->setChecked(true);
        });
        print(out, 3);
        for (int i = 0; i < 3; ++i) {
            const PdfDoc pdf = out.pdf(i);
            QVERIFY(pdf.find(u("속회")) && !pdf.find(u("구역")));
            QVERIFY(pdf.find(u("헌아일자")) && pdf.find(u("침례일자")));
            QVERIFY(!pdf.find(u("유아세례")) && !pdf.find(u("세례일자")));
            QVERIFY(pdf.find(u("사랑교회")));
        }
        const PdfDoc book = out.pdf(3);
        const PdfWord *zone = book.find(u("교구"));
        const PdfWord *area = book.find(u("속회"));
        QVERIFY(zone && area);
        QCOMPARE_MM(zone->left, area->left);
        QVERIFY(area->top > zone->top);
    }

    void historyAndVisitCardsPrintTheirRowsAndClipMemos()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        addMember(r.reg, u("1"), u("김철수"));
        addMember(r.reg, u("2"), u("이영희"));
        // far more than three lines of 27 characters: the box holds only what fits
        const QString longMemo = u("첫째 줄의 내용입니다 ") + u("둘째 줄로 넘어가는 긴 내용이고 ").repeated(6) + u("끝말");
        r.reg.db().execute(u("INSERT INTO VISIT (Ino, Vday, Vtime, Leader, Fellow, Place, Content, Result) "
                             "VALUES ('1', '20200105', '1430', '목사님', 2, '자택', :c, '평안함')"),
                           {{u("c"), longMemo}});
        r.reg.db().execute(u("INSERT INTO STUDY (Ino, Eday, Eday2, Ename, Ebigo, Result) "
                             "VALUES ('1', '20190101', '20190301', '제자훈련', '수료', '열심')"));
        r.open();
        CapturedOutput out;
        print(out, 0, [](TfrmPrint &d) {
            d.chkF->setChecked(false);
            d.chkV->setChecked(true);
            d.chkS->setChecked(true);
        });
        QCOMPARE(out.size(), 2);
        const PdfDoc visit = out.pdf(0);
        const PdfDoc history = out.pdf(1);
        QCOMPARE(visit.pages(), 2);
        QCOMPARE(history.pages(), 2);
        checkPlaced(visit,
                    {{"동행자수", 81.5, 68.5}, {"20200105", 1.1, 80.4 + 1.1}, {"1430", 24.3, 80.4 + 1.1},
                     {"목사님", 49.7, 80.4 + 1.1}, {"2", 81.5, 80.4 + 1.1}, {"평안함", 101.6, 80.4 + 6.3}},
                    CardLeft, CardTop, 1);
        QVERIFY(visit.text(1).contains(u("첫째 줄의")));
        QVERIFY(!visit.text(1).contains(u("끝말")));
        QVERIFY(visit.find(u("심    방    내    용")));
        checkPlaced(history, {{"수료", 24.3, 6.3}, {"열심", 24.3, 11.6}}, CardLeft, CardTop + 87.8);
        QCOMPARE(history.find(u("이영희"))->page, 2);
        // the grey title boxes span their declared widths
        const QImage page = history.image(1, 60);
        QVERIFY(near(page, 60, CardLeft + 24.3 + 170, CardTop + 79.1 + 2, QColor(192, 192, 192)));
    }

    void seventeenLabelsFillTwoPages()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        for (int i = 1; i <= 17; ++i)
            r.reg.addMember(u("%1").arg(i), u("회원%1").arg(i, 2, 10, QChar(u'0')),
                            {{u("Sel"), true}, {u("Addr1"), u("주소%1").arg(i)}, {u("Zip"), u("123456")},
                             {u("Jaddr1"), u("직장%1").arg(i)}, {u("Jzip"), u("654321")}});
        r.open();
        CapturedOutput out;
        print(out, 1);
        PdfDoc pdf = out.pdf(0);
        QCOMPARE(pdf.pages(), 2);
        QCOMPARE(pdf.count(u("귀하"), 1), 16);
        QCOMPARE(pdf.count(u("귀하"), 2), 1);
        const double column = (210 - 10 - 3) / 2.0;
        checkPlaced(pdf, {{"회원01", 41.3, 15.5}, {"회원08", 41.3, 7 * 34.07 + 15.5}, {"회원09", column + 3 + 41.3, 15.5}},
                    4, 14, 1);
        checkPlaced(pdf, {{"회원17", 41.3, 15.5}, {"주소17", 3.3, 2.6}, {"123-456", 49.6, 24.8}}, 4, 14, 2);

        print(out, 1, [](TfrmPrint &d) {
            d.rbtnJ->setChecked(true);
            d.chk2->setChecked(true);
        });
        PdfDoc twice = out.pdf(1);
        QCOMPARE(twice.pages(), 3);
        QVERIFY(!twice.find(u("주소1")) && !twice.find(u("123-456")));
        const PdfWord *left = twice.find(u("직장1"));
        const PdfWord *right = twice.find(u("직장1"), 0, 1);
        QVERIFY(left && right);
        QCOMPARE_MM(right->left - left->left, 101.9);
        QCOMPARE_MM(right->top, left->top);
        QCOMPARE(twice.count(u("654-321"), 1), 16);
        QCOMPARE(twice.count(u("회원01")), 2);
    }

    void addressBooksInBothDirections()
    {
        OpenedRegister r;
        PrintSettings s(r.reg.folder());
        addMember(r.reg, u("1"), u("김철수"));
        r.open();
        CapturedOutput out;
        print(out, 3); // landscape, margins 14 (left) and 4 (top)
        print(out, 3, [](TfrmPrint &d) { d.rbtnV->setChecked(true); });
        const PdfDoc wide = out.pdf(0);
        const PdfDoc tall = out.pdf(1);
        QVERIFY(wide.landscape(1));
        QVERIFY(!tall.landscape(1));
        QCOMPARE(wide.title(), u("주소록 인쇄"));
        checkPlaced(wide,
                    {{"출력일시 : 2026-03-05 14:30:15", 1.3, 0.6},
                     {"성  명", 1.3, 15.6 + 2.4}, {"소속", 19.8, 15.6 + 6.3}, {"구역", 64.6, 15.6 + 6.3},
                     {"금년생일", 98.2, 15.6 + 6.3}, {"주      소", 181.5, 15.6 + 1.1}},
                    14, 4);
        const PdfWord *title = wide.find(u("주    소    록"));
        QCOMPARE_MM((title->left + title->right) / 2, 14 + 267.2 / 2);
        QCOMPARE_MM(title->top, 4 + 5.0 + 1.8);
        QCOMPARE_MM(wide.find(u("우편번호"))->right, 14 + 265.4);
        QCOMPARE_MM(wide.find(u("페이지 : 1"))->right, 14 + 267.2 - 1.3);
        checkPlaced(wide,
                    {{"김철수", 1.3, 3.7}, {"남선교회", 19.8, 7.7}, {"1교구", 64.6, 1.1}, {"1965.03.12", 96.3, 1.1},
                     {"04.10", 96.3, 7.4}, {"음", 112.7, 7.4}, {"서울시 강남구", 157.4, 1.1}},
                    14, 4 + 5.0 + 10.6 + 11.1);
        QCOMPARE_MM(wide.find(u("135-080"))->right, 14 + 265.4);
        QCOMPARE_MM(wide.find(u("사랑교회"))->top, 210 - 6 - 5.0 + 0.9);

        checkPlaced(tall, {{"음", 99.5, 7.4}, {"역삼동 12", 129.6, 7.7}}, 4, 14 + 5.0 + 10.6 + 10.8);
    }

    void photoSheetShowsTheCurrentMember()
    {
        OpenedRegister r;
        r.reg.addMember(u("1"), u("김철수"), {{u("Pic"), bitmap(Qt::blue, 60, 80)}, {u("Fpic"), bitmap(Qt::red, 300, 150)}});
        r.reg.addMember(u("2"), u("이영희"));
        TfrmDM &dm = r.open();
        dm.tbMaster.first();
        TfrmPPic sheet(dm.tbMaster);
        QCOMPARE(TfrmPPic::FpicBoxFor(200, 100), QSize(640, 320));
        QCOMPARE(TfrmPPic::FpicBoxFor(150, 200), QSize(330, 440));
        QCOMPARE(sheet.fpicBox(), QSize(621, 440));
        sheet.SizeFpicBox(200, 100);
        QCOMPARE_MM(sheet.qdimgFpic->width, 640 * 25.4 / 96 / 0.8);
        CapturedOutput out;
        sheet.qrptPrt.Preview();
        QCOMPARE(out.outputs()[0].kind, Report::Output::Preview);
        const PdfDoc pdf = out.pdf(0);
        QCOMPARE(pdf.pages(), 1);
        QVERIFY(pdf.landscape(1));
        QCOMPARE(pdf.title(), u("켈모누리 3.0"));
        QCOMPARE(pdf.text(1), u("김철수 님의 사진"));
        checkPlaced(pdf, {{"김철수", 4.0, 2.6}, {"님의 사진", 39.7, 2.6}}, 20, 15);
        const QImage page = pdf.image(1, 60);
        QVERIFY(near(page, 60, 22.5 + 1, 29.1 + 1, Qt::blue));
        QVERIFY(near(page, 60, 22.5 + 38.5, 29.1 + 51.5, Qt::blue));
        // 300 × 150 pixels at the 80 % design scale: 99.2 × 49.6 mm from the box's corner
        QVERIFY(near(page, 60, 67.5 + 1, 46.3 + 1, Qt::red));
        QVERIFY(near(page, 60, 67.5 + 98, 46.3 + 48, Qt::red));
        QVERIFY(near(page, 60, 67.5 + 101, 46.3 + 20, Qt::white));
    }
};

QTEST_MAIN(TestLayouts)
#include "tst_layouts.moc"
