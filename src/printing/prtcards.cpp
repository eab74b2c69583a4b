#include "printing/prtcards.h"

#include "printing/layoutparts.h"

using namespace decl;

namespace {

constexpr double PrintableWidth = 200.0; // A4 less the dialog's left and right margins, always 10 mm

const ItemDecl PageHeader[] = {
    printDate("출력일시 : ", 1.1, 9.7),
    pageNumber("페이지 : ", 0, 9.7).right(PrintableWidth - 1.1),
};

// Name, birthday and telephones: the same on the three cards.
const ItemDecl UpperBlock[] = {
    label("성    명", 2.1, 2.1), label("(한글)", 24.6, 2.1), text("Name", 41.3, 2.1),
    label("(   )", 67.7, 2.1), text("X", 72.2, 2.1), label("생년월일", 81.5, 2.1),
    text("Bday", 104.0, 2.1), text("L", 131.2, 2.1), label("전화번호", 140.8, 2.1),
    text("Tel1", 163.0, 2.1),
    label("(漢字)", 24.6, 9.5), text("Hname", 41.3, 9.5), label("금년생일", 81.5, 9.5),
    text("Tday", 104.0, 9.5), label("이동전화", 140.8, 9.5), text("Hp", 163.0, 9.5),
    rule(14.8),
};

// Church data; `top` holds the row (0 to 3), placed by each card.
const ItemDecl ChurchBlock[] = {
    label("등록일자", 2.1, 0), text("Reg", 20.1, 0), label("인 도 자", 58.2, 0),
    text("Guide", 76.2, 0), label("등록경위", 112.2, 0), text("Cur", 130.2, 0),

    label("교    구", 2.1, 1), text("Zone", 20.1, 1), text("Area", 48.7, 1).right(8.7),
    label("구역", 58.2, 1).named("lblArea"), label("소속기관", 72.0, 1), text("Part", 90.0, 1),
    label("직책", 145.0, 1), text("Resp", 154.5, 1),

    label("직    분", 2.1, 2), text("Duty1", 20.1, 2), label("활동기타", 67.7, 2),
    text("Duty2", 85.7, 2), label("비고", 136.5, 2), text("Bigo", 146.1, 2),

    label("유아세례", 2.1, 3).named("lblChd"), text("Chd", 20.1, 3), label("학습일자", 67.7, 3),
    text("Std", 85.7, 3), label("세례일자", 128.1, 3).named("lblBap"), text("Bap", 146.1, 3),
};

const double RecordCardChurchRows[4] = {98.4, 104.8, 111.1, 117.5};
const double OtherCardChurchRows[4] = {33.1, 39.2, 45.5, 51.9};

// Record card: photo, home, personal and workplace data.
const ItemDecl PersonalBlock[] = {
    picture("Pic", 0.8, 18.0, 38.6, 48.9).withFrame(),
    label("전화번호", 41.3, 18.0), text("Tel2", 59.3, 18.0), label("세대주명", 155.6, 18.0),
    text("Gname", 173.6, 18.0),
    label("자택주소", 41.3, 24.6), text("Addr1", 59.3, 24.6), text("Zip", 136.5, 24.6),
    label("관    계", 155.6, 24.6), text("Grel", 173.6, 24.6),
    text("Addr2", 59.3, 30.7),
    label("본    적", 41.3, 37.0), text("Bon", 59.3, 37.0),
    label("전자우편", 41.3, 43.4), text("Email", 59.3, 43.4),
    label("학    력", 41.3, 49.7), text("Learn", 59.3, 49.7), label("전    공", 109.0, 49.7),
    text("Major", 127.0, 49.7),
    label("주민번호", 41.3, 56.1), text("Regno", 59.3, 56.1), label("결혼일자", 109.0, 56.1),
    text("Mday", 127.0, 56.1),
    label("취    미", 41.3, 62.4), text("Hobby", 59.3, 62.4), label("특    기", 109.0, 62.4),
    text("Spec", 127.0, 62.4), label("혈 액 형", 171.4, 62.4), text("Bl", 189.4, 62.4),
    rule(67.7),
    label("근 무 처", 2.1, 70.9), text("Job", 20.1, 70.9), label("직    종", 92.1, 70.9),
    text("Jkind", 110.1, 70.9),
    label("부    서", 2.1, 77.3), text("Jpart", 20.1, 77.3), label("직    위", 92.1, 77.3),
    text("Jduty", 110.1, 77.3),
    label("직장전화", 2.1, 83.6), text("Jtel", 20.1, 83.6), label("직장주소", 92.1, 83.6),
    text("Jaddr1", 110.1, 83.6), text("Jzip", 182.0, 83.6),
    label("직장팩스", 2.1, 90.0), text("Jfax", 20.1, 90.0), text("Jaddr2", 110.1, 90.0),
    rule(95.2),
};

const ItemDecl FamilyTitles[] = {
    rule(122.8), label("가    족    사    항", 0, 124.9).centred().pt(14), rule(131.2),
    label("관계  ", 1.1, 134.4), label("성명      ", 14.8, 134.4), label("생년월일  ", 37.0, 134.4),
    label("학력      ", 59.3, 134.4), label("근무처                ", 81.5, 134.4),
    label("직종      ", 129.1, 134.4), label("비고                  ", 151.3, 134.4),
};

// Family rows print as stored: their dates are the 8 digits.
const ItemDecl FamilyRow[] = {
    text("Rel", 1.1, 1.1).asStored(), text("Name", 14.8, 1.1).asStored(),
    text("Bday", 37.0, 1.1).asStored(), text("Learn", 59.3, 1.1).asStored(),
    text("Job", 81.5, 1.1).asStored(), text("Jkind", 129.1, 1.1).asStored(),
    text("Fbigo", 151.3, 1.1).asStored(),
};

// History and visit cards: home address instead of the photo and workplace.
const ItemDecl AddressBlock[] = {
    label("자택주소", 2.1, 18.0), text("Addr1", 24.3, 18.0), text("Zip", 116.4, 18.0),
    label("전화번호", 140.8, 18.0), text("Tel2", 163.0, 18.0),
    text("Addr2", 24.3, 24.3),
    rule(29.6),
};

constexpr double GreyBoxHeight = 4.9;

const ItemDecl HistoryTitles[] = {
    rule(57.1), label("이    력    내    용", 0, 59.3).centred().pt(14), rule(65.6),
    label("일자      ", 1.1, 68.5).shaded(21.4, GreyBoxHeight),
    label("내용", 24.3, 68.5).shaded(173.8, GreyBoxHeight),
    label("비고", 24.3, 73.8).shaded(173.8, GreyBoxHeight),
    label("메모", 24.3, 79.1).shaded(173.8, GreyBoxHeight),
};

const ItemDecl HistoryRow[] = {
    text("Eday", 1.1, 1.1).asStored(), text("Ename", 24.3, 1.1).asStored(),
    text("Eday2", 1.1, 6.3).asStored(), text("Ebigo", 24.3, 6.3).asStored(),
    memo("Result", 24.3, 11.6, 173.8, 14.0).pt(10), line(24.3, 25.6, 173.8),
};

const ItemDecl VisitTitles[] = {
    rule(57.1), label("심    방    내    용", 0, 59.3).centred().pt(14), rule(65.6),
    label("일자      ", 1.1, 68.5).shaded(21.4, GreyBoxHeight),
    label("시 간", 24.3, 68.5).shaded(10.8, GreyBoxHeight),
    label("인도자    ", 48.7, 68.5).shaded(21.4, GreyBoxHeight),
    label("동행자수", 81.5, 68.5).shaded(17.2, GreyBoxHeight),
    label("장소", 101.6, 68.5).shaded(97.6, GreyBoxHeight),
    label("내용", 1.1, 73.8).shaded(97.6, GreyBoxHeight),
    label("결과", 101.6, 73.8).shaded(97.6, GreyBoxHeight),
};

const ItemDecl VisitRow[] = {
    text("Vday", 1.1, 1.1).asStored(), text("Vtime", 24.3, 1.1).asStored(),
    text("Leader", 49.7, 1.1).asStored(), text("Fellow", 81.5, 1.1).asStored(),
    text("Place", 101.6, 1.1).asStored(),
    memo("Content", 1.1, 6.3, 97.6, 14.0).pt(10), line(1.1, 20.3, 97.3),
    vline(98.4, 6.3, 14.0),
    memo("Result", 101.6, 6.3, 97.6, 14.0).pt(10), line(101.6, 20.3, 97.6),
};

} // namespace

