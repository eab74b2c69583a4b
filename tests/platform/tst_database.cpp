// The storage engine's rules: blanks, logicals, keys, text order, the program's SQL dialect, opening.
#include "platform/dataset.h"
#include "tempregister.h"

#include <QFile>
#include <QTest>

class TestDatabase : public QObject {
    Q_OBJECT

    QStringList column(Database &db, const QString &sql, const Params &params = {})
    {
        Query q(&db);
        q.setSql(sql);
        for (const auto &p : params)
            q.setParam(p.first, p.second);
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.field(0).asString();
        return out;
    }

private slots:
    void blankTextIsNullAndTrailingBlanksGo()
    {
        TempRegister reg;
        Table t(&reg.db(), QStringLiteral("MASTER"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Ino")).setAsString(QStringLiteral("1"));
        t.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("김철수  "));
        t.fieldByName(QStringLiteral("Hname")).setAsString(QStringLiteral("   "));
        t.fieldByName(QStringLiteral("Tel1")).setAsString(QString());
        t.post();
        QCOMPARE(t.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("김철수"));
        QVERIFY(t.fieldByName(QStringLiteral("Hname")).isNull());
        QCOMPARE(t.fieldByName(QStringLiteral("Hname")).asString(), QString());
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT typeof(Hname) FROM MASTER")).toString(),
                 QStringLiteral("null"));
        // "%" matches only members that have a value, as the original engine did
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Hname LIKE '%'")).toInt(), 0);
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE Name LIKE '%'")).toInt(), 1);
        // defaults of a new row
        QCOMPARE(t.fieldByName(QStringLiteral("X")).asString(), QStringLiteral("남"));
        QCOMPARE(t.fieldByName(QStringLiteral("L")).asString(), QStringLiteral("음"));
        QCOMPARE(t.fieldByName(QStringLiteral("R")).value(), QVariant(true));
        QCOMPARE(t.fieldByName(QStringLiteral("G")).value(), QVariant(false));
        QVERIFY(t.fieldByName(QStringLiteral("Sel")).isNull());
    }

