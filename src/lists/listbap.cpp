#include "lists/listbap.h"

#include "core/global.h"

#include <QTabBar>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QList<FieldDef> baptismDefs(const char *chdTitle, const char *bapTitle)
{
    const QString mask = QStringLiteral("9999.99.99;0;_");
    return {{QStringLiteral("Chd"), FieldType::Text, 8, S(chdTitle), mask, {}, true},
            {QStringLiteral("Std"), FieldType::Text, 8, S("학습일자"), mask, {}, true},
            {QStringLiteral("Bap"), FieldType::Text, 8, S(bapTitle), mask, {}, true}};
}
} // namespace

TfrmLBap::TfrmLBap(QWidget *parent) : TListWindow("frmLBap", QString(), std::nullopt, parent)
{
    const bool bapt = BaptOption < 1;
    const QList<FieldDef> extra = bapt ? baptismDefs("유아세례", "세례일자") : baptismDefs("헌아일자", "침례일자");
    qrList.setFieldDefs(ListFieldDefs() + extra);
    setColumns(QString::fromLatin1("Name X Bday L Chd Std Bap Tel1 Tel2 Hp Addr Zip Reg Zone Area Duty1 Duty2 Bigo Part")
                   .split(QLatin1Char(' ')),
               14, extra);
    {
        const QSignalBlocker quiet(tcList);
        static const char *const Tabs[2][3] = {{"유아세례자(&1)", "학습자(&2)", "세례자(&3)"},
                                               {"헌아자(&1)", "학습자(&2)", "침례자(&3)"}};
        for (const char *tab : Tabs[bapt ? 0 : 1])
            tcList->addTab(S(tab));
    }
    RefreshList();
}

void TfrmLBap::BuildQuery()
{
    static const char *const ByTab[][2] = {
        {"WHERE C = true", "ORDER BY Chd"}, {"WHERE S = true", "ORDER BY Std"}, {"WHERE B = true", "ORDER BY Bap"}};
    const auto &lines = ByTab[std::clamp(tcList->currentIndex(), 0, 2)];
    ClearSQL();
    AddSQL(QStringLiteral("SELECT Ino, Name, X, Bday, L, Chd, Std, Bap, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, "
                          "Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp"));
    AddSQL(QStringLiteral("FROM Master"));
    AddSQL(QString::fromLatin1(lines[0]));
    AddSQL(QString::fromLatin1(lines[1]));
}
