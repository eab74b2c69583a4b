#include "anniversaries/annivlists.h"

#include "anniversaries/rows.h"
#include "anniversaries/tday.h"
#include "core/global.h"
#include "core/myunit.h"
#include "lists/handoff.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

const char *const MemberColumns = "Name X Bday L %1 Tel1 Tel2 Hp Addr Zip Reg Zone Area Duty1 Duty2 Bigo Part Resp";
constexpr int AreaColumn = 12;

QString memberSelect(const char *dayField)
{
    return S("SELECT Ino, Name, X, Bday, L, ") + S(dayField) +
           S(", Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp");
}

// Captions and radio buttons on the window's coloured strips are written in white.
template <class W>
W *white(W *w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, Qt::white);
    w->setPalette(p);
    return w;
}
} // namespace

TAnniversaryList::TAnniversaryList(const char *objectName, const char *caption, bool withThisYearMode, QWidget *parent)
    : TListWindow(objectName, S(caption), std::nullopt, parent)
{
    if (withThisYearMode) {
        rbtnThis = new QRadioButton(S("금년생일"));
        rbtnThis->setObjectName(QStringLiteral("rbtnThis"));
        rbtnTerm = new QRadioButton(S("생년기간"));
        rbtnTerm->setObjectName(QStringLiteral("rbtnTerm"));
        rbtnThis->setChecked(true);
        for (QRadioButton *r : {rbtnThis, rbtnTerm})
            addTitleControl(white(r));
        connect(rbtnThis, &QRadioButton::clicked, this, GuardedSlot(this, &TAnniversaryList::rbtnThisClick));
        connect(rbtnTerm, &QRadioButton::clicked, this, GuardedSlot(this, &TAnniversaryList::rbtnTermClick));
    } else {
        addTitleLabel(S("조회년도"), "Label2");
    }
    mskYear1 = new MaskEdit(QStringLiteral("9999;0;_"));
    mskYear1->setObjectName(QStringLiteral("mskYear1"));
    mskYear1->setText(QStringLiteral("0000"));
    mskYear2 = new MaskEdit(QStringLiteral("9999;0;_"));
    mskYear2->setObjectName(QStringLiteral("mskYear2"));
    mskYear2->setText(NowAsText(QStringLiteral("yyyy")));
    addTitleControl(mskYear1);
    addTitleLabel(QStringLiteral("~"), "lblTo");
    addTitleControl(mskYear2);
    for (MaskEdit *e : {mskYear1, mskYear2})
        e->setFixedWidth(48);
    bbtnRet = new QPushButton(S("조회(&R)"));
    bbtnRet->setObjectName(QStringLiteral("bbtnRet"));
    bbtnRet->setFixedSize(103, 29);
    addTitleControl(bbtnRet);
    connect(bbtnRet, &QPushButton::clicked, this, &TAnniversaryList::bbtnRetClick);
    setYearEditsEnabled(termMode());

    addAllTab();
    for (int m = 1; m <= 12; ++m)
        tcList->addTab(FormatIntByMask(m, QStringLiteral("@0 ##")) + S("월"));
}

bool TAnniversaryList::termMode() const
{
    return !rbtnTerm || rbtnTerm->isChecked();
}

void TAnniversaryList::setYearEditsEnabled(bool on)
{
    for (MaskEdit *e : {mskYear1, mskYear2}) {
        e->setEnabled(on);
        QPalette p = e->palette();
        p.setColor(QPalette::Base, on ? palette().color(QPalette::Base) : QColor(192, 192, 192));
        p.setColor(QPalette::Disabled, QPalette::Text, Qt::darkGray);
        e->setPalette(p);
    }
}

QString TAnniversaryList::tabMonth() const
{
    const int tab = tcList->currentIndex();
    return tab <= 0 ? QStringLiteral("%") : tcList->tabText(tab).left(2);
}

QString TAnniversaryList::tabTitle() const
{
    const int tab = tcList->currentIndex();
    return tab <= 0 ? S("전체") : tcList->tabText(tab);
}

bool TAnniversaryList::CheckInput()
{
    if (!termMode() || (Trim(mskYear1->storedText()).size() >= 4 && Trim(mskYear2->storedText()).size() >= 4))
        return true;
    ShowMessage(S("년도가 잘못 입력되어 있습니다."));
    mskYear1->setFocus();
    return false;
}

QString TAnniversaryList::CountText()
{
    return termMode() ? TListWindow::CountText() : S("전체 ") + QString::number(qrList.recordCount()) + S("명");
}

// ---------------------------------------------------------------------------------------------

TfrmLBday::TfrmLBday(QWidget *parent) : TAnniversaryList("frmLBday", "생일자 명단", true, parent)
{
    const FieldDef tday = MemberDayDef("Tday");
    qrList.setFieldDefs(ListFieldDefs() << tday);
    setColumns(QString::fromLatin1(MemberColumns).arg(QStringLiteral("Tday")).split(u' '), AreaColumn, {tday});
    // The order radios and the sex box sit in the bottom strip, before the close button.
    RadioButton1 = new QRadioButton(S("금년생일순"));
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(S("생년월일순"));
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    cbxX = new QComboBox;
    cbxX->setObjectName(QStringLiteral("cbxX"));
    cbxX->addItems({S("전체"), S("남"), S("여")});
    if (auto *strip = findChild<QWidget *>(QStringLiteral("pnlButton"))) {
        auto *row = static_cast<QHBoxLayout *>(strip->layout());
        int at = row->indexOf(bbtnClose);
        for (QWidget *w : std::initializer_list<QWidget *>{white(new QLabel(S("※정렬"))), white(RadioButton1),
                                                           white(RadioButton2), cbxX}) {
            w->setParent(strip);
            row->insertWidget(at++, w);
        }
    }
    for (QRadioButton *r : {RadioButton1, RadioButton2})
        connect(r, &QRadioButton::clicked, this, &TfrmLBday::bbtnRetClick);
    connect(cbxX, &QComboBox::activated, this, &TfrmLBday::bbtnRetClick);

    RecalcTday(TdayTable::Master, NowAsText(QStringLiteral("yyyy")).toInt());
    bbtnRetClick();
}

