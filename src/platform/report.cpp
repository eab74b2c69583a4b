#include "platform/report.h"

#include "platform/clock.h"
#include "platform/dataset.h"
#include "platform/dialogs.h"
#include "platform/diskfile.h"
#include "platform/form.h"
#include "platform/printer.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QLabel>
#include <QTextLayout>
#include <QToolBar>

namespace {

Report::OutputHandler &outputHandler()
{
    static Report::OutputHandler h;
    return h;
}

constexpr double Epsilon = 0.01; // mm; declared heights add up to the page exactly at times

QColor greyShade() { return QColor(192, 192, 192); }

class Renderer {
public:
    Renderer(const Report &report, QPagedPaintDevice &device, QPainter &painter,
             const std::function<void(int)> &pageDone)
        : r(report), dev(device), p(painter), m_pageDone(pageDone)
    {
        m_dpiX = device.logicalDpiX();
        m_dpiY = device.logicalDpiY();
        m_paper = report.paperMm();
        const auto &pg = report.page;
        const int cols = std::max(1, pg.columns);
        m_columnWidth = (m_paper.width() - pg.leftMargin - pg.rightMargin - (cols - 1) * pg.columnSpace) / cols;
        m_printed = Clock::now().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        for (const auto &b : report.bands()) {
            switch (b->type) {
            case BandType::PageHeader: m_header.push_back(b.get()); break;
            case BandType::Title: m_title.push_back(b.get()); break;
            case BandType::ColumnHeader: m_columnHeader.push_back(b.get()); break;
            case BandType::Detail: m_detail.push_back(b.get()); break;
            case BandType::SubDetail: m_sub.push_back(b.get()); break;
            case BandType::PageFooter: m_footer.push_back(b.get()); break;
            }
        }
        for (const ReportBand *f : m_footer)
            m_footerHeight += f->height;
    }

    int run()
    {
        startPage();
        Dataset *rows = r.dataSet;
        if (!rows) { // a report without rows prints its detail once
            for (const ReportBand *d : m_detail)
                printRow(*d, true);
        } else {
            ControlsDisabled still(*rows);
            bool firstRow = true;
            for (rows->first(); !rows->eof(); rows->next()) {
                for (const ReportBand *d : m_detail)
                    printRow(*d, firstRow);
                firstRow = false;
            }
        }
        finishPage();
        return m_page;
    }

private:
    double px(double mm) const { return mm * m_dpiX / 25.4; }
    double py(double mm) const { return mm * m_dpiY / 25.4; }
    QRectF rect(double x, double y, double w, double h) const { return QRectF(px(x), py(y), px(w), py(h)); }

    QFont fontOf(const ReportItem &item, const ReportBand &band) const
    {
        ReportFont f = r.font;
        for (const ReportFont *over : {&band.font, &item.font}) {
            if (over->size > 0)
                f.size = over->size;
            if (!over->family.isEmpty())
                f.family = over->family;
            f.bold = f.bold || over->bold;
        }
        QFont font(f.family);
        font.setPointSizeF(f.size);
        font.setBold(f.bold);
        return font;
    }

    void printRow(const ReportBand &detail, bool firstRow)
    {
        if (detail.newPagePerRow && !firstRow) {
            finishPage();
            startPage();
        }
        makeRoom(detail.height);
        printBand(detail);
        for (const ReportBand *sub : m_sub) {
            Dataset *d = sub->dataSet && sub->dataSet->active() ? sub->dataSet : nullptr;
            if (d)
                d->first();
            if (!d || d->eof()) {
                if (sub->printIfEmpty) {
                    makeRoom(sub->height);
                    printBand(*sub, true);
                }
                continue;
            }
            for (; !d->eof(); d->next()) {
                makeRoom(sub->height);
                printBand(*sub);
            }
        }
    }

