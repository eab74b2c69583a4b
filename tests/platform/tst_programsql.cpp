// Every SQL text the windows run, put together as the windows put it, through the translation into
// SQLite: each must prepare and run, and the ones whose meaning could shift on the way give the
// results the windows rely on.
#include "core/myunit.h"
#include "core/tables.h"
#include "platform/dataset.h"
#include "platform/sqltranslate.h"
#include "tempregister.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Lines fixed in a window's definition.
QString fixedSql(const QStringList &lines)
{
    return lines.join(u'\n') + u'\n';
}

// Lines as a window's AddSQL appends them: each followed by one blank.
QString addSql(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines)
        s += l + u" \n"_s;
    return s;
}

// The select list of the list windows; its own "Addr" is the joined address.
const QString ListSelect = u"SELECT Ino, Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp"_s;
const QString ListFrom = u"FROM \"master.DB\" Master"_s;
const QStringList ListFields = {u"Ino"_s, u"Name"_s, u"X"_s, u"Bday"_s, u"L"_s, u"Tel1"_s,
                                u"Tel2"_s, u"Hp"_s, u"Addr"_s, u"Zip"_s, u"Reg"_s, u"Zone"_s,
                                u"Area"_s, u"Duty1"_s, u"Duty2"_s, u"Bigo"_s, u"Part"_s, u"Resp"_s};

QString listWindow(const QString &where, const QString &order)
{
    return fixedSql({ListSelect, ListFrom, where, order});
}
QString bigoList() { return listWindow(u"WHERE   (Bigo LIKE :bigo)  "_s, u"ORDER BY Bigo, Name"_s); }
QString dutyList() { return listWindow(u"WHERE  Duty1 LIKE :duty"_s, u"ORDER BY Duty1, Name"_s); }
QString partList() { return listWindow(u"WHERE   (Part LIKE :part)"_s, u"ORDER BY Part, Name"_s); }
QString gitaList() { return listWindow(u"WHERE  Duty2 LIKE :duty"_s, u"ORDER BY Duty2, Name"_s); }
QString areaList()
{
    return fixedSql({ListSelect, ListFrom, u"WHERE   (Zone LIKE :zone)  "_s, u"   AND  (Area LIKE :area)  "_s,
                     u"ORDER BY Zone, Area, Name"_s});
}
QString regList()
{
    return listWindow(u"WHERE SUBSTRING(Reg FROM 1 FOR 4) BETWEEN :year1 AND :year2"_s, u"ORDER BY Reg"_s);
}
QString historyTitleList()
{
    return fixedSql({u"SELECT DISTINCT Master.Ino, Master.Name, Master.X, Master.Bday, Master.L, Master.Tel1, Master.Tel2, Master.Hp, (Master.Addr1 || ' ' || Master.Addr2) Master.Addr, Master.Zip, Master.Reg, Master.Zone, Master.Area, Master.Duty1, Master.Duty2, Master.Bigo, Master.Part, Master.Resp"_s,
                     u"FROM \"study.DB\" Study"_s, u"   INNER JOIN \"master.DB\" Master"_s,
                     u"   ON  (Study.Ino = Master.Ino)"_s, u"WHERE  Study.Ename LIKE :ename"_s,
                     u"ORDER BY Name"_s});
}

// The whole list: tab conditions and sort orders.
const QStringList SyllableWhere = {
    {}, u"WHERE Name >= '가' AND Name < '나'"_s, u"WHERE Name >= '나' AND Name < '다'"_s,
    u"WHERE Name >= '다' AND Name < '라'"_s, u"WHERE Name >= '라' AND Name < '마'"_s,
    u"WHERE Name >= '마' AND Name < '바'"_s, u"WHERE Name >= '바' AND Name < '사'"_s,
    u"WHERE Name >= '사' AND Name < '아'"_s, u"WHERE Name >= '아' AND Name < '자'"_s,
    u"WHERE Name >= '자' AND Name < '차'"_s, u"WHERE Name >= '차' AND Name < '카'"_s,
    u"WHERE Name >= '카' AND Name < '타'"_s, u"WHERE Name >= '타' AND Name < '파'"_s,
    u"WHERE Name >= '파' AND Name < '하'"_s, u"WHERE Name >= '하'"_s, u"WHERE Name <  '가'"_s};
const QStringList SyllableTabs = {u"전체"_s, u"가"_s, u"나"_s, u"다"_s, u"라"_s, u"마"_s,
                                  u"바"_s, u"사"_s, u"아"_s, u"자"_s, u"차"_s, u"카"_s,
                                  u"타"_s, u"파"_s, u"하"_s, u"기타"_s};
const QStringList SyllableOrders = {
    u"ORDER BY        Name"_s, u"ORDER BY Bday,  Name"_s, u"ORDER BY Tel1,  Name"_s,
    u"ORDER BY Tel2,  Name"_s, u"ORDER BY Hp,    Name"_s, u"ORDER BY Addr,  Name"_s,
    u"ORDER BY Zip,   Name"_s, u"ORDER BY Reg,   Name"_s, u"ORDER BY Zone,  Name"_s,
    u"ORDER BY Area,  Name"_s, u"ORDER BY Duty1, Name"_s, u"ORDER BY Duty2, Name"_s,
    u"ORDER BY Bigo,  Name"_s, u"ORDER BY Part,  Name"_s, u"ORDER BY Resp,  Name"_s};
const QStringList SyllableOrderItems = {u"성명"_s, u"생년월일"_s, u"전화1"_s, u"전화2"_s, u"이동전화"_s,
                                        u"주소"_s, u"우편번호"_s, u"등록일자"_s, u"교구"_s, u"구역"_s,
                                        u"직분1"_s, u"직분2"_s, u"비고"_s, u"소속기관"_s, u"기관직책"_s};
QString syllableList(int tab, int order)
{
    QStringList lines{ListSelect, u"FROM Master"_s};
    if (tab > 0)
        lines << SyllableWhere[tab];
    lines << SyllableOrders[order];
    return addSql(lines);
}

QString baptismList(int tab)
{
    static const char *const where[] = {"WHERE C = true", "WHERE S = true", "WHERE B = true"};
    static const char *const order[] = {"ORDER BY Chd", "ORDER BY Std", "ORDER BY Bap"};
    return addSql({u"SELECT Ino, Name, X, Bday, L, Chd, Std, Bap, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp"_s,
                   u"FROM Master"_s, QString::fromUtf8(where[tab]), QString::fromUtf8(order[tab])});
}

QString householdHeads()
{
    return fixedSql({u"SELECT Master.\"Ino\", Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp"_s,
                     ListFrom, u"WHERE (G = true)"_s, u"ORDER BY Name"_s});
}
QString householdFamily()
{
    return fixedSql({u"SELECT Family.\"Ino\", Seq, Rel, Name, Bday, L, Learn, Job, Jkind, Rlgn, R, Grade, Fbigo"_s,
                     u"FROM \"family.DB\" Family"_s, u"WHERE  Family.\"Ino\" = :Ino"_s, u" "_s});
}

