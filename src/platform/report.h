#pragma once
// Printed reports as declared data: a page set-up, bands in a fixed printing order and items
// placed on the bands in millimetres. One renderer draws a report on the current printer, a PDF
// file or the preview window, straight onto the device one page after the other, so that no
// more than the page being drawn is held beyond what the device itself keeps.
//
// Printing order on a page: page header (every page), title (first page), column header (every
// page), then the detail band once per row of the report's dataset, each followed by its
// sub-detail bands (one per row of their own dataset, or once with empty items when it has
// none). A band that does not fit above the page footer goes to the next column or page; the
// page footer is pinned to the bottom margin of every page, the last included.
#include <QColor>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class Dataset;
class QPagedPaintDevice;
class QPainter;
class QPrinter;

// A report that could not be output; the text is the message for the user.
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

struct ReportFont {
    QString family; // a Windows family name; the font substitutes map it
    double size = 0; // points; 0 takes the band's or report's font
    bool bold = false;
};

enum class ItemKind {
    Label,      // caption
    Text,       // one field on one line, through its display mask unless `stored`
    Memo,       // a field's text wrapped in its box; lines beyond the box are not printed
    Picture,    // a graphic field; stretched into its box, or at its own size when it fits
    PrintDate,  // caption followed by the date and time of printing
    PageNumber, // caption followed by the page number
    HRule,      // line at `top`; across the band unless a width is given
    VRule,      // line at `left` from `top`, `height` long
};

struct ReportItem {
    ItemKind kind = ItemKind::Label;
    QString name;
    QString caption;
    QString field;
    // Millimetres from the band's top-left corner (the paper's, when pageAnchored). A text
    // item with no width prints from its left edge however long it is; with a width, the
    // alignment places it in that box (right-aligned text ends at left + width).
    double left = 0, top = 0, width = 0, height = 0;
    ReportFont font;
    Qt::Alignment alignment = Qt::AlignLeft;
    QColor background;      // invalid: transparent
    bool stretch = true;    // pictures
    bool framed = false;    // a line around the item's box
    bool stored = false;    // text items: the value as stored, without the field's mask
    bool pageAnchored = false;
};

// One item of a layout's declaration; compact constructors below keep the tables readable.
struct ItemDecl {
    ItemKind kind = ItemKind::Label;
    const char *text = ""; // caption (labels, system data) or field name (data items)
    double left = 0, top = 0, width = 0, height = 0;
    double size = 0;
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    const char *name = "";
    const char *family = "";
    bool grey = false;
    bool stretch = true;
    bool framed = false;
    bool stored = false;
    bool pageAnchored = false;

    constexpr ItemDecl named(const char *n) const { ItemDecl d = *this; d.name = n; return d; }
    constexpr ItemDecl pt(double s) const { ItemDecl d = *this; d.size = s; return d; }
    constexpr ItemDecl bolded() const { ItemDecl d = *this; d.bold = true; return d; }
    constexpr ItemDecl face(const char *f) const { ItemDecl d = *this; d.family = f; return d; }
    constexpr ItemDecl right(double w) const
    {
        ItemDecl d = *this; d.width = w; d.alignment = Qt::AlignRight; return d;
    }
    constexpr ItemDecl centred(double w = 0) const
    {
        ItemDecl d = *this; d.width = w; d.alignment = Qt::AlignHCenter; return d;
    }
    constexpr ItemDecl box(double w, double h) const { ItemDecl d = *this; d.width = w; d.height = h; return d; }
    constexpr ItemDecl shaded(double w, double h) const
    {
        ItemDecl d = box(w, h); d.grey = true; return d;
    }
    constexpr ItemDecl asStored() const { ItemDecl d = *this; d.stored = true; return d; }
    constexpr ItemDecl unstretched() const { ItemDecl d = *this; d.stretch = false; return d; }
    constexpr ItemDecl withFrame() const { ItemDecl d = *this; d.framed = true; return d; }
    constexpr ItemDecl onPage() const { ItemDecl d = *this; d.pageAnchored = true; return d; }
};

