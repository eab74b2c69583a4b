#include "records/del.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "platform/dialogs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

TfrmDel::TfrmDel(QList<Bookmark> &selectedRows, QWidget *parent) : TForm(parent), m_selected(selectedRows)
{
    setObjectName(QStringLiteral("frmDel"));
    setWindowTitle(QStringLiteral("삭제 확인"));

    lbxList = new QListWidget(this);
    lbxList->setObjectName(QStringLiteral("lbxList"));
    auto *note = new QGroupBox(QStringLiteral("주의사항"), this);
    auto *noteLayout = new QVBoxLayout(note);
    noteLayout->addWidget(new QLabel(QStringLiteral("한번 삭제된 성도는 복구가 불가능합니다."), note));
    auto *question = Panel(QStringLiteral("정말 삭제 하시겠습니까?"), this, true);
    question->setAlignment(Qt::AlignCenter);
    auto *aniDel = new QLabel(this);
    aniDel->setObjectName(QStringLiteral("aniDel"));
    aniDel->setPixmap(style()->standardIcon(QStyle::SP_TrashIcon).pixmap(32, 32));
    aniDel->setAlignment(Qt::AlignCenter);
    pbrProgress = new QProgressBar(this);
    pbrProgress->setObjectName(QStringLiteral("pbrProgress"));
    pbrProgress->setTextVisible(false);
    bbtnYes = new QPushButton(QStringLiteral("예(&Y)"), this);
    bbtnYes->setObjectName(QStringLiteral("bbtnYes"));
    bbtnNo = new QPushButton(QStringLiteral("아니오(&N)"), this);
    bbtnNo->setObjectName(QStringLiteral("bbtnNo"));
    auto *help = new QPushButton(QStringLiteral("도움말(&H)"), this);
    help->setEnabled(false);

    auto *right = new QVBoxLayout;
    right->addWidget(note);
    right->addWidget(question);
    right->addWidget(aniDel);
    right->addWidget(pbrProgress);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(bbtnYes);
    buttons->addWidget(bbtnNo);
    buttons->addWidget(help);
    right->addLayout(buttons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(lbxList);
    layout->addLayout(right);
    setFixedSize(460, 240);

    setCancelButton(bbtnNo);
    connect(bbtnYes, &QPushButton::clicked, this, GuardedSlot(this, &TfrmDel::bbtnYesClick));
    connect(bbtnNo, &QPushButton::clicked, this, [this] { setModalResult(mrNo); });
    FormCreate();
}

void TfrmDel::FormCreate()
{
    lbxList->clear();
    m_count = int(m_selected.size());
    {
        Table &t = frmDM->tbMaster;
        ControlsDisabled still(t);
        for (int i = 0; i < m_count; ++i)
            if (t.gotoBookmark(m_selected[i]))
                lbxList->addItem(t.fieldByName(QStringLiteral("Name")).asString());
    }
    pbrProgress->setRange(0, std::max(m_count, 1));
    pbrProgress->setValue(0);
}

bool TfrmDel::deleteCurrentMember()
{
    TfrmDM &dm = *frmDM;
    try {
        Transaction transaction(dm.dbKelmo);
        const QString q = Quote(dm.tbMaster.fieldByName(QStringLiteral("Ino")).asString());
        RunSQL(dm.qrMaster, QStringLiteral("DELETE FROM FAMILY WHERE INO = ") + q);
        RunSQL(dm.qrMaster, QStringLiteral("DELETE FROM VISIT  WHERE INO = ") + q);
        RunSQL(dm.qrMaster, QStringLiteral("DELETE FROM STUDY  WHERE INO = ") + q);
        dm.tbMaster.deleteRecord();
        transaction.commit();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void TfrmDel::bbtnYesClick()
{
    {
        Table &t = frmDM->tbMaster;
        ControlsDisabled still(t);
        for (int i = 0; i < m_count; ++i) {
            if (t.gotoBookmark(m_selected[i])) {
                const QString name = t.fieldByName(QStringLiteral("Name")).asString();
                if (!deleteCurrentMember())
                    ShowMessage(QStringLiteral("[") + name + QStringLiteral("] 삭제가 불가능합니다."));
            }
            pbrProgress->setValue(i + 1);
        }
        // The deleted rows must not stay in the selection that later commands walk.
        m_selected.clear();
    }
    setModalResult(mrYes);
}
