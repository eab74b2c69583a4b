#include "maintenance/trans2.h"

TfrmTrans2::TfrmTrans2(QWidget *parent)
    : TfrmTransfer({QStringLiteral("2.x"), QStringLiteral("KELMO20"), true}, parent)
{
    setObjectName(QStringLiteral("frmTrans2"));
    grd2Data->setObjectName(QStringLiteral("grd2Data"));
}
