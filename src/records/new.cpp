#include "records/new.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "platform/clock.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/form.h"
#include "platform/editmask.h"
#include "platform/sysutils.h"
#include "records/required.h"
#include "records/addr.h"
#include "records/dateentry.h"
#include "records/ins.h"
#include "records/main.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString DateMask = QStringLiteral("9999.99.99;0;_");
const QString ZipMask = QStringLiteral("999-999;0;_");

// What a masked box holds, without its literals.
MaskEdit *maskedEdit(QWidget *parent, const char *name, const QString &mask)
{
    auto *e = new MaskEdit(mask, parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000.00.00")) + 16);
    return e;
}

QLineEdit *textEdit(QWidget *parent, const char *name, int maxBytes)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setValidator(new SingleLineValidator(maxBytes, e));
    return e;
}

QComboBox *listBox(QWidget *parent, const char *name, const QStringList &items = {})
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    c->addItems(items);
    return c;
}

// Refills a box from a lookup list without losing what was chosen in it.
void refill(QComboBox *box, const QStringList &list, int count)
{
    const QString chosen = box->currentText();
    FillItems(box, list, count);
    const int at = box->findText(chosen);
    if (at >= 0)
        box->setCurrentIndex(at);
}

struct Person {
    QString ino, name, x, bday, l, rel;
};

} // namespace

TfrmNew::TfrmNew(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("새 가족 등록"));
    const auto label = [](QWidget *owner, const QString &text, QWidget *buddy = nullptr) {
        auto *l = new QLabel(text, owner);
        if (buddy)
            l->setBuddy(buddy);
        return l;
    };
    const QStringList sexes = {QStringLiteral("남"), QStringLiteral("여")};
    const QStringList calendars = {QStringLiteral("음"), QStringLiteral("양")};

    // Head of household on the required colour
    auto *pnlHead = RequiredPanel(this, "pnlHead");
    edtName = textEdit(pnlHead, "edtName", 10);
    cbxX = listBox(pnlHead, "cbxX", sexes);
    mskBday = maskedEdit(pnlHead, "mskBday", DateMask);
    cbxL = listBox(pnlHead, "cbxL", calendars);
    edtTel = textEdit(pnlHead, "edtTel", 14);
    auto *headLayout = new QHBoxLayout(pnlHead);
    auto *headTitle = label(pnlHead, QStringLiteral("세대주"));
    QFont bold = headTitle->font();
    bold.setBold(true);
    headTitle->setFont(bold);
    headLayout->addWidget(headTitle);
    headLayout->addSpacing(8);
    headLayout->addWidget(label(pnlHead, QStringLiteral("성명"), edtName));
    headLayout->addWidget(edtName, 1);
    headLayout->addWidget(cbxX);
    headLayout->addWidget(label(pnlHead, QStringLiteral("생년월일"), mskBday));
    headLayout->addWidget(mskBday);
    headLayout->addWidget(cbxL);
    headLayout->addWidget(label(pnlHead, QStringLiteral("전화"), edtTel));
    headLayout->addWidget(edtTel, 1);

    // Household
    auto *grpHouse = new QGroupBox(this);
    cbxZone = listBox(grpHouse, "cbxZone");
    lblArea = label(grpHouse, QStringLiteral("구역"));
    lblArea->setObjectName(QStringLiteral("lblArea"));
    cbxArea = listBox(grpHouse, "cbxArea");
    lblArea->setBuddy(cbxArea);
    edtAddr1 = textEdit(grpHouse, "edtAddr1", 40);
    btnZip = new QPushButton(QStringLiteral("우편번호"), grpHouse);
    btnZip->setObjectName(QStringLiteral("btnZip"));
    btnZip->setToolTip(QStringLiteral("주소와 우편번호 자동 입력"));
    edtAddr2 = textEdit(grpHouse, "edtAddr2", 40);
    edtZip = maskedEdit(grpHouse, "edtZip", ZipMask);
    auto *houseLayout = new QGridLayout(grpHouse);
    houseLayout->addWidget(label(grpHouse, QStringLiteral("교구"), cbxZone), 0, 0);
    houseLayout->addWidget(cbxZone, 0, 1);
    houseLayout->addWidget(lblArea, 0, 2);
    houseLayout->addWidget(cbxArea, 0, 3);
    houseLayout->addWidget(label(grpHouse, QStringLiteral("주소"), edtAddr1), 1, 0);
    houseLayout->addWidget(edtAddr1, 1, 1, 1, 3);
    houseLayout->addWidget(btnZip, 1, 4);
    houseLayout->addWidget(edtAddr2, 2, 1, 1, 3);
    houseLayout->addWidget(edtZip, 2, 4);
    houseLayout->setColumnStretch(1, 1);
    houseLayout->setColumnStretch(3, 1);

    // Persons
    auto *grpPerson = new QGroupBox(QStringLiteral("가족"), this);
    edtFName = textEdit(grpPerson, "edtFName", 10);
    edtFName->setMinimumWidth(90);
    cbxFX = listBox(grpPerson, "cbxFX", sexes);
    mskFBday = maskedEdit(grpPerson, "mskFBday", DateMask);
    cbxFL = listBox(grpPerson, "cbxFL", calendars);
    cbxFrel = listBox(grpPerson, "cbxFrel");
    cbxFrel->setMinimumWidth(80);
    bbtnAdd = new QPushButton(QStringLiteral("추가(&A)"), grpPerson);
    bbtnAdd->setObjectName(QStringLiteral("bbtnAdd"));
    bbtnDel = new QPushButton(QStringLiteral("삭제(&D)"), grpPerson);
    bbtnDel->setObjectName(QStringLiteral("bbtnDel"));
    bbtnDel->setEnabled(false);
    lvFamily = new QTreeWidget(grpPerson);
    lvFamily->setObjectName(QStringLiteral("lvFamily"));
    lvFamily->setHeaderLabels({QStringLiteral("관계"), QStringLiteral("성명"), QStringLiteral("성"),
                               QStringLiteral("생년월일"), QStringLiteral("력")});
    lvFamily->setRootIsDecorated(false);
    lvFamily->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFamily->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFamily->header()->setSectionResizeMode(QHeaderView::Stretch);
    auto *entry = new QHBoxLayout;
    entry->addWidget(label(grpPerson, QStringLiteral("성명"), edtFName));
    entry->addWidget(edtFName, 1);
    entry->addWidget(cbxFX);
    entry->addWidget(label(grpPerson, QStringLiteral("생년월일"), mskFBday));
    entry->addWidget(mskFBday);
    entry->addWidget(cbxFL);
    entry->addWidget(label(grpPerson, QStringLiteral("관계"), cbxFrel));
    entry->addWidget(cbxFrel);
    entry->addWidget(bbtnAdd);
    entry->addWidget(bbtnDel);
    auto *personLayout = new QVBoxLayout(grpPerson);
    personLayout->addLayout(entry);
    personLayout->addWidget(lvFamily, 1);

    bbtnOk = NamedButton(QStringLiteral("확인(&O)"), "bbtnOk", this);
    bbtnCancel = NamedButton(QStringLiteral("취소(&C)"), "bbtnCancel", this);
    auto *buttons = ButtonRow({bbtnOk, bbtnCancel});
    buttons->insertWidget(0, RequiredLegend(this));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pnlHead);
    layout->addWidget(grpHouse);
    layout->addWidget(grpPerson, 1);
    layout->addLayout(buttons);
    setFixedSize(640, 480);

    setCancelButton(bbtnCancel);
    edtAddr1->installEventFilter(this);
    connect(btnZip, &QPushButton::clicked, this, GuardedSlot(this, &TfrmNew::btnZipClick));
    connect(bbtnAdd, &QPushButton::clicked, this, GuardedSlot(this, &TfrmNew::bbtnAddClick));
    connect(bbtnDel, &QPushButton::clicked, this, GuardedSlot(this, &TfrmNew::bbtnDelClick));
    connect(bbtnOk, &QPushButton::clicked, this, GuardedSlot(this, &TfrmNew::bbtnOkClick));
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    FormCreate();
}