RecordCard::RecordCard(DataSource &rows, const char *title, double detailHeight,
                       const double (&churchRows)[4], QObject *owner)
    : QObject(owner), m_rows(rows)
{
    qrptPrt.title = QStringLiteral("교적카드 인쇄");
    qrptPrt.dataSet = rows.dataset();
    qrptPrt.page.frame = true;
    qrptPrt.setMargins(4, 14, 6, 16);

    ReportBand &header = qrptPrt.addBand(BandType::PageHeader, 14.6, QStringLiteral("PageHeader"));
    header.font.size = 10;
    header.add(PageHeader);
    header.add(label(title, 0, 1.2).centred().face("굴림체").pt(20).bolded());

    m_detail = &qrptPrt.addBand(BandType::Detail, detailHeight, QStringLiteral("Detail"));
    m_detail->font.size = 12;
    m_detail->lineTop = m_detail->lineBottom = true;
    m_detail->newPagePerRow = true;
    AddBlock(*m_detail, UpperBlock, 14);
    for (ItemDecl item : ChurchBlock) {
        item.top = churchRows[int(item.top)];
        m_detail->add(item);
    }

    lblCname = AddChurchFooter(qrptPrt, 5.8, PrintableWidth);
    lblArea = qrptPrt.item(QStringLiteral("lblArea"));
    lblChd = qrptPrt.item(QStringLiteral("lblChd"));
    lblBap = qrptPrt.item(QStringLiteral("lblBap"));
}

