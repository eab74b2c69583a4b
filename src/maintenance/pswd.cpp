#include "maintenance/pswd.h"

#include "core/global.h"
#include "platform/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLineEdit *passwordEdit(QWidget *parent, const char *name, const QString &hint)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setEchoMode(QLineEdit::Password);
    // Qt turns input methods off for passwords; a Hangul password must be typeable.
    e->setAttribute(Qt::WA_InputMethodEnabled, true);
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

    edtCur = passwordEdit(this, "edtCur", QStringLiteral("현재 비밀번호를 입력하세요."));
    edtChg = passwordEdit(this, "edtChg", QStringLiteral("변경하실 비밀번호를 입력하세요."));
    edtCer = passwordEdit(this, "edtCer", QStringLiteral("다시 한번 변경할 비밀번호를 입력하세요."));
    bbtnOk = new QPushButton(QStringLiteral("확인(&O)"), this);
    bbtnOk->setObjectName(QStringLiteral("bbtnOk"));
    bbtnCancel = new QPushButton(QStringLiteral("취소(&C)"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));

    auto *grid = new QGridLayout;
    const std::pair<const char *, QLineEdit *> rows[] = {
        {"현재 비밀번호", edtCur}, {"변경 비밀번호", edtChg}, {"확인 비밀번호", edtCer}};
    int row = 0;
    for (const auto &[label, edit] : rows) {
        auto *l = new QLabel(QString::fromUtf8(label), this);
        l->setBuddy(edit);
        grid->addWidget(l, row, 0);
        grid->addWidget(edit, row++, 1);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbtnOk);
    buttons->addWidget(bbtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(QStringLiteral("비밀번호가 없으면 로그인하지 않습니다."), this));
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    setDefaultButton(bbtnOk);
    setCancelButton(bbtnCancel);
    connect(bbtnOk, &QPushButton::clicked, this, [this] { Guarded([this] { bbtnOkClick(); }); });
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
