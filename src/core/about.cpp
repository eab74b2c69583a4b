#include "core/about.h"

#include "core/movetext.h"
#include "core/splash.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {
constexpr int ClientWidth = 474;
constexpr int ClientHeight = 395;
constexpr int BottomHeight = 62;
constexpr int LogoWidth = 225;

QLabel *text(const QString &caption, QWidget *parent, const QString &family, int pixels, bool bold,
             const QColor &colour)
{
    auto *l = new QLabel(caption, parent);
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, colour);
    l->setPalette(p);
    return l;
}
} // namespace

TfrmAbout::TfrmAbout(QWidget *parent) : TForm(parent)
{
    InitCoreResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("켈모누리 정보"));
    setFont(QFont(QStringLiteral("굴림체"), font().pointSize()));
    setFixedSize(ClientWidth, ClientHeight);
    const int top = ClientHeight - BottomHeight;

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(0, 0, LogoWidth, top);
    imgLogo->setScaledContents(true);
    imgLogo->setAlignment(Qt::AlignCenter);
    imgLogo->setAttribute(Qt::WA_TranslucentBackground);
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/core/about.png")));

    auto *bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(LogoWidth + 6, 4, ClientWidth - LogoWidth - 12, 88);
    auto *name = text(QStringLiteral("켈모누리"), bevel, QStringLiteral("궁서"), 53, false, Qt::blue);
    name->setGeometry(4, 2, bevel->width() - 8, 60);
    name->setAlignment(Qt::AlignCenter);
    auto *version = text(QStringLiteral("Version 3.0"), bevel, QStringLiteral("굴림"), 16, true, Qt::black);
    version->setGeometry(4, 62, bevel->width() - 8, 22);
    version->setAlignment(Qt::AlignCenter);

    mtxtAbout = new TMoveText(this);
    mtxtAbout->setObjectName(QStringLiteral("mtxtAbout"));
    mtxtAbout->setGeometry(LogoWidth + 6, 96, 237, 233);
    mtxtAbout->SetTextStyle(tsShaddow);
    mtxtAbout->SetSteps(300);
    mtxtAbout->SetSpeed(100);
    mtxtAbout->SetColor(QColor(0, 0, 128));
    mtxtAbout->SetContinuous(true);
    QFont f(QStringLiteral("바탕체"));
    f.setPixelSize(16);
    f.setBold(true);
    mtxtAbout->setFont(f);
    mtxtAbout->SetFontColor(Qt::yellow);
    mtxtAbout->SetAlignment(taCenter);
    mtxtAbout->SetMoveDirection(mdBottomToTop);
    mtxtAbout->SetDepth(2);
    mtxtAbout->SetItems({QStringLiteral("켈모누리 3.0"), QString(), QStringLiteral("교회 교적 관리"), QString(),
                         QStringLiteral("성도 등록과 검색"), QStringLiteral("가족, 심방, 이력 기록"),
                         QStringLiteral("명단과 통계"), QStringLiteral("생일과 결혼기념일 달력"),
                         QStringLiteral("교적부와 주소 라벨 인쇄"), QStringLiteral("모뎀 전화 걸기"), QString(),
                         QStringLiteral("주님의 교회를 섬기는"), QStringLiteral("모든 분께 감사드립니다.")});

    auto *bottom = new QFrame(this);
    bottom->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bottom->setGeometry(0, top, ClientWidth, BottomHeight);
    bottom->setAutoFillBackground(true);
    QPalette teal = bottom->palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    bottom->setPalette(teal);
    auto *icon = new QLabel(bottom);
    icon->setPixmap(QPixmap(QStringLiteral(":/core/icon.png")));
    icon->setGeometry(12, (BottomHeight - 32) / 2, 32, 32);
    auto *line1 = text(QStringLiteral("켈모누리 3.0 교회 교적 관리 프로그램"), bottom, font().family(), 13, false, Qt::yellow);
    line1->setGeometry(56, 10, 300, 20);
    auto *line2 = text(QStringLiteral("이 프로그램은 교회 사무실을 위해 만들었습니다."), bottom, font().family(), 13, false, Qt::yellow);
    line2->setGeometry(56, 32, 310, 20);
    btnOk = new QPushButton(QStringLiteral("확인(&O)"), bottom);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setGeometry(ClientWidth - 92, (BottomHeight - 28) / 2, 80, 28);
    setDefaultButton(btnOk);
    setCancelButton(btnOk);
    connect(btnOk, &QPushButton::clicked, this, [this] { setModalResult(mrOk); });
}