ReportBand &RecordCard::addSubDetail(Table &table, const char *order, double height)
{
    table.setIndexFieldNames(QString::fromUtf8(order));
    table.setMasterSource(&m_rows, QStringLiteral("Ino"));
    ReportBand &band = qrptPrt.addBand(BandType::SubDetail, height, QStringLiteral("SubDetail"));
    band.font.size = 12;
    band.dataSet = &table;
    return band;
}

TfrmPMaster::TfrmPMaster(DataSource &rows, QObject *owner)
    : RecordCard(rows, "교  적  카  드", 140.5, RecordCardChurchRows, owner),
      tbFamily(rows.dataset()->database(), QStringLiteral("FAMILY"))
{
    detail().add(PersonalBlock);
    detail().add(FamilyTitles);
    addSubDetail(tbFamily, "Ino;Seq", 7.4).add(FamilyRow);
}

TfrmPStudy::TfrmPStudy(DataSource &rows, QObject *owner)
    : RecordCard(rows, "이력 기록 카드", 87.8, OtherCardChurchRows, owner),
      tbStudy(rows.dataset()->database(), QStringLiteral("STUDY"))
{
    AddBlock(detail(), AddressBlock, 14);
    detail().add(HistoryTitles);
    addSubDetail(tbStudy, "Ino;Eday;Eday2;Ename", 27.5).add(HistoryRow);
}

TfrmPVisit::TfrmPVisit(DataSource &rows, QObject *owner)
    : RecordCard(rows, "심방 기록 카드", 80.4, OtherCardChurchRows, owner),
      tbVisit(rows.dataset()->database(), QStringLiteral("VISIT"))
{
    AddBlock(detail(), AddressBlock, 14);
    detail().add(VisitTitles);
    addSubDetail(tbVisit, "Ino;Vday;Vtime", 22.2).add(VisitRow);
}
