#include "platform/inifile.h"

#include "platform/cp949.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>

#include <climits>

namespace {

struct Content {
    QStringList lines;
    bool crlf = false; // a file brought over from Windows keeps its line ends
    bool bom = false;
};

[[noreturn]] void fail(const QString &message)
{
    throw IniError(message.toStdString());
}

// A settings file brought over from the Windows program is in code page 949; it is written back
// as UTF-8.
QString decodeText(const QByteArray &data)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(data);
    return utf8.hasError() ? cp949::decode(data) : text;
}

Content load(const QString &fileName)
{
    Content c;
    QFile file(fileName);
    if (!file.exists())
        return c;
    if (QFileInfo(fileName).isDir())
        fail(QStringLiteral("Cannot read settings file %1: it is a folder").arg(fileName));
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("Cannot read settings file %1: %2").arg(fileName, file.errorString()));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(QStringLiteral("Cannot read settings file %1: %2").arg(fileName, file.errorString()));
    if (data.startsWith("\xEF\xBB\xBF")) {
        c.bom = true;
        data.remove(0, 3);
    }
    c.crlf = data.contains("\r\n");
    if (data.isEmpty())
        return c;
    c.lines = decodeText(data).split(QLatin1Char('\n'));
    if (c.lines.last().isEmpty()) // the final line end does not start another line
        c.lines.removeLast();
    for (QString &line : c.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return c;
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// The section name of a header line, or nothing for any other line.
std::optional<QString> headerName(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = t.lastIndexOf(QLatin1Char(']'));
    return t.mid(1, close > 0 ? close - 1 : -1).trimmed();
}

struct KeyLine {
    QString key;
    QString value;
    qsizetype valueStart; // where the value text begins in the raw line
};

std::optional<KeyLine> keyLine(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    qsizetype start = eq + 1;
    while (start < line.size() && line.at(start).isSpace())
        ++start;
    return KeyLine{line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), start};
}

struct Range {
    qsizetype header; // index of the "[section]" line
    qsizetype end;    // one past the section's last line
};

std::optional<Range> findSection(const QStringList &lines, const QString &section,
                                 qsizetype from = 0)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        const auto name = headerName(lines.at(i));
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !headerName(lines.at(end)))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

// Index of the key's first line in the section, or -1.
qsizetype findKey(const QStringList &lines, const Range &r, const QString &key)
{
    for (qsizetype i = r.header + 1; i < r.end; ++i) {
        const auto kl = keyLine(lines.at(i));
        if (kl && sameName(kl->key, key))
            return i;
    }
    return -1;
}

std::optional<QString> lookup(const QString &fileName, const QString &section, const QString &key)
{
    const Content c = load(fileName);
    const auto r = findSection(c.lines, section.trimmed());
    if (!r)
        return std::nullopt;
    const qsizetype i = findKey(c.lines, *r, key.trimmed());
    if (i < 0)
        return std::nullopt;
    return keyLine(c.lines.at(i))->value;
}

bool hasLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

void checkName(const QString &section, const QString &key)
{
    if (section.isEmpty() || hasLineBreak(section))
        fail(QStringLiteral("Invalid settings section name \"%1\"").arg(section));
    if (key.isEmpty() || hasLineBreak(key) || key.contains(QLatin1Char('=')) ||
        key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('[')))
        fail(QStringLiteral("Invalid settings key name \"%1\"").arg(key));
}

