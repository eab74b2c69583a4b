// The synthetic register: the register's storage rules, keys and links, dates that agree with
// each other, repeatability and respect for what a register already holds.
#include "generator/generator.h"
#include "anniversaries/tday.h"
#include "core/lunsol.h"
#include "platform/clock.h"
#include "platform/cp949.h"
#include "tempregister.h"

#include <QDate>
#include <QTest>
#include <memory>

namespace {
constexpr int Members = 300;
const QDate Today(2023, 6, 15); // not a leap year: a 29 February birthday moves

QStringList column(Database &db, const QString &nativeSql)
{
    Statement st(db, nativeSql);
    QStringList out;
    while (st.step())
        out << st.column(0).toString();
    return out;
}

qint64 count(Database &db, const QString &nativeSql)
{
    Statement st(db, nativeSql);
    return st.step() ? st.columnInt64(0) : -1;
}

QString text(const char *s)
{
    return QString::fromUtf8(s);
}

// Worked out apart from the generator: QDate instead of string surgery.
QString expectedBirthday(const QString &bday, const QString &calendar, int year)
{
    return bday.isEmpty() ? QString() : BirthdayInYear(bday, calendar == text("음"), year);
}

bool isDate(const QString &s)
{
    return s.size() == 8 && QDate::fromString(s, QStringLiteral("yyyyMMdd")).isValid();
}
} // namespace

class TestGenerator : public QObject {
    Q_OBJECT

