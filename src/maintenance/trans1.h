#pragma once
// The import of version 1.x's members.
#include "maintenance/transfer.h"

class TfrmTrans1 : public TfrmTransfer {
    Q_OBJECT
public:
    explicit TfrmTrans1(QWidget *parent = nullptr);

    DbaseTable &tb1Data = tbData;
    DataSource &ds1Data = dsData;
    DBGrid *grd1Data = grdData;
};