QString fixedChart(const QString &field)
{
    return fixedSql({u"SELECT "_s + field + u", Count(*)"_s, u"FROM Master"_s, u"GROUP BY "_s + field});
}
QString areaChart()
{
    return fixedSql({u"SELECT Zone, Area, Count(*)"_s, u"FROM Master"_s, u"WHERE Zone = :zone"_s,
                     u"GROUP BY Zone, Area"_s});
}
QString generalChart(const QString &field)
{
    return addSql({u"SELECT "_s + field + u", Count(*)"_s, u"FROM Master"_s, u"GROUP BY "_s + field});
}

// The month calendars.
QString calendarSelect(const QString &day)
{
    return u"SELECT Ino, Name, X, Bday, L, "_s + day +
           u", Tel1, Tel2, Hp,   (Addr1 || ' ')  || Addr2  Addr, Zip, Zone, Area, Duty1, Duty2, Bigo, Part, Resp, Sel"_s;
}
const QString FamilySelect = u"SELECT Family.TDAY, Master.HNAME, Family.REL, Family.NAME, Master.TEL1, Family.BDAY, Family.L, Family.JOB, (Master.ADDR1 || ' ' ) || Master.ADDR2 ADDR, Master.ZIP"_s;
const QStringList FamilyFields = {u"TDAY"_s, u"HNAME"_s, u"REL"_s, u"NAME"_s, u"TEL1"_s,
                                  u"BDAY"_s, u"L"_s,     u"JOB"_s, u"ADDR"_s, u"ZIP"_s};
QStringList calendarFields(const QString &day)
{
    return {u"Ino"_s, u"Name"_s, u"X"_s, u"Bday"_s, u"L"_s, day, u"Tel1"_s, u"Tel2"_s, u"Hp"_s,
            u"Addr"_s, u"Zip"_s, u"Zone"_s, u"Area"_s, u"Duty1"_s, u"Duty2"_s, u"Bigo"_s,
            u"Part"_s, u"Resp"_s, u"Sel"_s};
}
QString birthdayCalendar()
{
    return fixedSql({calendarSelect(u"Tday"_s), ListFrom, u"WHERE Tday BETWEEN :tday1 AND :tday2"_s,
                     u"ORDER BY Tday"_s});
}
QString weddingCalendar()
{
    return fixedSql({calendarSelect(u"Mday"_s), ListFrom,
                     u"WHERE Substring(Mday from 5 for 2) = :mday"_s, u"ORDER BY Mday"_s});
}
QString familyCalendar()
{
    return fixedSql({FamilySelect, u"FROM \"Family.DB\" Family"_s, u"   INNER JOIN \"Master.DB\" Master"_s,
                     u"   ON  (Family.INO = Master.INO)  "_s,
                     u"WHERE (Family.Tday BETWEEN :tday1 AND :tday2)"_s, u"  AND (Family.F = true)"_s,
                     u"ORDER BY Family.TDAY"_s});
}

// The birthday and wedding lists; sex is "", "남" or "여".
const QString AnniversaryFrom = u"FROM \"master.DB\" Master "_s;
QString anniversarySelect(const QString &day)
{
    return u"SELECT Ino, Name, X, Bday, L, "_s + day +
           u", Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp "_s;
}
QString sexLine(const QString &sex)
{
    return u"  AND (X LIKE '"_s + sex + u"%')"_s;
}
QString birthdayThisYear(const QString &pattern, const QString &sex, bool byTday)
{
    QStringList lines{anniversarySelect(u"Tday"_s), AnniversaryFrom, u"WHERE Tday LIKE "_s + Quote(pattern)};
    if (!sex.isEmpty())
        lines << sexLine(sex);
    lines << (byTday ? u"ORDER BY Tday"_s : u"ORDER BY Bday"_s);
    return addSql(lines);
}
QString birthdayTerm(const QString &sex, bool byTday)
{
    QStringList lines{anniversarySelect(u"Tday"_s), AnniversaryFrom,
                      u"WHERE SUBSTRING(Bday FROM 1 FOR 4) BETWEEN :year1 AND :year2"_s,
                      u"  AND SUBSTRING(Bday FROM 5 FOR 2) LIKE :mon "_s};
    if (!sex.isEmpty())
        lines << sexLine(sex);
    lines << (byTday ? u"ORDER BY Tday"_s : u"ORDER BY Bday"_s);
    return addSql(lines);
}
QString weddingTerm()
{
    return addSql({anniversarySelect(u"Mday"_s), AnniversaryFrom,
                   u"WHERE SUBSTRING(Mday FROM 1 FOR 4) BETWEEN :year1 AND :year2"_s,
                   u"  AND SUBSTRING(Mday FROM 5 FOR 2) LIKE :mon "_s, u"ORDER BY Mday"_s});
}
QStringList familyListHead()
{
    return {FamilySelect + u' ', u"FROM \"Family.DB\" Family "_s, u"INNER JOIN \"Master.DB\" Master "_s,
            u"ON  (Family.INO = Master.INO) "_s};
}
QString familyThisYear(const QString &pattern)
{
    return addSql(familyListHead() << u"WHERE Family.Tday LIKE "_s + Quote(pattern)
                                   << u" AND (Family.F = true) "_s << u"ORDER BY Family.Tday"_s);
}
QString familyTerm()
{
    return addSql(familyListHead() << u"WHERE SUBSTRING(Family.Bday FROM 1 FOR 4) BETWEEN :year1 AND :year2"_s
                                   << u"  AND SUBSTRING(Family.Bday FROM 5 FOR 2) LIKE :mon "_s
                                   << u"ORDER BY Family.Bday"_s);
}

