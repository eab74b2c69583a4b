#pragma once
// The backup: KELMO.INI and the whole register copied into Backup/, each under a temporary name
// first, so that a failed run leaves the previous copy as it was.
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
    void copyIni(const QString &source, const QString &target);
    void setRunning(bool running);
};