    std::unique_ptr<TempRegister> m_reg;
    Database &db() { return m_reg->db(); }

private slots:
    void initTestCase()
    {
        Clock::setFixed(QDateTime(Today, QTime(12, 0)));
        m_reg = std::make_unique<TempRegister>();
        const GeneratedCounts c = GenerateRegister(db(), Members, 42);
        QCOMPARE(c.members, Members);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER")), Members);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM FAMILY")), c.family);
        QVERIFY(c.family > 0 && c.visits > 0 && c.studies > 0 && c.zipRows > 0);
    }

    void cleanupTestCase()
    {
        m_reg.reset();
        Clock::setFixed(std::nullopt);
    }

    void storedValuesKeepTheRegistersRules()
    {
        for (const TableDef &t : KelmoTables()) {
            for (const FieldDef &f : t.fields) {
                const QString where = QStringLiteral(" FROM \"%1\" WHERE \"%2\" IS NOT NULL").arg(t.name, f.name);
                if (f.type == FieldType::Logical) {
                    QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*)") + where +
                                             QStringLiteral(" AND (typeof(\"%1\") <> 'integer' OR \"%1\" NOT IN (0, 1))").arg(f.name)),
                             0);
                    continue;
                }
                if (f.type != FieldType::Text && f.type != FieldType::Memo)
                    continue;
                for (const QString &v : column(db(), QStringLiteral("SELECT \"%1\"").arg(f.name) + where)) {
                    const QString what = t.name + u'.' + f.name + QStringLiteral(": [") + v + u']';
                    QVERIFY2(!v.isEmpty() && !v.endsWith(u' '), qPrintable(what));
                    QVERIFY2(cp949::canEncode(v), qPrintable(what));
                    if (f.type == FieldType::Text)
                        QVERIFY2(cp949::byteLength(v) <= f.size, qPrintable(what));
                }
            }
        }
        // the member flags are always set, never left NULL
        for (const char *flag : {"G", "M", "R", "S", "B", "C", "Sel"})
            QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE \"%1\" IS NULL").arg(QLatin1String(flag))), 0);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Pic IS NOT NULL OR Fpic IS NOT NULL")), 0);
    }

    void keysAreUniqueAndRowsLinked()
    {
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(DISTINCT Ino) FROM MASTER WHERE length(Ino) BETWEEN 1 AND 14 "
                                            "AND Ino NOT GLOB '*[^0-9]*'")),
                 Members);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM VISIT GROUP BY Ino, Vday, Vtime HAVING COUNT(*) > 1)")), 0);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM STUDY GROUP BY Ino, Eday, ifnull(Eday2, ''), Ename "
                                            "HAVING COUNT(*) > 1)")),
                 0);
        // each member's family rows are numbered 1..n
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM FAMILY GROUP BY Ino "
                                            "HAVING MIN(Seq) <> 1 OR MAX(Seq) <> COUNT(*))")),
                 0);
        for (const char *table : {"FAMILY", "VISIT", "STUDY"})
            QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM %1 WHERE Ino NOT IN (SELECT Ino FROM MASTER)")
                                     .arg(QLatin1String(table))),
                     0);
        // members other than heads point at a head by number and name
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER m WHERE G = 0 AND NOT EXISTS "
                                            "(SELECT 1 FROM MASTER h WHERE h.Ino = m.GNO AND h.G = 1 AND h.Name = m.Gname)")),
                 0);
        const qint64 heads = count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE G = 1"));
        QVERIFY2(heads > Members / 4 && heads < Members / 2, qPrintable(QString::number(heads)));
        // lookup values come from the lists
        const QList<QPair<const char *, const char *>> drawn = {
            {"Zone", "ZONE"}, {"Area", "AREA"}, {"Duty1", "DUTY"}, {"Bigo", "BIGO"}, {"Part", "PART"},
            {"Resp", "RESP"}, {"Grel", "FREL"}, {"Jkind", "KIND"}, {"Serve", "GITA"}};
        for (const auto &[field, list] : drawn)
            QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE %1 NOT IN (SELECT %2 FROM %2)")
                                     .arg(QLatin1String(field), QLatin1String(list))),
                     0);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM STUDY WHERE Ename NOT IN (SELECT EDUC FROM EDUC)")), 0);
        // groups as a church enters them: the list window adds the group word itself
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM AREA WHERE AREA GLOB '*[^0-9]*'")), 0);
        QCOMPARE(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Zip NOT IN (SELECT replace(ZIP, '-', '') FROM ZIP) "
                                            "OR Addr1 NOT IN (SELECT ADDR FROM ZIP)")),
                 0);
    }

    void datesAgree()
    {
        Statement st(db(), QStringLiteral("SELECT Name, Bday, L, Tday, X, Regno, M, Mday, S, Std, B, Bap, C, Chd, Reg FROM MASTER"));
        int lunar = 0;
        while (st.step()) {
            auto v = [&st](int i) { return st.column(i).toString(); };
            const QString name = v(0), bday = v(1), calendar = v(2);
            if (!bday.isEmpty()) {
                QVERIFY2(calendar == text("음") || calendar == text("양"), qPrintable(name));
                const QString solar = calendar == text("음") ? LunarToSolar(bday, false) : bday;
                QVERIFY2(isDate(solar), qPrintable(name + u' ' + bday));
                lunar += calendar == text("음");
                QCOMPARE(v(3), expectedBirthday(bday, calendar, Today.year()));
                const QString regno = v(5);
                if (!regno.isEmpty()) {
                    QCOMPARE(regno.left(6), solar.mid(2, 6));
                    const int sexDigit = regno[6].digitValue();
                    QCOMPARE(sexDigit % 2 == 1, v(4) == text("남"));
                    QCOMPARE(sexDigit >= 3, solar.left(4).toInt() >= 2000);
                    static const int weights[] = {2, 3, 4, 5, 6, 7, 8, 9, 2, 3, 4, 5};
                    int sum = 0;
                    for (int i = 0; i < 12; ++i)
                        sum += regno[i].digitValue() * weights[i];
                    QCOMPARE(regno[12].digitValue(), (11 - sum % 11) % 10);
                }
            } else {
                QVERIFY(calendar.isEmpty() && v(3).isEmpty());
            }
            // each flag is set exactly when its date is there, and no date lies ahead
            for (int i = 6; i <= 12; i += 2) {
                QCOMPARE(st.column(i).toInt() == 1, !v(i + 1).isEmpty());
                QVERIFY(v(i + 1).isEmpty() || (isDate(v(i + 1)) && v(i + 1) <= Today.toString(QStringLiteral("yyyyMMdd"))));
            }
            QVERIFY(isDate(v(14)));
        }
        QVERIFY2(lunar > Members / 6 && lunar < Members / 2, qPrintable(QString::number(lunar)));

        Statement fam(db(), QStringLiteral("SELECT Bday, L, TDAY, F FROM FAMILY"));
        while (fam.step()) {
            const QString bday = fam.column(0).toString();
            QCOMPARE(fam.column(2).toString(), expectedBirthday(bday, fam.column(1).toString(), Today.year()));
            QCOMPARE(fam.column(3).toInt() == 1, !bday.isEmpty());
        }
    }

    void namesCoverTheIndexTabs()
    {
        // Latin names for the "other" tab, and a spread of Hangul initials
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Name < '가'")) > 0);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Name >= '하' AND Name < '힣'")) > 0);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(DISTINCT substr(Name, 1, 1)) FROM MASTER WHERE Name >= '가'")) >= 25);
        QVERIFY(count(db(), QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Cmemo LIKE '%기도%' OR Cmemo LIKE '%심방%'")) > 0);
    }

    void sameSeedSameRegister()
    {
        TempRegister again, other;
        GenerateRegister(again.db(), Members, 42);
        GenerateRegister(other.db(), Members, 43);
        const QString names = QStringLiteral("SELECT Ino || Name || ifnull(Bday, '') FROM MASTER ORDER BY rowid");
        const QString family = QStringLiteral("SELECT Ino || Seq || Name FROM FAMILY ORDER BY rowid");
        QCOMPARE(column(again.db(), names), column(db(), names));
        QCOMPARE(column(again.db(), family), column(db(), family));
        QVERIFY(column(other.db(), names) != column(db(), names));
    }

    void existingRowsAreKeptAndDrawnFrom()
    {
        TempRegister reg;
        reg.db().execute(QStringLiteral("INSERT INTO DUTY VALUES ('감독')"));
        reg.db().execute(QStringLiteral("INSERT INTO ZIP (ZIP, ADDR, DDD) VALUES ('123-456', '서울 종로구 효자동', '02')"));
        GenerateRegister(reg.db(), 50, 1);
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT DISTINCT Duty1 FROM MASTER WHERE Duty1 IS NOT NULL")),
                 QStringList{text("감독")});
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT DISTINCT Zip || Addr1 FROM MASTER")),
                 QStringList{text("123456서울 종로구 효자동")});
        QCOMPARE(count(reg.db(), QStringLiteral("SELECT COUNT(*) FROM AREA")), 20);
        // a second run with the same seed makes the same people under new numbers
        const qint64 lookups = count(reg.db(), QStringLiteral("SELECT (SELECT COUNT(*) FROM AREA) + (SELECT COUNT(*) FROM FREL)"));
        const GeneratedCounts c = GenerateRegister(reg.db(), 50, 1);
        QCOMPARE(c.lookupRows + c.zipRows, 0);
        QCOMPARE(count(reg.db(), QStringLiteral("SELECT COUNT(DISTINCT Ino) FROM MASTER")), 100);
        QCOMPARE(count(reg.db(), QStringLiteral("SELECT COUNT(DISTINCT Name) FROM MASTER")),
                 count(reg.db(), QStringLiteral("SELECT COUNT(DISTINCT Name) FROM MASTER WHERE rowid <= 50")));
        QCOMPARE(count(reg.db(), QStringLiteral("SELECT (SELECT COUNT(*) FROM AREA) + (SELECT COUNT(*) FROM FREL)")), lookups);
    }
};

QTEST_MAIN(TestGenerator)
#include "tst_generator.moc"