// The detailed search: the fixed lines, the optional conditions, the order.
struct SearchCondition {
    const char *purpose;
    const char *sql;
    QVariantMap params;
};
const QList<SearchCondition> &searchConditions()
{
    static const QList<SearchCondition> conditions = {
        {"birthday range", "AND  (Bday BETWEEN :ds AND :de)", {{u"ds"_s, u"19600101"_s}, {u"de"_s, u"19751231"_s}}},
        {"home address", "AND  (Addr1 LIKE :addr)", {{u"addr"_s, u"%중구%"_s}}},
        {"e-mail", "AND  (Email LIKE :email)", {{u"email"_s, u"kim%"_s}}},
        {"zone", "AND  (Zone = :zone)", {{u"zone"_s, u"1교구"_s}}},
        {"group", "AND  (Area = :area)", {{u"area"_s, u"1구역"_s}}},
        {"affiliated body", "AND  (Part = :part)", {{u"part"_s, u"남선교회"_s}}},
        {"body position", "AND  (Resp = :resp)", {{u"resp"_s, u"회장"_s}}},
        {"church office", "AND  ((Duty1 = :duty)   OR   (Duty2 = :duty))", {{u"duty"_s, u"집사"_s}}},
        {"remark", "AND  (Bigo LIKE :bigo)", {{u"bigo"_s, u"새가족"_s}}},
        {"registered flag", "AND  (R = :r)", {{u"r"_s, true}}},
        {"registration range", "AND  (Reg BETWEEN :rs AND :re)", {{u"rs"_s, u"19000101"_s}, {u"re"_s, u"20101231"_s}}},
        {"infant baptism flag", "AND  (C = :c)", {{u"c"_s, true}}},
        {"infant baptism range", "AND  (Chd BETWEEN :cs AND :ce)", {{u"cs"_s, u"19700101"_s}, {u"ce"_s, u"19701231"_s}}},
        {"catechism flag", "AND  (S = :s)", {{u"s"_s, true}}},
        {"catechism range", "AND  (Std BETWEEN :ss AND :se)", {{u"ss"_s, u"19790101"_s}, {u"se"_s, u"19790101"_s}}},
        {"baptism flag", "AND  (B = :b)", {{u"b"_s, true}}},
        {"baptism range", "AND  (Bap BETWEEN :bs AND :be)", {{u"bs"_s, u"20000101"_s}, {u"be"_s, u"20201231"_s}}},
        {"education", "AND  (Learn = :learn)", {{u"learn"_s, u"고졸"_s}}},
        {"major", "AND  (Major LIKE :major)", {{u"major"_s, u"신학%"_s}}},
        {"hobby", "AND  (Hobby LIKE :hobby)", {{u"hobby"_s, u"등산%"_s}}},
        {"special skill", "AND  (Spec LIKE :spec)", {{u"spec"_s, u"피아노%"_s}}},
        {"married flag", "AND  (M = :m)", {{u"m"_s, true}}},
        {"wedding range", "AND  (Mday BETWEEN :ms AND :me)", {{u"ms"_s, u"19900101"_s}, {u"me"_s, u"19951231"_s}}},
        {"blood type", "AND  (Bl = :bl)", {{u"bl"_s, u"AB"_s}}},
        {"workplace", "AND  (Job LIKE :job)", {{u"job"_s, u"삼성%"_s}}},
        {"kind of work", "AND  (Jkind = :jkind)", {{u"jkind"_s, u"회사원"_s}}},
        {"work department", "AND  (Jpart LIKE :jpart)", {{u"jpart"_s, u"영업%"_s}}},
        {"work position", "AND  (Jduty LIKE :jduty)", {{u"jduty"_s, u"과장%"_s}}},
        {"work telephone", "AND  (Jtel LIKE :jtel)", {{u"jtel"_s, u"02%"_s}}},
        {"work fax", "AND  (Jfax LIKE :jfax)", {{u"jfax"_s, u"02%"_s}}},
        {"how registered", "AND  (Cur LIKE :cur)", {{u"cur"_s, u"전도%"_s}}},
        {"guide", "AND  (Guide LIKE :guide)", {{u"guide"_s, u"김%"_s}}},
    };
    return conditions;
}
const SearchCondition &searchCondition(const char *purpose)
{
    for (const SearchCondition &p : searchConditions())
        if (qstrcmp(p.purpose, purpose) == 0)
            return p;
    qFatal("no search condition %s", purpose);
}
QString detailedSearch(const QStringList &conditions)
{
    return addSql(QStringList{u"SELECT Ino, Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ') || Addr2  Addr, Zip, Reg, Zone, Area, Duty1, Duty2, Bigo, Part, Resp"_s,
                              u"FROM \"master.DB\" Master "_s, u"WHERE   (Name LIKE :name) "_s,
                              u"   AND  (X LIKE :x)"_s,
                              u"   AND  ((Tel1 LIKE :tel) OR   (Tel2 LIKE :tel)   OR   (Hp LIKE :tel)) "_s}
                  << conditions << u"ORDER BY Name"_s);
}
// The fixed parameters with every field left empty.
QVariantMap searchAll(const QVariantMap &more = {})
{
    QVariantMap p{{u"name"_s, u"%"_s}, {u"x"_s, u"%"_s}, {u"tel"_s, u"%"_s}};
    p.insert(more);
    return p;
}

QString memoSearchResult()
{
    return fixedSql({u"SELECT Ino, Name, X, Bday, L, Tel1, Tel2, Hp, (Addr1 || ' ' || Addr2) Addr, Zip, Zone, Area, Duty1, Duty2, Bigo, Part, Resp, Cmemo, Jmemo, Fmemo"_s,
                     ListFrom, u"WHERE Sel = true"_s, u"ORDER BY Name"_s});
}

QString setAllSel(bool value)
{
    return u"UPDATE "_s + Quote(u"MASTER.DB"_s) + (value ? u" SET SEL = TRUE"_s : u" SET SEL = FALSE"_s);
}
QString markMember(const QString &ino) { return u"UPDATE MASTER SET SEL = TRUE WHERE INO = "_s + Quote(ino); }
QString printQuery(const QString &sortField) { return u"SELECT * FROM MASTER WHERE SEL = TRUE ORDER BY "_s + sortField; }
QString householdMarked() { return u"SELECT INO, NAME, BDAY, L, GNAME FROM MASTER WHERE SEL = TRUE"_s; }
QString nextFamilySeq(const QString &ino) { return u"SELECT MAX(SEQ) M FROM FAMILY WHERE INO = "_s + Quote(ino); }
QString importMax(const QString &prefix) { return u"SELECT MAX(INO) M FROM MASTER WHERE INO LIKE "_s + Quote(prefix + u'%'); }
QString lookupDelete(const QString &table) { return u"DELETE FROM "_s + Quote(table); }
QStringList memberDeletes(const QString &ino)
{
    return {u"DELETE FROM FAMILY WHERE INO = "_s + Quote(ino), u"DELETE FROM VISIT  WHERE INO = "_s + Quote(ino),
            u"DELETE FROM STUDY  WHERE INO = "_s + Quote(ino)};
}
QString addressSearch()
{
    return fixedSql({u"SELECT ZIP, ADDR"_s, u"FROM \"zip.DBF\" Zip"_s, u"WHERE ZADDR LIKE :psZaddr"_s});
}
QString headPicker()
{
    return fixedSql({u"SELECT Ino, Name, Tel1,  Addr1, Addr2, Zip, Zone, Area"_s, ListFrom,
                     u"WHERE (G = true)"_s, u"ORDER BY Name"_s});
}

const QStringList LookupTables = {u"Area"_s, u"Zone"_s, u"Part"_s, u"Resp"_s, u"Duty"_s,
                                  u"Gita"_s, u"Bigo"_s, u"Kind"_s, u"Frel"_s, u"Educ"_s};

// ---------------------------------------------------------------------------------------------

struct Result {
    QString error; // empty when the statement ran
    QStringList fields;
    QList<QStringList> rows;
    int changed = 0;
    QStringList column(const QString &field) const
    {
        QStringList out;
        int i = -1;
        for (int j = 0; j < fields.size() && i < 0; ++j)
            if (fields[j].compare(field, Qt::CaseInsensitive) == 0)
                i = j;
        for (const QStringList &r : rows)
            out << (i < 0 ? u"<no field "_s + field + u'>' : r[i]);
        return out;
    }
};