void TfrmNew::FormCreate()
{
    lblArea->setText(AreaWord());
    for (QComboBox *c : {cbxX, cbxL, cbxFX, cbxFL})
        c->setCurrentIndex(0);
}

void TfrmNew::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    FormActivate();
}

void TfrmNew::changeEvent(QEvent *event)
{
    TForm::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TfrmNew::FormActivate()
{
    refill(cbxZone, ZoneList, ZoneCount);
    refill(cbxFrel, FrelList, FrelCount);
}

bool TfrmNew::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edtAddr1 && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !m_picking)
            QTimer::singleShot(0, this, [this] {
                if (edtAddr1->hasFocus() && !m_picking)
                    Guarded([this] { btnZipClick(); });
            });
    }
    return TForm::eventFilter(watched, event);
}

void TfrmNew::btnZipClick()
{
    if (m_picking)
        return;
    m_picking = true;
    bool picked = false;
    {
        TfrmAddr addr(this);
        addr.centreOn(this);
        picked = addr.ShowModal() == mrOk;
    }
    m_picking = false;
    // A cancelled picker leaves an older pick in the globals: only a pick made now counts.
    if (picked) {
        edtAddr1->setText(PickedAddr);
        if (!PickedAddr.isEmpty())
            edtZip->setText(EditMask(ZipMask).editText(PickedZip));
    }
    edtAddr2->setFocus();
}

void TfrmNew::bbtnAddClick()
{
    const QString name = Trim(edtFName->text());
    if (name.isEmpty())
        return;
    if (lvFamily->topLevelItemCount() >= MaxListedPersons) {
        ShowMessage(QStringLiteral("가족은 %1명까지 추가할 수 있습니다.").arg(MaxListedPersons));
        return;
    }
    const QString bday = Trim(mskFBday->storedText());
    if (!DateAccepted(bday, cbxFL->currentText() == QStringLiteral("음"), QStringLiteral("생년월일"), mskFBday))
        return;
    new QTreeWidgetItem(lvFamily, {cbxFrel->currentText(), name, cbxFX->currentText(), bday, cbxFL->currentText()});
    edtFName->clear();
    mskFBday->clear();
    cbxFX->setCurrentIndex(0);
    cbxFL->setCurrentIndex(0);
    cbxFrel->setFocus();
    bbtnDel->setEnabled(true);
}

