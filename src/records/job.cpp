#include "records/job.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/dialogs.h"
#include "records/addr.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

TfrmJob::TfrmJob(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmJob"));
    const auto edit = [this](const char *name, const char *field) {
        auto *e = new DBEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setDataSource(&frmDM->dsMaster);
        e->setDataField(QString::fromLatin1(field));
        return e;
    };
    dedtJob = edit("dedtJob", "Job");
    dcbxJkind = new DBComboBox(this);
    dcbxJkind->setObjectName(QStringLiteral("dcbxJkind"));
    dcbxJkind->setDataSource(&frmDM->dsMaster);
    dcbxJkind->setDataField(QStringLiteral("Jkind"));
    dedtJpart = edit("dedtJpart", "Jpart");
    dedtJduty = edit("dedtJduty", "Jduty");
    dedtJtel = edit("dedtJtel", "Jtel");
    dedtJfax = edit("dedtJfax", "Jfax");
    dedtJaddr1 = edit("dedtJaddr1", "Jaddr1");
    dedtJaddr2 = edit("dedtJaddr2", "Jaddr2");
    dedtJzip = edit("dedtJzip", "Jzip");
    dmemJmemo = new DBMemo(this);
    dmemJmemo->setObjectName(QStringLiteral("dmemJmemo"));
    dmemJmemo->setDataSource(&frmDM->dsMaster);
    dmemJmemo->setDataField(QStringLiteral("Jmemo"));
    btnZip = new QPushButton(QStringLiteral("우편번호"), this);
    btnZip->setObjectName(QStringLiteral("btnZip"));
    btnZip->setToolTip(QStringLiteral("주소와 우편번호 자동 입력"));
    btnZip->installEventFilter(this);
    bbtnOk = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("확인(&O)"), this);
    bbtnOk->setObjectName(QStringLiteral("bbtnOk"));
    bbtnCancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("취소(&C)"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    auto *help = new QPushButton(QStringLiteral("도움말(&H)"), this);
    help->setEnabled(false);

    auto *grid = new QGridLayout;
    const auto row = [&](int r, const char *title, QWidget *w, QWidget *second = nullptr) {
        grid->addWidget(new QLabel(QString::fromUtf8(title), this), r, 0);
        grid->addWidget(w, r, 1, 1, second ? 1 : 2);
        if (second)
            grid->addWidget(second, r, 2);
    };
    row(0, "근 무 처", dedtJob);
    row(1, "직    종", dcbxJkind);
    row(2, "부    서", dedtJpart);
    row(3, "직    위", dedtJduty);
    row(4, "직장전화", dedtJtel);
    row(5, "직장팩스", dedtJfax);
    row(6, "주    소", dedtJaddr1, btnZip);
    grid->addWidget(dedtJaddr2, 7, 1);
    grid->addWidget(dedtJzip, 7, 2);
    grid->setColumnStretch(1, 1);
    auto *memoBox = new QGroupBox(QStringLiteral(" 직장 메모"), this);
    (new QVBoxLayout(memoBox))->addWidget(dmemJmemo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {bbtnOk, bbtnCancel, help})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(memoBox, 1);
    layout->addLayout(buttons);
    setFixedSize(480, 460);

    setCancelButton(bbtnCancel);
    connect(btnZip, &QPushButton::clicked, this, GuardedSlot(this, &TfrmJob::btnZipClick));
    connect(bbtnOk, &QPushButton::clicked, this, GuardedSlot(this, &TfrmJob::bbtnOkClick));
    connect(bbtnCancel, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmJob::FormActivate()
{
    FillItemsWithBlank(dcbxJkind, KindList, KindCount);
}

bool TfrmJob::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        FormActivate();
    return TForm::event(e);
}

void TfrmJob::showEvent(QShowEvent *e)
{
    Guarded([this] { FormActivate(); });
    TForm::showEvent(e);
}

bool TfrmJob::eventFilter(QObject *watched, QEvent *event)
{
    // Tabbing onto the button opens the picker too; the focus coming back after the picker must not.
    if (watched == btnZip && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            QTimer::singleShot(0, this, GuardedSlot(this, &TfrmJob::btnZipClick));
    }
    return TForm::eventFilter(watched, event);
}

void TfrmJob::btnZipClick()
{
    if (m_picking)
        return;
    QScopedValueRollback guard(m_picking, true);
    AddrForJob = true;
    {
        TfrmAddr picker;
        picker.centreOn(this);
        picker.ShowModal();
    }
    if (!dedtJaddr1->text().isEmpty())
        dedtJaddr2->setFocus();
}

void TfrmJob::bbtnOkClick()
{
    Table &t = frmDM->tbMaster;
    try {
        t.post();
    } catch (const DbError &e) {
        // What was typed stays on screen to be corrected or cancelled.
        ShowError(e.message());
        return;
    }
    setModalResult(mrOk);
}

void TfrmJob::FormClose()
{
    frmDM->tbMaster.cancel();
}
