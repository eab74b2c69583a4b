#include "platform/sysutils.h"

#include <QTest>

class TstSysUtils : public QObject {
    Q_OBJECT
private slots:
    void trimKeepsWideAndNoBreakSpaces()
    {
        const QString ideo = QString(QChar(0x3000)), nbsp = QString(QChar(0x00A0));
        const QString text = QStringLiteral("\t \n") + ideo + QStringLiteral("가 ") + nbsp +
                             QStringLiteral(" \r");
        QCOMPARE(Trim(text), ideo + QStringLiteral("가 ") + nbsp);
        QCOMPARE(TrimLeft(text), ideo + QStringLiteral("가 ") + nbsp + QStringLiteral(" \r"));
        QCOMPARE(TrimRight(text), QStringLiteral("\t \n") + ideo + QStringLiteral("가 ") + nbsp);
        QCOMPARE(Trim(QStringLiteral(" \t ")), QString());
    }

    void upperCaseTouchesAsciiLettersOnly()
    {
        QCOMPARE(UpperCase(QStringLiteral("abz09é김ａ")), QStringLiteral("ABZ09é김ａ"));
    }

    void formatDateTime_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("stamp") << "yymmddhhnnss" << "050309070405";
        QTest::newRow("stamp without seconds") << "yymmddhhnn" << "0503090704";
        QTest::newRow("date") << "yyyymmdd" << "20050309";
        QTest::newRow("year") << "yyyy" << "2005";
        QTest::newRow("month") << "mm" << "03";
        QTest::newRow("day") << "dd" << "09";
        QTest::newRow("time") << "hhnnss" << "070405";
        QTest::newRow("long") << "yyyy-mm-dd hh:nn:ss" << "2005-03-09 07:04:05";
        QTest::newRow("unpadded") << "y.m.d h:n:s" << "05.3.9 7:4:5";
        QTest::newRow("upper case codes") << "YYYYMMDD HHNN" << "20050309 0704";
        QTest::newRow("m after h is minutes") << "hh:mm" << "07:04";
        QTest::newRow("m after h, one letter") << "h mm" << "7 04";
        QTest::newRow("a letter in between ends it") << "hhTmm" << "07T03";
        QTest::newRow("m after d is month") << "dd mm" << "09 03";
    }
    void formatDateTime()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const QDateTime moment(QDate(2005, 3, 9), QTime(7, 4, 5));
        QCOMPARE(FormatDateTime(format, moment), expected);
    }

    void roundHalfEven()
    {
        QCOMPARE(RoundHalfEven(0.5), 0);
        QCOMPARE(RoundHalfEven(1.5), 2);
        QCOMPARE(RoundHalfEven(2.5), 2);
        QCOMPARE(RoundHalfEven(-2.5), -2);
        QCOMPARE(RoundHalfEven(2.51), 3);
        QCOMPARE(RoundHalfEven(-7.4), -7);
        QCOMPARE(RoundHalfEven(1e12), INT_MAX);
    }
};

QTEST_GUILESS_MAIN(TstSysUtils)
#include "tst_sysutils.moc"
