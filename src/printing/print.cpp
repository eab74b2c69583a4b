#include "printing/print.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "platform/report.h"
#include "platform/textprinter.h"
#include "printing/prtaddr.h"
#include "printing/prtcards.h"
#include "printing/prtlabels.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmPrint *frmPrint = nullptr;

namespace {

const char *const ListItems[] = {
    "생년월일", "자택전화", "이동전화", "자택주소", "결혼기념일", "학력/전공",
    "전자우편", "등록일자", "교구/구역", "소속/직책", "직분", "학습/세례",
    "근무처",   "부서/직위", "직장전화", "직장팩스", "직장주소",
};
constexpr int ListItemCount = int(std::size(ListItems));

// The masks the layouts print the marked members with; every other column prints as stored.
QString printMask(const QString &field)
{
    static const QStringList dates{QStringLiteral("BDAY"), QStringLiteral("MDAY"), QStringLiteral("REG"),
                                   QStringLiteral("STD"),  QStringLiteral("BAP"),  QStringLiteral("CHD")};
    const QString f = field.toUpper();
    if (dates.contains(f))
        return QStringLiteral("9999.99.99;0;_");
    if (f == QLatin1String("TDAY"))
        return QStringLiteral("99.99;0;_");
    if (f == QLatin1String("ZIP") || f == QLatin1String("JZIP"))
        return QStringLiteral("999-999;0;_");
    return {};
}

QString value(Dataset &rows, const char *field)
{
    return rows.fieldByName(QString::fromLatin1(field)).asString();
}

// A spin box stepped only by its arrows, as the margins are.
QSpinBox *arrowSpin(int maximum, const QString &hint, QWidget *parent)
{
    auto *spin = new QSpinBox(parent);
    spin->setRange(0, maximum);
    spin->setToolTip(hint);
    if (auto *edit = spin->findChild<QLineEdit *>())
        edit->setReadOnly(true);
    return spin;
}

} // namespace

QString ListItemLine(int index, Dataset &rows)
{
    auto v = [&rows](const char *field) { return value(rows, field); };
    switch (index) {
    case 0: return QStringLiteral("      - 생년월일 : ") + v("Bday") + QStringLiteral(" (") + v("L") + QStringLiteral(")");
    case 1: return QStringLiteral("      - 자택전화 : (1) ") + v("Tel1") + QStringLiteral(", (2) ") + v("Tel2");
    case 2: return QStringLiteral("      - 이동전화 : ") + v("Hp");
    case 3:
        return QStringLiteral("      - 자택주소 : ") + v("Addr1") + QStringLiteral(" ") + v("Addr2") +
               QStringLiteral(" (") + v("Zip") + QStringLiteral(")");
    case 4: return QStringLiteral("      - 결혼기념일: ") + v("Mday");
    case 5: return QStringLiteral("      - 학력/전공: ") + v("Learn") + QStringLiteral(" / ") + v("Major");
    case 6: return QStringLiteral("      - 전자우편 : ") + v("Email");
    case 7: return QStringLiteral("      - 등록일자 : ") + v("Reg") + QStringLiteral(" / ") + v("Cur");
    case 8:
        return (AreaOption > 0 ? QStringLiteral("      - 교구/속회: ") : QStringLiteral("      - 교구/구역: ")) +
               v("Zone") + QStringLiteral(" / ") + v("Area");
    case 9: return QStringLiteral("      - 소속/직책: ") + v("Part") + QStringLiteral(" / ") + v("Resp");
    case 10: return QStringLiteral("      - 직    분 : (1) ") + v("Duty1") + QStringLiteral(", (2) ") + v("Duty2");
    case 11:
        if (BaptOption > 0)
            return QStringLiteral("      - 학습/침례: (헌아) ") + v("Chd") + QStringLiteral(" (학습) ") + v("Std") +
                   QStringLiteral(" (") + QStringLiteral("침례") + QStringLiteral(") ") + v("Bap");
        return QStringLiteral("      - 학습/세례: (유아) ") + v("Chd") + QStringLiteral(" (학습) ") + v("Std") +
               QStringLiteral(" (") + QStringLiteral("세례") + QStringLiteral(") ") + v("Bap");
    case 12: return QStringLiteral("      - 근 무 처 : ") + v("Job") + QStringLiteral(" / ") + v("Jkind");
    case 13: return QStringLiteral("      - 부서/직위: ") + v("Jpart") + QStringLiteral(" / ") + v("Jduty");
    case 14: return QStringLiteral("      - 직장전화 : ") + v("Jtel");
    case 15: return QStringLiteral("      - 직장팩스 : ") + v("Jfax");
    case 16:
        return QStringLiteral("      - 직장주소 : ") + v("Jaddr1") + QStringLiteral(" ") + v("Jaddr2") +
               QStringLiteral(" (") + v("Jzip") + QStringLiteral(")");
    default: return {};
    }
}

