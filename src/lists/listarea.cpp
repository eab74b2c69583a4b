#include "lists/listarea.h"

#include "core/global.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }
} // namespace

TfrmLArea::TfrmLArea(QWidget *parent)
    : TListWindow("frmLArea", AreaOption < 1 ? S("교구/구역별 명단") : S("교구/속회별 명단"), Chart::Area, parent)
{
    addTitleLabel(S("교구선택"), "Label4");
    cbxSel = new QComboBox;
    cbxSel->setObjectName(QStringLiteral("cbxSel"));
    cbxSel->setFixedWidth(221);
    cbxSel->addItem(S("전체"));
    cbxSel->setCurrentIndex(-1);
    addTitleControl(cbxSel);

    setSqlLines({ListSelectLine(), ListFromLine(), QStringLiteral("WHERE   (Zone LIKE :zone ESCAPE '\\')  "),
                 QStringLiteral("   AND  (Area LIKE :area ESCAPE '\\')  "), QStringLiteral("ORDER BY Zone, Area, Name")});
    setColumns(QString::fromLatin1("Name X Zone Area Bday L Tel1 Tel2 Hp Addr Zip Reg Duty1 Duty2 Bigo Part Resp")
                   .split(QLatin1Char(' ')),
               3);
    addAllTab();
    addTabs(AreaList, AreaCount, AreaWord());
    connect(cbxSel, &QComboBox::currentIndexChanged, this, [this] { RefreshList(); });
    RefreshList();
}

void TfrmLArea::BuildQuery()
{
    qrList.setParam(QStringLiteral("zone"), cbxSel->currentIndex() > 0 ? LikeLiteral(cbxSel->currentText())
                                                                       : QStringLiteral("%"));
    qrList.setParam(QStringLiteral("area"), TabPattern());
}

void TfrmLArea::FormActivate()
{
    // The zone list may have changed meanwhile; the zone shown must stay the one listed.
    const QString chosen = cbxSel->currentIndex() > 0 ? cbxSel->currentText() : QString();
    const QSignalBlocker quiet(cbxSel);
    FillItems(cbxSel, ZoneList, ZoneCount);
    cbxSel->insertItem(0, S("전체"));
    const int keep = chosen.isEmpty() ? -1 : cbxSel->findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive);
    cbxSel->setCurrentIndex(keep > 0 ? keep : 0);
    if (!chosen.isEmpty() && keep <= 0)
        RefreshList(); // the zone is gone: list what the box now says
}
