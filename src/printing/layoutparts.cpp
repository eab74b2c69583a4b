#include "printing/layoutparts.h"

void AddBlock(ReportBand &band, std::span<const ItemDecl> items, double size)
{
    for (ItemDecl item : items) {
        if (item.size <= 0)
            item.size = size;
        band.add(item);
    }
}

ReportItem *AddChurchFooter(Report &report, double height, double bandWidth)
{
    using namespace decl;
    const double programBox = 56.9;
    ReportBand &footer = report.addBand(BandType::PageFooter, height, QStringLiteral("PageFooter"));
    footer.lineTop = true;
    const ItemDecl items[] = {
        label("교회", 1.1, 0.9).named("lblCname").pt(10),
        label("Printed by 켈모누리 3.0", bandWidth - programBox - 1.1, 0.9).right(programBox).pt(10),
    };
    footer.add(items);
    return report.item(QStringLiteral("lblCname"));
}
