#pragma once
// The import of an earlier version's members: the window both versions share and the copy of one
// source record into a member row, its family rows and a visit row. The versions differ only in
// their texts, their alias and two member fields (household head, remark).
#include "platform/dataset.h"
#include "platform/dbase.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <memory>

class QLabel;
class QProgressBar;
class QToolButton;

class TfrmTransfer : public TForm {
    Q_OBJECT
public:
    struct Version {
        QString number;        // "1.x"
        QString alias;         // the alias the source table is reached under
        QString aliasToRemove; // as the finished import names it
        bool second;           // 2.x: household head and remark come along
    };

    TfrmTransfer(const Version &version, QWidget *parent);
    ~TfrmTransfer() override;

    DbaseTable tbData;
    DataSource dsData{&tbData};
    DBGrid *grdData;
    QLabel *Panel1;
    QFrame *pnlBtn;
    QToolButton *sbtnHelp;
    QLabel *Label1;
    QProgressBar *prgCopy;
    QPushButton *btnStart;
    QPushButton *bbtnCancel;

    // The characters '0' to '9' of text, in their order.
    static QString DigitsOnly(const QString &text);
    // Copies the current source record under the member number: true when it was stored whole,
    // false when the register refused some part of it (then nothing of it stays). A damaged
    // source file is not the record's fault and is thrown on.
    bool TransferRecord(const QString &ino);
    void btnStartClick();

    struct Counts {
        int imported = 0;
        int skipped = 0;
    };

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void FormCreate();
    Counts copyAll();
    void copyRecord(const QString &ino);
    // The running number after the greatest member number under prefix; 0 when there is none.
    static int nextRunningNumber(const QString &prefix);

    struct Targets;
    Version m_version;
    std::unique_ptr<Targets> m_targets;
    int RunningNumber = 0;
    bool m_importing = false;
};