    void makeRoom(double height)
    {
        const double limit = m_paper.height() - r.page.bottomMargin - m_footerHeight;
        // A band taller than an empty column goes there anyway rather than loop for ever.
        if (m_y + height <= limit + Epsilon || m_y <= m_columnTop + Epsilon)
            return;
        if (m_column + 1 < std::max(1, r.page.columns)) {
            ++m_column;
            m_y = m_columnTop;
            return;
        }
        finishPage();
        startPage();
    }

    void startPage()
    {
        if (m_page > 0 && !dev.newPage())
            throw ReportError(Report::failedMessage());
        ++m_page;
        const auto &pg = r.page;
        if (pg.frame) {
            p.setPen(pen(0.3));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect(pg.leftMargin, pg.topMargin, m_paper.width() - pg.leftMargin - pg.rightMargin,
                            m_paper.height() - pg.topMargin - pg.bottomMargin));
        }
        m_column = 0;
        m_y = pg.topMargin;
        for (const ReportBand *b : m_header)
            printBand(*b);
        if (m_page == 1)
            for (const ReportBand *b : m_title)
                printBand(*b);
        for (const ReportBand *b : m_columnHeader)
            printBand(*b);
        m_columnTop = m_y;
    }

    void finishPage()
    {
        double y = m_paper.height() - r.page.bottomMargin - m_footerHeight;
        for (const ReportBand *b : m_footer) {
            m_column = 0;
            m_y = y;
            printBand(*b);
            y += b->height;
        }
        if (m_pageDone)
            m_pageDone(m_page);
    }

    QPen pen(double widthMm) const
    {
        QPen pen(Qt::black);
        pen.setWidthF(px(widthMm));
        return pen;
    }

    // Draws a band at the current position and moves below it; `empty`: without values.
    void printBand(const ReportBand &band, bool empty = false)
    {
        const double x = r.page.leftMargin + m_column * (m_columnWidth + r.page.columnSpace);
        const double y = m_y;
        const double w = band.width > 0 ? band.width : m_columnWidth;
        Dataset *source = band.dataSet ? band.dataSet : r.dataSet;
        if (band.background.isValid())
            p.fillRect(rect(x, y, w, band.height), band.background);
        p.setPen(pen(0.2));
        if (band.lineTop)
            p.drawLine(QPointF(px(x), py(y)), QPointF(px(x + w), py(y)));
        if (band.lineBottom)
            p.drawLine(QPointF(px(x), py(y + band.height)), QPointF(px(x + w), py(y + band.height)));
        for (const auto &item : band.items()) {
            const double ix = item->pageAnchored ? item->left : x + item->left;
            const double iy = item->pageAnchored ? item->top : y + item->top;
            drawItem(*item, band, source, empty, ix, iy, w);
        }
        m_y = y + band.height;
    }

    QString valueOf(const ReportItem &item, Dataset *source, bool empty) const
    {
        if (empty || !source || !source->active() || source->eof())
            return {};
        Field *f = source->findField(item.field);
        if (!f)
            return {};
        return item.stored ? f->asString() : f->displayText();
    }

    void drawItem(const ReportItem &item, const ReportBand &band, Dataset *source, bool empty,
                  double x, double y, double bandWidth)
    {
        switch (item.kind) {
        case ItemKind::Label:
            drawText(item, band, x, y, item.caption);
            break;
        case ItemKind::Text:
            drawText(item, band, x, y, valueOf(item, source, empty));
            break;
        case ItemKind::PrintDate:
            drawText(item, band, x, y, item.caption + m_printed);
            break;
        case ItemKind::PageNumber:
            drawText(item, band, x, y, item.caption + QString::number(m_page));
            break;
        case ItemKind::Memo:
            drawMemo(item, band, x, y, valueOf(item, source, empty));
            break;
        case ItemKind::Picture:
            drawPicture(item, source, empty, x, y);
            break;
        case ItemKind::HRule: {
            const double w = item.width > 0 ? item.width : bandWidth - item.left;
            p.setPen(pen(0.2));
            p.drawLine(QPointF(px(x), py(y)), QPointF(px(x + w), py(y)));
            break;
        }
        case ItemKind::VRule:
            p.setPen(pen(0.2));
            p.drawLine(QPointF(px(x), py(y)), QPointF(px(x), py(y + item.height)));
            break;
        }
    }

