#pragma once
// Reads a PDF back through poppler's tools: page count, orientation and title (pdfinfo), the
// words with their boxes in millimetres (pdftotext -bbox), the pages as pictures (pdftoppm).
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

struct PdfWord {
    QString text;
    double left, top, right, bottom; // mm from the paper's top-left corner
    int page;                         // 1-based
};

class PdfDoc {
public:
    explicit PdfDoc(const QString &file) : m_file(file)
    {
        const QString info = run(u"pdfinfo", {QStringLiteral("-l"), QStringLiteral("9999"), file});
        m_pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info).captured(1).toInt();
        m_title = QRegularExpression(QStringLiteral("Title:\\s+(.*)\\n")).match(info).captured(1).trimmed();
        static const QRegularExpression sizeRe(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+)"));
        for (auto it = sizeRe.globalMatch(info); it.hasNext();) {
            const auto m = it.next();
            m_sizes << QSizeF(mm(m.captured(1)), mm(m.captured(2)));
        }
        static const QRegularExpression wordRe(QStringLiteral(
            "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
        const QStringList pages = run(u"pdftotext", {QStringLiteral("-bbox"), file, QStringLiteral("-")})
                                      .split(QStringLiteral("<page "));
        for (int page = 1; page < pages.size(); ++page) {
            for (auto it = wordRe.globalMatch(pages[page]); it.hasNext();) {
                const auto m = it.next();
                // Qt's PDF writer maps the blank of these fonts back to U+0001; a run drawn in one
                // go stays one "word" with its blanks.
                QString text = QTextDocumentFragment::fromHtml(m.captured(5)).toPlainText();
                text.replace(QChar(1), QLatin1Char(' '));
                m_words << PdfWord{text, mm(m.captured(1)), mm(m.captured(2)), mm(m.captured(3)),
                                   mm(m.captured(4)), page};
            }
        }
    }

    int pages() const { return m_pages; }
    QString title() const { return m_title; }
    bool landscape(int page) const { return size(page).width() > size(page).height(); }
    // Width and height of a page in millimetres.
    QSizeF size(int page) const { return m_sizes.value(page - 1); }
    QList<PdfWord> words(int page) const
    {
        QList<PdfWord> out;
        for (const PdfWord &w : m_words)
            if (w.page == page)
                out << w;
        return out;
    }
    // The words of a page in reading order, joined by blanks.
    QString text(int page) const
    {
        QStringList t;
        for (const PdfWord &w : words(page))
            t << w.text;
        return t.join(u' ');
    }
    // The nth word (0-based) with exactly this text, on a page or anywhere (page 0).
    const PdfWord *find(const QString &text, int page = 0, int nth = 0) const
    {
        for (const PdfWord &w : m_words)
            if (w.text == text && (page == 0 || w.page == page) && nth-- == 0)
                return &w;
        return nullptr;
    }
    int count(const QString &text, int page = 0) const
    {
        return int(std::count_if(m_words.begin(), m_words.end(), [&](const PdfWord &w) {
            return w.text == text && (page == 0 || w.page == page);
        }));
    }
    QImage image(int page, int dpi) const
    {
        QTemporaryDir dir;
        const QString prefix = dir.filePath(QStringLiteral("p"));
        run(u"pdftoppm", {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
                          QString::number(page), QStringLiteral("-singlefile"), m_file, prefix});
        return QImage(prefix + QStringLiteral(".png"));
    }

private:
    static double mm(const QString &pt) { return pt.toDouble() * 25.4 / 72.0; }
    static QString run(QStringView program, const QStringList &args)
    {
        QProcess p;
        p.start(program.toString(), args);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            QTest::qFail(qPrintable(program.toString() + QStringLiteral(" failed")), __FILE__, __LINE__);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QString m_file;
    int m_pages = 0;
    QString m_title;
    QList<QSizeF> m_sizes;
    QList<PdfWord> m_words;
};

// Within half a millimetre.
#define QCOMPARE_MM(actual, expected)                                                              \
    do {                                                                                           \
        const double a_ = (actual), e_ = (expected);                                               \
        if (std::abs(a_ - e_) > 0.5)                                                               \
            QFAIL(qPrintable(QStringLiteral(#actual " is %1 mm, expected %2 mm").arg(a_).arg(e_))); \
    } while (false)
