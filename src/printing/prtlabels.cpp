#include "printing/prtlabels.h"

using namespace decl;

namespace {

constexpr double LabelHeight = 34.07;
constexpr double SecondCopy = 101.9; // the two-copies sheet's second label, from the first

// One label; `name` gets the copy's suffix on the two-copies sheet.
const ItemDecl Label[] = {
    text("Addr1", 3.3, 2.6).named("txtAddr1").pt(10).bolded(),
    text("Addr2", 3.3, 9.3).named("txtAddr2").pt(10).bolded(),
    text("Name", 41.3, 15.5).named("txtName").pt(18).bolded(),
    label("귀하", 76.1, 16.5).pt(12),
    text("Zip", 49.6, 24.8).named("txtZip").pt(18),
};

void setUpSheet(Report &report, DataSource &rows)
{
    report.title = QStringLiteral("라벨용지 인쇄");
    report.dataSet = rows.dataset();
    report.setMargins(5, 14, 5, 0);
}

ReportItem *find(Report &report, const char *name)
{
    return report.item(QString::fromUtf8(name));
}

} // namespace

TfrmPL9934_1::TfrmPL9934_1(DataSource &rows, QObject *owner) : QObject(owner)
{
    setUpSheet(qrptPrt, rows);
    qrptPrt.page.columns = 2;
    qrptPrt.page.columnSpace = 3;
    ReportBand &band = qrptPrt.addBand(BandType::Detail, LabelHeight, QStringLiteral("qrb_label"));
    band.width = 98.56;
    band.add(Label);
    txtAddr1 = find(qrptPrt, "txtAddr1");
    txtAddr2 = find(qrptPrt, "txtAddr2");
    txtName = find(qrptPrt, "txtName");
    txtZip = find(qrptPrt, "txtZip");
}

TfrmPL9934_2::TfrmPL9934_2(DataSource &rows, QObject *owner) : QObject(owner)
{
    setUpSheet(qrptPrt, rows);
    ReportBand &band = qrptPrt.addBand(BandType::Detail, LabelHeight, QStringLiteral("QRBand1"));
    band.width = 200.09;
    for (int copy = 1; copy <= 2; ++copy) {
        for (const ItemDecl &d : Label) {
            ReportItem &item = band.add(d);
            item.left += (copy - 1) * SecondCopy;
            if (!item.name.isEmpty())
                item.name += QStringLiteral("_%1").arg(copy);
        }
    }
    txtAddr1_1 = find(qrptPrt, "txtAddr1_1");
    txtAddr2_1 = find(qrptPrt, "txtAddr2_1");
    txtName_1 = find(qrptPrt, "txtName_1");
    txtZip_1 = find(qrptPrt, "txtZip_1");
    txtAddr1_2 = find(qrptPrt, "txtAddr1_2");
    txtAddr2_2 = find(qrptPrt, "txtAddr2_2");
    txtName_2 = find(qrptPrt, "txtName_2");
    txtZip_2 = find(qrptPrt, "txtZip_2");
}
