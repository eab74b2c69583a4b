#include "core/global.h"

#include "core/dm.h"
#include "core/myunit.h"
#include "platform/dialogs.h"
#include "platform/inifile.h"
#include "platform/regsettings.h"
#include "platform/sysutils.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QWidget>

QString AppPath;
QString DataPath;
QString BackupPath;

IniStore *IniFile = nullptr;
RegistryStore *RegSettings = nullptr;

QString UserName;
QString Password;
QString ChurchName;
QString ChurchAdd1;
QString ChurchAdd2;
QString ChurchZip;
QString ChurchTel;
int MarginTop = 14;
int MarginLeft = 4;
int AreaOption = 0;
int BaptOption = 0;
int CalenOption = 1;

QStringList AreaList, ZoneList, PartList, RespList, DutyList, GitaList, BigoList, KindList, FrelList,
    EducList;
int AreaCount = 0, ZoneCount = 0, PartCount = 0, RespCount = 0, DutyCount = 0, GitaCount = 0,
    BigoCount = 0, KindCount = 0, FrelCount = 0, EducCount = 0;

std::optional<Bookmark> SavedBookmark;
QString DialNumber;
QString PrintSortField;
QString PickedAddr;
QString PickedZip;

QWidget *CaptionWindow = nullptr;

namespace {
struct LookupList {
    Table &table;
    QStringList &list;
    int &count;
};

LookupList lookup(const char *name)
{
    const QString n = QString::fromLatin1(name);
    TfrmDM &dm = *frmDM;
    if (n == QLatin1String("Area")) return {dm.tbArea, AreaList, AreaCount};
    if (n == QLatin1String("Zone")) return {dm.tbZone, ZoneList, ZoneCount};
    if (n == QLatin1String("Part")) return {dm.tbPart, PartList, PartCount};
    if (n == QLatin1String("Resp")) return {dm.tbResp, RespList, RespCount};
    if (n == QLatin1String("Duty")) return {dm.tbDuty, DutyList, DutyCount};
    if (n == QLatin1String("Gita")) return {dm.tbGita, GitaList, GitaCount};
    if (n == QLatin1String("Bigo")) return {dm.tbBigo, BigoList, BigoCount};
    if (n == QLatin1String("Kind")) return {dm.tbKind, KindList, KindCount};
    if (n == QLatin1String("Frel")) return {dm.tbFrel, FrelList, FrelCount};
    return {dm.tbEduc, EducList, EducCount};
}

void loadList(const LookupList &l)
{
    l.count = l.table.recordCount();
    l.list.clear();
    l.list.reserve(l.count);
    l.table.first();
    while (!l.table.eof()) {
        l.list.append(l.table.field(0).asString());
        l.table.next();
    }
    l.count = int(l.list.size());
}
} // namespace

QString MainCaption()
{
    return QStringLiteral("켈모누리 3.0 [") + ChurchName + QStringLiteral(" - ") + UserName +
           QStringLiteral("]");
}

bool ReadSettings()
{
    try {
        UserName = RegSettings->ReadString(QStringLiteral("User"));
        if (Trim(UserName).isEmpty())
            UserName = QStringLiteral("사용자");
        Password = RegSettings->ReadString(QStringLiteral("Pswd"));
        const QString church = QStringLiteral("Church");
        ChurchName = IniFile->ReadString(church, QStringLiteral("Name"), QStringLiteral("교회"));
        ChurchAdd1 = IniFile->ReadString(church, QStringLiteral("Add1"), QString());
        ChurchAdd2 = IniFile->ReadString(church, QStringLiteral("Add2"), QString());
        ChurchZip = IniFile->ReadString(church, QStringLiteral("Zip"), QString());
        ChurchTel = IniFile->ReadString(church, QStringLiteral("Tel"), QString());
        if (CaptionWindow)
            CaptionWindow->setWindowTitle(MainCaption());
        MarginTop = IniFile->ReadInteger(QStringLiteral("Margin"), QStringLiteral("Top"), 14);
        MarginLeft = IniFile->ReadInteger(QStringLiteral("Margin"), QStringLiteral("Left"), 4);
        AreaOption = IniFile->ReadInteger(QStringLiteral("ETC"), QStringLiteral("Area"), 0);
        BaptOption = IniFile->ReadInteger(QStringLiteral("ETC"), QStringLiteral("Bapt"), 0);
        CalenOption = IniFile->ReadInteger(QStringLiteral("ETC"), QStringLiteral("Calen"), 1);
        for (const char *name : {"Area", "Bigo", "Duty", "Educ", "Frel", "Gita", "Kind", "Part", "Resp", "Zone"})
            loadList(lookup(name));
        return true;
    } catch (const std::exception &) {
        ShowMessage(QStringLiteral("설정사항을 읽는 중에 오류가 발생했습니다."));
        return false;
    }
}

