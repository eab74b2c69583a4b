#include "maintenance/setup.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "maintenance/pswd.h"
#include "platform/cp949.h"
#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

namespace {

struct ListDef {
    const char *caption;
    const char *table; // its text field's width is the entry's byte limit
    const char *promptWord;
    QStringList &list;
    int &count;
};

const ListDef &listDef(int index)
{
    static const ListDef defs[TfrmSetup::ListCount] = {
        {"구    역(&A)", "AREA", "구역을", AreaList, AreaCount},
        {"교    구(&Z)", "ZONE", "교구를", ZoneList, ZoneCount},
        {"소속기관(&P)", "PART", "소속기관을", PartList, PartCount},
        {"기관직책(&R)", "RESP", "기관직책을", RespList, RespCount},
        {"직    분(&D)", "DUTY", "직분을", DutyList, DutyCount},
        {"활동기타(&G)", "GITA", "활동기타를", GitaList, GitaCount},
        {"비    고(&B)", "BIGO", "비고를", BigoList, BigoCount},
        {"직업종류(&K)", "KIND", "직업종류를", KindList, KindCount},
        {"가족관계(&F)", "FREL", "가족관계를", FrelList, FrelCount},
        {"이력종류(&E)", "EDUC", "이력종류를", EducList, EducCount},
    };
    return defs[index];
}

const FieldDef &entryField(int index)
{
    return frmDM->dbKelmo.tableDef(QString::fromLatin1(listDef(index).table))->fields.first();
}

QString areaItemCaption(bool area)
{
    return area ? QStringLiteral("구    역(&A)") : QStringLiteral("속    회(&A)");
}

// A titled box of radio buttons whose ids are their item indexes.
QGroupBox *radioGroup(QWidget *parent, const char *name, const QString &title, const QStringList &items,
                      int columns, QButtonGroup *&group)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(name));
    group = new QButtonGroup(box);
    auto *grid = new QGridLayout(box);
    const int rows = int((items.size() + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], box);
        group->addButton(b, i);
        grid->addWidget(b, i % rows, i / rows);
    }
    return box;
}

QLineEdit *edit(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

} // namespace

