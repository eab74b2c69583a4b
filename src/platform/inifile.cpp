#include "platform/inifile.h"

#include "platform/cp949.h"
#include "platform/diskfile.h"
#include "platform/errortext.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

struct IniLine {
    QString text;
    QByteArray unreadable; // the bytes of a line that no code page decodes, written back as they were
};

struct IniContent {
    QList<IniLine> lines;
    bool crlf = false; // a file brought over from Windows keeps its line ends
    bool bom = false;
    bool existed = false;
    QByteArray original; // as read, to put back where the old text cannot be kept aside
};

namespace {

using Content = IniContent;

[[noreturn]] void fail(const QString &message)
{
    throw IniError(message.toStdString());
}

// A settings file brought over from the Windows program is in code page 949, one edited by hand
// may mix it with UTF-8, and the program writes UTF-8. Many Hangul syllables in code page 949 are
// also a valid two-byte UTF-8 sequence (호 is C8 A3, "ȣ"), as are Latin letters and signs ("é"
// is C3 A9, 챕), while Hangul and Hanja in UTF-8 always take three bytes: only a line valid both
// ways through two-byte sequences needs telling apart.
struct Readings {
    QString utf8, hangul;
    bool utf8Valid = false, hangulValid = false;
    bool longSequence = false; // three bytes or more: UTF-8 beyond doubt when valid
};

Readings readings(const QByteArray &bytes)
{
    Readings r;
    // Stateless: a sequence cut off at the line's end is an error, not the start of the next line.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    r.utf8 = utf8(bytes);
    r.utf8Valid = !utf8.hasError();
    r.longSequence = std::any_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) >= 0xE0; });
    r.hangul = cp949::decode(bytes, &r.hangulValid);
    return r;
}

// Read as UTF-8, a line of Hangul syllables gives letters of the Latin extensions and phonetic
// signs beyond Latin-1 that no one types together ("천호" is "õȣ"); Latin text stays within
// Latin-1 and Latin Extended-A ("Café", "B·201", "°C").
bool readsAsHangul(const Readings &r)
{
    const auto onlySyllables = std::all_of(r.hangul.begin(), r.hangul.end(), [](QChar c) {
        return c.unicode() < 0x80 || (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3);
    });
    const auto outsideLatin = std::any_of(r.utf8.begin(), r.utf8.end(), [](QChar c) {
        return (c.unicode() >= 0x80 && c.unicode() < 0xA0) || c.unicode() > 0x17F;
    });
    return onlySyllables && outsideLatin;
}

enum class FileKind {
    Marked,    // begins with a byte order mark: UTF-8, as the program writes what reads both ways
    Utf8,      // valid UTF-8 throughout: a line that reads both ways is told apart by its letters
    CodePage,  // not: from the Windows program, or mixed, where a line that reads both ways is Hangul
};

// Lines are written back as UTF-8, except one that neither reads: it keeps its bytes.
IniLine decodeLine(const QByteArray &bytes, const Readings &r, FileKind kind)
{
    if (!r.utf8Valid)
        return r.hangulValid ? IniLine{r.hangul, {}} : IniLine{r.hangul, bytes};
    const bool ambiguous = !r.longSequence && r.hangulValid;
    if (!ambiguous || kind == FileKind::Marked)
        return {r.utf8, {}};
    if (kind == FileKind::CodePage || readsAsHangul(r))
        return {r.hangul, {}};
    return {r.utf8, {}};
}

const QByteArray byteOrderMark("\xEF\xBB\xBF");

// The lines of a file's text, after any byte order mark.
QList<IniLine> decodeLines(const QByteArray &data, bool marked)
{
    if (data.isEmpty())
        return {};
    QList<QByteArray> lines = data.split('\n');
    if (lines.last().isEmpty()) // the final line end does not start another line
        lines.removeLast();
    QList<Readings> read;
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        read.append(readings(line));
    }
    // No UTF-8 sequence holds a line end: the file is valid UTF-8 when every line is.
    const bool utf8Throughout = std::all_of(read.begin(), read.end(), [](const Readings &r) { return r.utf8Valid; });
    const FileKind kind = marked ? FileKind::Marked : utf8Throughout ? FileKind::Utf8 : FileKind::CodePage;
    QList<IniLine> out;
    for (qsizetype i = 0; i < lines.size(); ++i)
        out.append(decodeLine(lines.at(i), read.at(i), kind));
    return out;
}

