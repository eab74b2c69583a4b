#include "platform/printer.h"

QPrinter &CurrentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

JobPrinter::JobPrinter() : QPrinter(QPrinter::HighResolution)
{
    const QPrinter &current = CurrentPrinter();
    if (current.outputFormat() == QPrinter::PdfFormat) {
        // No printer (a job with no file to write cannot open), or one writing into a file.
        setOutputFormat(QPrinter::PdfFormat);
        if (!current.outputFileName().isEmpty())
            setOutputFileName(current.outputFileName());
    } else {
        setPrinterName(current.printerName());
    }
    setPageSize(current.pageLayout().pageSize());
    setPageOrientation(current.pageLayout().orientation());
}