TfrmSetup::TfrmSetup(std::function<bool()> addressPicker, QWidget *parent)
    : TForm(parent), m_addressPicker(std::move(addressPicker))
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("환경 설정"));

    edtCname = edit(this, "edtCname");
    edtUser = edit(this, "edtUser");
    edtCadd1 = edit(this, "edtCadd1");
    edtCadd1->setFocusPolicy(Qt::ClickFocus); // Tab goes to the address button instead
    edtCadd2 = edit(this, "edtCadd2");
    edtCtel = edit(this, "edtCtel");
    edtCzip = new MaskEdit(QStringLiteral("999-999;1;_"), this);
    edtCzip->setObjectName(QStringLiteral("edtCzip"));
    edtCzip->setMaxLength(7);
    btnPswd = NamedButton(QStringLiteral("비밀번호"), "btnPswd", this);
    btnZip = NamedButton(QStringLiteral("우편번호"), "btnZip", this);

    auto *church = new QGroupBox(this);
    auto *cg = new QGridLayout(church);
    const auto label = [church](const char *text, QWidget *buddy) {
        auto *l = new QLabel(QString::fromUtf8(text), church);
        l->setBuddy(buddy);
        return l;
    };
    cg->addWidget(label("교회명", edtCname), 0, 0);
    cg->addWidget(edtCname, 0, 1, 1, 3);
    cg->addWidget(label("사용자", edtUser), 1, 0);
    cg->addWidget(edtUser, 1, 1);
    cg->addWidget(btnPswd, 1, 2);
    cg->addWidget(label("교회주소", edtCadd1), 2, 0);
    auto *zip = new QHBoxLayout;
    zip->addWidget(btnZip);
    zip->addWidget(edtCzip);
    zip->addStretch();
    cg->addLayout(zip, 2, 1, 1, 3);
    cg->addWidget(edtCadd1, 3, 1, 1, 3);
    cg->addWidget(edtCadd2, 4, 1, 1, 3);
    cg->addWidget(label("전화번호", edtCtel), 5, 0);
    cg->addWidget(edtCtel, 5, 1);
    cg->setColumnStretch(1, 1);
    edtCzip->setFixedWidth(80);

    rdgAis = radioGroup(this, "rdgAis", QString(), {QStringLiteral("구역(&1)"), QStringLiteral("속회(&2)")}, 2,
                        rdgAisItems);
    rdgBis = radioGroup(this, "rdgBis", QString(), {QStringLiteral("세례(&3)"), QStringLiteral("침례(&4)")}, 2,
                        rdgBisItems);
    QStringList selItems;
    for (int i = 0; i < ListCount; ++i)
        selItems << QString::fromUtf8(listDef(i).caption);
    rdgSel = radioGroup(this, "rdgSel", QStringLiteral("선택"), selItems, 2, rdgSelItems);

    lbxList = new QListWidget(this);
    lbxList->setObjectName(QStringLiteral("lbxList"));
    sbtnIns = NamedButton(QStringLiteral("추가(&A)"), "sbtnIns", this);
    sbtnDel = NamedButton(QStringLiteral("삭제(&L)"), "sbtnDel", this);
    spbtnMove = new QWidget(this);
    spbtnMove->setObjectName(QStringLiteral("spbtnMove"));
    spbtnMoveUp = new QToolButton(spbtnMove);
    spbtnMoveUp->setObjectName(QStringLiteral("spbtnMoveUp"));
    spbtnMoveUp->setArrowType(Qt::UpArrow);
    spbtnMoveDown = new QToolButton(spbtnMove);
    spbtnMoveDown->setObjectName(QStringLiteral("spbtnMoveDown"));
    spbtnMoveDown->setArrowType(Qt::DownArrow);
    auto *arrows = new QVBoxLayout(spbtnMove);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(spbtnMoveUp);
    arrows->addWidget(spbtnMoveDown);
    spbtnMove->setEnabled(false);

    memNote = new QPlainTextEdit(this);
    memNote->setObjectName(QStringLiteral("memNote"));
    memNote->setReadOnly(true);
    memNote->setFocusPolicy(Qt::NoFocus);
    memNote->setPlainText(QStringList{QString(), QStringLiteral("* 로그 인하지 않는 경우"),
                                      QStringLiteral("  - 사용자가 사용자인 경우"), QStringLiteral("  - 비밀번호가 없는 경우"),
                                      QString(), QStringLiteral("* 비밀번호 없애는 방법"),
                                      QStringLiteral("  - 현재 비밀번호 입력"), QStringLiteral("  - 변경/확인 비밀번호 빈 칸"),
                                      QStringLiteral("  - 확인 버튼 클릭")}
                              .join(u'\n'));

    bbtnOk = NamedButton(QStringLiteral("확인(&O)"), "bbtnOk", this);
    bbtnCancel = NamedButton(QStringLiteral("취소(&C)"), "bbtnCancel", this);

    auto *options = new QHBoxLayout;
    options->addWidget(rdgAis);
    options->addWidget(rdgBis);
    auto *left = new QVBoxLayout;
    left->addWidget(church);
    left->addLayout(options);
    left->addWidget(rdgSel);
    auto *listButtons = new QVBoxLayout;
    listButtons->addWidget(sbtnIns);
    listButtons->addWidget(sbtnDel);
    listButtons->addWidget(spbtnMove, 0, Qt::AlignHCenter);
    listButtons->addStretch();
    auto *lists = new QHBoxLayout;
    lists->addWidget(lbxList, 1);
    lists->addLayout(listButtons);
    auto *right = new QVBoxLayout;
    right->addLayout(lists, 1);
    right->addWidget(memNote);
    auto *top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addLayout(right, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(ButtonRow({bbtnOk, bbtnCancel}));
    setFixedSize(680, 470);

    setCancelButton(bbtnCancel);
    connect(rdgSelItems, &QButtonGroup::idClicked, this, GuardedSlot(this, &TfrmSetup::rdgSelClick));
    connect(rdgAisItems, &QButtonGroup::idClicked, this, GuardedSlot(this, &TfrmSetup::rdgAisClick));
    connect(btnPswd, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSetup::btnPswdClick));
    connect(btnZip, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSetup::btnZipClick));
    connect(bbtnOk, &QPushButton::clicked, this, GuardedSlot(this, &TfrmSetup::bbtnOkClick));
    connect(sbtnIns, &QPushButton::clicked, this, [this] { Guarded([this] { AddItem(selectedList()); }); });
    connect(sbtnDel, &QPushButton::clicked, this, [this] { Guarded([this] { DeleteItem(selectedList()); }); });
    connect(spbtnMoveUp, &QToolButton::clicked, this, [this] { Guarded([this] { MoveItemUp(selectedList()); }); });
    connect(spbtnMoveDown, &QToolButton::clicked, this,
            [this] { Guarded([this] { MoveItemDown(selectedList()); }); });
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    btnZip->installEventFilter(this);

    // Loading
    rdgSelItems->button(0)->setText(areaItemCaption(AreaOption < 1));
    edtCname->setText(ChurchName);
    edtUser->setText(UserName);
    edtCadd1->setText(ChurchAdd1);
    edtCadd2->setText(ChurchAdd2);
    edtCzip->setText(ChurchZip);
    edtCtel->setText(ChurchTel);
    rdgAisItems->button(AreaOption < 1 ? 0 : 1)->setChecked(true);
    rdgBisItems->button(BaptOption < 1 ? 0 : 1)->setChecked(true);
    rdgSelItems->button(0)->setChecked(true);
    for (int i = 0; i < ListCount; ++i)
        Lists[i] = listDef(i).list.mid(0, listDef(i).count);
    ShowList(Lists[0]);
    edtCname->setFocus(); // the window opens with it
}