void save(const QString &fileName, const Content &c,
          const std::optional<QFileDevice::Permissions> &permissions)
{
    const QString eol = c.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray data = c.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QString &line : c.lines)
        data += (line + eol).toUtf8();

    QSaveFile file(fileName);
    const auto failed = [&] {
        fail(QStringLiteral("Cannot write settings file %1: %2").arg(fileName, file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        failed();
    // Before any content goes in, so a secret is never readable by others even briefly.
    if (permissions && !file.setPermissions(*permissions))
        failed();
    if (file.write(data) != data.size())
        failed();
    if (!file.commit())
        failed();
}

bool parseInteger(const QString &s, int &result)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+')))
        negative = s.at(i++) == QLatin1Char('-');
    int base = 10;
    if (s.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        i += 2;
    }
    const qint64 limit = negative ? qint64(INT_MAX) + 1 : INT_MAX;
    qint64 value = 0;
    qsizetype digits = 0;
    for (; i < s.size(); ++i, ++digits) {
        const char16_t ch = s.at(i).unicode();
        int d;
        if (ch >= u'0' && ch <= u'9')
            d = ch - u'0';
        else if (base == 16 && ch >= u'a' && ch <= u'f')
            d = ch - u'a' + 10;
        else if (base == 16 && ch >= u'A' && ch <= u'F')
            d = ch - u'A' + 10;
        else
            break;
        value = value * base + d;
        if (value > limit)
            return false;
    }
    if (digits == 0)
        return false;
    result = int(negative ? -value : value);
    return true;
}

} // namespace

IniStore::IniStore(const QString &fileName) : m_fileName(fileName) {}

QString IniStore::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    return lookup(m_fileName, section, key).value_or(defaultValue);
}

int IniStore::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const auto text = lookup(m_fileName, section, key);
    int value = 0;
    return text && parseInteger(*text, value) ? value : defaultValue;
}

bool IniStore::SectionExists(const QString &section) const
{
    return findSection(load(m_fileName).lines, section.trimmed()).has_value();
}

QStringList IniStore::ReadSections() const
{
    QStringList out;
    for (const QString &line : load(m_fileName).lines)
        if (const auto name = headerName(line); name && !out.contains(*name, Qt::CaseInsensitive))
            out << *name;
    return out;
}

bool IniStore::ValueExists(const QString &section, const QString &key) const
{
    return lookup(m_fileName, section, key).has_value();
}

void IniStore::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString sec = section.trimmed(), k = key.trimmed();
    checkName(sec, k);
    if (hasLineBreak(value))
        fail(QStringLiteral("Settings value for %1 has a line break").arg(k));

    Content c = load(m_fileName);
    if (const auto r = findSection(c.lines, sec)) {
        const qsizetype i = findKey(c.lines, *r, k);
        if (i >= 0) {
            // Only the value changes; the key's spelling and spacing stay as they were.
            QString &line = c.lines[i];
            line = line.left(keyLine(line)->valueStart) + value;
        } else {
            qsizetype at = r->header + 1; // after the last non-blank line: blank ones separate
            for (qsizetype j = r->header + 1; j < r->end; ++j)
                if (!c.lines.at(j).trimmed().isEmpty())
                    at = j + 1;
            c.lines.insert(at, k + QLatin1Char('=') + value);
        }
    } else {
        if (!c.lines.isEmpty() && !c.lines.last().trimmed().isEmpty())
            c.lines.append(QString());
        c.lines.append(QLatin1Char('[') + sec + QLatin1Char(']'));
        c.lines.append(k + QLatin1Char('=') + value);
    }
    save(m_fileName, c, m_permissions);
}

void IniStore::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniStore::EraseSection(const QString &section)
{
    Content c = load(m_fileName);
    bool changed = false;
    // Every copy goes, or a duplicate further down would take the erased one's place.
    while (const auto r = findSection(c.lines, section.trimmed())) {
        c.lines.remove(r->header, r->end - r->header);
        changed = true;
    }
    if (changed)
        save(m_fileName, c, m_permissions);
}

void IniStore::DeleteKey(const QString &section, const QString &key)
{
    Content c = load(m_fileName);
    const auto r = findSection(c.lines, section.trimmed());
    if (!r)
        return;
    bool changed = false;
    for (qsizetype i = r->end - 1; i > r->header; --i) {
        const auto kl = keyLine(c.lines.at(i));
        if (kl && sameName(kl->key, key.trimmed())) {
            c.lines.removeAt(i);
            changed = true;
        }
    }
    if (changed)
        save(m_fileName, c, m_permissions);
}