void TfrmNew::bbtnDelClick()
{
    delete lvFamily->currentItem();
    bbtnDel->setEnabled(lvFamily->topLevelItemCount() > 0);
}

void TfrmNew::bbtnOkClick()
{
    const QString bday = Trim(mskBday->storedText());
    if (Trim(edtName->text()).isEmpty() || bday.isEmpty() || Trim(edtTel->text()).isEmpty()) {
        ShowMessage(QStringLiteral("세대주 필수 내용이 비어 있습니다."));
        edtName->setFocus();
        return;
    }
    if (!DateAccepted(bday, cbxL->currentText() == QStringLiteral("음"), QStringLiteral("생년월일"), mskBday))
        return;
    if (registerHousehold())
        setModalResult(mrOk);
}

bool TfrmNew::registerHousehold()
{
    TfrmDM &dm = *frmDM;
    Table &m = dm.tbMaster;
    const QString headName = edtName->text();
    const QString tel = edtTel->text(), zone = cbxZone->currentText(), area = cbxArea->currentText();
    const QString addr1 = edtAddr1->text(), addr2 = edtAddr2->text(), zip = edtZip->storedText();

    QList<Person> persons;
    persons.append({QString(), headName, cbxX->currentText(), mskBday->storedText(), cbxL->currentText(),
                    QStringLiteral("본인")});
    for (int i = 0; i < lvFamily->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *it = lvFamily->topLevelItem(i);
        persons.append({QString(), it->text(1), it->text(2), it->text(3), it->text(4), it->text(0)});
    }

    m.disableControls();
    try {
        Transaction transaction(dm.dbKelmo);
        SetAllSel(dm.qrMaster, false);
        const QString base = MintMemberNumber(Clock::now(), true);
        const auto set = [&m](const char *field, const QVariant &v) {
            m.fieldByName(QString::fromLatin1(field)).setValue(v);
        };
        for (int i = 0; i < persons.size(); ++i) {
            Person &p = persons[i];
            const bool head = i == 0;
            p.ino = head ? base : base + FormatIntByMask(i - 1, QStringLiteral("@0 ##"));
            m.append();
            set("Ino", p.ino);
            set("Name", p.name);
            set("X", p.x);
            set("Bday", p.bday);
            set("L", p.l);
            set("Tel1", tel);
            set("Zone", zone);
            set("Area", area);
            set("Addr1", addr1);
            set("Addr2", addr2);
            set("Zip", zip);
            set("G", head);
            set("Gname", headName);
            set("Grel", p.rel);
            set("Sel", true);
            // The household jump finds the head of a listed person by this number.
            if (!head)
                set("GNO", base);
            m.post();
        }
        // Every member gets a family row for each of the others, in registration order.
        const TableDef &familyDef = *dm.dbKelmo.tableDef(QStringLiteral("FAMILY"));
        for (const Person &p : persons) {
            int seq = dm.dbKelmo.scalar(QStringLiteral("SELECT MAX(SEQ) M FROM FAMILY WHERE INO = :ino"),
                                        {{QStringLiteral("ino"), p.ino}}).toInt();
            for (const Person &o : persons) {
                if (&o == &p)
                    continue;
                dm.dbKelmo.execute(QStringLiteral("INSERT INTO FAMILY (INO, SEQ, NAME, BDAY, L) "
                                                  "VALUES (:ino, :seq, :name, :bday, :l)"),
                                   {{QStringLiteral("ino"), p.ino},
                                    {QStringLiteral("seq"), ++seq},
                                    {QStringLiteral("name"), StoredValue(*familyDef.field(QStringLiteral("Name")), o.name)},
                                    {QStringLiteral("bday"), StoredValue(*familyDef.field(QStringLiteral("Bday")), o.bday)},
                                    {QStringLiteral("l"), o.l == QStringLiteral("음") ? QStringLiteral("음")
                                                                                     : QStringLiteral("양")}});
            }
        }
        transaction.commit();
    } catch (const std::exception &e) {
        // The transaction has rolled back: nothing of the household is stored.
        try {
            m.cancel();
        } catch (const std::exception &) {
        }
        m.enableControls();
        ShowError(QStringLiteral("가족을 등록하지 못했습니다.\r\n") + QString::fromUtf8(e.what()));
        return false;
    }
    // The new members stand selected in the name grid, as they stand marked for printing.
    try {
        if (frmMain)
            for (const Person &p : persons)
                if (m.locate(QStringLiteral("Ino"), {p.ino}))
                    frmMain->dgrdName->selectRow(m.bookmark(), true);
    } catch (const std::exception &) {
        // Stored already; only the grid's selection is incomplete.
    }
    m.enableControls();
    return true;
}
