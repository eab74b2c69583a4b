// The detailed search's statement as its window puts it together, through the translation into
// SQLite: each condition must prepare and run, and the ones whose meaning could shift on the way give
// the results the window relies on (the window's own test covers the name, sex, telephone, address,
// date-range and registered conditions).
#include "platform/dataset.h"
#include "platform/sqltranslate.h"
#include "tempregister.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Lines as the window's AddSQL appends them: each followed by one blank.
QString addSql(const QStringList &lines)
{
    QString s;
    for (const QString &l : lines)
        s += l + u" \n"_s;
    return s;
}

const QStringList ListFields = {u"Ino"_s, u"Name"_s, u"X"_s, u"Bday"_s, u"L"_s, u"Tel1"_s,
                                u"Tel2"_s, u"Hp"_s, u"Addr"_s, u"Zip"_s, u"Reg"_s, u"Zone"_s,
                                u"Area"_s, u"Duty1"_s, u"Duty2"_s, u"Bigo"_s, u"Part"_s, u"Resp"_s};

// The fixed lines, the optional conditions, the order.
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

struct Result {
    QString error; // empty when the statement ran
    QStringList fields;
    QList<QStringList> rows;
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

// Opens a query as the window does.
Result run(Database &db, const QString &sql, const QVariantMap &params = {})
{
    Result r;
    try {
        Query q(&db);
        q.setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            q.setParam(it.key(), it.value());
        q.open();
        r.fields = q.fieldNames();
        for (q.first(); !q.eof(); q.next()) {
            QStringList row;
            for (int i = 0; i < q.fieldCount(); ++i)
                row << q.field(i).asString();
            r.rows << row;
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

// Four members with a telephone and a sex, one with both address lines.
void fillRegister(Database &db)
{
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1001"_s}, {u"Name"_s, u"김철수"_s}, {u"X"_s, u"남"_s}, {u"Tel1"_s, u"02-111-1111"_s},
            {u"Addr1"_s, u"서울시 중구"_s}, {u"Zone"_s, u"1교구"_s}, {u"Duty1"_s, u"집사"_s}, {u"Bigo"_s, u"새가족"_s},
            {u"M"_s, true}, {u"Mday"_s, u"19900512"_s}, {u"B"_s, true}, {u"Bap"_s, u"19800101"_s},
            {u"Email"_s, u"kim@example.com"_s}, {u"Learn"_s, u"대졸"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1002"_s}, {u"Name"_s, u"이영희"_s}, {u"X"_s, u"여"_s}, {u"Hp"_s, u"010-2222-2222"_s},
            {u"Addr1"_s, u"부산시"_s}, {u"Addr2"_s, u"3층"_s}, {u"Zone"_s, u"2교구"_s}, {u"Duty1"_s, u"권사"_s},
            {u"Duty2"_s, u"집사"_s}, {u"M"_s, true}, {u"Mday"_s, u"19950520"_s}, {u"Learn"_s, u"고졸"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1003"_s}, {u"Name"_s, u"박민수"_s}, {u"X"_s, u"남"_s}, {u"Tel1"_s, u"031-333-3333"_s}});
    addRow(db, u"MASTER"_s,
           {{u"Ino"_s, u"1005"_s}, {u"Name"_s, u"최수진"_s}, {u"X"_s, u"여"_s}, {u"Tel2"_s, u"02-555-5555"_s},
            {u"Zone"_s, u"1교구"_s}, {u"Duty1"_s, u"집사"_s}, {u"Bigo"_s, u"새가족"_s}, {u"Mday"_s, u"20150101"_s},
            {u"B"_s, true}, {u"Bap"_s, u"20100101"_s}});
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

private slots:
    void initTestCase()
    {
        m_empty = std::make_unique<TempRegister>();
        m_filled = std::make_unique<TempRegister>();
        fillRegister(m_filled->db());
    }

    // No optional condition, each one alone, all together.
    void everyStatementPreparesAndRuns_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantMap>("params");
        QTest::newRow("fixed conditions only") << detailedSearch({}) << searchAll({{u"name"_s, u"김%"_s}});
        QStringList allConditions;
        QVariantMap allParams = searchAll();
        for (const SearchCondition &p : searchConditions()) {
            allConditions << QString::fromUtf8(p.sql);
            allParams.insert(p.params);
            QTest::newRow(p.purpose) << detailedSearch({QString::fromUtf8(p.sql)}) << searchAll(p.params);
        }
        QTest::newRow("every condition") << detailedSearch(allConditions) << allParams;
    }

    void everyStatementPreparesAndRuns()
    {
        QFETCH(QString, sql);
        QFETCH(QVariantMap, params);
        RUN(r, m_empty->db(), sql, params);
        QCOMPARE(lower(r.fields), lower(ListFields));
    }

    void resultsOnASmallRegister_data()
    {
        QTest::addColumn<QStringList>("purposes");
        QTest::addColumn<QStringList>("expected");
        auto row = [](const char *name, const QStringList &purposes, const QStringList &expected) {
            QTest::newRow(name) << purposes << expected;
        };
        row("zone", {u"zone"_s}, {u"김철수"_s, u"최수진"_s});
        // one parameter named twice takes the one value in both places
        row("church office in either field", {u"church office"_s}, {u"김철수"_s, u"이영희"_s, u"최수진"_s});
        row("baptism flag", {u"baptism flag"_s}, {u"김철수"_s, u"최수진"_s});
        row("married flag and wedding range", {u"married flag"_s, u"wedding range"_s}, {u"김철수"_s, u"이영희"_s});
        row("zone, baptism flag and range", {u"zone"_s, u"baptism flag"_s, u"baptism range"_s}, {u"최수진"_s});
        row("remark without wildcard", {u"remark"_s}, {u"김철수"_s, u"최수진"_s});
        row("education", {u"education"_s}, {u"이영희"_s});
        row("e-mail", {u"e-mail"_s}, {u"김철수"_s});
    }

    void resultsOnASmallRegister()
    {
        QFETCH(QStringList, purposes);
        QFETCH(QStringList, expected);
        QStringList conditions;
        QVariantMap params = searchAll();
        for (const QString &p : purposes) {
            const SearchCondition &c = searchCondition(qPrintable(p));
            conditions << QString::fromUtf8(c.sql);
            params.insert(c.params);
        }
        RUN(r, m_filled->db(), detailedSearch(conditions), params);
        QCOMPARE(r.column(u"Name"_s), expected);
    }

    // Not the window's text, but the same operand rule: a clause word before "(" is no function name.
    void concatenationAfterAClauseWord()
    {
        RUN(r, m_filled->db(),
            u"SELECT (Addr1 || ' ') || Addr2 A FROM MASTER WHERE (Addr1 || Addr2) LIKE '부산%'"_s);
        QCOMPARE(r.column(u"A"_s), QStringList{u"부산시 3층"_s});
    }
};

QTEST_GUILESS_MAIN(TestProgramSql)
#include "tst_programsql.moc"