TfrmPrint::TfrmPrint(QWidget *parent) : TForm(parent), qrPrt(&frmDM->dbKelmo)
{
    frmPrint = this;
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("인쇄"));

    grdPrt = new DBGrid(this);
    grdPrt->setObjectName(QStringLiteral("grdPrt"));
    grdPrt->setDataSource(&dsPrt);
    grdPrt->setColumns({DBGrid::Column(QStringLiteral("Name"), QStringLiteral("선택 명단"))});
    grdPrt->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPrt->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPrt->setFixedWidth(150);

    rdgStyle = new QGroupBox(QStringLiteral("인쇄 형식"), this);
    rdgStyle->setObjectName(QStringLiteral("rdgStyle"));
    rdgStyleItems = new QButtonGroup(rdgStyle);
    auto *styleLayout = new QVBoxLayout(rdgStyle);
    const char *const styles[] = {"교적카드(&1)", "라벨용지(&2)", "리 스 트(&3)", "주 소 록(&4)"};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(QString::fromUtf8(styles[i]), rdgStyle);
        rdgStyleItems->addButton(b, i);
        styleLayout->addWidget(b);
    }
    rdgStyleItems->button(0)->setChecked(true);
    connect(rdgStyleItems, &QButtonGroup::idClicked, this, [this] { rdgStyleClick(); });

    auto *options = new QGroupBox(QStringLiteral("선택 사항"), this);
    auto *optionsLayout = new QVBoxLayout(options);

    pnl1 = new QWidget(options);
    pnl1->setObjectName(QStringLiteral("pnl1"));
    chkF = new QCheckBox(QStringLiteral("개인 사항"), pnl1);
    chkV = new QCheckBox(QStringLiteral("심방 기록"), pnl1);
    chkS = new QCheckBox(QStringLiteral("이력 기록"), pnl1);
    chkF->setChecked(true);
    auto *l1 = new QVBoxLayout(pnl1);
    l1->addWidget(chkF);
    l1->addWidget(chkV);
    l1->addWidget(chkS);
    l1->addStretch();

    pnl2 = new QWidget(options);
    pnl2->setObjectName(QStringLiteral("pnl2"));
    rbtnM = new QRadioButton(QStringLiteral("자택 주소"), pnl2);
    rbtnJ = new QRadioButton(QStringLiteral("직장 주소"), pnl2);
    rbtnM->setChecked(true);
    chk2 = new QCheckBox(QStringLiteral("2매씩"), pnl2);
    chk2->setToolTip(QStringLiteral("한번에 2매씩 인쇄합니다."));
    auto *l2 = new QVBoxLayout(pnl2);
    l2->addWidget(rbtnM);
    l2->addWidget(rbtnJ);
    l2->addWidget(chk2);
    l2->addStretch();

    clbx3 = new QListWidget(options);
    clbx3->setObjectName(QStringLiteral("clbx3"));
    clbx3->setToolTip(QStringLiteral("리스트로 출력할 항목을 선택합니다."));
    for (const char *caption : ListItems) {
        auto *item = new QListWidgetItem(QString::fromUtf8(caption), clbx3);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    pnl4 = new QWidget(options);
    pnl4->setObjectName(QStringLiteral("pnl4"));
    rbtnH = new QRadioButton(QStringLiteral("가로 방향"), pnl4);
    rbtnV = new QRadioButton(QStringLiteral("세로 방향"), pnl4);
    rbtnH->setChecked(true);
    auto *l4 = new QVBoxLayout(pnl4);
    l4->addWidget(rbtnH);
    l4->addWidget(rbtnV);
    l4->addStretch();

    for (QWidget *w : {pnl1, pnl2, static_cast<QWidget *>(clbx3), pnl4})
        optionsLayout->addWidget(w);

    gbxMargin = new QGroupBox(QStringLiteral("여백 설정(&M)"), this);
    gbxMargin->setObjectName(QStringLiteral("gbxMargin"));
    spedtTop = arrowSpin(30, QStringLiteral("위쪽 여백을 조절합니다.(30까지)"), gbxMargin);
    spedtTop->setObjectName(QStringLiteral("spedtTop"));
    spedtLeft = arrowSpin(10, QStringLiteral("왼쪽 여백을 조절합니다.(10까지)"), gbxMargin);
    spedtLeft->setObjectName(QStringLiteral("spedtLeft"));
    auto *margins = new QHBoxLayout(gbxMargin);
    margins->addWidget(new QLabel(QStringLiteral("위쪽"), gbxMargin));
    margins->addWidget(spedtTop);
    margins->addWidget(new QLabel(QStringLiteral("mm"), gbxMargin));
    margins->addSpacing(12);
    margins->addWidget(new QLabel(QStringLiteral("왼쪽"), gbxMargin));
    margins->addWidget(spedtLeft);
    margins->addWidget(new QLabel(QStringLiteral("mm"), gbxMargin));

    bbtnPrint = new QPushButton(QStringLiteral("인쇄(&P)"), this);
    bbtnPrint->setObjectName(QStringLiteral("bbtnPrint"));
    bbtnCancel = new QPushButton(QStringLiteral("취소(&C)"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    setCancelButton(bbtnCancel);
    connect(bbtnPrint, &QPushButton::clicked, this, GuardedSlot(this, &TfrmPrint::bbtnPrintClick));
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });

    auto *right = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    top->addWidget(rdgStyle);
    top->addWidget(options, 1);
    right->addLayout(top, 1);
    right->addWidget(gbxMargin);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbtnPrint);
    buttons->addWidget(bbtnCancel);
    right->addLayout(buttons);
    auto *main = new QHBoxLayout(this);
    main->addWidget(grdPrt);
    main->addLayout(right, 1);

    ShowStylePanel(0);
    FormCreate();
    setFixedSize(sizeHint().expandedTo(QSize(500, 360)));
    centreOn(parent);
}

