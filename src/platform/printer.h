#pragma once
// The program's one current printer: which printer, on what paper and which way round, as the
// printer setup chose. Nothing is printed on it directly: every job prints on a JobPrinter made
// from it, so that a file chosen in a job's print dialog, and whatever a failed job leaves in
// its printer, end with that job.
#include "platform/diskfile.h"
#include "platform/form.h"

#include <QPrinter>
#include <QStringList>
#include <memory>
#include <thread>
#include <utility>

class QComboBox;
class QRadioButton;

QPrinter &CurrentPrinter();

// A printer for one job, set up as the current printer is.
class JobPrinter : public QPrinter {
public:
    JobPrinter();
};

// Qt's PDF writer drops a failed write without a word. While this lives, a job that prints into a
// file prints through a pipe that a thread of its own writes beside the file, and finish() puts
// that in the file's place once the job has ended, so that a write that fails (a full disk) is
// told and leaves the earlier file as it was. A preview draws into pictures: nothing is
// redirected then.
class PrintedFile {
public:
    explicit PrintedFile(QPrinter &printer); // throws ReportError when the file cannot be written
    ~PrintedFile();
    PrintedFile(const PrintedFile &) = delete;
    PrintedFile &operator=(const PrintedFile &) = delete;

    // The message for the user when the file could not be written whole (and the earlier one
    // stays); empty when it was, or when the job went to a printer. Called once the job's
    // painter has ended.
    QString finish();

private:
    void endDrain();

    QPrinter &m_printer;
    QString m_fileName; // empty: nothing to write
    std::unique_ptr<FileReplacement> m_out;
    int m_pipe[2] = {-1, -1};
    std::thread m_drain;
    int m_error = 0; // the drain's first failure, read once it has ended
};

// Puts a printout's file in place whole; the message for the user when it could not be (the
// earlier file kept as it was), else empty.
QString WritePrintout(const QString &fileName, const QByteArray &data);

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
