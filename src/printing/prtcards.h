#pragma once
// The three record-card layouts: one card per marked member, each starting a new page, with
// the member's family, history or visit rows below it. The print dialog relabels the naming
// labels, fills in the church name, opens the sub-detail table and sets the margins.
#include "platform/dataset.h"
#include "platform/report.h"

#include <QObject>

// What the three cards share: page set-up, header, footer, the member's upper and church
// blocks and the labels the dialog sets.
class RecordCard : public QObject {
    Q_OBJECT
public:
    Report qrptPrt;
    ReportItem *lblArea = nullptr;
    ReportItem *lblChd = nullptr;
    ReportItem *lblBap = nullptr;
    ReportItem *lblCname = nullptr;

protected:
    // rows: the marked members (the print dialog's data source).
    RecordCard(DataSource &rows, const char *title, double detailHeight, const double (&churchRows)[4],
               QObject *owner);
    ReportBand &detail() { return *m_detail; }
    // The sub-detail band over the card's own table, linked to the member by Ino.
    ReportBand &addSubDetail(Table &table, const char *order, double height);

private:
    ReportBand *m_detail = nullptr;
    DataSource &m_rows;
};

// Record card: personal, workplace and church data with the photo, then the family rows.
class TfrmPMaster : public RecordCard {
    Q_OBJECT
public:
    explicit TfrmPMaster(DataSource &rows, QObject *owner = nullptr);
    Table tbFamily;
};

// History card: the member's history rows with their memos.
class TfrmPStudy : public RecordCard {
    Q_OBJECT
public:
    explicit TfrmPStudy(DataSource &rows, QObject *owner = nullptr);
    Table tbStudy;
};

// Visit card: the member's pastoral visits with their content and result.
class TfrmPVisit : public RecordCard {
    Q_OBJECT
public:
    explicit TfrmPVisit(DataSource &rows, QObject *owner = nullptr);
    Table tbVisit;
};
