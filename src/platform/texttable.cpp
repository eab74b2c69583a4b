#include "platform/texttable.h"

#include "platform/cp949.h"
#include "platform/dataset.h"
#include "platform/diskfile.h"

#include <QSaveFile>
#include <stdexcept>

namespace {
QString cellText(const QVariant &v, FieldType type)
{
    if (v.isNull())
        return {};
    if (type == FieldType::Logical)
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    QString s = v.toString();
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(u'\n', u' ');
    s.replace(u'\r', u' ');
    return s;
}
} // namespace

void TextTable::batchMove(Dataset &source)
{
    // A save dialog offers every file: a list saved over the register would replace it.
    if (const QString refusal = OwnFileRefusal(m_fileName); !refusal.isEmpty())
        throw std::runtime_error(refusal.toStdString());
    QVector<int> fields;
    for (int i = 0; i < source.fieldCount(); ++i)
        if (source.field(i).type() != FieldType::Graphic)
            fields << i;
    const int rows = source.recordCount();
    QVector<int> widths(fields.size());
    for (int c = 0; c < fields.size(); ++c) {
        const Field &f = source.field(fields[c]);
        widths[c] = f.type() == FieldType::Text ? f.size() : 0;
        for (int r = 0; r < rows; ++r)
            widths[c] = std::max(widths[c], cp949::byteLength(cellText(source.valueAt(r, fields[c]), f.type())));
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(file.errorString().toStdString());
    for (int r = 0; r < rows; ++r) {
        QString line;
        for (int c = 0; c < fields.size(); ++c) {
            const QString text = cellText(source.valueAt(r, fields[c]), source.field(fields[c]).type());
            line += c + 1 < fields.size() ? cp949::padRight(text, widths[c]) : text;
            if (c + 1 < fields.size())
                line += u' ';
        }
        while (line.endsWith(u' '))
            line.chop(1);
        line += u'\n';
        file.write(line.toUtf8());
    }
    if (!file.commit())
        throw std::runtime_error(file.errorString().toStdString());
}
