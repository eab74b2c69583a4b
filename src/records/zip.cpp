#include "records/zip.h"

#include "core/dm.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

TfrmZip::TfrmZip(QWidget *parent)
    : TfrmSubRecord(frmDM->tbZip, frmDM->dsZip, {"frmZip", "pnlZip", "dgrdZip", "pnlZn"}, parent)
{
    setWindowTitle(QStringLiteral("우편 번호"));
    pnlZip = pnlInput;
    dgrdZip = dgrdRows;
    pnlZn = pnlCount;
    DataSource &ds = frmDM->dsZip;
    required = {QStringLiteral("ZIP"), QStringLiteral("ZDO"), QStringLiteral("ZGUN"), QStringLiteral("ZADDR")};

    dedtZip = edit("dedtZip", "ZIP", ds);
    dedtZip->setEditMask(QStringLiteral("999-999;1;_"));
    dedtDo = edit("dedtDo", "ZDO", ds);
    dedtGun = edit("dedtGun", "ZGUN", ds);
    dedtAddr = edit("dedtAddr", "ZADDR", ds);
    pnlZip->setFocusProxy(dedtZip);
    const char *titles[] = {"우편번호", "시/도", "시/군/구", "읍/면/동"};
    DBEdit *edits[] = {dedtZip, dedtDo, dedtGun, dedtAddr};
    for (int i = 0; i < 4; ++i) {
        inputs->addWidget(label(QString::fromUtf8(titles[i]), true), 0, i);
        inputs->addWidget(edits[i], 1, i);
    }
    inputs->setColumnStretch(3, 1);

    auto *find = new QLabel(QStringLiteral("주소입력(&Z)"), pnlZn);
    edtAddr = new QLineEdit(pnlZn);
    edtAddr->setObjectName(QStringLiteral("edtAddr"));
    find->setBuddy(edtAddr);
    btnGo = new QPushButton(QStringLiteral("이동"), pnlZn);
    btnGo->setObjectName(QStringLiteral("btnGo"));
    auto *row = static_cast<QHBoxLayout *>(pnlZn->layout());
    row->addWidget(find);
    row->addWidget(edtAddr);
    row->addWidget(btnGo);

    dgrdZip->setColumns({{QStringLiteral("ZIP"), QString(), Qt::AlignLeft | Qt::AlignVCenter, digitsWidth(7)},
                         {QStringLiteral("ZDO")}, {QStringLiteral("ZGUN")},
                         {QStringLiteral("ZADDR"), QStringLiteral("읍 / 면 / 동")}});

    connect(edtAddr, &QLineEdit::textChanged, this, GuardedSlot(this, &TfrmZip::edtAddrChange));
    connect(edtAddr, &QLineEdit::returnPressed, this, GuardedSlot(this, &TfrmZip::btnGoClick));
    connect(btnGo, &QPushButton::clicked, this, GuardedSlot(this, &TfrmZip::btnGoClick));

    frmDM->tbZip.setIndexName(QStringLiteral("Zip"));
    frmDM->tbZip.first();
    resize(560, 520);
    FormCreate();
}

QString TfrmZip::CountText(int count) const
{
    return QStringLiteral(" 자료 ") + QString::number(count) + QStringLiteral(" 건");
}

QString TfrmZip::RequiredMessage() const
{
    return QStringLiteral("각 내용은 반드시 입력해야 합니다.");
}

bool TfrmZip::RequiredFilled() const
{
    // A code short of its six digits cannot be split into the member's six digits later.
    static const QRegularExpression form(QStringLiteral("^[0-9]{3}-[0-9]{3}$"));
    return TfrmSubRecord::RequiredFilled() &&
           form.match(m_table.fieldByName(QStringLiteral("ZIP")).asString()).hasMatch();
}

void TfrmZip::BeforePost()
{
    // The address picker hands out ADDR: a row added here gets one from its parts.
    Field &addr = m_table.fieldByName(QStringLiteral("ADDR"));
    if (m_table.state() == DatasetState::Insert && Trim(addr.asString()).isEmpty()) {
        QStringList parts;
        for (const char *name : {"ZDO", "ZGUN", "ZADDR"})
            parts << Trim(m_table.fieldByName(QString::fromLatin1(name)).asString());
        SetText(addr, parts.join(u' '));
    }
}

void TfrmZip::ModeChanged(bool editing)
{
    pnlZn->setEnabled(!editing);
}

void TfrmZip::edtAddrChange(const QString &text)
{
    // As typed, not trimmed; no match leaves the row where it is.
    Guarded([&] { m_table.locate(QStringLiteral("Addr"), {text}, true, false); });
}

void TfrmZip::btnGoClick()
{
    edtAddrChange(edtAddr->text());
    dgrdZip->setFocus();
}
