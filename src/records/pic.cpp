#include "records/pic.h"

#include "core/dm.h"
#include "platform/dialogs.h"
#include "platform/report.h"
#include "printing/prtpic.h"
#include "records/subrecord.h"

#include <QApplication>
#include <QBuffer>
#include <QButtonGroup>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
Table &master()
{
    return frmDM->tbMaster;
}

// Edits, changes and posts the member row; on any failure the row is cancelled and the user told.
void storeMember(const std::function<void(Table &)> &change)
{
    Table &t = master();
    Guarded([&] {
        try {
            t.edit();
            change(t);
            t.post();
        } catch (...) {
            t.cancel();
            throw;
        }
    });
}
} // namespace

std::function<QString(const QString &)> TfrmPic::OpenDlg = [](const QString &title) {
    QFileDialog dlg(QApplication::activeWindow(), title);
    dlg.setObjectName(QStringLiteral("opdlgPic"));
    dlg.setNameFilter(QStringLiteral("Bitmaps 사진 (*.bmp)"));
    dlg.setDefaultSuffix(QStringLiteral("bmp"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (ExecModal(dlg) != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
};

TfrmPic::TfrmPic(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmPic"));
    setSizeGripEnabled(true);
    const QString imageHint = QStringLiteral("더블 클릭하시면 사진을 첨부합니다.");
    const auto tool = [this](QWidget *owner, const char *name, const QString &caption, const QString &hint,
                             QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(owner);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
        return b;
    };
    const auto image = [&](QWidget *owner, const char *name, const char *field) {
        auto *i = new DBImage(owner);
        i->setObjectName(QString::fromLatin1(name));
        i->setDataSource(&frmDM->dsMaster);
        i->setDataField(QString::fromLatin1(field));
        i->setToolTip(imageHint);
        i->setFrameShape(QFrame::Box);
        i->setFocusPolicy(Qt::StrongFocus);
        i->installEventFilter(this);
        connect(i, &DBImage::doubleClicked, this, GuardedSlot(this, &TfrmPic::sbtnAddClick));
        return i;
    };

    pnlPic = new QFrame(this);
    pnlPic->setObjectName(QStringLiteral("pnlPic"));
    pnlPic->setFrameShape(QFrame::StyledPanel);
    sbtnAdd = tool(pnlPic, "sbtnAdd", QStringLiteral("첨부(&A)"), QStringLiteral("사진 첨부"), QStyle::SP_DialogOpenButton);
    sbtnDel = tool(pnlPic, "sbtnDel", QStringLiteral("삭제(&L)"), QStringLiteral("사진 삭제"), QStyle::SP_TrashIcon);
    sbtnPrint = tool(pnlPic, "sbtnPrint", QStringLiteral("인쇄(&P)"), QString(), QStyle::SP_FileDialogContentsView);
    btnLeft = tool(pnlPic, "btnLeft", QString(), QStringLiteral("명함사진을 개인사진으로 이동"), QStyle::SP_ArrowRight);
    dimgPic = image(pnlPic, "dimgPic", "Pic");
    dimgPic->setFixedSize(120, 160);
    rdgPicSel = new QGroupBox(QStringLiteral("선택"), pnlPic);
    rdgPicSel->setObjectName(QStringLiteral("rdgPicSel"));
    m_slots = new QButtonGroup(this);
    auto *selLayout = new QVBoxLayout(rdgPicSel);
    for (const QString &caption : {QStringLiteral("명함 사진(&1)"), QStringLiteral("개인 사진(&2)")}) {
        auto *r = new QRadioButton(caption, rdgPicSel);
        m_slots->addButton(r, m_slots->buttons().size());
        selLayout->addWidget(r);
    }
    m_slots->button(0)->setChecked(true);

    auto *commands = new QHBoxLayout;
    for (QToolButton *b : {sbtnAdd, sbtnDel, sbtnPrint})
        commands->addWidget(b);
    auto *picTitle = new QHBoxLayout;
    picTitle->addWidget(new QLabel(QStringLiteral("명함 사진"), pnlPic));
    picTitle->addStretch();
    picTitle->addWidget(btnLeft);
    auto *left = new QVBoxLayout(pnlPic);
    left->addLayout(commands);
    left->addLayout(picTitle);
    left->addWidget(dimgPic, 0, Qt::AlignHCenter);
    left->addWidget(rdgPicSel);
    left->addStretch();

    pnlFpic = new QFrame(this);
    pnlFpic->setObjectName(QStringLiteral("pnlFpic"));
    pnlFpic->setFrameShape(QFrame::StyledPanel);
    btnRight = tool(pnlFpic, "btnRight", QString(), QStringLiteral("개인사진을 명함사진으로 이동"), QStyle::SP_ArrowLeft);
    dimgFpic = image(pnlFpic, "dimgFpic", "Fpic");
    dimgFpic->setStretch(false);
    // A picture shown at its own size must not push the window open.
    dimgFpic->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    dimgFpic->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *fpicTitle = new QHBoxLayout;
    fpicTitle->addWidget(btnRight);
    fpicTitle->addWidget(new QLabel(QStringLiteral("개인 사진"), pnlFpic));
    fpicTitle->addStretch();
    auto *right = new QVBoxLayout(pnlFpic);
    right->addLayout(fpicTitle);
    right->addWidget(dimgFpic, 1);

    bbtnClose = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("닫기(&C)"), this);
    bbtnClose->setObjectName(QStringLiteral("bbtnClose"));
    auto *help = new QPushButton(QStringLiteral("도움말(&H)"), this);
    help->setEnabled(false);
    auto *panels = new QHBoxLayout;
    panels->addWidget(pnlPic);
    panels->addWidget(pnlFpic, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(bbtnClose);
    bottom->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panels, 1);
    layout->addLayout(bottom);
    resize(720, 480);

    connect(sbtnAdd, &QToolButton::clicked, this, GuardedSlot(this, &TfrmPic::sbtnAddClick));
    connect(sbtnDel, &QToolButton::clicked, this, GuardedSlot(this, &TfrmPic::sbtnDelClick));
    connect(sbtnPrint, &QToolButton::clicked, this, GuardedSlot(this, &TfrmPic::sbtnPrintClick));
    connect(btnLeft, &QToolButton::clicked, this, GuardedSlot(this, &TfrmPic::btnLeftClick));
    connect(btnRight, &QToolButton::clicked, this, GuardedSlot(this, &TfrmPic::btnRightClick));
    connect(m_slots, &QButtonGroup::idClicked, this, GuardedSlot(this, &TfrmPic::rdgPicSelClick));
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
}

int TfrmPic::picSel() const
{
    return m_slots->checkedId();
}

void TfrmPic::setPicSel(int index)
{
    if (QAbstractButton *b = m_slots->button(index))
        b->setChecked(true);
}

bool TfrmPic::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == dimgPic)
            dimgPicEnter();
        else if (watched == dimgFpic)
            dimgFpicEnter();
    }
    return TForm::eventFilter(watched, event);
}

