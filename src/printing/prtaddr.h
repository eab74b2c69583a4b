#pragma once
// Address books: one two-line row per marked member under a grey column header, landscape
// (`TfrmPAddr_h`) or portrait (`TfrmPAddr_v`). The print dialog relabels `lblArea`, fills in
// the church name and sets the margins.
#include "platform/dataset.h"
#include "platform/report.h"

#include <QObject>

class AddressBook : public QObject {
    Q_OBJECT
public:
    Report qrptPrt;
    ReportItem *lblZone = nullptr;
    ReportItem *lblArea = nullptr;
    ReportItem *lblCname = nullptr;

protected:
    AddressBook(DataSource &rows, bool landscape, QObject *owner);
};

class TfrmPAddr_h : public AddressBook {
    Q_OBJECT
public:
    explicit TfrmPAddr_h(DataSource &rows, QObject *owner = nullptr) : AddressBook(rows, true, owner) {}
};

class TfrmPAddr_v : public AddressBook {
    Q_OBJECT
public:
    explicit TfrmPAddr_v(DataSource &rows, QObject *owner = nullptr) : AddressBook(rows, false, owner) {}
};
