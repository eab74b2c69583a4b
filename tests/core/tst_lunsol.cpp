#include "core/lunsol.h"

#include "scripted.h"

#include <QDate>
#include <QTest>

class TstLunSol : public QObject {
    Q_OBJECT
private slots:
    void knownDates_data()
    {
        QTest::addColumn<QString>("solar");
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<bool>("leap");
        QTest::newRow("first day of the table") << "18810130" << "18810101" << false;
        QTest::newRow("last day of the table") << "20440129" << "20431230" << false;
        QTest::newRow("new year 2000") << "20000205" << "20000101" << false;
        QTest::newRow("new year 2020") << "20200125" << "20200101" << false;
        QTest::newRow("chuseok 2023") << "20230929" << "20230815" << false;
        QTest::newRow("end of 2000") << "20001231" << "20001206" << false;
        QTest::newRow("month 7 of 1881") << "18810726" << "18810701" << false;
        QTest::newRow("leap month 7 of 1881") << "18810825" << "18810701" << true;
        QTest::newRow("leap month 2 of 2023") << "20230322" << "20230201" << true;
        QTest::newRow("month 3 of 2023, after the leap") << "20230420" << "20230301" << false;
    }
    void knownDates()
    {
        QFETCH(QString, solar);
        QFETCH(QString, lunar);
        QFETCH(bool, leap);
        QCOMPARE(SolarToLunar(solar), lunar);
        QCOMPARE(LunarToSolar(lunar, leap), solar);
    }

    // Every solar day of the table goes to a lunar date and back. Consecutive days must also
    // advance the lunar date by one day or start a new month at day 1, which catches a month
    // walk that is off by one even when both directions share the mistake.
    void everyDayRoundTrips()
    {
        const QDate first(1881, 1, 30), last(2044, 1, 29);
        QString previous;
        int leapDays = 0;
        for (QDate d = first; d <= last; d = d.addDays(1)) {
            const QString solar = d.toString(QStringLiteral("yyyyMMdd"));
            const QString lunar = SolarToLunar(solar);
            QVERIFY2(lunar.size() == 8, qPrintable(solar));
            const QString regular = LunarToSolar(lunar, false);
            if (regular != solar) {
                // A leap month follows the month whose number it repeats.
                QVERIFY2(regular < solar, qPrintable(solar));
                QCOMPARE(LunarToSolar(lunar, true), solar);
                ++leapDays;
            } else {
                QVERIFY2(LunarToSolar(lunar, true) != solar, qPrintable(solar));
            }
            if (!previous.isEmpty()) {
                const int day = lunar.right(2).toInt();
                if (day == 1) {
                    QVERIFY2(previous.right(2).toInt() >= 29, qPrintable(solar));
                } else {
                    QCOMPARE(lunar.left(6), previous.left(6));
                    QCOMPARE(day, previous.right(2).toInt() + 1);
                }
            }
            previous = lunar;
        }
        // 60 leap months of 29 or 30 days in 163 years.
        QVERIFY(leapDays > 60 * 29 - 1 && leapDays < 60 * 30 + 1);
    }

    void outOfRangeAndMalformed()
    {
        const QStringList badSolar = {"18810129", "20440130", "20230230", "20230431", "20231301",
                                      "20230001", "20230100", "2023011",  "202301011", "2023-1-1",
                                      "",         "１９９００１０１"};
        for (const QString &s : badSolar)
            QVERIFY2(SolarToLunar(s).isEmpty(), qPrintable(s));
        const QStringList badLunar = {"18800101", "20440101", "20231301", "20230001",
                                      "20230100", "20230131", "2023011x"};
        for (const QString &s : badLunar)
            QVERIFY2(LunarToSolar(s, false).isEmpty(), qPrintable(s));
        QCOMPARE(LunarToSolar(QStringLiteral("20000101"), false), QStringLiteral("20000205"));
        // Day 30 of a 29-day month is the first day of the next month, as the day count gives it.
        QCOMPARE(LunarToSolar(QStringLiteral("20231130"), false), QStringLiteral("20240111"));
        QCOMPARE(LunarToSolar(QStringLiteral("20230230"), true), QStringLiteral("20230420"));
    }

    void numStr()
    {
        QCOMPARE(NumStr(2, 5), QStringLiteral("05"));
        QCOMPARE(NumStr(2, 12), QStringLiteral("12"));
        QCOMPARE(NumStr(1, 5), QStringLiteral("5"));
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("System 에러 발생 (NumStr) 문의要"));
        QCOMPARE(NumStr(4, 7), QStringLiteral("   7"));
    }
};

QTEST_GUILESS_MAIN(TstLunSol)
#include "tst_lunsol.moc"
