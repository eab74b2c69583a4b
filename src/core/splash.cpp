#include "core/splash.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>

void InitCoreResources()
{
    Q_INIT_RESOURCE(core);
}

TfrmSplash::TfrmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    InitCoreResources();
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("켈모누리 로고"));
    setFixedSize(391, 314);

    pnlSplash = new QFrame(this);
    pnlSplash->setObjectName(QStringLiteral("pnlSplash"));
    pnlSplash->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlSplash->setLineWidth(3);

    imgSplash = new QLabel(pnlSplash);
    imgSplash->setObjectName(QStringLiteral("imgSplash"));
    imgSplash->setScaledContents(true);
    imgSplash->setPixmap(QPixmap(QStringLiteral(":/core/splash.jpg")));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(pnlSplash);
    auto *inner = new QVBoxLayout(pnlSplash);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(imgSplash);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