namespace decl {
constexpr ItemDecl label(const char *caption, double left, double top)
{
    ItemDecl d; d.kind = ItemKind::Label; d.text = caption; d.left = left; d.top = top; return d;
}
constexpr ItemDecl text(const char *field, double left, double top)
{
    ItemDecl d; d.kind = ItemKind::Text; d.text = field; d.left = left; d.top = top; return d;
}
constexpr ItemDecl memo(const char *field, double left, double top, double width, double height)
{
    ItemDecl d; d.kind = ItemKind::Memo; d.text = field; d.left = left; d.top = top;
    d.width = width; d.height = height; return d;
}
constexpr ItemDecl picture(const char *field, double left, double top, double width, double height)
{
    ItemDecl d; d.kind = ItemKind::Picture; d.text = field; d.left = left; d.top = top;
    d.width = width; d.height = height; return d;
}
constexpr ItemDecl printDate(const char *caption, double left, double top)
{
    ItemDecl d = label(caption, left, top); d.kind = ItemKind::PrintDate; return d;
}
constexpr ItemDecl pageNumber(const char *caption, double left, double top)
{
    ItemDecl d = label(caption, left, top); d.kind = ItemKind::PageNumber; return d;
}
// Across the whole band.
constexpr ItemDecl rule(double top)
{
    ItemDecl d; d.kind = ItemKind::HRule; d.top = top; return d;
}
constexpr ItemDecl line(double left, double top, double width)
{
    ItemDecl d = rule(top); d.left = left; d.width = width; return d;
}
constexpr ItemDecl vline(double left, double top, double height)
{
    ItemDecl d; d.kind = ItemKind::VRule; d.left = left; d.top = top; d.height = height; return d;
}
} // namespace decl

enum class BandType { PageHeader, Title, ColumnHeader, Detail, SubDetail, PageFooter };

class ReportBand {
public:
    ReportBand(BandType type, double height, QString name);

    BandType type;
    double height;
    QString name;
    double width = 0;         // 0: the column's width
    bool lineTop = false;
    bool lineBottom = false;
    QColor background;        // invalid: none
    ReportFont font;          // items without a size of their own take this one
    bool newPagePerRow = false; // detail: every row but the first starts a new page
    // Sub-detail: the rows it prints. Any band: where its data items read their fields (the
    // report's dataset when none).
    Dataset *dataSet = nullptr;
    bool printIfEmpty = true; // sub-detail: once with empty items when its dataset has no row

    ReportItem &add(const ItemDecl &item);
    template <size_t N> void add(const ItemDecl (&items)[N])
    {
        for (const ItemDecl &i : items)
            add(i);
    }
    const std::vector<std::unique_ptr<ReportItem>> &items() const { return m_items; }

private:
    std::vector<std::unique_ptr<ReportItem>> m_items;
};

class Report : public QObject {
    Q_OBJECT
public:
    explicit Report(QObject *owner = nullptr);
    ~Report() override;

    struct Page {
        QPageSize::PageSizeId size = QPageSize::A4;
        QPageLayout::Orientation orientation = QPageLayout::Portrait;
        // Millimetres from the paper's edges.
        double leftMargin = 0, topMargin = 0, rightMargin = 0, bottomMargin = 0;
        int columns = 1;
        double columnSpace = 0;
        bool frame = false; // a line around the area inside the margins
    } page;
    void setMargins(double left, double top, double right, double bottom);

    QString title;               // document name of the print job
    ReportFont font{QStringLiteral("바탕체"), 10, false};
    double zoom = 1.0;           // design scale: a picture's own size is its pixels at 96 dpi at this zoom
    Dataset *dataSet = nullptr;  // the detail band's rows; none: the report prints one page

    ReportBand &addBand(BandType type, double height, const QString &name = {});
    ReportBand *band(const QString &name) const;
    // The item of that name in any band; nullptr when there is none.
    ReportItem *item(const QString &name) const;
    const std::vector<std::unique_ptr<ReportBand>> &bands() const { return m_bands; }

    // Millimetres of one layout pixel (pictures shown at their own size).
    double pixelMm() const { return 25.4 / 96.0 / zoom; }
    // Width and height of the paper as the report is oriented.
    QSizeF paperMm() const;

    // The modal preview window on the current printer; its print button prints there, or
    // wherever its print dialog chooses for this job.
    void Preview();
    // Prints on the current printer at once, with a progress window and no printer dialog.
    void Print();
    // Writes the report to a PDF file; returns its page count.
    int PrintToPdf(const QString &fileName);
    // Draws the report on a device whose painter is already active; returns the pages drawn.
    // The device must start on a blank page and be set to the report's paper with no margins.
    int render(QPagedPaintDevice &device, QPainter &painter,
               const std::function<void(int page)> &pageDone = {});

    // Test seam: while set, Preview and Print hand the report to it instead of a device.
    enum class Output { Preview, Print };
    using OutputHandler = std::function<void(Report &, Output)>;
    static void setOutputHandler(OutputHandler handler);

    // Messages of the failures Print and PrintToPdf report.
    static QString cannotOpenMessage();
    static QString failedMessage();
    // The printer would not take the report's paper or orientation.
    static QString paperMessage();

private:
    // Puts a job's printer on the report's paper, whatever paper it had.
    void setUpJob(QPrinter &printer) const;
    void checkFields() const;

    std::vector<std::unique_ptr<ReportBand>> m_bands;
};