Content load(const QString &fileName)
{
    Content c;
    QByteArray data;
    if (const int err = ReadWholeFile(fileName, data); err == ENOENT)
        return c;
    else if (err != 0)
        fail(FileErrorText(err, fileName));
    c.existed = true;
    c.original = data;
    if (data.startsWith(byteOrderMark)) {
        c.bom = true;
        data.remove(0, byteOrderMark.size());
    }
    c.crlf = data.contains("\r\n");
    c.lines = decodeLines(data, c.bom);
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

std::optional<Range> findSection(const QList<IniLine> &lines, const QString &section,
                                 qsizetype from = 0)
{
    for (qsizetype i = from; i < lines.size(); ++i) {
        const auto name = headerName(lines.at(i).text);
        if (!name || !sameName(*name, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !headerName(lines.at(end).text))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

// Index of the key's first line in the section, or -1.
qsizetype findKey(const QList<IniLine> &lines, const Range &r, const QString &key)
{
    for (qsizetype i = r.header + 1; i < r.end; ++i) {
        const auto kl = keyLine(lines.at(i).text);
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
    return keyLine(c.lines.at(i).text)->value;
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

QByteArray encode(const Content &c)
{
    const QString eol = c.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QByteArray data;
    for (const IniLine &line : c.lines)
        data += line.unreadable.isEmpty() ? (line.text + eol).toUtf8() : line.unreadable + eol.toLatin1();
    // Whatever the text, the file reads back as written: where a line would read otherwise
    // without it, a byte order mark says the file is UTF-8.
    const auto readsBack = [&] {
        const QList<IniLine> reread = decodeLines(data, false);
        return std::equal(reread.begin(), reread.end(), c.lines.begin(), c.lines.end(),
                          [](const IniLine &a, const IniLine &b) { return a.text == b.text; });
    };
    if (c.bom || !readsBack())
        data.prepend(byteOrderMark);
    return data;
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
    for (const IniLine &line : load(m_fileName).lines)
        if (const auto name = headerName(line.text); name && !out.contains(*name, Qt::CaseInsensitive))
            out << *name;
    return out;
}

bool IniStore::ValueExists(const QString &section, const QString &key) const
{
    return lookup(m_fileName, section, key).has_value();
}

void IniStore::WriteString(const QString &section, const QString &key, const QString &value)
{
    IniUpdate update(*this);
    update.WriteString(section, key, value);
    update.commit();
}

void IniStore::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniStore::EraseSection(const QString &section)
{
    IniUpdate update(*this);
    update.EraseSection(section);
    update.commit();
}

void IniStore::DeleteKey(const QString &section, const QString &key)
{
    IniUpdate update(*this);
    update.DeleteKey(section, key);
    update.commit();
}

// ---------------------------------------------------------------------------------------------

IniUpdate::IniUpdate(const IniStore &store)
    : m_permissions(store.m_permissions), m_content(std::make_unique<Content>(load(store.m_fileName)))
{
    // A linked file is written where it lives, and the link stays.
    const QFileInfo info(store.m_fileName);
    m_fileName = info.isSymLink() ? info.symLinkTarget() : store.m_fileName;
    m_temp = m_fileName + QStringLiteral(".new");
}

IniUpdate::~IniUpdate()
{
    undo();
}

void IniUpdate::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString sec = section.trimmed(), k = key.trimmed();
    checkName(sec, k);
    if (hasLineBreak(value))
        fail(FailureText(Failure::Other, m_fileName, QStringLiteral("Settings value for %1 has a line break").arg(k)));

    QList<IniLine> &lines = m_content->lines;
    if (const auto r = findSection(lines, sec)) {
        const qsizetype i = findKey(lines, *r, k);
        if (i >= 0) {
            // Only the value changes; the key's spelling and spacing stay as they were. A value
            // written as it was read leaves an unreadable line's bytes alone.
            IniLine &line = lines[i];
            const QString text = line.text.left(keyLine(line.text)->valueStart) + value;
            if (text != line.text)
                line = {text, {}};
        } else {
            qsizetype at = r->header + 1; // after the last non-blank line: blank ones separate
            for (qsizetype j = r->header + 1; j < r->end; ++j)
                if (!lines.at(j).text.trimmed().isEmpty())
                    at = j + 1;
            lines.insert(at, {k + QLatin1Char('=') + value, {}});
        }
    } else {
        if (!lines.isEmpty() && !lines.last().text.trimmed().isEmpty())
            lines.append(IniLine{});
        lines.append({QLatin1Char('[') + sec + QLatin1Char(']'), {}});
        lines.append({k + QLatin1Char('=') + value, {}});
    }
    m_changed = true;
}

void IniUpdate::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void IniUpdate::EraseSection(const QString &section)
{
    // Every copy goes, or a duplicate further down would take the erased one's place.
    while (const auto r = findSection(m_content->lines, section.trimmed())) {
        m_content->lines.remove(r->header, r->end - r->header);
        m_changed = true;
    }
}

void IniUpdate::DeleteKey(const QString &section, const QString &key)
{
    QList<IniLine> &lines = m_content->lines;
    const auto r = findSection(lines, section.trimmed());
    if (!r)
        return;
    for (qsizetype i = r->end - 1; i > r->header; --i) {
        const auto kl = keyLine(lines.at(i).text);
        if (kl && sameName(kl->key, key.trimmed())) {
            lines.removeAt(i);
            m_changed = true;
        }
    }
}

int IniUpdate::writeTemp(const QByteArray &data) const
{
    ::unlink(QFile::encodeName(m_temp).constData()); // a killed run's leftover would keep its mode
    // Private from the start when asked, so a secret is never readable by others even briefly.
    int err = WriteFileSynced(m_temp, data, m_permissions ? 0600 : 0666);
    const auto mode = m_permissions ? m_permissions
                      : m_content->existed ? std::optional(QFile::permissions(m_fileName))
                                           : std::nullopt;
    if (err == 0 && mode && !QFile::setPermissions(m_temp, *mode))
        err = errno ? errno : EPERM;
    if (err != 0)
        ::unlink(QFile::encodeName(m_temp).constData());
    return err;
}

void IniUpdate::prepare()
{
    if (const int err = writeTemp(encode(*m_content)))
        fail(FileErrorText(err, m_fileName));
    m_stage = Stage::Prepared;
}

void IniUpdate::replace()
{
    // Swapped rather than renamed over, the old text stays under the temporary name, to come
    // back without needing room on the disk.
    if (m_content->existed && ::renameat2(AT_FDCWD, QFile::encodeName(m_temp).constData(), AT_FDCWD,
                                          QFile::encodeName(m_fileName).constData(), RENAME_EXCHANGE) == 0) {
        m_stage = Stage::Exchanged;
    } else if (const int err = RenameFile(m_temp, m_fileName)) {
        fail(FileErrorText(err, m_fileName));
    } else {
        m_stage = Stage::Renamed;
    }
    if (const int err = SyncToDisk(QFileInfo(m_fileName).absolutePath()))
        fail(FileErrorText(err, m_fileName));
}

void IniUpdate::finish()
{
    if (m_stage == Stage::Exchanged)
        ::unlink(QFile::encodeName(m_temp).constData());
    m_stage = Stage::Finished;
}

void IniUpdate::commit()
{
    if (!m_changed)
        return;
    prepare();
    replace();
    finish();
}

void IniUpdate::undo() noexcept
{
    const QByteArray temp = QFile::encodeName(m_temp), file = QFile::encodeName(m_fileName);
    switch (m_stage) {
    case Stage::Prepared:
        ::unlink(temp.constData());
        break;
    case Stage::Exchanged:
        std::rename(temp.constData(), file.constData());
        break;
    case Stage::Renamed: // a file system that cannot swap names
        if (!m_content->existed)
            ::unlink(file.constData());
        else if (writeTemp(m_content->original) == 0)
            std::rename(temp.constData(), file.constData());
        break;
    case Stage::Editing:
    case Stage::Finished:
        break;
    }
    m_stage = Stage::Finished;
}
