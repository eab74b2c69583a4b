#pragma once
// The import of an earlier version's members: the window both versions share and the copy of one
// source record into a member row, its family rows and a visit row. The versions differ only in
// their texts, their alias and two member fields (household head, remark).
#include "platform/dataset.h"
#include "platform/dbase.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QToolButton;

class TfrmTransfer : public TForm {
    Q_OBJECT
public:
    struct Version {
        QString number; // "1.x"
        QString alias;  // the source table's alias, removed once its members are in
        bool second;    // 2.x: household head and remark come along
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
    // Copies the current source record under the member number. Returns nothing when it was
    // stored whole, or why the register refused some part of it (then nothing of it stays). A
    // damaged or busy register is not the record's fault and is thrown on.
    std::optional<QString> TransferRecord(const QString &ino);
    void btnStartClick();

    // A source record the register refused: its row in the grid (from 1), its name and why.
    struct Refused {
        int row;
        QString name;
        QString cause;
    };

protected:
    bool FormCloseQuery() override;
    void FormClose() override;

private:
    void FormCreate();
    // The fields the copy reads that the source table lacks.
    QStringList missingFields();
    struct Outcome {
        int imported = 0;
        QList<Refused> refused;
    };
    // Stored only when some record was imported.
    Outcome copyAll();
    // The summary with the first refused records, and the offer to save them all as text.
    void reportRefused(const QString &summary, const QList<Refused> &refused);
    void copyRecord(const QString &ino);
    // The running number after the greatest member number under prefix; 0 when there is none.
    static int nextRunningNumber(const QString &prefix);

    struct Targets;
    Version m_version;
    std::unique_ptr<Targets> m_targets;
    int RunningNumber = 0;
    bool m_importing = false;
};