bool WriteSettings()
{
    try {
        RegistryUpdate user(*RegSettings);
        user.WriteString(QStringLiteral("User"), UserName);
        user.WriteString(QStringLiteral("Pswd"), Password);
        IniUpdate ini(*IniFile);
        const QString church = QStringLiteral("Church");
        ini.WriteString(church, QStringLiteral("Name"), ChurchName);
        ini.WriteString(church, QStringLiteral("Add1"), ChurchAdd1);
        ini.WriteString(church, QStringLiteral("Add2"), ChurchAdd2);
        ini.WriteString(church, QStringLiteral("Zip"), ChurchZip);
        ini.WriteString(church, QStringLiteral("Tel"), ChurchTel);
        ini.WriteInteger(QStringLiteral("ETC"), QStringLiteral("Area"), AreaOption);
        ini.WriteInteger(QStringLiteral("ETC"), QStringLiteral("Bapt"), BaptOption);
        // All or nothing across the two files and the register. The files are written beside
        // the old ones first, so a full disk or a read-only folder stops the save before anything
        // changed; a register another program holds stops it at the transaction. From then on,
        // whatever fails rolls the lists back and puts the old files back in place.
        ini.prepare();
        user.prepare();
        Transaction transaction(frmDM->dbKelmo);
        ini.replace();
        user.replace();
        for (const char *name : {"Area", "Zone", "Part", "Resp", "Duty", "Gita", "Bigo", "Kind", "Frel", "Educ"}) {
            const LookupList l = lookup(name);
            if (l.count > 0)
                ReplaceLookupTable(l.table, l.list, l.count);
            else
                EmptyLookupTable(l.table);
        }
        transaction.commit();
        ini.finish();
        user.finish();
        return true;
    } catch (const std::exception &e) {
        ShowMessage(QStringLiteral("설정사항을 쓰는 중에 오류가 발생했습니다.\n") + QString::fromUtf8(e.what()));
        return false;
    }
}

void ReplaceLookupTable(Table &table, const QStringList &list, int count)
{
    const QString name = table.objectName().mid(2);
    RunSQL(frmDM->qrMy, QStringLiteral("DELETE FROM ") + Quote(name));
    for (int i = 0; i < count && i < list.size(); ++i) {
        table.append();
        table.field(0).setAsString(list[i]);
        table.post();
    }
    PackTable(table);
}

void EmptyLookupTable(Table &table)
{
    ReplaceLookupTable(table, {}, 0);
}

void PackTable(Table &table)
{
    // SQLite keeps no deleted rows and hands out rowids in entry order; reopening re-reads the
    // table the way the original reopened it after its pack.
    const bool wasOpen = table.active();
    table.disableControls();
    table.close();
    if (wasOpen)
        table.open();
    table.enableControls();
}

void FillItems(QComboBox *box, const QStringList &list, int count)
{
    box->clear();
    for (int i = 0; i < count && i < list.size(); ++i)
        box->addItem(list[i]);
}

void FillItemsWithBlank(QComboBox *box, const QStringList &list, int count)
{
    box->clear();
    box->addItem(QStringLiteral(" "));
    for (int i = 0; i < count && i < list.size(); ++i)
        box->addItem(list[i]);
}

void RunSQL(Query &query, const QString &sql)
{
    query.close();
    query.setSql(sql);
    query.execSql();
}

void SetSQL(Query &query, const QString &sql)
{
    query.close();
    query.setSql(sql);
}

int OpenQuery(Query &query, const QString &sql, bool keepOpen)
{
    query.close();
    query.setSql(sql);
    query.open();
    const int count = query.recordCount();
    if (!keepOpen) {
        query.close();
        if (query.prepared())
            query.unprepare();
    }
    return count;
}

void SetAllSel(Query &query, bool value)
{
    RunSQL(query, QStringLiteral("UPDATE ") + Quote(QStringLiteral("MASTER.DB")) +
                      (value ? QStringLiteral(" SET SEL = TRUE") : QStringLiteral(" SET SEL = FALSE")));
}

QString RepeatChar(QChar c, int count)
{
    return count > 0 ? QString(count, c) : QString();
}

bool FindInMemo(QPlainTextEdit *memo, const QString &text, bool caseSensitive)
{
    if (text.isEmpty())
        return false;
    memo->moveCursor(QTextCursor::Start);
    const QString wanted = caseSensitive ? text : UpperCase(text);
    for (QTextBlock b = memo->document()->begin(); b.isValid(); b = b.next()) {
        const QString line = caseSensitive ? b.text() : UpperCase(b.text());
        if (line.contains(wanted))
            return true;
    }
    return false;
}

QString AreaWord()
{
    return AreaOption < 1 ? QStringLiteral("구역") : QStringLiteral("속회");
}

QString BaptWord()
{
    return BaptOption < 1 ? QStringLiteral("세례") : QStringLiteral("침례");
}
