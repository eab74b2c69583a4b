#include "core/login.h"

#include "core/global.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

bool LoginAccepted = false;

namespace {
QLabel *captionPanel(const QString &text, QWidget *parent)
{
    QLabel *l = Panel(text, parent);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
} // namespace

TfrmLogin::TfrmLogin(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("로그 인 (frmLogin)"));
    // A title without a close box: the only ways out are the two buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont f = font();
    f.setPixelSize(16);
    setFont(f);
    setFixedSize(275, 148);

    edtUser = new QLineEdit(this);
    edtUser->setObjectName(QStringLiteral("edtUser"));
    edtPswd = PasswordEdit(this, "edtPswd");
    btnOk = new QPushButton(QStringLiteral("확인(&O)"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnExit = new QPushButton(QStringLiteral("종료(&X)"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));

    auto *grid = new QGridLayout;
    grid->addWidget(captionPanel(QStringLiteral("사용자 이름"), this), 0, 0);
    grid->addWidget(edtUser, 0, 1);
    grid->addWidget(captionPanel(QStringLiteral("비 밀 번 호"), this), 1, 0);
    grid->addWidget(edtPswd, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnExit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    setDefaultButton(btnOk);
    connect(btnOk, &QPushButton::clicked, this, &TfrmLogin::btnOkClick);
    connect(btnExit, &QPushButton::clicked, this, &TfrmLogin::btnExitClick);
    LoginAccepted = false;
    centreOn(nullptr);
}

void TfrmLogin::btnOkClick()
{
    if (Trim(edtUser->text()) != UserName) {
        ShowMessage(QStringLiteral("사용자 이름이 맞지 않습니다."));
        edtUser->setFocus();
        LoginAccepted = false;
        return;
    }
    // Both sides trimmed alike: a password stored with a blank at an end can still be typed, and
    // one stored with a line break, which the edit turns into a blank, too.
    if (Trim(edtPswd->text()) != Trim(AsOneLine(Password))) {
        ShowMessage(QStringLiteral("비밀 번호가 맞지 않습니다."));
        edtPswd->setFocus();
        LoginAccepted = false;
        return;
    }
    LoginAccepted = true;
    setModalResult(mrOk);
}

void TfrmLogin::btnExitClick()
{
    if (MessageBox(QStringLiteral("정말 종료하시겠습니까?"), QStringLiteral("종료 확인"), MsgButtons::YesNo) == IDYES) {
        m_exit = true;
        setModalResult(mrCancel);
        return;
    }
    edtUser->setFocus();
}

bool TfrmLogin::FormCloseQuery()
{
    return LoginAccepted || m_exit;
}
