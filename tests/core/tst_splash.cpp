#include "core/splash.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QTest>

class TestSplash : public QObject {
    Q_OBJECT

private slots:
    void pictureIsEmbeddedJpeg()
    {
        InitCoreResources();
        QImageReader reader(QStringLiteral(":/core/splash.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.size(), QSize(391, 314));
    }

    void window()
    {
        TfrmSplash splash;
        QCOMPARE(splash.objectName(), QStringLiteral("frmSplash"));
        QCOMPARE(splash.windowTitle(), QStringLiteral("켈모누리 로고"));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash.windowType(), Qt::SplashScreen);
        QCOMPARE(splash.minimumSize(), QSize(391, 314));
        QCOMPARE(splash.maximumSize(), QSize(391, 314));

        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));
        QCOMPARE(splash.size(), QSize(391, 314));
        const QPoint offCentre = splash.frameGeometry().center() -
                                 splash.screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, "not centred on the screen");

        QFrame *panel = splash.findChild<QFrame *>(QStringLiteral("pnlSplash"));
        QVERIFY(panel);
        QCOMPARE(panel->geometry(), splash.rect());
        QCOMPARE(panel->lineWidth(), 3);
        QLabel *picture = panel->findChild<QLabel *>(QStringLiteral("imgSplash"));
        QVERIFY(picture);
        QVERIFY(picture->hasScaledContents());
        QCOMPARE(picture->pixmap().size(), QSize(391, 314));
        QCOMPARE(picture->geometry(), panel->contentsRect());
    }
};

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
