#pragma once
// The backup: KELMO.INI and the whole register copied into Backup/ as one set. Both are written
// into a hidden folder there first and take the old set's place only once both are whole and on
// the disk, so a failed or killed run never pairs new settings with an old register.
#include "platform/form.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TfrmBackup : public TForm {
    Q_OBJECT
public:
    explicit TfrmBackup(QWidget *parent = nullptr);

    QLineEdit *edtCurDir, *edtDatDir, *edtBakDir;
    QProgressBar *aniCopy; // busy while copying
    QLabel *stxtStat;
    QProgressBar *pbrProgress;
    QPushButton *bbtnOK, *bbtnCancel;

    void bbtnOKClick();

private:
    void setRunning(bool running);
};
