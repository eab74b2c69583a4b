#include "platform/cp949.h"

#include <QTest>

class TstCp949 : public QObject {
    Q_OBJECT
private slots:
    void byteLength()
    {
        QCOMPARE(cp949::byteLength(QStringLiteral("가나다")), 6);
        QCOMPARE(cp949::byteLength(QStringLiteral("a가")), 3);
        QCOMPARE(cp949::byteLength(QString()), 0);
        // Characters outside the two fast paths still get their code-page width.
        QCOMPARE(cp949::byteLength(QStringLiteral("漢·")), 4);
        QCOMPARE(cp949::byteLength(QStringLiteral("ㄱ")), 2);
        // Cannot be encoded: counted as 2, the surrogate pair as one character.
        QCOMPARE(cp949::byteLength(QStringLiteral("😀ᄀ")), 4);
    }

    void cutAndPad()
    {
        QCOMPARE(cp949::cutToBytes(QStringLiteral("가나다"), 5), QStringLiteral("가나"));
        QCOMPARE(cp949::cutToBytes(QStringLiteral("a가"), 2), QStringLiteral("a"));
        QCOMPARE(cp949::cutToBytes(QStringLiteral("a😀b"), 2), QStringLiteral("a"));
        QCOMPARE(cp949::cutToBytes(QStringLiteral("abc"), 0), QString());
        QCOMPARE(cp949::cutToBytes(QStringLiteral("abc"), -1), QString());
        QCOMPARE(cp949::padRight(QStringLiteral("가나다"), 5), QStringLiteral("가나 "));
        QCOMPARE(cp949::padRight(QStringLiteral("a"), 4), QStringLiteral("a   "));
        QCOMPARE(cp949::padRight(QStringLiteral("abcd"), 4), QStringLiteral("abcd"));
    }

    void encodeAndDecode()
    {
        QVERIFY(cp949::canEncode(QStringLiteral("홍길동 abc 漢字 ㄱ")));
        QVERIFY(!cp949::canEncode(QStringLiteral("가😀")));
        QVERIFY(!cp949::canEncode(QString(QChar(0xD800)))); // lone surrogate

        const QByteArray bytes = cp949::encode(QStringLiteral("a가똠"));
        QCOMPARE(bytes, QByteArray("a\xB0\xA1\x8C\x63", 5)); // 똠 is one of the UHC extensions
        QCOMPARE(cp949::decode(bytes), QStringLiteral("a가똠"));
        // Unencodable characters keep the width byteLength gave them.
        QCOMPARE(cp949::encode(QStringLiteral("x😀y")), QByteArray("x??y"));
        QCOMPARE(cp949::decode(QByteArray("a\xFF" "b\xB0", 4)),
                 QStringLiteral("a\uFFFDb\uFFFD"));
    }
};

QTEST_GUILESS_MAIN(TstCp949)
#include "tst_cp949.moc"
