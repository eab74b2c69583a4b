#include "records/subrecord.h"

#include "platform/cp949.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"
#include "records/dateentry.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

TfrmSubRecord::TfrmSubRecord(Table &table, DataSource &source, const Names &names, QWidget *parent)
    : TForm(parent), m_table(table)
{
    setObjectName(QString::fromLatin1(names.form));
    setSizeGripEnabled(true);

    const auto button = [this](const char *name, const QString &caption, QStyle::StandardPixmap icon) {
        auto *b = new QPushButton(style()->standardIcon(icon), caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    bbtnAdd = button("bbtnAdd", QStringLiteral("추가(&A)"), QStyle::SP_FileDialogNewFolder);
    bbtnEdit = button("bbtnEdit", QStringLiteral("수정(&E)"), QStyle::SP_FileDialogDetailedView);
    bbtnDel = button("bbtnDel", QStringLiteral("삭제(&L)"), QStyle::SP_TrashIcon);
    bbtnSave = button("bbtnSave", QStringLiteral("저장(&Y)"), QStyle::SP_DialogSaveButton);
    bbtnCancel = button("bbtnCancel", QStringLiteral("취소(&N)"), QStyle::SP_DialogCancelButton);
    bbtnClose = button("bbtnClose", QStringLiteral("닫기(&C)"), QStyle::SP_DialogCloseButton);

    pnlInput = new QFrame(this);
    pnlInput->setObjectName(QString::fromLatin1(names.panel));
    static_cast<QFrame *>(pnlInput)->setFrameShape(QFrame::StyledPanel);
    inputs = new QGridLayout(pnlInput);

    pnlCount = new QFrame(this);
    pnlCount->setObjectName(QString::fromLatin1(names.count));
    pnlCount->setFrameShape(QFrame::Panel);
    pnlCount->setFrameShadow(QFrame::Sunken);
    lblCount = new QLabel(pnlCount);
    auto *countRow = new QHBoxLayout(pnlCount);
    countRow->setContentsMargins(4, 2, 4, 2);
    countRow->addWidget(lblCount);
    countRow->addStretch();

    dgrdRows = new DBGrid(this);
    dgrdRows->setObjectName(QString::fromLatin1(names.grid));
    dgrdRows->setDataSource(&source);

    auto *bar = new QHBoxLayout;
    for (QPushButton *b : {bbtnAdd, bbtnEdit, bbtnDel, bbtnSave, bbtnCancel})
        bar->addWidget(b);
    bar->addStretch();

    auto *hint = new QLabel(QStringLiteral("청색 글자는 반드시 입력하세요."), this);
    auto *footer = new QHBoxLayout;
    footer->addWidget(hint);
    footer->addStretch();
    footer->addWidget(bbtnClose);

    auto *layout = new QVBoxLayout(this);
    body = new QVBoxLayout;
    body->addLayout(bar);
    body->addWidget(pnlInput);
    body->addWidget(pnlCount);
    body->addWidget(dgrdRows, 1);
    layout->addLayout(body, 1);
    layout->addLayout(footer);

    setCancelButton(bbtnCancel);
    connect(bbtnAdd, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSubRecord::bbtnAddClick));
    connect(bbtnEdit, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSubRecord::bbtnEditClick));
    connect(bbtnDel, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSubRecord::bbtnDelClick));
    connect(bbtnSave, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSubRecord::bbtnSaveClick));
    connect(bbtnCancel, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSubRecord::bbtnCancelClick));
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
}

void TfrmSubRecord::FormCreate()
{
    SetButtons(false);
    ShowCount();
}

bool TfrmSubRecord::editing() const
{
    return m_table.state() == DatasetState::Edit || m_table.state() == DatasetState::Insert;
}

QString TfrmSubRecord::countText() const
{
    return lblCount->text();
}

void TfrmSubRecord::SetButtons(bool editing)
{
    pnlInput->setEnabled(editing);
    bbtnSave->setEnabled(editing);
    bbtnCancel->setEnabled(editing);
    for (QWidget *w : std::initializer_list<QWidget *>{bbtnAdd, bbtnEdit, bbtnDel, dgrdRows})
        w->setEnabled(!editing);
    ModeChanged(editing);
    if (editing)
        pnlInput->setFocus();
    else
        dgrdRows->setFocus();
}

