#include "lists/handoff.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "dialer/dial.h"
#include "platform/dialogs.h"
#include "printing/print.h"

#include <QApplication>
#include <QFileDialog>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

} // namespace

std::function<QString()> SaveDlg = [] {
    QFileDialog dlg(QApplication::activeWindow(), QStringLiteral("파일 저장"), QString(),
                    QStringLiteral("텍스트 파일 (*.TXT *.txt)"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("TXT"));
    return ExecModal(dlg) == QDialog::Accepted && !dlg.selectedFiles().isEmpty() ? dlg.selectedFiles().first()
                                                                                  : QString();
};

std::function<void()> ShowAllMembers;

void GoToMember(const QString &ino)
{
    // By member number: a name may be shared, and the table may be in telephone order.
    Table &t = frmDM->tbMaster;
    if (!t.locate(QStringLiteral("Ino"), {ino}) && t.filtered() && ShowAllMembers) {
        // The member lies outside the index tab shown: show them all.
        ShowAllMembers();
        t.locate(QStringLiteral("Ino"), {ino});
    }
}

QString FamilyRowMember(const QString &name, const QString &ownerIno)
{
    Database &db = frmDM->dbKelmo;
    const Params owner{{QStringLiteral("ino"), ownerIno}};
    // The household: its head and every member who names that head.
    QString head = db.scalar(QStringLiteral("SELECT CASE WHEN G THEN Ino ELSE GNO END FROM MASTER WHERE Ino = :ino"),
                             owner).toString();
    if (head.isEmpty())
        head = ownerIno;
    return db.scalar(QStringLiteral("SELECT Ino FROM MASTER WHERE Name = :name "
                                    "ORDER BY CASE WHEN Ino = :owner OR Ino = :head OR GNO = :head THEN 0 ELSE 1 END, Ino"),
                     {{QStringLiteral("name"), name}, {QStringLiteral("owner"), ownerIno}, {QStringLiteral("head"), head}})
        .toString();
}

namespace resulthandoff {

bool Print(DBGrid *grid, Query &rows)
{
    bool opened = false;
    Guarded([&] {
        TfrmDM &dm = *frmDM;
        SetAllSel(dm.qrMaster, false);
        const int answer = MessageBox(S("전체 인쇄하시겠습니까?"), S("인쇄 확인"), MsgButtons::YesNoCancel,
                                      MsgIcon::Question);
        if (answer != IDYES && answer != IDNO)
            return;
        const auto mark = [&] {
            RunSQL(dm.qrMaster, QStringLiteral("UPDATE MASTER SET SEL = TRUE WHERE INO = ") +
                                    Quote(rows.fieldByName(QStringLiteral("Ino")).asString()));
        };
        {
            ControlsDisabled still(rows);
            // One commit for the whole list: a commit per member makes a long list crawl.
            Transaction transaction(dm.dbKelmo);
            if (answer == IDYES) {
                for (rows.first(); !rows.eof(); rows.next())
                    mark();
            } else {
                grid->selectRow(rows.bookmark(), true);
                for (const Bookmark &b : grid->SelectedRows())
                    if (rows.gotoBookmark(b))
                        mark();
            }
            transaction.commit();
        }
        {
            TfrmPrint print;
            print.centreOn(grid->window());
            opened = true;
            print.ShowModal();
        }
        grid->clearSelectedRows();
    });
    return opened;
}

void Save(Dataset &rows)
{
    const QString file = SaveDlg();
    if (file.isEmpty())
        return;
    try {
        frmDM->ExportText(rows, file);
    } catch (const std::exception &e) {
        ShowError(S("파일을 저장하지 못했습니다.\r\n") + QString::fromUtf8(e.what()));
        return;
    }
    ShowMessage(S("저장이 완료되었습니다."));
}

bool Dial(DBGrid *grid, Query &rows)
{
    if (!rows.active() || rows.isEmpty())
        return false;
    const QString number = rows.fieldByName(QStringLiteral("Tel1")).asString();
    if (number.isEmpty())
        return false;
    grid->clearSelectedRows();
    DialWithDialog(number, S("전화 걸기 [") + rows.fieldByName(QStringLiteral("Name")).asString() + S("의 전화1]"));
    return true;
}

void OfferGoTo(Query &rows, RowMember member)
{
    if (!rows.active() || rows.isEmpty())
        return;
    if (MessageBox(S("즉시 이동하시겠습니까?"), S("이동 확인"), MsgButtons::YesNo, MsgIcon::Question) != IDYES)
        return;
    Guarded([&] {
        const QString ino = member == RowMember::Own
                                ? rows.fieldByName(QStringLiteral("Ino")).asString()
                                : FamilyRowMember(rows.fieldByName(QStringLiteral("NAME")).asString(),
                                                  rows.fieldByName(QStringLiteral("INO")).asString());
        if (!ino.isEmpty())
            GoToMember(ino);
        Table &t = frmDM->tbMaster;
        if (!t.isEmpty())
            SavedBookmark = t.bookmark();
    });
}

} // namespace resulthandoff
