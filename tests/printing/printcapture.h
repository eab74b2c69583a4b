#pragma once
// What the printing tests share: every Preview and Print caught into its own PDF, the settings
// the print dialog reads, and small pictures.
#include "core/global.h"
#include "pdfcheck.h"
#include "platform/inifile.h"
#include "platform/report.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <memory>

inline QString u(const char *s) { return QString::fromUtf8(s); }

inline QByteArray bitmap(QColor colour, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    img.save(&buffer, "BMP");
    return bytes;
}

// Whether a page picture has (about) this colour at a point given in millimetres.
inline bool near(const QImage &page, int dpi, double xMm, double yMm, QColor c)
{
    const QColor p = page.pixelColor(int(xMm / 25.4 * dpi), int(yMm / 25.4 * dpi));
    return std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) < 12;
}

// Settings as a first start has them, with the INI file in the given folder.
struct PrintSettings {
    explicit PrintSettings(const QString &folder) : ini(folder + u("/KELMO.INI"))
    {
        IniFile = &ini;
        MarginTop = 14;
        MarginLeft = 4;
        AreaOption = BaptOption = 0;
        ChurchName = u("사랑교회");
        PrintSortField = u("NAME");
    }
    ~PrintSettings()
    {
        IniFile = nullptr;
        AreaOption = BaptOption = 0;
    }
    IniStore ini;
};

class CapturedOutput {
public:
    struct Output {
        QString title;
        Report::Output kind;
        QString file;
        double left, top, right, bottom; // margins as the report had them
    };

    CapturedOutput()
    {
        Report::setOutputHandler([this](Report &r, Report::Output kind) {
            const QString file = m_dir.filePath(QStringLiteral("out%1.pdf").arg(m_outputs.size()));
            r.PrintToPdf(file);
            m_outputs.append({r.title, kind, file, r.page.leftMargin, r.page.topMargin, r.page.rightMargin,
                              r.page.bottomMargin});
        });
    }
    ~CapturedOutput() { Report::setOutputHandler({}); }
    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    const QList<Output> &outputs() const { return m_outputs; }
    int size() const { return int(m_outputs.size()); }
    PdfDoc pdf(int i) const { return PdfDoc(m_outputs.at(i).file); }

private:
    QTemporaryDir m_dir;
    QList<Output> m_outputs;
};