    void textIsCutToItsFieldAtAWholeCharacter()
    {
        TempRegister reg;
        Table t(&reg.db(), QStringLiteral("MASTER"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Ino")).setAsString(QStringLiteral("1"));
        t.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("가나다라마바")); // 12 bytes into 10
        t.fieldByName(QStringLiteral("Bl")).setAsString(QStringLiteral("A가"));          // 3 bytes into 2
        t.post();
        QCOMPARE(t.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("가나다라마"));
        QCOMPARE(t.fieldByName(QStringLiteral("Bl")).asString(), QStringLiteral("A"));
    }

    void logicalFieldsAreZeroOneOrNull()
    {
        TempRegister reg;
        Table t(&reg.db(), QStringLiteral("MASTER"));
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Ino")).setAsString(QStringLiteral("1"));
        t.fieldByName(QStringLiteral("B")).setAsBoolean(true);
        t.fieldByName(QStringLiteral("C")).clear();
        t.post();
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT B FROM MASTER")).toInt(), 1);
        QVERIFY(reg.db().scalar(QStringLiteral("SELECT C FROM MASTER")).isNull());
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT M FROM MASTER")).toInt(), 0);
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE B = true")).toInt(), 1);
        QCOMPARE(reg.db().scalar(QStringLiteral("SELECT COUNT(*) FROM MASTER WHERE C = FALSE")).toInt(), 0);
    }

    void keysRefuseDuplicatesEvenWithBlankParts()
    {
        TempRegister reg;
        Table study(&reg.db(), QStringLiteral("STUDY"));
        study.open();
        auto add = [&](const QString &eday2) {
            study.append();
            study.fieldByName(QStringLiteral("Ino")).setAsString(QStringLiteral("1"));
            study.fieldByName(QStringLiteral("Eday")).setAsString(QStringLiteral("20200101"));
            study.fieldByName(QStringLiteral("Eday2")).setAsString(eday2);
            study.fieldByName(QStringLiteral("Ename")).setAsString(QStringLiteral("세례교육"));
            study.post();
        };
        add(QString());
        try {
            add(QString()); // both end dates blank: the same key
            QFAIL("a duplicate key was stored");
        } catch (const DbError &e) {
            QVERIFY(e.isKeyViolation());
        }
        // the refused row stays open with what was typed, and can be changed and stored
        QCOMPARE(study.state(), DatasetState::Insert);
        QCOMPARE(study.fieldByName(QStringLiteral("Ename")).asString(), QStringLiteral("세례교육"));
        study.fieldByName(QStringLiteral("Eday2")).setAsString(QStringLiteral("20200301"));
        study.post();
        QCOMPARE(study.recordCount(), 2);

        // other failures are not key violations
        try {
            reg.db().execute(QStringLiteral("SELECT nosuchcolumn FROM MASTER"));
            QFAIL("no error");
        } catch (const DbError &e) {
            QVERIFY(!e.isKeyViolation());
        }
        // a key violation through SQL is told apart as well
        reg.addMember(QStringLiteral("1"), QStringLiteral("가"));
        try {
            reg.addMember(QStringLiteral("1"), QStringLiteral("나"));
            QFAIL("duplicate member number stored");
        } catch (const DbError &e) {
            QVERIFY(e.isKeyViolation());
        }
    }

    void textOrderIsCodePointOrder()
    {
        TempRegister reg;
        const QStringList names = {QStringLiteral("하늘"), QStringLiteral("가나"), QStringLiteral("Zed"),
                                   QStringLiteral("abc"), QStringLiteral("각"), QStringLiteral("김"),
                                   QStringLiteral("나"), QStringLiteral("ABC")};
        int i = 0;
        for (const QString &n : names)
            reg.addMember(QString::number(++i), n);
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Name FROM MASTER ORDER BY Name")),
                 (QStringList{QStringLiteral("ABC"), QStringLiteral("Zed"), QStringLiteral("abc"),
                              QStringLiteral("가나"), QStringLiteral("각"), QStringLiteral("김"),
                              QStringLiteral("나"), QStringLiteral("하늘")}));
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Name FROM MASTER WHERE Name BETWEEN '가' AND '깋' ORDER BY Name")),
                 (QStringList{QStringLiteral("가나"), QStringLiteral("각"), QStringLiteral("김")}));
        // LIKE is case-sensitive
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Name FROM MASTER WHERE Name LIKE 'a%'")),
                 QStringList{QStringLiteral("abc")});
    }

    void localDialect()
    {
        TempRegister reg;
        reg.addMember(QStringLiteral("1"), QStringLiteral("가"),
                      {{QStringLiteral("Addr1"), QStringLiteral("서울시 중구")}, {QStringLiteral("Bday"), QStringLiteral("19900315")},
                       {QStringLiteral("Zone"), QStringLiteral("2교구")}, {QStringLiteral("Area"), QStringLiteral("1구역")}});
        reg.addMember(QStringLiteral("2"), QStringLiteral("나"),
                      {{QStringLiteral("Addr1"), QStringLiteral("부산시")}, {QStringLiteral("Addr2"), QStringLiteral("3층")},
                       {QStringLiteral("Bday"), QStringLiteral("19850101")}, {QStringLiteral("Zone"), QStringLiteral("1교구")},
                       {QStringLiteral("Area"), QStringLiteral("2구역")}});
        reg.addMember(QStringLiteral("3"), QStringLiteral("다"),
                      {{QStringLiteral("Zone"), QStringLiteral("2교구")}, {QStringLiteral("Area"), QStringLiteral("1구역")}});
        // an empty second address line must not make the address vanish
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT (Addr1 || ' ' || Addr2) Addr FROM \"master.DB\" ORDER BY Name")),
                 (QStringList{QStringLiteral("서울시 중구 "), QStringLiteral("부산시 3층"), QStringLiteral(" ")}));
        // a year compared with SUBSTRING matches, bound as text; a repeated parameter takes one value
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Name FROM 'MASTER.DB' WHERE SUBSTRING(Bday FROM 1 FOR 4) BETWEEN :year1 AND :year2"),
                        {{QStringLiteral("YEAR1"), 1989}, {QStringLiteral("year2"), 1990}}),
                 QStringList{QStringLiteral("가")});
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Name FROM MASTER WHERE (Zone = :z) OR (Area = :z) ORDER BY Name"),
                        {{QStringLiteral("z"), QStringLiteral("1교구")}}),
                 QStringList{QStringLiteral("나")});
        // GROUP BY comes back in group order
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Zone, Count(*) FROM MASTER GROUP BY Zone")),
                 (QStringList{QStringLiteral("1교구"), QStringLiteral("2교구")}));
        QCOMPARE(column(reg.db(), QStringLiteral("SELECT Zone || Area, Count(*) FROM MASTER GROUP BY Zone, Area")),
                 (QStringList{QStringLiteral("1교구2구역"), QStringLiteral("2교구1구역")}));
        // MAX over no rows is NULL; callers read it as 0
        Query q(&reg.db());
        q.setSql(QStringLiteral("SELECT MAX(SEQ) M FROM FAMILY WHERE INO = '9'"));
        q.open();
        QCOMPARE(q.fieldByName(QStringLiteral("M")).asInteger(), 0);
        QVERIFY(q.fieldByName(QStringLiteral("M")).isNull());
    }

    void openingNeverCreatesAndReportsDamage()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("none.db"));
        Database db;
        QVERIFY_THROWS_EXCEPTION(DbError, db.open(missing));
        QVERIFY(!QFile::exists(missing));

        const QString garbage = dir.filePath(QStringLiteral("garbage.db"));
        QFile f(garbage);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
        f.close();
        try {
            db.open(garbage);
            QFAIL("a damaged file was opened");
        } catch (const DbError &e) {
            QCOMPARE(e.kind(), DbError::Damaged);
        }
    }

    void tablesAreCheckedAgainstTheirLayout()
    {
        TempRegister reg;
        reg.db().executeNative(QStringLiteral("DROP TABLE VISIT"));
        reg.db().executeNative(QStringLiteral("CREATE TABLE VISIT (Ino VARCHAR(14), Vday VARCHAR(8))"));
        Table visit(&reg.db(), QStringLiteral("VISIT"));
        try {
            visit.open();
            QFAIL("a table with the wrong fields was opened");
        } catch (const DbError &e) {
            QCOMPARE(e.kind(), DbError::Damaged);
        }
        QVERIFY(!visit.active());
        reg.db().executeNative(QStringLiteral("DROP TABLE VISIT"));
        QVERIFY_THROWS_EXCEPTION(DbError, visit.open());
    }

    // SQLite empties a table at once for a DELETE without WHERE, past its update hook.
    void aDeleteOfEveryRowReachesOpenTables()
    {
        TempRegister reg;
        reg.addMember(QStringLiteral("1"), QStringLiteral("가"));
        Table master(&reg.db(), QStringLiteral("MASTER"));
        master.open();
        QCOMPARE(master.recordCount(), 1);
        reg.db().execute(QStringLiteral("DELETE FROM MASTER"));
        QCOMPARE(master.recordCount(), 0);
    }

    void transactionsRollBackAsAWhole()
    {
        TempRegister reg;
        Table master(&reg.db(), QStringLiteral("MASTER"));
        master.open();
        {
            Transaction t(reg.db());
            reg.addMember(QStringLiteral("1"), QStringLiteral("가"));
            Transaction inner(reg.db());
            reg.addMember(QStringLiteral("2"), QStringLiteral("나"));
            inner.commit();
            // no commit of the outer one
        }
        QCOMPARE(master.recordCount(), 0);
        {
            Transaction t(reg.db());
            reg.addMember(QStringLiteral("1"), QStringLiteral("가"));
            t.commit();
        }
        QCOMPARE(master.recordCount(), 1);

        // A COMMIT refused while another program reads leaves the transaction open: the rollback
        // must end it, or the next transaction cannot begin.
        Database reader;
        reader.open(reg.databaseFile());
        reader.executeNative(QStringLiteral("BEGIN; SELECT COUNT(*) FROM MASTER;"));
        {
            Transaction t(reg.db());
            reg.addMember(QStringLiteral("2"), QStringLiteral("나"));
            QVERIFY_THROWS_EXCEPTION(DbError, t.commit());
        }
        reader.executeNative(QStringLiteral("COMMIT"));
        Transaction next(reg.db());
        reg.addMember(QStringLiteral("3"), QStringLiteral("다"));
        next.commit();
        QCOMPARE(master.recordCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