// Runs a statement as the windows do: a query opened for SELECT, executed otherwise.
Result run(Database &db, const QString &sql, const QVariantMap &params = {})
{
    Result r;
    try {
        Query q(&db);
        q.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            q.setParam(it.key(), it.value());
        if (sql.trimmed().startsWith(u"SELECT"_s, Qt::CaseInsensitive)) {
            q.open();
            r.fields = q.fieldNames();
            for (q.first(); !q.eof(); q.next()) {
                QStringList row;
                for (int i = 0; i < q.fieldCount(); ++i)
                    row << q.field(i).asString();
                r.rows << row;
            }
        } else {
            r.changed = q.execSql();
        }
    } catch (const DbError &e) {
        r.error = e.message() + u"\nSQL given to SQLite:\n"_s + translateSql(sql, db.catalog());
    }
    return r;
}

#define RUN(r, ...)                                                                                \
    const Result r = run(__VA_ARGS__);                                                             \
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error))

void addRow(Database &db, const QString &table, const QVariantMap &values)
{
    Table t(&db, table);
    t.open();
    t.append();
    for (auto it = values.begin(); it != values.end(); ++it)
        t.fieldByName(it.key()).setValue(it.value());
    t.post();
}

// Five members (one without any address or zone, one with an apostrophe in its number and a Latin
// name), their family, visit and history rows, and a few lookup and postal-code rows.
void fillRegister(Database &db)
{
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1001"_s}, {u"Name"_s, u"김철수"_s}, {u"X"_s, u"남"_s}, {u"Hname"_s, u"金哲洙"_s},
            {u"Bday"_s, u"19650315"_s}, {u"L"_s, u"양"_s}, {u"Tday"_s, u"0315"_s}, {u"Tel1"_s, u"02-111-1111"_s},
            {u"Addr1"_s, u"서울시 중구"_s}, {u"Zip"_s, u"100011"_s}, {u"Reg"_s, u"19900105"_s},
            {u"Zone"_s, u"1교구"_s}, {u"Area"_s, u"1구역"_s}, {u"Duty1"_s, u"집사"_s}, {u"Bigo"_s, u"새가족"_s},
            {u"Part"_s, u"남선교회"_s}, {u"G"_s, true}, {u"M"_s, true}, {u"Mday"_s, u"19900512"_s},
            {u"B"_s, true}, {u"Bap"_s, u"19800101"_s}, {u"S"_s, true}, {u"Std"_s, u"19790101"_s},
            {u"Email"_s, u"kim@example.com"_s}, {u"Learn"_s, u"대졸"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1002"_s}, {u"Name"_s, u"이영희"_s}, {u"X"_s, u"여"_s}, {u"Bday"_s, u"19700322"_s},
            {u"L"_s, u"음"_s}, {u"Tday"_s, u"0328"_s}, {u"Hp"_s, u"010-2222-2222"_s}, {u"Addr1"_s, u"부산시"_s},
            {u"Addr2"_s, u"3층"_s}, {u"Zip"_s, u"600003"_s}, {u"Reg"_s, u"20050301"_s}, {u"Zone"_s, u"2교구"_s},
            {u"Area"_s, u"1구역"_s}, {u"Duty1"_s, u"권사"_s}, {u"Duty2"_s, u"집사"_s}, {u"Part"_s, u"여전도회"_s},
            {u"M"_s, true}, {u"Mday"_s, u"19950520"_s}, {u"C"_s, true}, {u"Chd"_s, u"19700501"_s},
            {u"Learn"_s, u"고졸"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1003"_s}, {u"Name"_s, u"박민수"_s}, {u"X"_s, u"남"_s}, {u"Bday"_s, u"19851201"_s},
            {u"L"_s, u"양"_s}, {u"Tel1"_s, u"031-333-3333"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"A'1004"_s}, {u"Name"_s, u"Abel"_s}, {u"Tday"_s, u"0701"_s}, {u"Mday"_s, u"20200101"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1005"_s}, {u"Name"_s, u"최수진"_s}, {u"X"_s, u"여"_s}, {u"Bday"_s, u"19900310"_s},
            {u"L"_s, u"양"_s}, {u"Tday"_s, u"0310"_s}, {u"Tel2"_s, u"02-555-5555"_s}, {u"Reg"_s, u"20230101"_s},
            {u"Zone"_s, u"1교구"_s}, {u"Area"_s, u"2구역"_s}, {u"Duty1"_s, u"집사"_s}, {u"Bigo"_s, u"새가족"_s},
            {u"Mday"_s, u"20150101"_s}, {u"B"_s, true}, {u"Bap"_s, u"20100101"_s}});

    auto family = [&](const char *ino, int seq, const char *rel, const char *name, const char *bday,
                      const char *tday, bool f) {
        addRow(db, u"FAMILY"_s,
               {{u"Ino"_s, QString::fromUtf8(ino)}, {u"Seq"_s, seq}, {u"Rel"_s, QString::fromUtf8(rel)},
                {u"Name"_s, QString::fromUtf8(name)}, {u"Bday"_s, QString::fromUtf8(bday)}, {u"L"_s, u"양"_s},
                {u"TDAY"_s, QString::fromUtf8(tday)}, {u"R"_s, true}, {u"F"_s, f}});
    };
    family("1001", 1, "자녀", "김하늘", "19950317", "0317", true);
    family("1001", 2, "부", "김아버지", "19400330", "0330", false);
    family("1001", 10, "자녀", "김막내", "20000101", "0101", true);
    family("1002", 1, "배우자", "정남편", "19680305", "0305", true);

    addRow(db, u"VISIT"_s, {{u"Ino"_s, u"1001"_s}, {u"Vday"_s, u"20240101"_s}, {u"Vtime"_s, u"1000"_s}});
    addRow(db, u"VISIT"_s, {{u"Ino"_s, u"1002"_s}, {u"Vday"_s, u"20240102"_s}, {u"Vtime"_s, u"1100"_s}});
    auto study = [&](const char *ino, const char *eday, const char *title) {
        addRow(db, u"STUDY"_s,
               {{u"Ino"_s, QString::fromUtf8(ino)}, {u"Eday"_s, QString::fromUtf8(eday)},
                {u"Ename"_s, QString::fromUtf8(title)}});
    };
    study("1001", "20200101", "성경공부");
    study("1001", "20210101", "성경공부");
    study("1002", "20220101", "성경공부");
    study("1003", "20220101", "제자훈련");

    for (const char *a : {"1구역", "2구역"})
        addRow(db, u"AREA"_s, {{u"AREA"_s, QString::fromUtf8(a)}});
    for (const char *z : {"1교구", "2교구"})
        addRow(db, u"ZONE"_s, {{u"ZONE"_s, QString::fromUtf8(z)}});
    addRow(db, u"DUTY"_s, {{u"DUTY"_s, u"집사"_s}});
    addRow(db, u"ZIP"_s, {{u"ZIP"_s, u"100-011"_s}, {u"ZDO"_s, u"서울"_s}, {u"ZGUN"_s, u"중구"_s},
                          {u"ZADDR"_s, u"중구"_s}, {u"ADDR"_s, u"서울시 중구"_s}});
    addRow(db, u"ZIP"_s, {{u"ZIP"_s, u"600-003"_s}, {u"ZDO"_s, u"부산"_s}, {u"ZGUN"_s, u"중구"_s},
                          {u"ZADDR"_s, u"중앙동"_s}, {u"ADDR"_s, u"부산시 중구 중앙동"_s}});
}

int count(Database &db, const QString &table, const QString &where = {})
{
    return db.scalar(u"SELECT COUNT(*) FROM "_s + table + (where.isEmpty() ? QString() : u" WHERE "_s + where))
        .toInt();
}

QStringList masterFields()
{
    QStringList out;
    for (const FieldDef &f : KelmoTables().first().fields)
        out << f.name;
    return out;
}

QStringList lower(QStringList l)
{
    for (QString &s : l)
        s = s.toLower();
    return l;
}

} // namespace

