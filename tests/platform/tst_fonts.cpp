#include "platform/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTest>

class TestFonts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QStringList families = QFontDatabase::families();
        const struct { const char *family, *package; } needed[] = {
            {"NanumGothic", "fonts-nanum"},
            {"NanumMyeongjo", "fonts-nanum"},
            {"NanumGothicCoding", "fonts-nanum-coding"},
        };
        for (const auto &n : needed)
            if (!families.contains(QLatin1String(n.family)))
                QFAIL(qPrintable(QStringLiteral("font %1 is not installed: apt-get install %2")
                                     .arg(QLatin1String(n.family), QLatin1String(n.package))));
        InstallFontSubstitutes();
        InstallFontSubstitutes(); // harmless twice
    }

    void windowsNamesResolve_data()
    {
        QTest::addColumn<QString>("windowsName");
        QTest::addColumn<QString>("family");
        const QString gothic = "NanumGothic", serif = "NanumMyeongjo", fixed = "NanumGothicCoding";
        for (const char *name : {"굴림", "돋움", "MS Sans Serif", "System", "Gulim"})
            QTest::newRow(name) << QString::fromUtf8(name) << gothic;
        for (const char *name : {"바탕", "궁서"})
            QTest::newRow(name) << QString::fromUtf8(name) << serif;
        for (const char *name : {"굴림체", "바탕체", "돋움체", "궁서체", "Fixedsys", "Courier New"})
            QTest::newRow(name) << QString::fromUtf8(name) << fixed;
    }
    void windowsNamesResolve()
    {
        QFETCH(QString, windowsName);
        QFETCH(QString, family);
        QCOMPARE(SubstituteFamily(windowsName), family);
        QCOMPARE(QFontInfo(QFont(windowsName)).family(), family);
    }

    void otherNamesPassThrough()
    {
        QCOMPARE(SubstituteFamily("DejaVu Sans"), QStringLiteral("DejaVu Sans"));
        QCOMPARE(SubstituteFamily("gulimche"), QStringLiteral("NanumGothicCoding"));
    }

    // Forms and printouts line up columns by counting Hangul as two cells. Qt lays text out with
    // fractional advances, so that is what must be exact; QFontMetrics rounds each character
    // (4.5 px to 5 at 9 px) and only agrees at even pixel sizes.
    void fixedPitchHangulIsTwoCells_data()
    {
        QTest::addColumn<int>("pixelSize");
        for (int size : {9, 12, 13, 16, 20, 24})
            QTest::newRow(qPrintable(QString::number(size))) << size;
    }
    void fixedPitchHangulIsTwoCells()
    {
        QFETCH(int, pixelSize);
        QFont font(QStringLiteral("굴림체"));
        font.setPixelSize(pixelSize);
        const QFontMetricsF fm(font);
        const qreal cell = fm.horizontalAdvance(QLatin1Char('a'));
        QVERIFY(cell > 0);
        // QFontInfo::fixedPitch() is false here: fontconfig calls a font with double-width
        // Hangul "dual" spacing. What matters is that every ASCII character takes one cell.
        for (char ch = ' '; ch <= '~'; ++ch)
            QVERIFY2(fm.horizontalAdvance(QLatin1Char(ch)) == cell,
                     qPrintable(QStringLiteral("'%1'").arg(QLatin1Char(ch))));
        // Advances are 26.6 fixed point: each character may be 1/64 px off, no more.
        const auto cells = [&](const QString &text, int hangul) {
            return qAbs(fm.horizontalAdvance(text) - (text.size() + hangul) * cell) <=
                   hangul / 64.0;
        };
        QVERIFY(cells(QStringLiteral("가"), 1));
        QVERIFY(cells(QStringLiteral("홍길동 1234"), 3));
    }

    void defaultSizeWholePixels()
    {
        const QFontMetrics fm{QFont(QStringLiteral("굴림체"))};
        QCOMPARE(fm.horizontalAdvance(QStringLiteral("가")),
                 2 * fm.horizontalAdvance(QLatin1Char('a')));
    }
};

QTEST_MAIN(TestFonts)
#include "tst_fonts.moc"
