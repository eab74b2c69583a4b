#include "core/myunit.h"
#include "platform/clock.h"

#include <QTest>
#include <stdexcept>

class TstMyUnit : public QObject {
    Q_OBJECT
private slots:
    void nowAsTextUsesTheClock()
    {
        Clock::setFixed(QDateTime(QDate(2024, 2, 29), QTime(23, 59, 1)));
        QCOMPARE(NowAsText(QStringLiteral("yymmddhhnnss")), QStringLiteral("240229235901"));
        Clock::setFixed(std::nullopt);
    }

    void extractNumberText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("integer");
        QTest::newRow("sign, separators") << "  -1,2.5" << "-12.5" << "-12";
        QTest::newRow("plus") << "+7" << "+7" << "+7";
        QTest::newRow("sign after a digit is skipped") << "3-4" << "34" << "34";
        QTest::newRow("sign after other text is skipped") << "x-5" << "5" << "5";
        QTest::newRow("second dot skipped") << "1.2.3" << "1.23" << "1";
        QTest::newRow("words") << "12개월 3일" << "123" << "123";
        QTest::newRow("nothing") << "  abc" << "" << "";
    }
    void extractNumberText()
    {
        QFETCH(QString, text);
        QFETCH(QString, number);
        QFETCH(QString, integer);
        QCOMPARE(ExtractNumberText(text, false), number);
        QCOMPARE(ExtractNumberText(text, true), integer);
    }

    void numberTextToInt()
    {
        QCOMPARE(NumberTextToInt(QStringLiteral(" -1,234원")), -1234);
        QCOMPARE(NumberTextToInt(QStringLiteral("+12")), 12);
        QCOMPARE(NumberTextToInt(QStringLiteral("")), 0);
        QCOMPARE(NumberTextToInt(QStringLiteral(" - ")), 0);
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, NumberTextToInt(QStringLiteral("1.5")));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 NumberTextToInt(QStringLiteral("99999999999")));
    }

    void parseNumberMask()
    {
        QChar flag;
        int intDigits = -1, fracDigits = -1;
        QString body;
        ParseNumberMask(QStringLiteral("@s #,###.##"), flag, intDigits, fracDigits, body);
        QCOMPARE(flag, QLatin1Char('S'));
        QCOMPARE(body, QStringLiteral("#,###.##"));
        QCOMPARE(intDigits, 4);
        QCOMPARE(fracDigits, 2);
        ParseNumberMask(QStringLiteral("###"), flag, intDigits, fracDigits, body);
        QCOMPARE(flag, QLatin1Char(' '));
        QCOMPARE(body, QStringLiteral("###"));
        QCOMPARE(intDigits, 3);
        QCOMPARE(fracDigits, 0);
        ParseNumberMask(QStringLiteral("@"), flag, intDigits, fracDigits, body);
        QCOMPARE(body, QString());
    }

    void formatIntByMask_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero fill") << 7 << "@0 ##" << "07";
        QTest::newRow("zero") << 0 << "@0 ####" << "0000";
        QTest::newRow("too wide is cut by the mask") << 123 << "@0 ##" << "12";
        QTest::newRow("no flag fills zeros") << 12 << "##,###" << "00,012";
        QTest::newRow("separators") << 1234567 << "@S #,###,###" << "1,234,567";
        QTest::newRow("unused separators") << 12 << "@S #,###,###" << "       12";
        QTest::newRow("sign moves over a separator") << -123 << "@S #,###" << " -123";
        QTest::newRow("sign inside") << -1234 << "@S #,###,###" << "   -1,234";
        QTest::newRow("left aligned") << 1234 << "@D #,###,###" << "1,234";
        QTest::newRow("fraction places") << 5 << "@0 ##.#" << "";
    }
    void formatIntByMask()
    {
        QFETCH(int, value);
        QFETCH(QString, mask);
        QFETCH(QString, expected);
        QCOMPARE(FormatIntByMask(value, mask), expected);
    }

    void textMaskAndDigits()
    {
        QCOMPARE(ApplyTextMask(QStringLiteral("123456"), QStringLiteral("###-###")),
                 QStringLiteral("123-456"));
        QCOMPARE(ApplyTextMask(QStringLiteral("0315"), QStringLiteral("##.##")),
                 QStringLiteral("03.15"));
        QCOMPARE(ApplyTextMask(QStringLiteral("12"), QStringLiteral("###-###")),
                 QStringLiteral("12 -   "));
        QVERIFY(IsAllDigits(QString()));
        QVERIFY(IsAllDigits(QStringLiteral("0123")));
        QVERIFY(!IsAllDigits(QStringLiteral("12 3")));
        QVERIFY(!IsAllDigits(QStringLiteral("１２"))); // full-width digits are not digits here
    }

    void quoteDoublesApostrophes()
    {
        QCOMPARE(Quote(QStringLiteral("O'Neil")), QStringLiteral("'O''Neil'"));
        QCOMPARE(Quote(QString()), QStringLiteral("''"));
    }

    void calendar()
    {
        QCOMPARE(DaysInMonth(2000, 2), 29);
        QCOMPARE(DaysInMonth(1900, 2), 28);
        QCOMPARE(DaysInMonth(2004, 2), 29);
        QCOMPARE(DaysInMonth(2003, 2), 28);
        QCOMPARE(DaysInMonth(2003, 4), 30);
        // stored dates that can exist: 29 February only in a leap year; a lunar month may have 30 days
        QVERIFY(IsValidDate(QStringLiteral("20000229"), false));
        QVERIFY(!IsValidDate(QStringLiteral("19000229"), false));
        QVERIFY(IsValidDate(QStringLiteral("20230230"), true));
        QVERIFY(!IsValidDate(QStringLiteral("20231301"), false));
        QVERIFY(!IsValidDate(QStringLiteral("2023.1.1"), false));
        QCOMPARE(DaysInMonth(2003, 12), 31);
        QCOMPARE(DaysInMonth(2003, 0), 0);
        QCOMPARE(DaysInMonth(2003, 13), 0);
    }
};

QTEST_GUILESS_MAIN(TstMyUnit)
#include "tst_myunit.moc"