void TfrmSubRecord::ShowCount()
{
    const int count = m_table.recordCount();
    bbtnEdit->setEnabled(count >= 1);
    bbtnDel->setEnabled(count >= 1);
    lblCount->setText(CountText(count));
}

void TfrmSubRecord::bbtnAddClick()
{
    Guarded([this] {
        try {
            m_table.append();
            RowOpened(true);
        } catch (...) {
            if (editing())
                m_table.cancel();
            throw;
        }
        SetButtons(true);
    });
}

void TfrmSubRecord::bbtnEditClick()
{
    Guarded([this] {
        m_table.edit();
        RowOpened(false);
        SetButtons(true);
    });
}

void TfrmSubRecord::bbtnDelClick()
{
    if (MessageBox(QStringLiteral("정말 삭제하시겠습니까?"), QStringLiteral("삭제"), MsgButtons::YesNo,
                   MsgIcon::Question) == IDYES)
        Guarded([this] { m_table.deleteRecord(); });
    ShowCount();
}

bool TfrmSubRecord::RequiredFilled() const
{
    for (const QString &name : required)
        if (Trim(m_table.fieldByName(name).asString()).isEmpty())
            return false;
    return true;
}

bool TfrmSubRecord::ValuesValid()
{
    for (const DateInput &d : std::as_const(dates)) {
        const bool lunar =
            d.lunarFlag && m_table.fieldByName(QString::fromLatin1(d.lunarFlag)).asString() == QStringLiteral("음");
        if (!DateAccepted(d.edit->field() ? d.edit->field()->asString() : QString(), lunar, d.caption, d.edit))
            return false;
    }
    return true;
}

void TfrmSubRecord::bbtnSaveClick()
{
    if (!RequiredFilled()) {
        ShowMessage(RequiredMessage());
        pnlInput->setFocus();
        return;
    }
    if (!ValuesValid())
        return; // the row stays open for correction
    if (editing()) {
        try {
            BeforePost();
            m_table.post();
        } catch (const DbError &e) {
            // The row stays open with what was typed: the user corrects the key or cancels.
            if (e.isKeyViolation())
                ShowMessage(QStringLiteral("중복된 내용이 있습니다."));
            else
                ShowError(e.message());
            pnlInput->setFocus();
            return;
        }
    }
    SetButtons(false);
    ShowCount();
}

void TfrmSubRecord::bbtnCancelClick()
{
    if (editing())
        m_table.cancel();
    SetButtons(false);
    ShowCount();
}

void TfrmSubRecord::FormClose()
{
    if (editing())
        m_table.cancel();
}

QLabel *TfrmSubRecord::label(const QString &text, bool isRequired)
{
    auto *l = new QLabel(text, pnlInput);
    if (isRequired) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        l->setPalette(p);
    }
    return l;
}

DBEdit *TfrmSubRecord::edit(const char *name, const char *field, DataSource &source)
{
    return BoundControl<DBEdit>(pnlInput, name, &source, field);
}

DBComboBox *TfrmSubRecord::combo(const char *name, const char *field, DataSource &source, const QStringList &items)
{
    auto *c = BoundControl<DBComboBox>(pnlInput, name, &source, field);
    c->addItems(items);
    return c;
}

DBMemo *TfrmSubRecord::memo(const char *name, const char *field, DataSource &source)
{
    return BoundControl<DBMemo>(pnlInput, name, &source, field);
}

int TfrmSubRecord::digitsWidth(int count) const
{
    return dgrdRows->fontMetrics().horizontalAdvance(QString(count, u'0')) + 12;
}

void SetText(Field &field, const QString &text)
{
    field.setAsString(field.size() > 0 ? cp949::cutToBytes(text, field.size()) : text);
}

void FillLookupItems(QComboBox *box, Dataset &lookup)
{
    box->clear();
    if (!lookup.active() || lookup.fieldCount() < 1)
        return;
    QStringList items;
    const int n = lookup.recordCount();
    for (int row = 0; row < n; ++row)
        items << lookup.valueAt(row, 0).toString();
    box->addItems(items);
}

