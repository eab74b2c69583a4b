#include "platform/editmask.h"

#include <QTest>

namespace {
const QString DateMask = QStringLiteral("!9999.!99.99;0;_");
const QString ZipMask = QStringLiteral("999-999;0;_");
const QString RegnoMask = QStringLiteral("999999-9999999;0;_");
const QString TimeMask = QStringLiteral("!99:99;0;_");
}

class TstEditMask : public QObject {
    Q_OBJECT
private slots:
    void parse()
    {
        const EditMask date(DateMask);
        QVERIFY(!date.isEmpty());
        QVERIFY(!date.saveLiterals());
        QCOMPARE(date.placeholder(), QLatin1Char('_'));
        QCOMPARE(date.slotCount(), 8);
        QCOMPARE(date.length(), 10);
        QCOMPARE(date.slotAt(4), -1);
        QCOMPARE(date.slotAt(5), 4);

        const EditMask bare(QStringLiteral("99\\9-99"));
        QVERIFY(bare.saveLiterals());
        QCOMPARE(bare.slotCount(), 4);
        QCOMPARE(bare.display(QStringLiteral("12-34")), QStringLiteral("129-34"));
        QCOMPARE(EditMask(QStringLiteral("99;1;*")).placeholder(), QLatin1Char('*'));
        QVERIFY(EditMask(QString()).isEmpty());
        QCOMPARE(EditMask(QString()).stored(QStringLiteral("abc")), QStringLiteral("abc"));
    }

    void display_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("editText");
        QTest::newRow("date") << DateMask << "19900101" << "1990.01.01" << "1990.01.01";
        QTest::newRow("no date") << DateMask << "" << "" << "____.__.__";
        QTest::newRow("year only") << DateMask << "1990" << "1990.  .  " << "1990.__.__";
        QTest::newRow("zip") << ZipMask << "123456" << "123-456" << "123-456";
        QTest::newRow("short zip") << ZipMask << "12" << "12 -   " << "12_-___";
        QTest::newRow("regno") << RegnoMask << "8001011234567" << "800101-1234567"
                               << "800101-1234567";
        QTest::newRow("month.day") << "99.99;0;_" << "0315" << "03.15" << "03.15";
        QTest::newRow("time") << TimeMask << "0930" << "09:30" << "09:30";
        QTest::newRow("literals stored") << "999-999;1;_" << "123-456" << "123-456" << "123-456";
    }
    void display()
    {
        QFETCH(QString, mask);
        QFETCH(QString, stored);
        QFETCH(QString, display);
        QFETCH(QString, editText);
        const EditMask m(mask);
        QCOMPARE(m.display(stored), display);
        QCOMPARE(m.editText(stored), editText);
    }

    void stored_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("editText");
        QTest::addColumn<QString>("stored");
        QTest::newRow("date") << DateMask << "1990.01.01" << "19900101";
        QTest::newRow("empty date") << DateMask << "____.__.__" << "";
        QTest::newRow("blank date") << DateMask << "    .  .  " << "";
        QTest::newRow("partial date") << DateMask << "1990.__.__" << "1990";
        QTest::newRow("gap inside") << DateMask << "1990.__.05" << "1990  05";
        QTest::newRow("leading blanks dropped") << TimeMask << " 9:30" << "930";
        QTest::newRow("zip") << ZipMask << "123-456" << "123456";
        QTest::newRow("zip typed without dash") << ZipMask << "123456" << "123456";
        QTest::newRow("zip too long") << ZipMask << "1234567" << "123456";
        QTest::newRow("regno") << RegnoMask << "800101-1234567" << "8001011234567";
        QTest::newRow("regno without dash") << RegnoMask << "8001011234567" << "8001011234567";
        QTest::newRow("time") << TimeMask << "09:30" << "0930";
        QTest::newRow("literals stored") << "999-999;1;_" << "12_-___" << "12 -";
        QTest::newRow("upper case") << ">LL<>ll;0;_" << "abcd" << "ABcd";
    }
    void stored()
    {
        QFETCH(QString, mask);
        QFETCH(QString, editText);
        QFETCH(QString, stored);
        QCOMPARE(EditMask(mask).stored(editText), stored);
    }

    void slotAccepts()
    {
        const EditMask m(QStringLiteral("09#LlAaCc;0;_"));
        const QString accepted[] = {"5", "5 ", "5+- ", "가", "a ", "a1", "b2 ", "%", "% "};
        const QString refused[] = {" a", "a", "a", "1 ", "1", " -", "-", " ", ""};
        for (int slot = 0; slot < m.slotCount(); ++slot) {
            const QByteArray where = QByteArray::number(slot);
            for (const QChar c : accepted[slot])
                QVERIFY2(m.slotAccepts(slot, c), where.constData());
            for (const QChar c : refused[slot])
                QVERIFY2(!m.slotAccepts(slot, c), where.constData());
        }
        QVERIFY(!m.slotAccepts(-1, QLatin1Char('1')));
        QVERIFY(!m.slotAccepts(m.slotCount(), QLatin1Char('1')));
    }

    // Qt's 9 is required and 0 optional: the other way round from these masks.
    void toQtInputMask_data()
    {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("qt");
        QTest::newRow("date") << DateMask << "0000.00.00;_";
        QTest::newRow("zip") << ZipMask << "000-000;_";
        QTest::newRow("required digits") << "00:00;1;*" << "99:99;*";
        QTest::newRow("letters") << "LlAaCc#" << "AaNnXx#;_";
        QTest::newRow("case") << ">LL<ll<>c" << ">AA<aa!x;_";
        QTest::newRow("literals Qt reads as letters") << R"(\\\A\9 N_b)" << R"(\\\A\9 \N \b;_)";
        QTest::newRow("empty") << "" << "";
    }

    void toQtInputMask()
    {
        QFETCH(QString, mask);
        QFETCH(QString, qt);
        QCOMPARE(EditMask(mask).toQtInputMask(), qt);
    }
};

QTEST_GUILESS_MAIN(TstEditMask)
#include "tst_editmask.moc"
