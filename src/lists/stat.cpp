#include "lists/stat.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabWidget>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QString groupQuery(const QString &field)
{
    return QStringLiteral("SELECT %1, Count(*)\nFROM Master\nGROUP BY %1").arg(field);
}

QLabel *titleLabel(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("lblSel"));
    return l;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// One field's chart

TfrmFieldChart::TfrmFieldChart(const FieldChart &def, QWidget *parent)
    : TfrmChart(QString::fromLatin1(def.objectName), S(def.caption), 632, parent), qrStat(&frmDM->dbKelmo)
{
    dchtStat = new HeadCountChart(QStringLiteral("dchtStat"), S(def.axisTitle), this);
    setBody(dchtStat);
    const QString field = QString::fromLatin1(def.field);
    qrStat.setSql(groupQuery(field));
    ShowStat(qrStat, dchtStat, field);
}

// ---------------------------------------------------------------------------------------------
// The general chart

TfrmStat::TfrmStat(QWidget *parent)
    : TfrmChart(QStringLiteral("frmStat"), S("전체 통계"), 692, parent), qrStat(&frmDM->dbKelmo)
{
    dchtStat = new HeadCountChart(QStringLiteral("dchtStat"), S("항목"), this);
    setBody(dchtStat);
    lblSel = titleLabel(S("통계항목"), this);
    cbxSel = new QComboBox(this);
    cbxSel->setObjectName(QStringLiteral("cbxSel"));
    cbxSel->addItems({S("성별"), S("결혼"), S("학력"), S("직업")});
    titleRow()->insertWidget(0, lblSel);
    titleRow()->insertWidget(1, cbxSel);

    cbxSel->setCurrentIndex(0);
    RefreshStat();
    connect(cbxSel, &QComboBox::currentIndexChanged, this, [this] { Guarded([this] { RefreshStat(); }); });
}

void TfrmStat::AddSQL(const QString &line)
{
    qrStat.setSql(qrStat.sql() + line + QStringLiteral(" \n"));
}

void TfrmStat::RefreshStat()
{
    static const char *const fields[] = {"X", "M", "Learn", "Jkind"};
    const QString field = QString::fromLatin1(fields[std::clamp(cbxSel->currentIndex(), 0, 3)]);
    qrStat.setSql(QString());
    AddSQL(QStringLiteral("SELECT ") + field + QStringLiteral(", Count(*)"));
    AddSQL(QStringLiteral("FROM Master"));
    AddSQL(QStringLiteral("GROUP BY ") + field);
    ShowStat(qrStat, dchtStat, field);
}

// ---------------------------------------------------------------------------------------------
// Zones and areas

TfrmSArea::TfrmSArea(QWidget *parent)
    : TfrmChart(QStringLiteral("frmSArea"), S("교구/구역별 통계"), 632, parent), qrStat(&frmDM->dbKelmo),
      qrStatA(&frmDM->dbKelmo)
{
    pcStat = new QTabWidget(this);
    pcStat->setObjectName(QStringLiteral("pcStat"));
    dchtStat = new HeadCountChart(QStringLiteral("dchtStat"), S("교구"), pcStat);
    dchtStat->setLeastMaximum(7);
    dchtArea = new HeadCountChart(QStringLiteral("dchtArea"), S("구역"), pcStat);
    tsZone = dchtStat;
    tsArea = dchtArea;
    pcStat->addTab(tsZone, S("교구별(&Z)"));
    pcStat->addTab(tsArea, S("구역별(&A)"));
    setBody(pcStat);

    lblSel = titleLabel(S("교구선택"), this);
    cbxSel = new QComboBox(this);
    cbxSel->setObjectName(QStringLiteral("cbxSel"));
    cbxSel->setMinimumContentsLength(10);
    titleRow()->insertWidget(0, lblSel);
    titleRow()->insertWidget(1, cbxSel);
    lblSel->hide();
    cbxSel->hide();

    const bool area = AreaOption < 1;
    setWindowTitle(area ? S("교구/구역별 통계") : S("교구/속회별 통계"));
    pcStat->setTabText(1, area ? S("구역별(&A)") : S("속회별(&A)"));
    dchtArea->setAxisTitle(area ? S("구역") : S("속회"));
    qrStat.setSql(groupQuery(QStringLiteral("Zone")));
    qrStatA.setSql(QStringLiteral("SELECT Zone, Area, Count(*)\nFROM Master\nWHERE Zone = :zone\nGROUP BY Zone, Area"));
    ShowStat(qrStat, dchtStat, QStringLiteral("Zone"));

    connect(pcStat, &QTabWidget::currentChanged, this, [this](int page) { Guarded([&] { pcStatChange(page); }); });
    connect(cbxSel, &QComboBox::currentIndexChanged, this, [this] { Guarded([this] { ShowAreaStat(); }); });
}

HeadCountChart *TfrmSArea::shownChart() const
{
    return pcStat->currentWidget() == tsArea ? dchtArea : dchtStat;
}

void TfrmSArea::changeEvent(QEvent *event)
{
    TfrmChart::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Guarded([this] { FormActivate(); });
}

void TfrmSArea::FormActivate()
{
    // Activation comes back after every other window, ours or not: the zone the area chart shows
    // must stay the one the box names.
    const QString chosen = cbxSel->currentText();
    const QSignalBlocker quiet(cbxSel);
    FillItems(cbxSel, ZoneList, ZoneCount);
    cbxSel->setCurrentIndex(std::max(0, cbxSel->findText(chosen)));
}

void TfrmSArea::pcStatChange(int page)
{
    const bool areas = pcStat->widget(page) == tsArea;
    lblSel->setVisible(areas);
    cbxSel->setVisible(areas);
    if (areas)
        ShowAreaStat();
    else
        SetButtons(true);
}

void TfrmSArea::ShowAreaStat()
{
    qrStatA.close();
    qrStatA.prepare();
    qrStatA.setParam(QStringLiteral("zone"), cbxSel->currentText());
    ShowStat(qrStatA, dchtArea, QStringLiteral("Area"));
}
