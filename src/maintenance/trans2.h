#pragma once
// The import of version 2.x's members: as 1.x, with the household head and the remark.
#include "maintenance/transfer.h"

class TfrmTrans2 : public TfrmTransfer {
    Q_OBJECT
public:
    explicit TfrmTrans2(QWidget *parent = nullptr);

    DbaseTable &tb2Data = tbData;
    DataSource &ds2Data = dsData;
    DBGrid *grd2Data = grdData;
};
