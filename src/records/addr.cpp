#include "records/addr.h"

#include "core/dm.h"
#include "core/global.h"
#include "platform/cp949.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

bool AddrForJob = false;

namespace {

bool memberEditing()
{
    const DatasetState s = frmDM->tbMaster.state();
    return s == DatasetState::Edit || s == DatasetState::Insert;
}

// Some postal-code rows carry no address text: the town's own names stand in for it, so a pick
// never blanks the member's first address line.
QString townAddress(const QString &addr, const QString &zdo, const QString &zgun, const QString &zaddr)
{
    if (!Trim(addr).isEmpty())
        return cp949::cutToBytes(addr, 40);
    QStringList parts;
    for (const QString &p : {zdo, zgun, zaddr})
        if (!Trim(p).isEmpty())
            parts << Trim(p);
    return cp949::cutToBytes(parts.join(u' '), 40);
}

} // namespace

TfrmAddr::TfrmAddr(QWidget *parent) : TForm(parent), qrFind(&frmDM->dbKelmo)
{
    setObjectName(QStringLiteral("frmAddr"));
    setWindowTitle(QStringLiteral("주소 입력"));
    // The town's names come along for rows without an address text.
    qrFind.setSql(QStringLiteral("SELECT ZIP, ADDR, ZDO, ZGUN, ZADDR\n"
                                 "FROM \"zip.DBF\" Zip\n"
                                 "WHERE ZADDR LIKE :psZaddr\n"));

    auto *label = new QLabel(QStringLiteral("동,면이름 입력(&N)"), this);
    edtAddr = new QLineEdit(this);
    edtAddr->setObjectName(QStringLiteral("edtAddr"));
    edtAddr->setValidator(new SingleLineValidator(30, edtAddr)); // ZADDR's width
    label->setBuddy(edtAddr);
    btnFind = new QPushButton(QStringLiteral("검색(&F)"), this);
    btnFind->setObjectName(QStringLiteral("btnFind"));

    dgrdAddr = new DBGrid(this);
    dgrdAddr->setObjectName(QStringLiteral("dgrdAddr"));
    dgrdAddr->setColumns({{QStringLiteral("ZIP"), QStringLiteral("우편번호"), Qt::AlignCenter, 80},
                          {QStringLiteral("ADDR"), QStringLiteral("주               소"), Qt::AlignLeft | Qt::AlignVCenter, 330}});
    dgrdAddr->setDataSource(&m_dsFind);
    dgrdAddr->setEnabled(false);
    dgrdAddr->setCellPainter([this](QPainter *p, const QRect &r, int row, int, Field &f) {
        if (f.name().compare(QLatin1String("ADDR"), Qt::CaseInsensitive) != 0 ||
            !Trim(qrFind.valueAt(row, f.index()).toString()).isEmpty())
            return false;
        const auto value = [&](const char *name) {
            return qrFind.valueAt(row, qrFind.fieldByName(QString::fromLatin1(name)).index()).toString();
        };
        const bool current = row == qrFind.displayRow();
        const QPalette &pal = dgrdAddr->palette();
        if (current)
            p->fillRect(r, pal.brush(dgrdAddr->isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Highlight));
        p->setPen(current ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
        p->drawText(r.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    townAddress({}, value("ZDO"), value("ZGUN"), value("ZADDR")));
        return true;
    });

    bbtnOK = new QPushButton(QStringLiteral("확인(&O)"), this);
    bbtnOK->setObjectName(QStringLiteral("bbtnOK"));
    bbtnOK->setEnabled(false);
    bbtnCancel = new QPushButton(QStringLiteral("취소(&C)"), this);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    bbtnClear = new QPushButton(QStringLiteral("비우기(&B)"), this);
    bbtnClear->setObjectName(QStringLiteral("bbtnClear"));
    auto *help = new QPushButton(QStringLiteral("도움말(&H)"), this);
    help->setEnabled(false);

    auto *search = new QHBoxLayout;
    search->addWidget(label);
    search->addWidget(edtAddr, 1);
    search->addWidget(btnFind);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bbtnOK);
    buttons->addWidget(bbtnCancel);
    buttons->addWidget(bbtnClear);
    buttons->addStretch();
    buttons->addWidget(help);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(search);
    layout->addWidget(dgrdAddr, 1);
    layout->addLayout(buttons);
    setFixedSize(470, 330);

    setDefaultButton(bbtnOK);
    setCancelButton(bbtnCancel);
    edtAddr->installEventFilter(this);
    connect(btnFind, &QPushButton::clicked, this, GuardedSlot(this, &TfrmAddr::btnFindClick));
    connect(bbtnOK, &QPushButton::clicked, this, GuardedSlot(this, &TfrmAddr::bbtnOKClick));
    connect(dgrdAddr, &DBGrid::doubleClicked, this, [this] {
        if (bbtnOK->isEnabled())
            Guarded([this] { bbtnOKClick(); });
    });
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    connect(bbtnClear, &QPushButton::clicked, this, GuardedSlot(this, &TfrmAddr::bbtnClearClick));
    // Without a member row in editing there is nothing to clear, and the hand-off globals are
    // only read after a pick.
    bbtnClear->setEnabled(memberEditing());
}

