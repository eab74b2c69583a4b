#pragma once
// "켈모누리 정보": the logo, the product name and version, a rising text and a closing button.
#include "platform/form.h"

class QLabel;
class QPushButton;
class TMoveText;

class TfrmAbout : public TForm {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);

    QLabel *imgLogo;
    TMoveText *mtxtAbout;
    QPushButton *btnOk;
};
