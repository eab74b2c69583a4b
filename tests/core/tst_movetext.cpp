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
        t.SetSpeed(0);
        QCOMPARE(t.Speed(), 1);
        t.SetSpeed(-5);
        QCOMPARE(t.Speed(), 1);
        t.SetSpeed(5000);
        QCOMPARE(t.Speed(), 1000);
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
        struct Case { TMoveDirection direction; bool horizontal; int atHalf; int atEnd; };
        TMoveText t;
        t.SetSpeed(1);
        t.SetSteps(4);
        t.SetContinuous(false);
        t.resize(301, 101);
        const QSize b = t.BlockSize();
        const int w = 301 + b.width(), h = 101 + b.height();
        // Halfway a distance of odd length rounds its half to the even neighbour.
        auto half = [](int d) { return d % 2 == 0 || (d / 2) % 2 == 0 ? d / 2 : d / 2 + 1; };
        const Case cases[] = {
            {mdRightToLeft, true, half(w) - b.width(), -b.width()},
            {mdLeftToRight, true, half(w) - b.width(), 301},
            {mdTopToBottom, false, half(h) - b.height(), 101},
            {mdBottomToTop, false, half(h) - b.height(), -b.height()},
        };
        for (const Case &c : cases) {
            QMap<int, QPoint> at;
            auto record = connect(&t, &TMoveText::OnStep, [&] { at[t.CurrentStep()] = t.BlockOrigin(); });
            t.SetMoveDirection(c.direction);
            QTRY_COMPARE(at.size(), 5);
            disconnect(record);
            const int half2 = c.horizontal ? at[2].x() : at[2].y();
            const int end = c.horizontal ? at[4].x() : at[4].y();
            QCOMPARE(half2, c.atHalf);
            QCOMPARE(end, c.atEnd);
            QCOMPARE(c.horizontal ? at[2].y() : at[2].x(),
                     c.horizontal ? (101 - b.height()) / 2 : (301 - b.width()) / 2);
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
