#pragma once
// Address label sheets: one label per marked member in two columns, or each member's label
// twice side by side. The print dialog binds the address items to the home or work fields.
#include "platform/dataset.h"
#include "platform/report.h"

#include <QObject>

class TfrmPL9934_1 : public QObject {
    Q_OBJECT
public:
    explicit TfrmPL9934_1(DataSource &rows, QObject *owner = nullptr);
    Report qrptPrt;
    ReportItem *txtAddr1, *txtAddr2, *txtName, *txtZip;
};

class TfrmPL9934_2 : public QObject {
    Q_OBJECT
public:
    explicit TfrmPL9934_2(DataSource &rows, QObject *owner = nullptr);
    Report qrptPrt;
    ReportItem *txtAddr1_1, *txtAddr2_1, *txtName_1, *txtZip_1;
    ReportItem *txtAddr1_2, *txtAddr2_2, *txtName_2, *txtZip_2;
};