void TfrmAddr::showEvent(QShowEvent *event)
{
    bbtnClear->setEnabled(memberEditing());
    TForm::showEvent(event);
}

bool TfrmAddr::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtAddr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            btnFind->click();
            return true;
        }
    }
    return TForm::eventFilter(watched, event);
}

void TfrmAddr::btnFindClick()
{
    const QString t = Trim(edtAddr->text());
    if (t.isEmpty())
        return;
    try {
        qrFind.database()->runRetryingAfterLock(this, [this, t] { ShowTowns(t); });
    } catch (const DbError &e) {
        ShowError(e.message());
        EnableChoice(false);
    }
}

void TfrmAddr::ShowTowns(const QString &town)
{
    qrFind.close();
    qrFind.setParam(QStringLiteral("psZaddr"), town + QStringLiteral("%"));
    qrFind.open();
    const bool found = qrFind.recordCount() > 0;
    if (!found)
        ShowMessage(QStringLiteral("찾는 동(면) 이름이 없습니다."));
    EnableChoice(found);
}

void TfrmAddr::EnableChoice(bool on)
{
    bbtnOK->setEnabled(on);
    dgrdAddr->setEnabled(on);
    if (on)
        dgrdAddr->setFocus();
    else
        edtAddr->setFocus();
}

QString TfrmAddr::rowAddress()
{
    return townAddress(qrFind.fieldByName(QStringLiteral("ADDR")).asString(),
                       qrFind.fieldByName(QStringLiteral("ZDO")).asString(),
                       qrFind.fieldByName(QStringLiteral("ZGUN")).asString(),
                       qrFind.fieldByName(QStringLiteral("ZADDR")).asString());
}

QString TfrmAddr::rowZip()
{
    // Whatever the row holds ("123-456", "123456", blanks around), members keep the six digits.
    QString z;
    for (const QChar c : qrFind.fieldByName(QStringLiteral("ZIP")).asString())
        if (c >= u'0' && c <= u'9')
            z += c;
    return z.left(6);
}

void TfrmAddr::bbtnOKClick()
{
    if (!qrFind.active() || qrFind.isEmpty())
        return;
    const QString a = rowAddress(), z = rowZip();
    Table &m = frmDM->tbMaster;
    if (!memberEditing()) {
        PickedAddr = a;
        PickedZip = z;
    } else if (AddrForJob) {
        m.fieldByName(QStringLiteral("Jaddr1")).setAsString(a);
        m.fieldByName(QStringLiteral("Jzip")).setAsString(z);
    } else {
        m.fieldByName(QStringLiteral("Addr1")).setAsString(a);
        m.fieldByName(QStringLiteral("Zip")).setAsString(z);
    }
    setModalResult(mrOk);
}

void TfrmAddr::bbtnClearClick()
{
    if (memberEditing()) {
        Table &m = frmDM->tbMaster;
        const QString prefix = AddrForJob ? QStringLiteral("J") : QString();
        for (const char *f : {"addr1", "addr2", "zip"})
            m.fieldByName(prefix + QString::fromLatin1(f)).clear();
    }
    setModalResult(mrCancel);
}
