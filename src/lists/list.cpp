#include "lists/list.h"

#include "core/global.h"

#include <QComboBox>
#include <QLabel>
#include <QTabBar>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

// Tab captions after "전체", and the WHERE line of each; a name orders into the range of the
// syllable at or before its first one.
const char *const Tabs[][2] = {
    {"가", "WHERE Name >= '가' AND Name < '나'"}, {"나", "WHERE Name >= '나' AND Name < '다'"},
    {"다", "WHERE Name >= '다' AND Name < '라'"}, {"라", "WHERE Name >= '라' AND Name < '마'"},
    {"마", "WHERE Name >= '마' AND Name < '바'"}, {"바", "WHERE Name >= '바' AND Name < '사'"},
    {"사", "WHERE Name >= '사' AND Name < '아'"}, {"아", "WHERE Name >= '아' AND Name < '자'"},
    {"자", "WHERE Name >= '자' AND Name < '차'"}, {"차", "WHERE Name >= '차' AND Name < '카'"},
    {"카", "WHERE Name >= '카' AND Name < '타'"}, {"타", "WHERE Name >= '타' AND Name < '파'"},
    {"파", "WHERE Name >= '파' AND Name < '하'"}, {"하", "WHERE Name >= '하'"},
    {"기타", "WHERE Name <  '가'"},
};

const char *const Orders[][2] = {
    {"성명", "ORDER BY        Name"},     {"생년월일", "ORDER BY Bday,  Name"}, {"전화1", "ORDER BY Tel1,  Name"},
    {"전화2", "ORDER BY Tel2,  Name"},    {"이동전화", "ORDER BY Hp,    Name"}, {"주소", "ORDER BY Addr,  Name"},
    {"우편번호", "ORDER BY Zip,   Name"}, {"등록일자", "ORDER BY Reg,   Name"}, {"교구", "ORDER BY Zone,  Name"},
    {"구역", "ORDER BY Area,  Name"},     {"직분1", "ORDER BY Duty1, Name"},  {"직분2", "ORDER BY Duty2, Name"},
    {"비고", "ORDER BY Bigo,  Name"},     {"소속기관", "ORDER BY Part,  Name"}, {"기관직책", "ORDER BY Resp,  Name"},
};
} // namespace

TfrmList::TfrmList(QWidget *parent) : TListWindow("frmList", S("전체 명단"), Chart::Stat, parent)
{
    addTitleLabel(S("정렬항목"), "Label4");
    cbxSel = new QComboBox;
    cbxSel->setObjectName(QStringLiteral("cbxSel"));
    for (const auto &order : Orders)
        cbxSel->addItem(S(order[0]));
    cbxSel->setMinimumWidth(120);
    addTitleControl(cbxSel);

    addAllTab();
    for (const auto &tab : Tabs)
        tcList->addTab(S(tab[0]));
    setColumns(QString::fromLatin1("Name X Bday L Tel1 Tel2 Hp Addr Zip Reg Zone Area Duty1 Duty2 Bigo Part Resp")
                   .split(QLatin1Char(' ')),
               11);
    cbxSel->setCurrentIndex(0);
    connect(cbxSel, &QComboBox::currentIndexChanged, this, [this] { RefreshList(); });
    RefreshList();
}

void TfrmList::BuildQuery()
{
    ClearSQL();
    AddSQL(ListSelectLine());
    AddSQL(QStringLiteral("FROM Master"));
    const int tab = tcList->currentIndex();
    if (tab >= 1 && tab <= int(std::size(Tabs)))
        AddSQL(S(Tabs[tab - 1][1]));
    AddSQL(S(Orders[std::clamp(cbxSel->currentIndex(), 0, int(std::size(Orders)) - 1)][1]));
}
