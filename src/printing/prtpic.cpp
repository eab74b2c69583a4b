#include "printing/prtpic.h"

using namespace decl;

namespace {

const ItemDecl TitleItems[] = {
    text("Name", 4.0, 2.6).pt(20),
    label("님의 사진", 39.7, 2.6).pt(20),
    // Both photos are placed from the paper's corner.
    picture("Pic", 22.5, 29.1, 39.7, 52.9).named("qdimgPic").withFrame().onPage(),
    picture("Fpic", 67.5, 46.3, 0, 0).named("qdimgFpic").unstretched().onPage(),
};

} // namespace

TfrmPPic::TfrmPPic(Dataset &member, QObject *owner) : QObject(owner)
{
    qrptPrt.title = QStringLiteral("켈모누리 3.0");
    qrptPrt.page.orientation = QPageLayout::Landscape;
    qrptPrt.setMargins(20, 15, 20, 15);
    qrptPrt.zoom = 0.8;
    qrptPrt.font = ReportFont{QStringLiteral("굴림체"), 10, false};
    // No rows of its own: one page for the member the table stands on.
    ReportBand &title = qrptPrt.addBand(BandType::Title, 11.9, QStringLiteral("Title"));
    title.width = 257.0;
    title.dataSet = &member;
    title.add(TitleItems);
    qdimgPic = qrptPrt.item(QStringLiteral("qdimgPic"));
    qdimgFpic = qrptPrt.item(QStringLiteral("qdimgFpic"));
    qdimgFpic->width = m_fpicBox.width() * qrptPrt.pixelMm();
    qdimgFpic->height = m_fpicBox.height() * qrptPrt.pixelMm();
}

QSize TfrmPPic::FpicBoxFor(int w, int h)
{
    if (h <= 0)
        return {621, 440};
    int width = w * 440 / h;
    int height = 440;
    if (width > 640) {
        height = 281600 / width;
        width = 640;
    }
    return {width, height};
}

void TfrmPPic::SizeFpicBox(int w, int h)
{
    m_fpicBox = FpicBoxFor(w, h);
    qdimgFpic->width = m_fpicBox.width() * qrptPrt.pixelMm();
    qdimgFpic->height = m_fpicBox.height() * qrptPrt.pixelMm();
}
