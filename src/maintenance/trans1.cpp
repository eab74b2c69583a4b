#include "maintenance/trans1.h"

TfrmTrans1::TfrmTrans1(QWidget *parent)
    : TfrmTransfer({QStringLiteral("1.x"), QStringLiteral("KELMO"), false}, parent)
{
    setObjectName(QStringLiteral("frmTrans1"));
    grd1Data->setObjectName(QStringLiteral("grd1Data"));
}
