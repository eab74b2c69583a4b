#include "records/go.h"

#include "core/dm.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

TfrmGo *frmGo = nullptr;

TfrmGo::TfrmGo(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmGo"));
    setWindowTitle(QStringLiteral("이동"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(false);
    // Shown, it leaves the keyboard with the main window; a click on it takes the keys.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto *con = new QGroupBox(QStringLiteral("조건"), this);
    con->setObjectName(QStringLiteral("rdgCon"));
    rdgConName = new QRadioButton(QStringLiteral("성    명(&1)"), con);
    rdgConTel = new QRadioButton(QStringLiteral("전화번호(&2)"), con);
    rdgConName->setChecked(true);
    auto *conLayout = new QVBoxLayout(con);
    conLayout->addWidget(rdgConName);
    conLayout->addWidget(rdgConTel);

    auto *content = new QGroupBox(QStringLiteral("내용"), this);
    edtGo = new QLineEdit(content);
    edtGo->setObjectName(QStringLiteral("edtGo"));
    chkP = new QCheckBox(QStringLiteral("완전 일치(&P)"), content);
    chkP->setObjectName(QStringLiteral("chkP"));
    auto *contentLayout = new QVBoxLayout(content);
    contentLayout->addWidget(edtGo);
    contentLayout->addWidget(chkP);

    auto *hint = Panel(QStringLiteral("더 세부적인 내용은 검색을 이용하세요."), this, true);

    bbtnGo = new QPushButton(QStringLiteral("이동(&G)"), this);
    bbtnGo->setObjectName(QStringLiteral("bbtnGo"));
    bbtnClose = new QPushButton(QStringLiteral("닫기(&C)"), this);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    auto *help = new QPushButton(QStringLiteral("도움말(&H)"), this);
    help->setEnabled(false);

    auto *top = new QHBoxLayout;
    top->addWidget(con);
    top->addWidget(content, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbtnGo);
    buttons->addWidget(bbtnClose);
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    setDefaultButton(bbtnGo);
    setCancelButton(bbtnClose);
    connect(rdgConName, &QRadioButton::clicked, this, GuardedSlot(this, &TfrmGo::rdgConClick));
    connect(rdgConTel, &QRadioButton::clicked, this, GuardedSlot(this, &TfrmGo::rdgConClick));
    connect(bbtnGo, &QPushButton::clicked, this, GuardedSlot(this, &TfrmGo::bbtnGoClick));
    connect(bbtnClose, &QPushButton::clicked, this, GuardedSlot(this, &TfrmGo::bbtnCloseClick));
}

int TfrmGo::condition() const
{
    return rdgConTel->isChecked() ? 1 : 0;
}

void TfrmGo::applyIndex()
{
    frmDM->tbMaster.setIndexName(condition() == 0 ? QStringLiteral("Name_idx") : QStringLiteral("Tel_idx"));
}

void TfrmGo::rdgConClick()
{
    applyIndex();
    edtGo->clear();
    edtGo->setFocus();
}

void TfrmGo::bbtnGoClick()
{
    if (Trim(edtGo->text()).isEmpty()) {
        ShowMessage(QStringLiteral("내용을 입력하세요."));
        edtGo->setFocus();
        return;
    }
    // The search runs on the index it searches, whatever another command left.
    applyIndex();
    Table &t = frmDM->tbMaster;
    const QVariantList key{edtGo->text()}; // as typed, not trimmed
    if (chkP->isChecked()) {
        if (!t.findKey(key))
            ShowMessage(QStringLiteral("완전 일치하는 것이 없습니다."));
    } else if (!t.findKey(key)) {
        t.findNearest(key);
    }
    edtGo->setFocus();
}

void TfrmGo::bbtnCloseClick()
{
    close();
}

void TfrmGo::changeEvent(QEvent *event)
{
    TForm::changeEvent(event);
    // Shown without the keys, the window gets them later by a click or the window manager: what is
    // typed then is the search text.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        edtGo->setFocus(Qt::ActiveWindowFocusReason);
}

void TfrmGo::hideEvent(QHideEvent *event)
{
    // The main window's name order comes back when the window goes.
    if (frmDM && frmDM->tbMaster.active())
        Guarded([] { frmDM->tbMaster.setIndexName(QStringLiteral("Name_idx")); });
    TForm::hideEvent(event);
}
