#include "maintenance/pswd.h"

#include "core/global.h"
#include "platform/dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit *limitedPasswordEdit(QWidget *parent, const char *name, const QString &hint)
{
    QLineEdit *e = PasswordEdit(parent, name);
    e->setMaxLength(10);
    e->setToolTip(hint);
    return e;
}
} // namespace

TfrmPswd::TfrmPswd(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmPswd"));
    setWindowTitle(QStringLiteral("비밀번호 변경"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    edtCur = limitedPasswordEdit(this, "edtCur", QStringLiteral("현재 비밀번호를 입력하세요."));
    edtChg = limitedPasswordEdit(this, "edtChg", QStringLiteral("변경하실 비밀번호를 입력하세요."));
    edtCer = limitedPasswordEdit(this, "edtCer", QStringLiteral("다시 한번 변경할 비밀번호를 입력하세요."));
    bbtnOk = NamedButton(QStringLiteral("확인(&O)"), "bbtnOk", this);
    bbtnCancel = NamedButton(QStringLiteral("취소(&C)"), "bbtnCancel", this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(LabelledRows(this, {{"현재 비밀번호", edtCur}, {"변경 비밀번호", edtChg}, {"확인 비밀번호", edtCer}}));
    layout->addWidget(new QLabel(QStringLiteral("비밀번호가 없으면 로그인하지 않습니다."), this));
    layout->addLayout(ButtonRow({bbtnOk, bbtnCancel}));
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    setDefaultButton(bbtnOk);
    setCancelButton(bbtnCancel);
    connect(bbtnOk, &QPushButton::clicked, this, GuardedSlot(this, &TfrmPswd::bbtnOkClick));
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    edtCur->setFocus();
}

void TfrmPswd::bbtnOkClick()
{
    // Exact comparisons: a blank typed by mistake must not pass for the password.
    if (edtCur->text() != Password) {
        ShowMessage(QStringLiteral("비밀번호가 다릅니다."));
        edtCur->setFocus();
        return;
    }
    if (edtChg->text() != edtCer->text()) {
        ShowMessage(QStringLiteral("변경 비밀번호와 확인 비밀번호가 다릅니다."));
        edtCer->setFocus();
        return;
    }
    Password = edtChg->text();
    ShowMessage(QStringLiteral("비밀번호가 변경되었습니다."));
    setModalResult(mrOk);
}