class TestProgramSql : public QObject {
    Q_OBJECT

    std::unique_ptr<TempRegister> m_empty;
    std::unique_ptr<TempRegister> m_filled;

    // One row per statement; fields are the result columns in order (none for a change).
    static void addStatement(const char *name, const QString &sql, const QVariantMap &params,
                             const QStringList &fields = {})
    {
        QTest::newRow(name) << sql << params << fields;
    }

private slots:
    void initTestCase()
    {
        m_empty = std::make_unique<TempRegister>();
        m_filled = std::make_unique<TempRegister>();
        fillRegister(m_filled->db());
    }

    void everyStatementPreparesAndRuns_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantMap>("params");
        QTest::addColumn<QStringList>("fields");

        const QVariantMap none;
        const QVariantMap years{{u"year1"_s, u"0000"_s}, {u"year2"_s, u"2024"_s}};
        const QVariantMap termYears{{u"year1"_s, u"1950"_s}, {u"year2"_s, u"1959"_s}, {u"mon"_s, u"03"_s}};
        const QVariantMap march{{u"tday1"_s, u"0301"_s}, {u"tday2"_s, u"0331"_s}};

        // settings: the lookup tables are emptied by name before they are written again
        for (const QString &t : LookupTables)
            addStatement(qPrintable(u"lookup lists: empty "_s + t), lookupDelete(t), none);
        // the print mark and the print dialog
        addStatement("print mark: clear all", setAllSel(false), none);
        addStatement("print mark: set all", setAllSel(true), none);
        addStatement("print mark: one member", markMember(u"240315123045"_s), none);
        addStatement("print mark: member number with an apostrophe", markMember(u"A'1"_s), none);
        for (const char *f : {"NAME", "TDAY", "MDAY"})
            addStatement(qPrintable(u"print dialog: marked members by "_s + QString::fromLatin1(f)),
                         printQuery(QString::fromLatin1(f)), none, masterFields());
        // member deletion
        const QStringList deletes = memberDeletes(u"1001"_s);
        addStatement("member deletion: family rows", deletes[0], none);
        addStatement("member deletion: visit rows", deletes[1], none);
        addStatement("member deletion: history rows", deletes[2], none);
        // pickers, household registration, family editor, import
        addStatement("address picker: towns", addressSearch(), {{u"psZaddr"_s, u"중%"_s}}, {u"ZIP"_s, u"ADDR"_s});
        addStatement("head picker: heads of household", headPicker(), none,
                     {u"Ino"_s, u"Name"_s, u"Tel1"_s, u"Addr1"_s, u"Addr2"_s, u"Zip"_s, u"Zone"_s, u"Area"_s});
        addStatement("household registration: the new members", householdMarked(), none,
                     {u"INO"_s, u"NAME"_s, u"BDAY"_s, u"L"_s, u"GNAME"_s});
        addStatement("family editor: next sequence number", nextFamilySeq(u"1001"_s), none, {u"M"_s});
        addStatement("import: greatest member number of the minute", importMax(u"2403151230"_s), none, {u"M"_s});

        // detailed search: no optional condition, each one alone, all together
        addStatement("detailed search: fixed conditions only", detailedSearch({}),
                     {{u"name"_s, u"김%"_s}, {u"x"_s, u"%"_s}, {u"tel"_s, u"%"_s}}, ListFields);
        QStringList allConditions;
        QVariantMap allParams = searchAll();
        for (const SearchCondition &p : searchConditions()) {
            allConditions << QString::fromUtf8(p.sql);
            allParams.insert(p.params);
            addStatement(qPrintable(u"detailed search: "_s + QString::fromUtf8(p.purpose) + u" condition"_s),
                         detailedSearch({QString::fromUtf8(p.sql)}), searchAll(p.params), ListFields);
        }
        addStatement("detailed search: every condition", detailedSearch(allConditions), allParams, ListFields);
        addStatement("memo search: marked members", memoSearchResult(), none,
                     QStringList(ListFields.mid(0, 10)) << ListFields.mid(11) << u"Cmemo"_s << u"Jmemo"_s << u"Fmemo"_s);

        // category lists
        addStatement("remark list", bigoList(), {{u"bigo"_s, u"%"_s}}, ListFields);
        addStatement("church office list", dutyList(), {{u"duty"_s, u"집사"_s}}, ListFields);
        addStatement("affiliated body list", partList(), {{u"part"_s, u"%"_s}}, ListFields);
        addStatement("activity list", gitaList(), {{u"duty"_s, u"%"_s}}, ListFields);
        addStatement("history title list", historyTitleList(), {{u"ename"_s, u"%"_s}}, ListFields);
        addStatement("zone and group list", areaList(), {{u"zone"_s, u"%"_s}, {u"area"_s, u"1구역"_s}}, ListFields);
        for (int tab = 0; tab < SyllableTabs.size(); ++tab)
            addStatement(qPrintable(u"whole list: tab "_s + SyllableTabs[tab]), syllableList(tab, 0), none, ListFields);
        for (int order = 1; order < SyllableOrders.size(); ++order)
            addStatement(qPrintable(u"whole list: tab 가, sorted by "_s + SyllableOrderItems[order]),
                         syllableList(1, order), none, ListFields);
        addStatement("registration-year list", regList(), years, ListFields);
        static const char *const bapTabs[] = {"infant baptism", "catechism", "baptism"};
        for (int tab = 0; tab < 3; ++tab)
            addStatement(qPrintable(u"baptism list: "_s + QString::fromLatin1(bapTabs[tab]) + u" tab"_s),
                         baptismList(tab), none,
                         QStringList(ListFields.mid(0, 5)) << u"Chd"_s << u"Std"_s << u"Bap"_s << ListFields.mid(5));
        addStatement("household list: heads", householdHeads(), none, ListFields);
        addStatement("household list: family of the head", householdFamily(), {{u"Ino"_s, u"1001"_s}},
                     {u"Ino"_s, u"Seq"_s, u"Rel"_s, u"Name"_s, u"Bday"_s, u"L"_s, u"Learn"_s, u"Job"_s,
                      u"Jkind"_s, u"Rlgn"_s, u"R"_s, u"Grade"_s, u"Fbigo"_s});

