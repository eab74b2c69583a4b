#include "platform/textprinter.h"

#include "platform/printer.h"

#include <QFontMetricsF>
#include <QPrinter>
#include <QTextBoundaryFinder>
#include <cmath>
#include <exception>

namespace {
// A fresh canvas writes in this font until the first setFont.
const ReportFont DeviceFont{QStringLiteral("굴림체"), 10, false};

QFont qfont(const ReportFont &font)
{
    QFont f(font.family);
    f.setPointSizeF(font.size);
    f.setBold(font.bold);
    return f;
}
} // namespace

TextPrinter::TextPrinter() : m_job(std::make_unique<JobPrinter>()), m_printer(*m_job), m_font(DeviceFont) {}

TextPrinter::TextPrinter(QPrinter &printer) : m_printer(printer), m_font(DeviceFont) {}

TextPrinter::~TextPrinter()
{
    if (!m_painter.isActive())
        return;
    m_painter.end();
    // Closed here, a finished job is written too. One cut short by a failure is not: its file
    // stays as it was, and the failure on its way is what is told.
    if (std::uncaught_exceptions() == 0)
        m_file->finish();
}

void TextPrinter::open(const QString &documentName)
{
    // Lines start at the printable area, as the device's text file did.
    m_printer.setFullPage(false);
    m_printer.setDocName(documentName);
    m_file.emplace(m_printer);
    if (!m_painter.begin(&m_printer))
        throw ReportError(Report::cannotOpenMessage());
    m_y = 0;
    m_page = 1;
}

void TextPrinter::setFont(const ReportFont &font)
{
    m_font = font;
}

ReportFont TextPrinter::fitting(ReportFont font, const QString &text) const
{
    const double width = m_printer.pageRect(QPrinter::DevicePixel).width();
    // Glyph advances do not scale quite linearly with the size: shrink until it fits.
    for (int tries = 0; tries < 5 && font.size > 1; ++tries) {
        const double advance = QFontMetricsF(qfont(font), &m_printer).horizontalAdvance(text);
        if (advance <= width)
            break;
        font.size = std::floor(font.size * width / advance * 10) / 10;
    }
    return font;
}

void TextPrinter::newLine(double height)
{
    const double pageHeight = m_printer.pageRect(QPrinter::DevicePixel).height();
    if (m_y > 0 && m_y + height > pageHeight) {
        if (!m_printer.newPage())
            throw ReportError(Report::failedMessage());
        ++m_page;
        m_y = 0;
    }
}

void TextPrinter::writeLine(const QString &text)
{
    if (!m_painter.isActive())
        throw ReportError(Report::failedMessage());
    const QFont font = qfont(m_font);
    const QFontMetricsF fm(font, &m_printer);
    const double width = m_printer.pageRect(QPrinter::DevicePixel).width();
    // The substitute fonts have no leading of their own; the Windows ones had some.
    const double lineHeight = std::max(fm.lineSpacing(), fm.height() * 1.15);
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);

    // Cut between characters (never inside one) wherever the page width runs out.
    QString rest = text;
    do {
        int cut = rest.size();
        if (fm.horizontalAdvance(rest) > width) {
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, rest);
            const int first = int(graphemes.toNextBoundary());
            cut = first; // at least one character per line, however narrow the page
            for (int pos = int(graphemes.toNextBoundary()); pos > 0; pos = int(graphemes.toNextBoundary())) {
                if (fm.horizontalAdvance(rest.left(pos)) > width)
                    break;
                cut = pos;
            }
        }
        newLine(lineHeight);
        m_painter.drawText(QPointF(0, m_y + fm.ascent()), rest.left(cut));
        m_y += lineHeight;
        rest = rest.mid(cut);
    } while (!rest.isEmpty());
    if (m_printer.printerState() == QPrinter::Error)
        throw ReportError(Report::failedMessage());
}

void TextPrinter::close()
{
    if (!m_painter.isActive())
        return;
    const bool ended = m_painter.end();
    if (!ended || m_printer.printerState() == QPrinter::Error)
        throw ReportError(Report::failedMessage());
    if (const QString failure = m_file->finish(); !failure.isEmpty())
        throw ReportError(failure);
}
