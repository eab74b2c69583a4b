#pragma once
// The program's one current printer: which printer, on what paper and which way round, as the
// printer setup chose. Nothing is printed on it directly: every job prints on a JobPrinter made
// from it, so that a file chosen in a job's print dialog, and whatever a failed job leaves in
// its printer, end with that job.
#include "platform/form.h"

#include <QPrinter>
#include <QStringList>
#include <utility>

class QComboBox;
class QRadioButton;

QPrinter &CurrentPrinter();

// A printer for one job, set up as the current printer is.
class JobPrinter : public QPrinter {
public:
    JobPrinter();
};

// The system's printers by name, the default one first.
QStringList SystemPrinters();
// Makes one of SystemPrinters the current printer.
void SelectPrinter(const QString &name);
// Test seam: while set (not empty), these stand for the system's printers, each writing into
// its PDF file.
void setTestPrinters(const QList<std::pair<QString, QString>> &printersAndFiles);

// The printer setup: the printer, its paper and the orientation for the printouts that have no
// print dialog of their own.
class PrinterSetupDialog : public TForm {
    Q_OBJECT
public:
    explicit PrinterSetupDialog(QWidget *parent = nullptr);
    // Shows the dialog; OK makes the choice the current printer's. False when cancelled.
    bool Execute();

    QComboBox *cbxPrinter;
    QComboBox *cbxPaper;
    QRadioButton *rbtnPortrait;
    QRadioButton *rbtnLandscape;

private:
    // The papers the chosen printer takes, keeping the chosen one when it has it.
    void fillPapers();
    QList<QPageSize> m_papers; // as listed in cbxPaper
};