bool TfrmSetup::eventFilter(QObject *watched, QEvent *event)
{
    // Tabbing onto the address button opens the picker; the focus coming back after it closes
    // must not open it again.
    if (watched == btnZip && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            QTimer::singleShot(0, this, [this] { Guarded([this] { btnZipClick(); }); });
    }
    return TForm::eventFilter(watched, event);
}

QStringList &TfrmSetup::selectedList()
{
    return Lists[qMax(0, rdgSelItems->checkedId())];
}

int TfrmSetup::selectedIndex() const
{
    const QListWidgetItem *item = lbxList->currentItem();
    return item && item->isSelected() ? lbxList->currentRow() : -1;
}

void TfrmSetup::rdgSelClick()
{
    ShowList(selectedList());
}

void TfrmSetup::rdgAisClick()
{
    rdgSelItems->button(0)->setText(areaItemCaption(rdgAisItems->checkedId() < 1));
}

void TfrmSetup::ShowList(const QStringList &list)
{
    lbxList->clear();
    lbxList->addItems(list);
    const bool any = !list.isEmpty();
    sbtnDel->setEnabled(any);
    spbtnMove->setEnabled(any);
    if (any)
        lbxList->setFocus();
}

void TfrmSetup::AddItem(QStringList &list)
{
    const int index = qMax(0, rdgSelItems->checkedId());
    const FieldDef &field = entryField(index);
    const int limit = field.size;
    QString text;
    if (!InputQuery(QStringLiteral("추가 [한글") + QString::number(limit / 2) + QStringLiteral("자(영문") +
                        QString::number(limit) + QStringLiteral("자)까지]"),
                    QStringLiteral("추가할 ") + QString::fromUtf8(listDef(index).promptWord) +
                        QStringLiteral(" 입력하세요."),
                    text))
        return;
    text = Trim(text);
    if (!text.isEmpty()) {
        // An odd byte count means a half-width character is in the text: one byte less keeps the
        // last syllable whole, and the cut never goes into a character.
        const int bytes = cp949::byteLength(text) % 2 == 0 ? limit : limit - 1;
        const QString stored = StoredValue(field, cp949::cutToBytes(text, bytes)).toString();
        for (const QString &entry : list) {
            const QString e = UpperCase(entry);
            if (e == UpperCase(text) || e == UpperCase(stored)) {
                ShowMessage(QStringLiteral("중복된 내용이 있습니다."));
                return;
            }
        }
        list.append(stored);
    }
    ShowList(list);
}

void TfrmSetup::DeleteItem(QStringList &list)
{
    const int i = selectedIndex();
    if (i < 0 || i >= list.size()) {
        ShowMessage(QStringLiteral("먼저 내용을 선택해 주세요."));
        lbxList->setFocus();
        return;
    }
    if (MessageBox(QStringLiteral("정말 지우시겠습니까?"), QStringLiteral("삭제 - ") + list[i], MsgButtons::YesNo,
                   MsgIcon::Question) != IDYES)
        return;
    list.removeAt(i);
    ShowList(list);
}

void TfrmSetup::MoveItemUp(QStringList &list)
{
    const int i = selectedIndex();
    if (i < 1) {
        lbxList->setCurrentRow(0);
        return;
    }
    list.move(i, i - 1);
    ShowList(list);
    lbxList->setCurrentRow(i - 1);
}

void TfrmSetup::MoveItemDown(QStringList &list)
{
    const int i = selectedIndex();
    const int last = int(list.size()) - 1;
    if (i < 0 || i >= last) {
        // Nothing selected: the first entry, so that the next press moves it.
        lbxList->setCurrentRow(i < 0 ? 0 : last);
        return;
    }
    list.move(i, i + 1);
    ShowList(list);
    lbxList->setCurrentRow(i + 1);
}

void TfrmSetup::btnPswdClick()
{
    TfrmPswd pswd;
    pswd.ShowModal();
}

void TfrmSetup::btnZipClick()
{
    // A cancelled pick must not bring back the address of an older one.
    if (m_addressPicker && m_addressPicker() && !PickedZip.isEmpty()) {
        edtCzip->setText(ApplyTextMask(PickedZip, QStringLiteral("###-###")));
        edtCadd1->setText(PickedAddr);
    }
    if (!edtCadd1->text().isEmpty())
        edtCadd2->setFocus();
}

void TfrmSetup::bbtnOkClick()
{
    for (int i = 0; i < ListCount; ++i) {
        listDef(i).list = Lists[i];
        listDef(i).count = int(Lists[i].size());
    }
    AreaOption = rdgAisItems->checkedId();
    BaptOption = rdgBisItems->checkedId();
    UserName = Trim(edtUser->text());
    ChurchName = Trim(edtCname->text());
    ChurchAdd1 = Trim(edtCadd1->text());
    ChurchAdd2 = Trim(edtCadd2->text());
    ChurchZip = Trim(edtCzip->storedText()); // nothing typed stores nothing, not the mask's dash
    ChurchTel = Trim(edtCtel->text());
    if (!WriteSettings())
        return; // nothing was stored: the edits stay for another try
    ReadSettings();
    setModalResult(mrOk);
}