void TfrmLBday::BuildQuery()
{
    QStringList lines{memberSelect("Tday"), ListFromLine()};
    qrList.clearParams();
    if (termMode()) {
        lines << S("WHERE SUBSTRING(Bday FROM 1 FOR 4) BETWEEN :year1 AND :year2")
              << S("  AND SUBSTRING(Bday FROM 5 FOR 2) LIKE :mon ");
        qrList.setParam(QStringLiteral("year1"), Trim(mskYear1->storedText()));
        qrList.setParam(QStringLiteral("year2"), Trim(mskYear2->storedText()));
        qrList.setParam(QStringLiteral("mon"), tabMonth());
    } else {
        const QString month = tabMonth();
        lines << S("WHERE Tday LIKE :tday");
        qrList.setParam(QStringLiteral("tday"), month == QLatin1String("%") ? month : month + u'%');
    }
    if (cbxX->currentIndex() > 0) {
        lines << S("  AND (X LIKE :x)");
        qrList.setParam(QStringLiteral("x"), cbxX->currentText() + u'%');
    }
    lines << (RadioButton1->isChecked() ? S("ORDER BY Tday") : S("ORDER BY Bday"));
    setSqlLines(lines);
}

void TfrmLBday::bbtnPrintClick()
{
    PrintSortField = QStringLiteral("TDAY");
    TListWindow::bbtnPrintClick();
    PrintSortField = QStringLiteral("NAME");
}

// ---------------------------------------------------------------------------------------------

TfrmLMday::TfrmLMday(QWidget *parent) : TAnniversaryList("frmLMday", "결혼 기념자 명단", false, parent)
{
    const FieldDef mday = MemberDayDef("Mday");
    qrList.setFieldDefs(ListFieldDefs() << mday);
    setColumns(QString::fromLatin1(MemberColumns).arg(QStringLiteral("Mday")).split(u' '), AreaColumn, {mday});
    bbtnRetClick();
}

void TfrmLMday::BuildQuery()
{
    setSqlLines({memberSelect("Mday"), ListFromLine(),
                 S("WHERE SUBSTRING(Mday FROM 1 FOR 4) BETWEEN :year1 AND :year2"),
                 S("  AND SUBSTRING(Mday FROM 5 FOR 2) LIKE :mon "), S("ORDER BY Mday")});
    qrList.clearParams();
    qrList.setParam(QStringLiteral("year1"), Trim(mskYear1->storedText()));
    qrList.setParam(QStringLiteral("year2"), Trim(mskYear2->storedText()));
    qrList.setParam(QStringLiteral("mon"), tabMonth());
}

void TfrmLMday::bbtnPrintClick()
{
    PrintSortField = QStringLiteral("MDAY");
    TListWindow::bbtnPrintClick();
    PrintSortField = QStringLiteral("NAME");
}

// ---------------------------------------------------------------------------------------------

TfrmFBday::TfrmFBday(QWidget *parent) : TAnniversaryList("frmFBday", "가족 생일자 명단", true, parent)
{
    bbtnPrint->setToolTip(S("가족 생일자는 리스트만 인쇄됩니다."));
    dgrdList->setColumns(FamilyDayColumns(false));
    qrList.setSummary({}); // family rows are counted without the sexes
    RecalcTday(TdayTable::Family, NowAsText(QStringLiteral("yyyy")).toInt());
    bbtnRetClick();
}

void TfrmFBday::BuildQuery()
{
    QString sql = FamilyRowsSelect();
    qrList.clearParams();
    if (termMode()) {
        sql += S("WHERE SUBSTRING(Family.Bday FROM 1 FOR 4) BETWEEN :year1 AND :year2 ") +
               S("  AND SUBSTRING(Family.Bday FROM 5 FOR 2) LIKE :mon ") + S("ORDER BY Family.Bday ");
        qrList.setParam(QStringLiteral("year1"), Trim(mskYear1->storedText()));
        qrList.setParam(QStringLiteral("year2"), Trim(mskYear2->storedText()));
        qrList.setParam(QStringLiteral("mon"), tabMonth());
    } else {
        const QString month = tabMonth();
        sql += S("WHERE Family.Tday LIKE :tday ") + S(" AND (Family.F = true) ") + S("ORDER BY Family.Tday ");
        qrList.setParam(QStringLiteral("tday"), month == QLatin1String("%") ? month : month + u'%');
    }
    qrList.setSql(sql);
}

QString TfrmFBday::CountText()
{
    return S("전체 ") + QString::number(qrList.recordCount()) + S("명");
}

void TfrmFBday::FormClose()
{
    // A row is a family member: the go-to looks for the member of that name.
    if (dgrdList->isEnabled())
        resulthandoff::OfferGoTo(qrList, resulthandoff::RowMember::FamilyNamed);
}

void TfrmFBday::bbtnPrintClick()
{
    const QString title = termMode() ? S("생년기간(") + mskYear1->text() + S("년~") + mskYear2->text() + S("년) ")
                                     : S("금년생일(") + NowAsText(QStringLiteral("yyyy")) + S("년) ");
    PrintFamilyBirthdays(qrList, dgrdList, title + tabTitle() + S(" 가족 생일자 명단"));
}
