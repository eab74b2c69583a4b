#pragma once
// The memo search: marks every member in whose church, workplace or family memo, visit
// records or history memos a word occurs, lists them with their memos, and prints, saves,
// dials or goes to them as the detailed search does.
#include "platform/dataset.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <QSet>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

class TfrmMemo : public TForm {
    Q_OBJECT
public:
    // Needs the data module (frmDM); clears every print mark.
    explicit TfrmMemo(QWidget *parent = nullptr);

    Query qrFind;
    DataSource dsFind{&qrFind};
    // The found member's visits and history entries.
    Table tbVisit;
    DataSource dsVisit{&tbVisit};
    Table tbStudy;
    DataSource dsStudy{&tbStudy};

    QLineEdit *edtText;
    QCheckBox *chkC, *chkJ, *chkF, *chkV, *chkS;
    QLabel *pnlTotal;
    QPushButton *bbtnFind, *bbtnPrint, *bbtnSave, *bbtnClose;
    DBGrid *dgrdFind;
    QTabWidget *pcMemo;
    DBMemo *dmemCmemo, *dmemJmemo, *dmemFmemo, *dmemVc, *dmemVr, *dmemSr;
    DBGrid *dgrdVisit, *dgrdStudy;

    void bbtnFindClick();
    void dgrdFindDblClick();
    void bbtnPrintClick();
    void bbtnSaveClick();

    // The members (by number) with the word in a ticked kind of memo.
    QSet<QString> MembersWithWord(const QString &word);

protected:
    void FormClose() override;

private:
    void FormCreate();
    // Marks exactly the members with the word and lists them, with their count.
    void markAndShow(const QString &word);
    void showResult(bool found);
    // FindInMemo's test on one stored text.
    bool memoHasWord(const QString &text, const QString &word);
    // Never shown: FindInMemo reads its lines.
    QPlainTextEdit *m_lines;
};
