// Printing figures: marked members of a synthetic register printed through the print dialog's
// layouts into PDF files.
//   bench_print [members=1000] [--photos] [--keep <folder>]
// Prints "<figure> <value>" lines: the time of each job, its pages, and the resident memory
// sampled after every page, to show that a job does not grow with its pages.
#include "benchsupport.h"
#include "core/dm.h"
#include "generator/generator.h"
#include "core/global.h"
#include "core/tables.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "platform/report.h"
#include "printing/print.h"
#include "printing/prtcards.h"
#include "printing/prtlabels.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

namespace {

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QByteArray photo(int seed)
{
    QImage img(120, 160, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x + seed) % 256, (y * 2 + seed) % 256, (x + y + seed * 7) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

// One layout into a PDF file, memory sampled after every page.
void run(const char *name, Report &report, const QString &file)
{
    QPdfWriter pdf(file);
    pdf.setTitle(report.title);
    pdf.setPageLayout(QPageLayout(QPageSize(report.page.size), report.page.orientation, QMarginsF()));
    QPainter painter(&pdf);
    const double before = residentMb();
    double firstPage = 0, peak = 0;
    QElapsedTimer timer;
    timer.start();
    const int pages = report.render(pdf, painter, [&](int page) {
        const double now = residentMb();
        if (page == 1)
            firstPage = now;
        peak = std::max(peak, now);
    });
    painter.end();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%s.ms %.1f\n%s.pages %d\n%s.msPerPage %.2f\n", name, ms, name, pages, name, ms / pages);
    std::printf("%s.pdfKB %lld\n", name, QFile(file).size() / 1024);
    std::printf("%s.residentMB before %.1f, after page 1 %.1f, peak %.1f\n", name, before, firstPage, peak);
}

// The peak of resident memory since the last reset, in MB.
double peakMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    int members = 1000;
    bool photos = false;
    QString keep;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--photos"))
            photos = true;
        else if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            members = args[i].toInt();
    }

    QTemporaryDir dir;
    const QString folder = keep.isEmpty() ? dir.path() : keep;
    MakeBenchRegister(folder, members, 20260305);
    QDir::setCurrent(folder);
    {
        Database db;
        db.setCatalog(KelmoTables());
        db.open(folder + QStringLiteral("/Data/KELMODB.db"));
        db.execute(QStringLiteral("UPDATE MASTER SET SEL = TRUE"));
        if (photos) {
            db.execute(QStringLiteral("UPDATE MASTER SET PIC = :p"), {{QStringLiteral("p"), photo(1)}});
        }
    }
    TfrmDM dm;
    frmDM = &dm;
    if (!dm.DataModuleCreate())
        return 1;
    ChurchName = QStringLiteral("사랑교회");
    PrintSortField = QStringLiteral("NAME");

    QElapsedTimer timer;
    timer.start();
    TfrmPrint dialog;
    std::printf("dialog.open.ms %.1f (%d marked members)\n", double(timer.nsecsElapsed()) / 1e6,
                dialog.qrPrt.recordCount());

    {
        TfrmPMaster cards(dialog.dsPrt);
        cards.tbFamily.open();
        cards.lblCname->caption = ChurchName;
        cards.qrptPrt.setMargins(4, 14, 6, 16);
        run("recordCards", cards.qrptPrt, folder + QStringLiteral("/cards.pdf"));

        // As the program prints them into a file: written beside it, then put in its place.
        QPrinter &printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString printed = folder + QStringLiteral("/printed.pdf");
        printer.setOutputFileName(printed);
        resetPeak();
        const double before = peakMb();
        timer.restart();
        cards.qrptPrt.Print();
        std::printf("recordCards.printed.ms %.1f\nrecordCards.printed.pdfKB %lld\n",
                    double(timer.nsecsElapsed()) / 1e6, QFile(printed).size() / 1024);
        std::printf("recordCards.printed.residentMB before %.1f, peak %.1f\n", before, peakMb());
    }
    {
        TfrmPL9934_1 labels(dialog.dsPrt);
        labels.qrptPrt.setMargins(4, 14, 6, 0);
        run("labels", labels.qrptPrt, folder + QStringLiteral("/labels.pdf"));
    }
    frmDM = nullptr;
    return 0;
}
