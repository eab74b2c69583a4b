#pragma once
// The printer used as a text file: every written line is drawn from the left edge of the
// printable area in the font set at that moment, one below the other; a line wider than the
// page goes on on the next line, and a line that no longer fits starts a new page. Closing ends
// the job, and the destructor closes a job that is still open, whatever went wrong.
#include "platform/printer.h"
#include "platform/report.h"

#include <QFont>
#include <QPainter>
#include <QString>
#include <memory>
#include <optional>

class TextPrinter {
public:
    // A device on a job printer of its own, set up as the current printer is.
    TextPrinter();
    explicit TextPrinter(QPrinter &printer);
    ~TextPrinter();
    TextPrinter(const TextPrinter &) = delete;
    TextPrinter &operator=(const TextPrinter &) = delete;

    // Starts the job; throws ReportError when the printer cannot be opened.
    void open(const QString &documentName = {});
    bool isOpen() const { return m_painter.isActive(); }
    void setFont(const ReportFont &font);
    // font, made smaller when needed so that text fits across the page on one line (once open).
    ReportFont fitting(ReportFont font, const QString &text) const;
    const ReportFont &font() const { return m_font; }
    // Throws ReportError when the printer fails.
    void writeLine(const QString &text);
    // Ends the job; throws ReportError when it could not be finished, or its file not written whole.
    void close();
    int pageCount() const { return m_page; }

private:
    void newLine(double height);

    std::unique_ptr<QPrinter> m_job;
    QPrinter &m_printer;
    std::optional<PrintedFile> m_file;
    QPainter m_painter;
    ReportFont m_font;
    double m_y = 0;
    int m_page = 0;
};