void TfrmPic::dimgPicEnter()
{
    setPicSel(0);
}

void TfrmPic::dimgFpicEnter()
{
    setPicSel(1);
}

void TfrmPic::rdgPicSelClick()
{
    (picSel() == 1 ? dimgFpic : dimgPic)->setFocus();
}

QByteArray TfrmPic::BitmapBytes(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    QBuffer in;
    in.setData(bytes);
    QImageReader reader(&in);
    const QImage picture = reader.read();
    if (picture.isNull())
        return {};
    if (reader.format() == "bmp")
        return bytes;
    // Whatever else the file was, the field keeps a bitmap.
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return out;
}

void TfrmPic::sbtnAddClick()
{
    if (master().isEmpty())
        return;
    const int slot = picSel();
    const QString fileName = OpenDlg(slot == 1 ? QStringLiteral("개인 사진 선택") : QStringLiteral("명함 사진 선택"));
    if (fileName.isEmpty())
        return;
    // Read before the row is touched: a file that is no picture changes nothing.
    const QByteArray bytes = BitmapBytes(fileName);
    if (bytes.isEmpty()) {
        ShowMessage(QStringLiteral("사진을 읽을 수 없습니다.\r\n") + fileName);
        return;
    }
    storeMember([&](Table &t) { t.fieldByName(slot == 1 ? QStringLiteral("Fpic") : QStringLiteral("Pic")).setValue(bytes); });
    dimgFpic->setStretch(dimgFpic->picture().width() > pnlFpic->width());
}

void TfrmPic::sbtnDelClick()
{
    if (master().isEmpty())
        return;
    const QString field = picSel() == 1 ? QStringLiteral("Fpic") : QStringLiteral("Pic");
    storeMember([&](Table &t) { t.fieldByName(field).clear(); });
}

void TfrmPic::movePicture(const QString &from, const QString &to, const QString &question)
{
    if (master().isEmpty() || master().fieldByName(from).isNull()) {
        ShowMessage(QStringLiteral("이동할 사진이 없습니다."));
        return;
    }
    if (!master().fieldByName(to).isNull() &&
        MessageBox(question, QStringLiteral("확인"), MsgButtons::YesNo, MsgIcon::None, IDNO) != IDYES)
        return;
    storeMember([&](Table &t) {
        t.fieldByName(to).setValue(t.fieldByName(from).asBytes());
        t.fieldByName(from).clear();
    });
}

void TfrmPic::btnLeftClick()
{
    movePicture(QStringLiteral("PIC"), QStringLiteral("FPIC"), QStringLiteral("이미 개인사진이 있습니다. 덮어 쓸까요?"));
}

void TfrmPic::btnRightClick()
{
    movePicture(QStringLiteral("FPIC"), QStringLiteral("PIC"), QStringLiteral("이미 명함사진이 있습니다. 덮어 쓸까요?"));
}

void TfrmPic::sbtnPrintClick()
{
    try {
        TfrmPPic sheet(master());
        if (!master().fieldByName(QStringLiteral("Fpic")).isNull())
            sheet.SizeFpicBox(dimgFpic->width(), dimgFpic->height());
        sheet.qrptPrt.Preview();
    } catch (const ReportError &e) {
        ShowError(e.message());
    } catch (const DbError &e) {
        ShowError(e.message());
    }
}

void TfrmPic::FormClose()
{
    Table &t = master();
    if (t.state() == DatasetState::Edit || t.state() == DatasetState::Insert)
        t.cancel();
}
