#include "records/required.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

const QColor RequiredColour(0, 128, 192);

QFrame *RequiredPanel(QWidget *parent, const char *objectName)
{
    auto *panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(objectName));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, RequiredColour);
    palette.setColor(QPalette::WindowText, Qt::white);
    panel->setPalette(palette);
    return panel;
}

QWidget *RequiredLegend(QWidget *parent)
{
    auto *legend = new QWidget(parent);
    auto *swatch = new QLabel(legend);
    swatch->setFixedSize(18, 14);
    swatch->setFrameShape(QFrame::Box);
    swatch->setAutoFillBackground(true);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, RequiredColour);
    swatch->setPalette(palette);
    auto *layout = new QHBoxLayout(legend);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(swatch);
    layout->addWidget(new QLabel(QStringLiteral("색에 있는 칸은 반드시 입력하세요."), legend));
    return legend;
}
