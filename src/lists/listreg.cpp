#include "lists/listreg.h"

#include "core/myunit.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QPushButton>
#include <QTabBar>
#include <QTimer>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QString yearText(const MaskEdit *edit)
{
    return Trim(edit->storedText());
}
} // namespace

TfrmLReg::TfrmLReg(QWidget *parent) : TListWindow("frmLReg", S("등록자 명단"), std::nullopt, parent)
{
    addTitleLabel(S("등록년도"), "lblYear");
    auto yearEdit = [this](const char *name, const char *text) {
        auto *e = new MaskEdit(QStringLiteral("9999;0;_"));
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(4);
        e->setText(QString::fromLatin1(text));
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
        addTitleControl(e);
        return e;
    };
    mskYear1 = yearEdit("mskYear1", "0000");
    addTitleLabel(QStringLiteral("~"), "lblTo");
    mskYear2 = yearEdit("mskYear2", "9999");
    bbtnRet = new QPushButton(S("조회(&R)"));
    bbtnRet->setObjectName(QStringLiteral("bbtnRet"));
    bbtnRet->setFixedSize(103, 29);
    addTitleControl(bbtnRet);
    setDefaultButton(bbtnRet);
    connect(bbtnRet, &QPushButton::clicked, this, [this] { RefreshList(); });

    setSqlLines({ListSelectLine(), ListFromLine(),
                 QStringLiteral("WHERE SUBSTRING(Reg FROM 1 FOR 4) BETWEEN :year1 AND :year2"),
                 QStringLiteral("ORDER BY Reg")});
    setColumns(QString::fromLatin1("Name X Reg Bday L Tel1 Tel2 Hp Addr Zip Zone Area Duty1 Duty2 Bigo Part Resp")
                   .split(QLatin1Char(' ')),
               11);
    {
        const QSignalBlocker quiet(tcList);
        addAllTab();
        tcList->addTab(S("새신자"));
        for (int k = 2; k <= 10; ++k)
            tcList->addTab(QString::number(k) + S("년차"));
        tcList->addTab(S("10년 이상"));
    }
    mskYear2->setText(NowAsText(QStringLiteral("yyyy")));
    RefreshList();
}

void TfrmLReg::showEvent(QShowEvent *event)
{
    TListWindow::showEvent(event);
    QTimer::singleShot(0, mskYear1, qOverload<>(&QWidget::setFocus));
}

void TfrmLReg::EnableYearEdits(bool enabled)
{
    for (QWidget *w : std::initializer_list<QWidget *>{mskYear1, mskYear2, bbtnRet})
        w->setEnabled(enabled);
}

void TfrmLReg::tcListChange()
{
    const int tab = tcList->currentIndex();
    int year = NowAsText(QStringLiteral("yyyy")).toInt();
    if (tab >= 1 && tab <= 11)
        year -= tab;
    const QString counted = FormatIntByMask(year, QStringLiteral("@0 ####"));
    if (tab <= 0) {
        mskYear1->setText(QStringLiteral("0000"));
        mskYear2->setText(NowAsText(QStringLiteral("yyyy")));
        EnableYearEdits(true);
    } else if (tab <= 10) {
        mskYear1->setText(counted);
        mskYear2->setText(counted);
        EnableYearEdits(false);
    } else {
        mskYear2->setText(counted);
        mskYear1->setText(QStringLiteral("0000"));
        EnableYearEdits(false);
    }
    RefreshList();
}

bool TfrmLReg::CheckInput()
{
    if (yearText(mskYear1).size() >= 4 && yearText(mskYear2).size() >= 4)
        return true;
    ShowMessage(S("년도가 잘못 입력되어 있습니다."));
    mskYear1->setFocus();
    return false;
}

void TfrmLReg::BuildQuery()
{
    // Bound as text: the years are compared with the first four characters of a text field.
    qrList.setParam(QStringLiteral("year1"), yearText(mskYear1));
    qrList.setParam(QStringLiteral("year2"), yearText(mskYear2));
}