        // head-count charts
        const QString countField = u"Count(*)"_s;
        for (const char *f : {"Part", "Bigo", "Duty1", "Duty2", "Zone"})
            addStatement(qPrintable(u"chart by "_s + QString::fromLatin1(f)), fixedChart(QString::fromLatin1(f)),
                         none, {QString::fromLatin1(f), countField});
        addStatement("chart by group of a zone", areaChart(), {{u"zone"_s, u"1교구"_s}}, {u"Zone"_s, u"Area"_s, countField});
        for (const char *f : {"X", "M", "Learn", "Jkind"})
            addStatement(qPrintable(u"general chart by "_s + QString::fromLatin1(f)),
                         generalChart(QString::fromLatin1(f)), none, {QString::fromLatin1(f), countField});

        // month calendars
        addStatement("birthday calendar", birthdayCalendar(), march, calendarFields(u"Tday"_s));
        addStatement("wedding calendar", weddingCalendar(), {{u"mday"_s, u"03"_s}}, calendarFields(u"Mday"_s));
        addStatement("family birthday calendar", familyCalendar(), march, FamilyFields);

        // birthday and wedding lists
        QStringList bdayFields = ListFields;
        bdayFields.insert(5, u"Tday"_s);
        QStringList mdayFields = ListFields;
        mdayFields.insert(5, u"Mday"_s);
        for (int month = 0; month <= 12; ++month) {
            const QString p = month == 0 ? u"%"_s : FormatIntByMask(month, u"@0 ##"_s) + u'%';
            addStatement(qPrintable(u"birthday list: this year, month pattern "_s + p),
                         birthdayThisYear(p, {}, true), none, bdayFields);
            addStatement(qPrintable(u"family birthday list: this year, month pattern "_s + p),
                         familyThisYear(p), none, FamilyFields);
        }
        for (const QString &sex : {QString(), u"남"_s, u"여"_s}) {
            for (bool byTday : {true, false}) {
                const QString variant = (sex.isEmpty() ? u"both sexes"_s : sex) +
                                        (byTday ? u", by this year's birthday"_s : u", by birth date"_s);
                addStatement(qPrintable(u"birthday list: this year, "_s + variant),
                             birthdayThisYear(u"05%"_s, sex, byTday), none, bdayFields);
                addStatement(qPrintable(u"birthday list: birth years, "_s + variant), birthdayTerm(sex, byTday),
                             termYears, bdayFields);
            }
        }
        addStatement("wedding list: years", weddingTerm(),
                     {{u"year1"_s, u"0000"_s}, {u"year2"_s, u"2024"_s}, {u"mon"_s, u"%"_s}}, mdayFields);
        addStatement("family birthday list: birth years", familyTerm(), termYears, FamilyFields);
    }

    void everyStatementPreparesAndRuns()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantMap, params);
        QFETCH(QStringList, fields);
        RUN(r, m_empty->db(), sql, params);
        QCOMPARE(lower(r.fields), lower(fields));
    }

    void resultsOnASmallRegister_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantMap>("params");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const QString &sql, const QVariantMap &params, const QString &field,
                      const QStringList &expected) { QTest::newRow(name) << sql << params << field << expected; };
        const QString name = u"Name"_s, addr = u"Addr"_s;
        const QString seoul = u"서울시 중구 "_s, busan = u"부산시 3층"_s, blank = u" "_s;

        // an empty second address line (or none at all) must not make the address vanish
        row("joined address: whole list", syllableList(0, 0), {}, addr, {blank, seoul, blank, busan, blank});
        row("joined address: whole list by address", syllableList(0, 5), {}, name,
            {u"Abel"_s, u"박민수"_s, u"최수진"_s, u"이영희"_s, u"김철수"_s});
        row("joined address: detailed search", detailedSearch({}), searchAll(), addr, {seoul, blank, busan, blank});
        row("joined address: birthday calendar", birthdayCalendar(),
            {{u"tday1"_s, u"0101"_s}, {u"tday2"_s, u"1231"_s}}, addr, {blank, seoul, busan, blank});
        row("joined address: history title list", historyTitleList(), {{u"ename"_s, u"%"_s}}, addr,
            {seoul, blank, busan});
        row("joined address: family birthday list", familyThisYear(u"%"_s), {}, addr, {seoul, busan, seoul});

        // '%' does not match a blank field
        row("category: remark, all", bigoList(), {{u"bigo"_s, u"%"_s}}, name, {u"김철수"_s, u"최수진"_s});
        row("category: church office, all", dutyList(), {{u"duty"_s, u"%"_s}}, name,
            {u"이영희"_s, u"김철수"_s, u"최수진"_s});
        row("category: church office, one", dutyList(), {{u"duty"_s, u"집사"_s}}, name, {u"김철수"_s, u"최수진"_s});
        row("category: affiliated body, all", partList(), {{u"part"_s, u"%"_s}}, name, {u"김철수"_s, u"이영희"_s});
        row("category: activity, all", gitaList(), {{u"duty"_s, u"%"_s}}, name, {u"이영희"_s});
        row("zone and group list: all", areaList(), {{u"zone"_s, u"%"_s}, {u"area"_s, u"%"_s}}, name,
            {u"김철수"_s, u"최수진"_s, u"이영희"_s});
        row("zone and group list: one zone", areaList(), {{u"zone"_s, u"1교구"_s}, {u"area"_s, u"%"_s}}, name,
            {u"김철수"_s, u"최수진"_s});
        row("zone and group list: one group", areaList(), {{u"zone"_s, u"%"_s}, {u"area"_s, u"1구역"_s}}, name,
            {u"김철수"_s, u"이영희"_s});
        row("birthday list: this year, all months", birthdayThisYear(u"%"_s, {}, true), {}, name,
            {u"최수진"_s, u"김철수"_s, u"이영희"_s, u"Abel"_s});

        // the detailed search's conditions
        auto search = [&](const char *rowName, const QStringList &purposes, const QVariantMap &fixed,
                          const QStringList &expected) {
            QStringList conditions;
            QVariantMap params = searchAll(fixed);
            for (const QString &p : purposes) {
                const SearchCondition &c = searchCondition(qPrintable(p));
                conditions << QString::fromUtf8(c.sql);
                params.insert(c.params);
            }
            row(rowName, detailedSearch(conditions), params, name, expected);
        };
        search("detailed search: nothing filled", {}, {}, {u"김철수"_s, u"박민수"_s, u"이영희"_s, u"최수진"_s});
        search("detailed search: name", {}, {{u"name"_s, u"이%"_s}}, {u"이영희"_s});
        search("detailed search: sex", {}, {{u"x"_s, u"여%"_s}}, {u"이영희"_s, u"최수진"_s});
        search("detailed search: one telephone for three fields", {}, {{u"tel"_s, u"02%"_s}},
               {u"김철수"_s, u"최수진"_s});
        search("detailed search: zone", {u"zone"_s}, {}, {u"김철수"_s, u"최수진"_s});
        search("detailed search: church office in either field", {u"church office"_s}, {},
               {u"김철수"_s, u"이영희"_s, u"최수진"_s});
        search("detailed search: home address anywhere", {u"home address"_s}, {}, {u"김철수"_s});
        search("detailed search: birthday range", {u"birthday range"_s}, {}, {u"김철수"_s, u"이영희"_s});
        search("detailed search: registered flag", {u"registered flag"_s}, {},
               {u"김철수"_s, u"박민수"_s, u"이영희"_s, u"최수진"_s});
        search("detailed search: baptism flag", {u"baptism flag"_s}, {}, {u"김철수"_s, u"최수진"_s});
        search("detailed search: married flag and wedding range", {u"married flag"_s, u"wedding range"_s}, {},
               {u"김철수"_s, u"이영희"_s});
        search("detailed search: zone, baptism flag and range", {u"zone"_s, u"baptism flag"_s, u"baptism range"_s},
               {}, {u"최수진"_s});
        search("detailed search: remark without wildcard", {u"remark"_s}, {}, {u"김철수"_s, u"최수진"_s});
        search("detailed search: education", {u"education"_s}, {}, {u"이영희"_s});
        search("detailed search: e-mail", {u"e-mail"_s}, {}, {u"김철수"_s});

        // the whole list's name ranges
        row("whole list: tab 가", syllableList(1, 0), {}, name, {u"김철수"_s});
        row("whole list: tab 바", syllableList(6, 0), {}, name, {u"박민수"_s});
        row("whole list: tab 아", syllableList(8, 0), {}, name, {u"이영희"_s});
        row("whole list: tab 하", syllableList(14, 0), {}, name, {});
        row("whole list: tab 기타", syllableList(15, 0), {}, name, {u"Abel"_s});

        // registration years, birth years and months compared with SUBSTRING, years bound as numbers
        row("registration-year list: years as numbers", regList(), {{u"year1"_s, 2000}, {u"year2"_s, 2023}},
            name, {u"이영희"_s, u"최수진"_s});
        row("registration-year list: from 0000", regList(), {{u"year1"_s, u"0000"_s}, {u"year2"_s, 2024}}, name,
            {u"김철수"_s, u"이영희"_s, u"최수진"_s});
        row("registration-year list: one year", regList(), {{u"year1"_s, 2023}, {u"year2"_s, 2023}}, name,
            {u"최수진"_s});
        row("birthday list: birth years, one month", birthdayTerm({}, false),
            {{u"year1"_s, 1960}, {u"year2"_s, 1989}, {u"mon"_s, u"03"_s}}, name, {u"김철수"_s, u"이영희"_s});
        row("birthday list: birth years, every month", birthdayTerm({}, false),
            {{u"year1"_s, 1960}, {u"year2"_s, 1989}, {u"mon"_s, u"%"_s}}, name,
            {u"김철수"_s, u"이영희"_s, u"박민수"_s});
        row("birthday list: birth years, women", birthdayTerm(u"여"_s, false),
            {{u"year1"_s, 1960}, {u"year2"_s, 1999}, {u"mon"_s, u"%"_s}}, name, {u"이영희"_s, u"최수진"_s});
        row("wedding list: every year", weddingTerm(), {{u"year1"_s, u"0000"_s}, {u"year2"_s, 2024}, {u"mon"_s, u"%"_s}},
            name, {u"김철수"_s, u"이영희"_s, u"최수진"_s, u"Abel"_s});
        row("wedding list: years and month", weddingTerm(), {{u"year1"_s, 1991}, {u"year2"_s, 2020}, {u"mon"_s, u"01"_s}},
            name, {u"최수진"_s, u"Abel"_s});
        row("wedding calendar: month", weddingCalendar(), {{u"mday"_s, u"05"_s}}, name, {u"김철수"_s, u"이영희"_s});
        row("family birthday list: birth years, one month", familyTerm(),
            {{u"year1"_s, 1930}, {u"year2"_s, 1999}, {u"mon"_s, u"03"_s}}, name,
            {u"김아버지"_s, u"정남편"_s, u"김하늘"_s});
        row("family birthday list: birth years, every month", familyTerm(),
            {{u"year1"_s, 1990}, {u"year2"_s, 2000}, {u"mon"_s, u"%"_s}}, name, {u"김하늘"_s, u"김막내"_s});

        // this year's birthdays: Tday LIKE and BETWEEN
        row("birthday calendar: March", birthdayCalendar(), {{u"tday1"_s, u"0301"_s}, {u"tday2"_s, u"0331"_s}},
            name, {u"최수진"_s, u"김철수"_s, u"이영희"_s});
        row("birthday calendar: December", birthdayCalendar(), {{u"tday1"_s, u"1201"_s}, {u"tday2"_s, u"1231"_s}},
            name, {});
        row("birthday list: this year, March", birthdayThisYear(u"03%"_s, {}, true), {}, name,
            {u"최수진"_s, u"김철수"_s, u"이영희"_s});
        row("birthday list: this year, March by birth date", birthdayThisYear(u"03%"_s, {}, false), {}, name,
            {u"김철수"_s, u"이영희"_s, u"최수진"_s});
        row("birthday list: this year, women", birthdayThisYear(u"%"_s, u"여"_s, true), {}, name,
            {u"최수진"_s, u"이영희"_s});

        // the family birthday join
        const QVariantMap march{{u"tday1"_s, u"0301"_s}, {u"tday2"_s, u"0331"_s}};
        row("family birthday calendar: names", familyCalendar(), march, name, {u"정남편"_s, u"김하늘"_s});
        row("family birthday calendar: member's Chinese name", familyCalendar(), march, u"HNAME"_s,
            {QString(), u"金哲洙"_s});
        row("family birthday calendar: member's telephone", familyCalendar(), march, u"TEL1"_s,
            {QString(), u"02-111-1111"_s});
        row("family birthday calendar: member's address", familyCalendar(), march, u"ADDR"_s, {busan, seoul});
        row("family birthday list: March", familyThisYear(u"03%"_s), {}, name, {u"정남편"_s, u"김하늘"_s});
        row("family birthday list: all months", familyThisYear(u"%"_s), {}, name,
            {u"김막내"_s, u"정남편"_s, u"김하늘"_s});
        row("family birthday list: this year's birthday", familyThisYear(u"%"_s), {}, u"TDAY"_s,
            {u"0101"_s, u"0305"_s, u"0317"_s});

        // the history title list: each member once
        row("history title list: one title", historyTitleList(), {{u"ename"_s, u"성경공부"_s}}, name,
            {u"김철수"_s, u"이영희"_s});
        row("history title list: all titles", historyTitleList(), {{u"ename"_s, u"%"_s}}, name,
            {u"김철수"_s, u"박민수"_s, u"이영희"_s});

        // baptism and household lists
        row("baptism list: infant baptism", baptismList(0), {}, name, {u"이영희"_s});
        row("baptism list: catechism", baptismList(1), {}, name, {u"김철수"_s});
        row("baptism list: baptism by date", baptismList(2), {}, name, {u"김철수"_s, u"최수진"_s});
        row("household list: heads", householdHeads(), {}, u"Ino"_s, {u"1001"_s});
        row("household list: family of the head", householdFamily(), {{u"Ino"_s, u"1001"_s}}, u"Seq"_s,
            {u"1"_s, u"2"_s, u"10"_s});

        // charts: groups in group order, blanks as one group first
        const QString cnt = u"COUNT(*)"_s;
        row("chart by affiliated body: groups", fixedChart(u"Part"_s), {}, u"Part"_s,
            {QString(), u"남선교회"_s, u"여전도회"_s});
        row("chart by affiliated body: counts", fixedChart(u"Part"_s), {}, cnt, {u"3"_s, u"1"_s, u"1"_s});
        row("chart by church office: groups", fixedChart(u"Duty1"_s), {}, u"Duty1"_s,
            {QString(), u"권사"_s, u"집사"_s});
        row("chart by church office: counts", fixedChart(u"Duty1"_s), {}, cnt, {u"2"_s, u"1"_s, u"2"_s});
        row("chart by zone: groups", fixedChart(u"Zone"_s), {}, u"Zone"_s, {QString(), u"1교구"_s, u"2교구"_s});
        row("chart by zone: counts", fixedChart(u"Zone"_s), {}, cnt, {u"2"_s, u"2"_s, u"1"_s});
        row("chart by group of a zone: groups", areaChart(), {{u"zone"_s, u"1교구"_s}}, u"Area"_s,
            {u"1구역"_s, u"2구역"_s});
        row("general chart by sex: groups", generalChart(u"X"_s), {}, u"X"_s, {u"남"_s, u"여"_s});
        row("general chart by sex: counts", generalChart(u"X"_s), {}, cnt, {u"3"_s, u"2"_s});
        row("general chart by married flag: groups", generalChart(u"M"_s), {}, u"M"_s, {u"False"_s, u"True"_s});
        row("general chart by education: groups", generalChart(u"Learn"_s), {}, u"Learn"_s,
            {QString(), u"고졸"_s, u"대졸"_s});

        // the greatest values
        row("family editor: next sequence number is numeric", nextFamilySeq(u"1001"_s), {}, u"M"_s, {u"10"_s});
        row("family editor: member without family", nextFamilySeq(u"A'1004"_s), {}, u"M"_s, {QString()});
        row("address picker: towns", addressSearch(), {{u"psZaddr"_s, u"중앙%"_s}}, u"ZIP"_s, {u"600-003"_s});
    }

    void resultsOnASmallRegister()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantMap, params);
        QFETCH(QString, field);
        QFETCH(QStringList, expected);
        RUN(r, m_filled->db(), sql, params);
        QCOMPARE(r.column(field), expected);
    }

    // Not a window's text, but the same operand rule: a clause word before "(" is no function name.
    void concatenationAfterAClauseWord()
    {
        RUN(r, m_filled->db(),
            u"SELECT (Addr1 || ' ') || Addr2 A FROM MASTER WHERE (Addr1 || Addr2) LIKE '부산%'"_s);
        QCOMPARE(r.column(u"A"_s), QStringList{u"부산시 3층"_s});
    }

    void markingForPrinting()
    {
        TempRegister reg;
        Database &db = reg.db();
        fillRegister(db);
        const QString marked = u"SEL = TRUE"_s;

        RUN(all, db, setAllSel(true));
        QCOMPARE(all.changed, 5);
        QCOMPARE(count(db, u"MASTER"_s, marked), 5);
        RUN(cleared, db, setAllSel(false));
        QCOMPARE(count(db, u"MASTER"_s, marked), 0);
        RUN(none, db, printQuery(u"NAME"_s));
        QVERIFY(none.rows.isEmpty());

        for (const char *ino : {"1002", "1005", "1001", "A'1004"}) {
            RUN(one, db, markMember(QString::fromUtf8(ino)));
            QCOMPARE(one.changed, 1);
        }
        RUN(byName, db, printQuery(u"NAME"_s));
        QCOMPARE(byName.column(u"Name"_s), (QStringList{u"Abel"_s, u"김철수"_s, u"이영희"_s, u"최수진"_s}));
        QCOMPARE(byName.column(u"Sel"_s), QStringList(4, u"True"_s));
        RUN(byTday, db, printQuery(u"TDAY"_s));
        QCOMPARE(byTday.column(u"Name"_s), (QStringList{u"최수진"_s, u"김철수"_s, u"이영희"_s, u"Abel"_s}));
        RUN(byMday, db, printQuery(u"MDAY"_s));
        QCOMPARE(byMday.column(u"Name"_s), (QStringList{u"김철수"_s, u"이영희"_s, u"최수진"_s, u"Abel"_s}));

        RUN(memo, db, memoSearchResult());
        QCOMPARE(memo.column(u"Name"_s), byName.column(u"Name"_s));
        RUN(household, db, householdMarked());
        QStringList inos = household.column(u"INO"_s);
        inos.sort();
        QCOMPARE(inos, (QStringList{u"1001"_s, u"1002"_s, u"1005"_s, u"A'1004"_s}));
    }

    void deletions()
    {
        TempRegister reg;
        Database &db = reg.db();
        fillRegister(db);

        const QStringList deletes = memberDeletes(u"1001"_s);
        RUN(family, db, deletes[0]);
        RUN(visits, db, deletes[1]);
        RUN(history, db, deletes[2]);
        QCOMPARE(family.changed, 3);
        QCOMPARE(visits.changed, 1);
        QCOMPARE(history.changed, 2);
        QCOMPARE(count(db, u"FAMILY"_s), 1);
        QCOMPARE(count(db, u"VISIT"_s), 1);
        QCOMPARE(count(db, u"STUDY"_s), 2);

        // the lookup table named in single quotes, and only that one
        RUN(area, db, lookupDelete(u"Area"_s));
        QCOMPARE(area.changed, 2);
        QCOMPARE(count(db, u"AREA"_s), 0);
        QCOMPARE(count(db, u"ZONE"_s), 2);
        QCOMPARE(count(db, u"ZIP"_s), 2);
    }

    void importContinuesTheMinutesNumbers()
    {
        TempRegister reg;
        Database &db = reg.db();
        for (const char *ino : {"24031512300000", "24031512300149", "240315123045", "24031512310000"})
            addRow(db, u"MASTER"_s, {{u"Ino"_s, QString::fromLatin1(ino)}, {u"Name"_s, u"가"_s}});
        // compared as text: a hand-entered number at second 45 is above the imported ones
        RUN(minute, db, importMax(u"2403151230"_s));
        QCOMPARE(minute.column(u"M"_s), QStringList{u"240315123045"_s});
        RUN(earlier, db, importMax(u"2403151229"_s));
        QCOMPARE(earlier.column(u"M"_s), QStringList{QString()});
    }
};

QTEST_GUILESS_MAIN(TestProgramSql)
#include "tst_programsql.moc"