    void drawText(const ReportItem &item, const ReportBand &band, double x, double y, const QString &text)
    {
        const QFont font = fontOf(item, band);
        const QFontMetricsF fm(font, &dev);
        if (item.background.isValid())
            p.fillRect(rect(x, y, item.width, item.height > 0 ? item.height : fm.height() * 25.4 / m_dpiY),
                       item.background);
        if (text.isEmpty())
            return;
        double left = px(x);
        if (item.alignment & Qt::AlignRight) {
            left = px(x + item.width) - fm.horizontalAdvance(text);
        } else if (item.alignment & Qt::AlignHCenter) {
            const double w = item.width > 0 ? item.width : bandWidth(band);
            left = px(x) + (px(w) - fm.horizontalAdvance(text)) / 2;
        }
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(left, py(y) + fm.ascent()), text);
    }

    double bandWidth(const ReportBand &band) const { return band.width > 0 ? band.width : m_columnWidth; }

    void drawMemo(const ReportItem &item, const ReportBand &band, double x, double y, const QString &text)
    {
        if (text.isEmpty())
            return;
        const QFont font = fontOf(item, band);
        QString body = text;
        body.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
        body.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(body, font, &dev);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        const double width = px(item.width), height = py(item.height);
        double used = 0;
        int fitting = 0;
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(width);
            // The box does not grow: the line that would cross its bottom and all after it
            // are not printed.
            if (used + line.height() > height + 0.5)
                break;
            line.setPosition(QPointF(0, used));
            used += line.height();
            ++fitting;
        }
        layout.endLayout();
        p.setPen(Qt::black);
        for (int i = 0; i < fitting; ++i)
            layout.lineAt(i).draw(&p, QPointF(px(x), py(y)));
    }

    void drawPicture(const ReportItem &item, Dataset *source, bool empty, double x, double y)
    {
        const QRectF box = rect(x, y, item.width, item.height);
        if (!empty && source && source->active() && !source->eof()) {
            if (Field *f = source->findField(item.field)) {
                const QByteArray bytes = f->asBytes();
                const QImage image = bytes.isEmpty() ? QImage() : QImage::fromData(bytes);
                if (!image.isNull()) {
                    if (item.stretch) {
                        p.drawImage(box, image);
                    } else {
                        // At its own size from the top-left corner; shrunk to the box, keeping
                        // its shape, when it is larger.
                        QSizeF own(px(image.width() * r.pixelMm()), py(image.height() * r.pixelMm()));
                        if (own.width() > box.width() || own.height() > box.height())
                            own.scale(box.size(), Qt::KeepAspectRatio);
                        p.drawImage(QRectF(box.topLeft(), own), image);
                    }
                }
            }
        }
        if (item.framed) {
            p.setPen(pen(0.2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(box);
        }
    }

    const Report &r;
    QPagedPaintDevice &dev;
    QPainter &p;
    std::function<void(int)> m_pageDone;
    double m_dpiX = 72, m_dpiY = 72;
    QSizeF m_paper;
    double m_columnWidth = 0;
    QString m_printed;
    std::vector<const ReportBand *> m_header, m_title, m_columnHeader, m_detail, m_sub, m_footer;
    double m_footerHeight = 0;
    int m_page = 0;
    int m_column = 0;
    double m_y = 0;
    double m_columnTop = 0;
};

QPageLayout paperLayout(const Report::Page &page)
{
    return QPageLayout(QPageSize(page.size), page.orientation, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

// Each report prints on its own paper and orientation: the preview's orientation buttons and
// page setup would change nothing, so they go. Its print button answers Ctrl+P, or the preview
// could not be printed by keyboard. Qt names these actions by their captions alone.
void keepWorkingPreviewControls(QPrintPreviewDialog &dialog)
{
    const auto caption = [](const char *text) { return QCoreApplication::translate("QPrintPreviewDialog", text); };
    const QStringList idle{caption("Portrait"), caption("Landscape"), caption("Page setup")};
    for (QAction *action : dialog.findChildren<QAction *>()) {
        if (idle.contains(action->text()))
            action->setVisible(false);
        else if (action->text() == caption("Print"))
            action->setShortcut(QKeySequence::Print);
    }
    for (QToolBar *bar : dialog.findChildren<QToolBar *>()) {
        bool afterSeparator = true; // a separator left beside another goes too
        for (QAction *action : bar->actions()) {
            if (!action->isVisible())
                continue;
            if (action->isSeparator() && afterSeparator)
                action->setVisible(false);
            afterSeparator = action->isSeparator();
        }
    }
}

} // namespace

ReportBand::ReportBand(BandType type_, double height_, QString name_)
    : type(type_), height(height_), name(std::move(name_))
{
}

ReportItem &ReportBand::add(const ItemDecl &d)
{
    auto item = std::make_unique<ReportItem>();
    item->kind = d.kind;
    item->name = QString::fromUtf8(d.name);
    if (d.kind == ItemKind::Text || d.kind == ItemKind::Memo || d.kind == ItemKind::Picture)
        item->field = QString::fromUtf8(d.text);
    else
        item->caption = QString::fromUtf8(d.text);
    item->left = d.left;
    item->top = d.top;
    item->width = d.width;
    item->height = d.height;
    item->font = ReportFont{QString::fromUtf8(d.family), d.size, d.bold};
    item->alignment = d.alignment;
    if (d.grey)
        item->background = greyShade();
    item->stretch = d.stretch;
    item->framed = d.framed;
    item->stored = d.stored;
    item->pageAnchored = d.pageAnchored;
    m_items.push_back(std::move(item));
    return *m_items.back();
}

Report::Report(QObject *owner) : QObject(owner) {}

Report::~Report() = default;

void Report::setMargins(double left, double top, double right, double bottom)
{
    page.leftMargin = left;
    page.topMargin = top;
    page.rightMargin = right;
    page.bottomMargin = bottom;
}

ReportBand &Report::addBand(BandType type, double height, const QString &name)
{
    m_bands.push_back(std::make_unique<ReportBand>(type, height, name));
    return *m_bands.back();
}

ReportBand *Report::band(const QString &name) const
{
    for (const auto &b : m_bands)
        if (b->name == name)
            return b.get();
    return nullptr;
}

ReportItem *Report::item(const QString &name) const
{
    for (const auto &b : m_bands)
        for (const auto &i : b->items())
            if (i->name == name)
                return i.get();
    return nullptr;
}

QSizeF Report::paperMm() const
{
    const QSizeF s = QPageSize(page.size).size(QPageSize::Millimeter);
    return page.orientation == QPageLayout::Landscape ? s.transposed() : s;
}

QString Report::cannotOpenMessage()
{
    return QStringLiteral("프린터를 열 수 없습니다. 인쇄 설정을 확인하세요.");
}

QString Report::failedMessage()
{
    return QStringLiteral("인쇄하는 중에 오류가 발생했습니다.");
}

QString Report::paperMessage()
{
    return QStringLiteral("프린터가 이 인쇄물의 용지를 받지 않습니다. 인쇄 설정을 확인하세요.");
}

void Report::setOutputHandler(OutputHandler handler)
{
    outputHandler() = std::move(handler);
}

void Report::checkFields() const
{
    // A misspelt field in a layout shows at once rather than as a blank on paper.
    for (const auto &b : m_bands) {
        Dataset *source = b->dataSet ? b->dataSet : dataSet;
        if (!source || !source->active())
            continue;
        for (const auto &i : b->items())
            if (!i->field.isEmpty() && !source->findField(i->field))
                throw ReportError(QStringLiteral("'%1' 필드가 없습니다.").arg(i->field));
    }
}

int Report::render(QPagedPaintDevice &device, QPainter &painter, const std::function<void(int)> &pageDone)
{
    checkFields();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    Renderer renderer(*this, device, painter, pageDone);
    return renderer.run();
}

int Report::PrintToPdf(const QString &fileName)
{
    QBuffer bytes; // the writer would not tell a failed write
    bytes.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter pdf(&bytes);
        pdf.setTitle(title);
        pdf.setCreator(ApplicationTitle());
        pdf.setPageLayout(paperLayout(page));
        QPainter painter;
        if (!painter.begin(&pdf))
            throw ReportError(cannotOpenMessage());
        try {
            pages = render(pdf, painter);
        } catch (...) {
            painter.end();
            throw;
        }
        if (!painter.end())
            throw ReportError(failedMessage());
    }
    if (const QString failure = WritePrintout(fileName, bytes.data()); !failure.isEmpty())
        throw ReportError(failure);
    return pages;
}

void Report::setUpJob(QPrinter &printer) const
{
    printer.setFullPage(true);
    printer.setDocName(title);
    // Size and orientation one at a time: a printer refuses a whole layout whose margins reach
    // into its unprintable edge, and would keep the paper it had. The report draws from the
    // paper's corner, so the margins need only be the least the printer takes.
    if (!printer.setPageSize(QPageSize(page.size)) || !printer.setPageOrientation(page.orientation))
        throw ReportError(paperMessage());
    printer.setPageMargins(printer.pageLayout().minimumMargins(), printer.pageLayout().units());
}

void Report::Print()
{
    if (outputHandler()) {
        outputHandler()(*this, Output::Print);
        return;
    }
    JobPrinter printer;
    setUpJob(printer);
    PrintedFile file(printer);
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError(cannotOpenMessage());
    // The progress window shows only when the job takes a while; the printout needs no input.
    QLabel progress(QStringLiteral("인쇄하고 있습니다..."), QApplication::activeWindow(),
                    Qt::Dialog | Qt::WindowTitleHint);
    progress.setWindowTitle(title);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMargin(24);
    QElapsedTimer clock;
    clock.start();
    try {
        render(printer, painter, [&](int page) {
            if (clock.elapsed() < 500)
                return;
            progress.setText(QStringLiteral("인쇄하고 있습니다... (%1 페이지)").arg(page));
            if (!progress.isVisible())
                progress.show();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw ReportError(failedMessage());
    if (const QString failure = file.finish(); !failure.isEmpty())
        throw ReportError(failure);
}

void Report::Preview()
{
    if (outputHandler()) {
        outputHandler()(*this, Output::Preview);
        return;
    }
    JobPrinter printer;
    setUpJob(printer);
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(title);
    keepWorkingPreviewControls(dialog);
    QString failure;
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this, &failure](QPrinter *target) {
        // The preview widget asks again after every change of its settings, and once more for
        // its print button; a failure is kept for after the window closes.
        // Its print button may aim the printer at a file the user picked: never the register.
        if (const QString refusal = OwnFileRefusal(target->outputFileName()); !refusal.isEmpty()) {
            failure = refusal;
            return;
        }
        try {
            // The print dialog puts the chosen printer's own paper in; the report's paper wins.
            setUpJob(*target);
            PrintedFile file(*target);
            QPainter painter;
            if (!painter.begin(target))
                throw ReportError(cannotOpenMessage());
            try {
                render(*target, painter);
            } catch (...) {
                painter.end();
                throw;
            }
            if (!painter.end() || target->printerState() == QPrinter::Error)
                throw ReportError(failedMessage());
            failure = file.finish();
        } catch (const ReportError &e) {
            failure = e.message();
        } catch (const std::exception &e) {
            failure = failedMessage() + QStringLiteral("\r\n") + QString::fromUtf8(e.what());
        }
    });
    dialog.resize(900, 700);
    KeepOnScreen(&dialog);
    ExecModal(dialog);
    if (!failure.isEmpty())
        throw ReportError(failure);
}
