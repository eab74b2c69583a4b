#include "printing/prtaddr.h"

#include "printing/layoutparts.h"

using namespace decl;

namespace {

// An item of both books: its place on the landscape book, and the left edge (and, for the
// right-aligned ones, the width) on the portrait book.
struct BookItem {
    ItemDecl item;
    double portraitLeft;
    double portraitWidth = 0;
};

const BookItem ColumnTitles[] = {
    {label("성  명", 1.3, 2.4).pt(12), 1.3},
    {label("직분", 19.8, 1.1), 18.3},
    {label("소속", 19.8, 6.3), 18.3},
    {label("교구", 64.6, 1.1).named("lblZone"), 57.9},
    {label("구역", 64.6, 6.3).named("lblArea"), 57.9},
    {label("생년월일", 98.2, 1.1), 86.3},
    {label("금년생일", 98.2, 6.3), 86.3},
    {label("자택전화", 122.2, 1.1), 104.2},
    {label("이동전화", 122.2, 6.3), 104.2},
    {label("주      소", 181.5, 1.1), 145.8},
    {label("우편번호", 0, 1.1).right(265.4), 0, 200.3},
};

const BookItem MemberRow[] = {
    {text("Name", 1.3, 3.7).pt(12), 1.3},
    {text("Duty1", 19.8, 1.1), 18.3},
    {text("Part", 19.8, 7.7), 18.3},
    {text("Zone", 64.6, 1.1), 57.9},
    {text("Area", 64.6, 7.7), 57.9},
    {text("Bday", 96.3, 1.1), 84.4},
    {text("Tday", 96.3, 7.4), 84.4},
    {text("L", 112.7, 7.4), 99.5},
    {text("Tel1", 122.2, 1.1), 104.2},
    {text("Hp", 122.2, 7.7), 104.2},
    {text("Addr1", 157.4, 1.1), 129.6},
    {text("Addr2", 157.4, 7.7), 129.6},
    {text("Zip", 0, 1.1).right(265.4), 0, 199.5},
};

template <size_t N> void addBookItems(ReportBand &band, const BookItem (&items)[N], bool landscape)
{
    for (const BookItem &b : items) {
        ItemDecl d = b.item;
        if (!landscape) {
            d.left = b.portraitLeft;
            if (b.portraitWidth > 0)
                d.width = b.portraitWidth;
        }
        band.add(d);
    }
}

} // namespace

AddressBook::AddressBook(DataSource &rows, bool landscape, QObject *owner) : QObject(owner)
{
    const double bandWidth = landscape ? 267.2 : 200.0;
    qrptPrt.title = QStringLiteral("주소록 인쇄");
    qrptPrt.dataSet = rows.dataset();
    if (landscape) {
        qrptPrt.page.orientation = QPageLayout::Landscape;
        qrptPrt.setMargins(15, 10, 15, 10);
    } else {
        qrptPrt.setMargins(5, 15, 5, 15);
    }

    ReportBand &header = qrptPrt.addBand(BandType::PageHeader, 5.0, QStringLiteral("PageHeader"));
    header.width = bandWidth;
    header.font.size = 10;
    const ItemDecl headerItems[] = {
        printDate("출력일시 : ", 1.3, 0.6),
        pageNumber("페이지 : ", 0, 0.6).right(bandWidth - 1.3),
    };
    header.add(headerItems);

    ReportBand &title = qrptPrt.addBand(BandType::Title, 10.6, QStringLiteral("Title"));
    title.width = bandWidth;
    title.lineTop = true;
    title.add(label("주    소    록", 0, 1.8).centred().face("굴림체").pt(20).bolded());

    ReportBand &columns = qrptPrt.addBand(BandType::ColumnHeader, landscape ? 11.1 : 10.8,
                                          QStringLiteral("ColumnHeader"));
    columns.width = bandWidth;
    columns.font.size = 10;
    columns.background = QColor(192, 192, 192);
    addBookItems(columns, ColumnTitles, landscape);

    ReportBand &detail = qrptPrt.addBand(BandType::Detail, landscape ? 13.8 : 14.3, QStringLiteral("Detail"));
    detail.width = bandWidth;
    detail.font.size = 10;
    detail.lineBottom = true;
    addBookItems(detail, MemberRow, landscape);

    lblCname = AddChurchFooter(qrptPrt, 5.0, bandWidth);
    lblZone = qrptPrt.item(QStringLiteral("lblZone"));
    lblArea = qrptPrt.item(QStringLiteral("lblArea"));
}
