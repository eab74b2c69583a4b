#include "records/check.h"

TfrmCheck::TfrmCheck(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmCheck"));
    setWindowTitle(QStringLiteral("데이터 점검"));
    setFixedSize(507, 208);
}
