#pragma once
// "데이터 점검": an empty dialog that the original kept behind a hidden shortcut.
#include "platform/form.h"

class TfrmCheck : public TForm {
    Q_OBJECT
public:
    explicit TfrmCheck(QWidget *parent = nullptr);
};
