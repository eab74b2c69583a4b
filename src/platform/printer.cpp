#include "platform/printer.h"

#include "platform/diskfile.h"
#include "platform/errortext.h"
#include "platform/report.h"

#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPaintEngine>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QVBoxLayout>
#include <fcntl.h>
#include <unistd.h>

namespace {

QList<std::pair<QString, QString>> &testPrinters()
{
    static QList<std::pair<QString, QString>> printers;
    return printers;
}

// The name SystemPrinters gives the current printer; empty when it is none of them.
QString currentPrinterName()
{
    const QPrinter &current = CurrentPrinter();
    for (const auto &[name, file] : testPrinters())
        if (file == current.outputFileName())
            return name;
    return current.outputFormat() == QPrinter::NativeFormat ? current.printerName() : QString();
}

// As a text export that could not be written says it.
QString failedFileMessage(int err, const QString &fileName)
{
    return QStringLiteral("파일을 저장하지 못했습니다.\r\n") + FileErrorText(err, fileName);
}

QList<QPageSize> papersOf(const QString &printer)
{
    QList<QPageSize> papers = QPrinterInfo::printerInfo(printer).supportedPageSizes();
    if (papers.isEmpty())
        for (QPageSize::PageSizeId id : {QPageSize::A4, QPageSize::A3, QPageSize::A5, QPageSize::JisB4,
                                         QPageSize::JisB5, QPageSize::Letter, QPageSize::Legal})
            papers << QPageSize(id);
    return papers;
}

} // namespace

QPrinter &CurrentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

JobPrinter::JobPrinter() : QPrinter(QPrinter::HighResolution)
{
    const QPrinter &current = CurrentPrinter();
    if (current.outputFormat() == QPrinter::NativeFormat) {
        setPrinterName(current.printerName());
    } else if (!current.outputFileName().isEmpty()) {
        setOutputFormat(QPrinter::PdfFormat); // a stand-in printer writing into a file
        setOutputFileName(current.outputFileName());
    } else if (const QString installed = QPrinterInfo::defaultPrinterName(); !installed.isEmpty()) {
        // There was no printer when the program started: one set up since serves at once.
        setPrinterName(installed);
    } else {
        setOutputFormat(QPrinter::PdfFormat); // no printer: with no file to write, the job cannot open
    }
    setPageSize(current.pageLayout().pageSize());
    setPageOrientation(current.pageLayout().orientation());
}

PrintedFile::PrintedFile(QPrinter &printer) : m_printer(printer)
{
    if (printer.outputFileName().isEmpty() || printer.paintEngine()->type() == QPaintEngine::Picture)
        return;
    // Opened now, as the printer itself would open the file: one that cannot be written stops
    // the job before it starts.
    auto out = std::make_unique<FileReplacement>(printer.outputFileName());
    if (out->open() != 0 || ::pipe2(m_pipe, O_CLOEXEC) != 0)
        throw ReportError(Report::cannotOpenMessage());
    m_fileName = printer.outputFileName();
    m_out = std::move(out);
    m_drain = std::thread([this] {
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(m_pipe[0], buffer, sizeof buffer);
            if (n == 0)
                return;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                m_error = errno;
                return;
            }
            // After a failure the rest is read and let go, or the job would wait on a full pipe.
            if (m_error == 0)
                m_error = m_out->write(buffer, n);
        }
    });
    printer.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(m_pipe[1]));
}

PrintedFile::~PrintedFile()
{
    endDrain(); // whatever was written goes with m_out
}

void PrintedFile::endDrain()
{
    if (!m_out)
        return;
    m_printer.setOutputFileName(m_fileName);
    // The job's own end of the pipe closed with its painter: the drain reads to the end now.
    ::close(m_pipe[1]);
    m_drain.join();
    ::close(m_pipe[0]);
    m_pipe[0] = m_pipe[1] = -1;
}

QString PrintedFile::finish()
{
    if (!m_out)
        return {};
    endDrain();
    const std::unique_ptr<FileReplacement> out = std::move(m_out);
    const int err = m_error ? m_error : out->commit();
    return err ? failedFileMessage(err, m_fileName) : QString();
}

QString WritePrintout(const QString &fileName, const QByteArray &data)
{
    FileReplacement out(fileName);
    int err = out.open();
    if (err == 0)
        err = out.write(data.constData(), data.size());
    if (err == 0)
        err = out.commit();
    return err ? failedFileMessage(err, fileName) : QString();
}

