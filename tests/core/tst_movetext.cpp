// The moving text: speed limits, where the block stands and moves, one pass, the empty list.
#include "core/movetext.h"

#include <QImage>
#include <QTest>

class TestMoveText : public QObject {
    Q_OBJECT

private slots:
    void speedIsKeptWithinLimits()
    {
        TMoveText t;
        for (const auto &[set, kept] : {std::pair{0, 1}, {-5, 1}, {5000, 1000}}) {
            t.SetSpeed(set);
            QCOMPARE(t.Speed(), kept);
        }
    }

    void staticBlockStandsCentredOrAtTheTopLeft()
    {
        TMoveText t;
        QVERIFY(t.Moving()); // a new control moves at once
        t.SetMoveDirection(mdStatic);
        QVERIFY(!t.Moving());
        t.SetItems({QStringLiteral("가나다"), QStringLiteral("abc")});
        t.resize(301, 200);
        const QSize b = t.BlockSize();
        QCOMPARE(t.BlockOrigin(), QPoint((301 - b.width()) / 2, (200 - b.height()) / 2));
        t.resize(10, 5);
        QCOMPARE(t.BlockOrigin(), QPoint(0, 0));
    }

    void onePassDrawsStepsPlusOneFramesAndEndsOnce()
    {
        TMoveText t;
        t.SetSpeed(1);
        t.SetSteps(3);
        t.SetContinuous(false);
        int begins = 0, steps = 0, ends = 0;
        connect(&t, &TMoveText::OnBegin, [&] { ++begins; });
        connect(&t, &TMoveText::OnStep, [&] { ++steps; });
        connect(&t, &TMoveText::OnEnd, [&] { ++ends; });
        QTRY_COMPARE(ends, 1);
        QTest::qWait(50);
        QCOMPARE(ends, 1);
        QCOMPARE(steps, 4);
        QCOMPARE(begins, 1);
        QVERIFY(!t.Moving());
        QCOMPARE(t.CurrentStep(), 0);
    }

    void blockEntersAndLeavesByEachDirection()
    {
        TMoveText t;
        t.SetSpeed(1);
        t.SetSteps(4);
        t.SetContinuous(false);
        t.resize(301, 101);
        const int bw = t.BlockSize().width(), bh = t.BlockSize().height();
        const int cx = (301 - bw) / 2, cy = (101 - bh) / 2;
        // Halfway a distance of odd length rounds its half to the even neighbour.
        auto half = [](int d) { return d % 2 == 0 || (d / 2) % 2 == 0 ? d / 2 : d / 2 + 1; };
        const struct { TMoveDirection direction; QPoint atHalf, atEnd; } cases[] = {
            {mdRightToLeft, {half(301 + bw) - bw, cy}, {-bw, cy}},
            {mdLeftToRight, {half(301 + bw) - bw, cy}, {301, cy}},
            {mdTopToBottom, {cx, half(101 + bh) - bh}, {cx, 101}},
            {mdBottomToTop, {cx, half(101 + bh) - bh}, {cx, -bh}},
        };
        for (const auto &c : cases) {
            QMap<int, QPoint> at;
            auto record = connect(&t, &TMoveText::OnStep, [&] { at[t.CurrentStep()] = t.BlockOrigin(); });
            t.SetMoveDirection(c.direction);
            QTRY_COMPARE(at.size(), 5);
            disconnect(record);
            QCOMPARE(at[2], c.atHalf);
            QCOMPARE(at[4], c.atEnd);
        }
    }

    void emptyListDrawsOnlyTheBackground()
    {
        TMoveText t;
        t.SetMoveDirection(mdStatic);
        t.SetColor(QColor(0, 0, 128));
        t.SetItems({});
        t.resize(60, 30);
        const QImage picture = t.grab().toImage();
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                QCOMPARE(picture.pixelColor(x, y), QColor(0, 0, 128));
    }
};

QTEST_MAIN(TestMoveText)
#include "tst_movetext.moc"
