#include "lists/listcategory.h"

#include "core/global.h"

#include <QTabBar>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QStringList fields(const char *names)
{
    return QString::fromLatin1(names).split(QLatin1Char(' '));
}

// The usual statement with a window's WHERE and ORDER BY lines. The tab text is bound literally
// (ESCAPE), so an entry holding "%" or "_" lists only its own members.
QStringList statement(const char *where, const char *order)
{
    return {ListSelectLine(), ListFromLine(), S(where), S(order)};
}

const QStringList DutyColumns =
    fields("Name X Duty1 Duty2 Bday L Tel1 Tel2 Hp Addr Zip Reg Zone Area Part Bigo Resp");
} // namespace

TCategoryList::TCategoryList(const CategoryListDef &def, QWidget *parent)
    : TListWindow(def.objectName, S(def.caption), def.chart, parent), m_param(QString::fromLatin1(def.param))
{
    setSqlLines(def.sql);
    setColumns(def.columns, def.groupColumn);
    addAllTab();
    addTabs(*def.lookup, *def.lookupCount);
    RefreshList();
}

void TCategoryList::BuildQuery()
{
    qrList.setParam(m_param, TabPattern());
}

TfrmLBigo::TfrmLBigo(QWidget *parent)
    : TCategoryList({"frmLBigo", "비고별 명단", &BigoList, &BigoCount,
                     statement("WHERE   (Bigo LIKE :bigo ESCAPE '\\')  ", "ORDER BY Bigo, Name"), "bigo",
                     fields("Name X Bigo Bday L Tel1 Tel2 Hp Addr Zip Reg Zone Area Duty1 Duty2 Part Resp"), 12,
                     Chart::Bigo},
                    parent)
{
}

TfrmLDuty::TfrmLDuty(QWidget *parent)
    : TCategoryList({"frmLDuty", "직분별 명단", &DutyList, &DutyCount,
                     statement("WHERE  Duty1 LIKE :duty ESCAPE '\\'", "ORDER BY Duty1, Name"), "duty", DutyColumns, 13,
                     Chart::Duty},
                    parent)
{
}

TfrmLPart::TfrmLPart(QWidget *parent)
    : TCategoryList({"frmLPart", "소속기관별 명단", &PartList, &PartCount,
                     statement("WHERE   (Part LIKE :part ESCAPE '\\')", "ORDER BY Part, Name"), "part",
                     fields("Name X Part Bday L Tel1 Tel2 Hp Addr Zip Reg Zone Area Duty1 Duty2 Bigo Resp"), 12,
                     Chart::Part},
                    parent)
{
}

TfrmLGita::TfrmLGita(QWidget *parent)
    : TCategoryList({"frmLGita", "활동기타별 명단", &GitaList, &GitaCount,
                     statement("WHERE  Duty2 LIKE :duty ESCAPE '\\'", "ORDER BY Duty2, Name"), "duty", DutyColumns, 13,
                     Chart::Gita},
                    parent)
{
}

TfrmLStudy::TfrmLStudy(QWidget *parent)
    : TCategoryList(
          {"frmLStudy", "이력 제목별 명단", &EducList, &EducCount,
           {S("SELECT DISTINCT Master.Ino, Master.Name, Master.X, Master.Bday, Master.L, Master.Tel1, Master.Tel2, "
              "Master.Hp, (Master.Addr1 || ' ' || Master.Addr2) Master.Addr, Master.Zip, Master.Reg, Master.Zone, "
              "Master.Area, Master.Duty1, Master.Duty2, Master.Bigo, Master.Part, Master.Resp"),
            S("FROM \"study.DB\" Study"), S("   INNER JOIN \"master.DB\" Master"), S("   ON  (Study.Ino = Master.Ino)"),
            S("WHERE  Study.Ename LIKE :ename ESCAPE '\\'"), S("ORDER BY Name")},
           "ename", fields("Name X Bday L Tel1 Tel2 Hp Addr Zip Reg Zone Area Part Duty1 Duty2 Bigo Resp"), 11,
           std::nullopt},
          parent)
{
}