TfrmPrint::~TfrmPrint()
{
    if (frmPrint == this)
        frmPrint = nullptr;
}

int TfrmPrint::styleIndex() const
{
    return rdgStyleItems->checkedId();
}

void TfrmPrint::setStyleIndex(int index)
{
    if (QAbstractButton *b = rdgStyleItems->button(index))
        b->click();
}

bool TfrmPrint::listItemChecked(int index) const
{
    const QListWidgetItem *item = clbx3->item(index);
    return item && item->checkState() == Qt::Checked;
}

void TfrmPrint::setListItemChecked(int index, bool checked)
{
    if (QListWidgetItem *item = clbx3->item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void TfrmPrint::FormCreate()
{
    spedtTop->setValue(MarginTop);
    spedtLeft->setValue(MarginLeft);
    if (PrintSortField.isEmpty())
        PrintSortField = QStringLiteral("NAME");
    qrPrt.close();
    qrPrt.setSql(QStringLiteral("SELECT * FROM MASTER WHERE SEL = TRUE ORDER BY ") + PrintSortField);
    qrPrt.open();
    for (int i = 0; i < qrPrt.fieldCount(); ++i)
        qrPrt.field(i).setEditMask(printMask(qrPrt.field(i).name()));
}

void TfrmPrint::rdgStyleClick()
{
    ShowStylePanel(styleIndex());
}

void TfrmPrint::ShowStylePanel(int index)
{
    QWidget *const panels[] = {pnl1, pnl2, clbx3, pnl4};
    if (index < 0 || index >= int(std::size(panels)))
        return;
    for (int i = 0; i < int(std::size(panels)); ++i)
        panels[i]->setVisible(i == index);
}

void TfrmPrint::bbtnPrintClick()
{
    const int top = spedtTop->value();
    const int left = spedtLeft->value();
    MarginTop = top;
    MarginLeft = left;
    try {
        if (IniFile) {
            IniFile->WriteInteger(QStringLiteral("Margin"), QStringLiteral("Top"), top);
            IniFile->WriteInteger(QStringLiteral("Margin"), QStringLiteral("Left"), left);
        }
    } catch (const IniError &) {
        ShowError(QStringLiteral("설정사항을 쓰는 중에 오류가 발생했습니다."));
        return;
    }

    // A failed output is told and the dialog stays open for another try; every layout is
    // freed on the way out of its own block.
    try {
        switch (styleIndex()) {
        case 0:
            printCards(left, top);
            break;
        case 1:
            printLabels(left, top);
            break;
        case 2:
            if (MessageBox(QStringLiteral("인쇄할 준비가 되었으면 확인을 누르세요."), QStringLiteral("리스트 인쇄"),
                           MsgButtons::OkCancel, MsgIcon::Question) == IDOK)
                PrintList();
            break;
        case 3:
            printAddressBook(left, top);
            break;
        default:
            break;
        }
    } catch (const ReportError &e) {
        ShowError(e.message());
        return;
    } catch (const std::exception &e) {
        ShowError(Report::failedMessage() + QStringLiteral("\r\n") + QString::fromUtf8(e.what()));
        return;
    }
    setModalResult(mrOk);
}

void TfrmPrint::printCards(int left, int top)
{
    // Wording, church name, rows and margins, in the order the set-up always ran.
    auto setUp = [&](RecordCard &card, Table &rows) {
        card.lblArea->caption = AreaOption > 0 ? QStringLiteral("속회") : QStringLiteral("구역");
        card.lblChd->caption = BaptOption > 0 ? QStringLiteral("헌아일자") : QStringLiteral("유아세례");
        card.lblBap->caption = BaptOption > 0 ? QStringLiteral("침례일자") : QStringLiteral("세례일자");
        rows.open();
        card.lblCname->caption = ChurchName;
        card.qrptPrt.setMargins(left, top, 10 - left, 30 - top);
    };
    if (chkF->isChecked()) {
        TfrmPMaster card(dsPrt);
        setUp(card, card.tbFamily);
        card.qrptPrt.Preview();
    }
    if (chkV->isChecked()) {
        TfrmPVisit card(dsPrt);
        setUp(card, card.tbVisit);
        card.qrptPrt.Print();
    }
    if (chkS->isChecked()) {
        TfrmPStudy card(dsPrt);
        setUp(card, card.tbStudy);
        card.qrptPrt.Print();
    }
}

void TfrmPrint::printLabels(int left, int top)
{
    const bool home = rbtnM->isChecked();
    const QString addr1 = home ? QStringLiteral("ADDR1") : QStringLiteral("JADDR1");
    const QString addr2 = home ? QStringLiteral("ADDR2") : QStringLiteral("JADDR2");
    const QString zip = home ? QStringLiteral("ZIP") : QStringLiteral("JZIP");
    // The bottom margin stays the sheet's own.
    auto setLabelMargins = [&](Report &report) {
        report.page.leftMargin = left;
        report.page.topMargin = top;
        report.page.rightMargin = 10 - left;
    };
    if (chk2->isChecked()) {
        TfrmPL9934_2 sheet(dsPrt);
        for (ReportItem *i : {sheet.txtAddr1_1, sheet.txtAddr1_2})
            i->field = addr1;
        for (ReportItem *i : {sheet.txtAddr2_1, sheet.txtAddr2_2})
            i->field = addr2;
        for (ReportItem *i : {sheet.txtZip_1, sheet.txtZip_2})
            i->field = zip;
        setLabelMargins(sheet.qrptPrt);
        sheet.qrptPrt.Print();
    } else {
        TfrmPL9934_1 sheet(dsPrt);
        sheet.txtAddr1->field = addr1;
        sheet.txtAddr2->field = addr2;
        sheet.txtZip->field = zip;
        setLabelMargins(sheet.qrptPrt);
        sheet.qrptPrt.Print();
    }
}

void TfrmPrint::printAddressBook(int left, int top)
{
    auto setUp = [](AddressBook &book) {
        book.lblArea->caption = AreaOption > 0 ? QStringLiteral("속회") : QStringLiteral("구역");
        book.lblCname->caption = ChurchName;
    };
    if (rbtnH->isChecked()) {
        TfrmPAddr_h book(dsPrt);
        setUp(book);
        // The landscape page takes the top setting on its left side.
        book.qrptPrt.setMargins(top, left, 30 - top, 10 - left);
        book.qrptPrt.Print();
    } else {
        TfrmPAddr_v book(dsPrt);
        setUp(book);
        book.qrptPrt.setMargins(left, top, 10 - left, 30 - top);
        book.qrptPrt.Print();
    }
}

void TfrmPrint::PrintList()
{
    TextPrinter printer;
    printer.open(QStringLiteral("리스트 인쇄"));
    ControlsDisabled still(qrPrt);
    const ReportFont nameFont{QStringLiteral("굴림체"), 14, true};
    const ReportFont itemFont{QStringLiteral("바탕체"), 10, false};
    for (qrPrt.first(); !qrPrt.eof(); qrPrt.next()) {
        printer.setFont(nameFont);
        printer.writeLine(QStringLiteral("  ") + value(qrPrt, "Name") + QStringLiteral(" (") + value(qrPrt, "X") +
                          QStringLiteral(")_________________________________________________"));
        printer.setFont(itemFont);
        for (int i = 0; i < ListItemCount; ++i)
            if (listItemChecked(i))
                printer.writeLine(ListItemLine(i, qrPrt));
        printer.writeLine(QStringLiteral(" "));
    }
    printer.writeLine(QString(89, QLatin1Char('_')));
    printer.writeLine(QString(66, QLatin1Char(' ')) + QStringLiteral("Printed By 켈모누리 3.0"));
    printer.close();
}