QStringList SystemPrinters()
{
    QStringList names;
    if (!testPrinters().isEmpty()) {
        for (const auto &printer : testPrinters())
            names << printer.first;
        return names;
    }
    names = QPrinterInfo::availablePrinterNames();
    const QString preset = QPrinterInfo::defaultPrinterName();
    if (names.removeOne(preset))
        names.prepend(preset);
    return names;
}

void SelectPrinter(const QString &name)
{
    for (const auto &[printer, file] : testPrinters())
        if (printer == name) {
            CurrentPrinter().setOutputFileName(file);
            return;
        }
    CurrentPrinter().setPrinterName(name);
}

void setTestPrinters(const QList<std::pair<QString, QString>> &printersAndFiles)
{
    testPrinters() = printersAndFiles;
}

PrinterSetupDialog::PrinterSetupDialog(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("psdlgPrt"));
    setWindowTitle(QStringLiteral("인쇄 설정"));
    cbxPrinter = new QComboBox(this);
    cbxPrinter->setObjectName(QStringLiteral("cbxPrinter"));
    cbxPrinter->setMinimumWidth(260);
    cbxPaper = new QComboBox(this);
    cbxPaper->setObjectName(QStringLiteral("cbxPaper"));
    rbtnPortrait = new QRadioButton(QStringLiteral("세로(&O)"), this);
    rbtnPortrait->setObjectName(QStringLiteral("rbtnPortrait"));
    rbtnLandscape = new QRadioButton(QStringLiteral("가로(&A)"), this);
    rbtnLandscape->setObjectName(QStringLiteral("rbtnLandscape"));

    auto *printerBox = new QGroupBox(QStringLiteral("프린터"), this);
    QGridLayout *printerRows = LabelledRows(printerBox, {{"이름(&N):", cbxPrinter}});
    printerRows->setColumnStretch(1, 1);
    printerBox->setLayout(printerRows);
    auto *paperBox = new QGroupBox(QStringLiteral("용지"), this);
    QGridLayout *paperRows = LabelledRows(paperBox, {{"크기(&Z):", cbxPaper}});
    paperRows->setColumnStretch(1, 1);
    paperBox->setLayout(paperRows);
    auto *orientationBox = new QGroupBox(QStringLiteral("방향"), this);
    auto *orientation = new QVBoxLayout(orientationBox);
    orientation->addWidget(rbtnPortrait);
    orientation->addWidget(rbtnLandscape);
    QPushButton *ok = NamedButton(QStringLiteral("확인"), "btnOk", this);
    QPushButton *cancel = NamedButton(QStringLiteral("취소"), "btnCancel", this);
    connect(ok, &QPushButton::clicked, this, [this] { setModalResult(mrOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    setDefaultButton(ok);
    setCancelButton(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    auto *paperRow = new QHBoxLayout;
    paperRow->addWidget(paperBox, 1);
    paperRow->addWidget(orientationBox);
    layout->addLayout(paperRow);
    layout->addLayout(ButtonRow({ok, cancel}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const QPrinter &current = CurrentPrinter();
    cbxPrinter->addItems(SystemPrinters());
    cbxPrinter->setCurrentIndex(std::max(0, int(cbxPrinter->findText(currentPrinterName()))));
    cbxPrinter->setEnabled(cbxPrinter->count() > 0);
    fillPapers();
    (current.pageLayout().orientation() == QPageLayout::Landscape ? rbtnLandscape : rbtnPortrait)->setChecked(true);
    connect(cbxPrinter, &QComboBox::currentIndexChanged, this, [this] { fillPapers(); });
    centreOn(parent);
}

void PrinterSetupDialog::fillPapers()
{
    const QPageSize chosen = m_papers.value(cbxPaper->currentIndex(), CurrentPrinter().pageLayout().pageSize());
    m_papers = papersOf(cbxPrinter->currentText());
    cbxPaper->clear();
    for (const QPageSize &paper : m_papers)
        cbxPaper->addItem(paper.name());
    for (int i = 0; i < m_papers.size(); ++i)
        if (m_papers[i].isEquivalentTo(chosen))
            cbxPaper->setCurrentIndex(i);
}

bool PrinterSetupDialog::Execute()
{
    if (ShowModal() != mrOk)
        return false;
    if (cbxPrinter->currentIndex() >= 0)
        SelectPrinter(cbxPrinter->currentText());
    QPrinter &current = CurrentPrinter();
    if (cbxPaper->currentIndex() >= 0)
        current.setPageSize(m_papers.at(cbxPaper->currentIndex()));
    current.setPageOrientation(rbtnLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    return true;
}
