#include "platform/dbase.h"

#include "platform/cp949.h"
#include "platform/diskfile.h"
#include "platform/errortext.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <numeric>

namespace {
constexpr int HeaderSize = 32;
constexpr int DescriptorSize = 32;
constexpr char Deleted = '*';

QByteArray readWhole(const QString &fileName)
{
    QByteArray data;
    if (const int err = ReadWholeFile(fileName, data))
        throw DbError(DbError::General, FileErrorText(err, fileName));
    return data;
}

quint32 u32(const QByteArray &data, qsizetype pos)
{
    return qFromLittleEndian<quint32>(data.constData() + pos);
}

quint16 u16(const QByteArray &data, qsizetype pos)
{
    return qFromLittleEndian<quint16>(data.constData() + pos);
}

// Field contents end in blanks (text) or NULs (some writers' padding).
QByteArray trimmedRight(QByteArray bytes)
{
    qsizetype n = bytes.size();
    while (n > 0 && (bytes[n - 1] == ' ' || bytes[n - 1] == '\0'))
        --n;
    bytes.truncate(n);
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return cp949::decode(bytes);
    return QString::fromLatin1(bytes); // most fields are digits and blanks: no converter needed
}

// The earlier versions' editors marked a line they wrapped with 8D 0A, a soft line break; it is
// a line break like the typed ones (0D 0A). 8D also leads a two-byte character, so the bytes
// are walked character by character: an 8D inside a character is not a break.
QByteArray softBreaksAsLineBreaks(const QByteArray &memo)
{
    if (!memo.contains("\x8d\n"))
        return memo;
    const auto isLead = [](uchar c) { return c >= 0x81 && c <= 0xfe; };
    const auto isTrail = [&](uchar c) { return (c >= 0x41 && c <= 0x5a) || (c >= 0x61 && c <= 0x7a) || isLead(c); };
    QByteArray text;
    text.reserve(memo.size());
    for (qsizetype i = 0; i < memo.size(); ++i) {
        const uchar c = uchar(memo[i]);
        const uchar next = i + 1 < memo.size() ? uchar(memo[i + 1]) : 0;
        if (c == 0x8d && next == '\n') {
            text += "\r\n";
            ++i;
        } else if (isLead(c) && isTrail(next)) {
            text += char(c);
            text += char(next);
            ++i;
        } else {
            text += char(c);
        }
    }
    return text;
}

bool isMemoType(char type)
{
    return type == 'M' || type == 'B' || type == 'G';
}
} // namespace

DbaseFile::DbaseFile(const QString &fileName) : m_fileName(fileName), m_data(readWhole(fileName))
{
    const qsizetype size = m_data.size();
    if (size < HeaderSize)
        damaged(fileName, QStringLiteral("파일 머리가 온전하지 않습니다"));
    const quint8 version = quint8(m_data[0]);
    if ((version & 0x07) != 3 && (version & 0x07) != 4)
        throw DbError(DbError::Damaged,
                      FailureText(Failure::NotATable, fileName, QStringLiteral("dBASE III 또는 IV 테이블이 아닙니다")));
    m_headerCount = qint64(u32(m_data, 4));
    const int headerLength = u16(m_data, 8);
    const int recordLength = u16(m_data, 10);
    if (headerLength < HeaderSize + 1 || headerLength > size)
        damaged(fileName, QStringLiteral("파일 머리의 길이가 파일에 맞지 않습니다"));

    int recordBytes = 1; // the deletion mark
    bool hasMemo = false;
    for (int pos = HeaderSize;; pos += DescriptorSize) {
        if (pos < headerLength && m_data[pos] == '\r')
            break;
        if (pos + DescriptorSize > headerLength)
            damaged(fileName, QStringLiteral("필드 목록의 끝이 없습니다"));
        const char *d = m_data.constData() + pos;
        DbaseField f;
        f.name = decode(QByteArray(d, qstrnlen(d, 11))).trimmed();
        f.type = char(QChar::toUpper(uchar(d[11])));
        f.length = quint8(d[16]);
        f.offset = recordBytes;
        if (f.name.isEmpty() || f.length == 0 || !QByteArrayView("CNFDLMBG").contains(f.type))
            damaged(fileName, QStringLiteral("%1번째 필드의 정의가 잘못되었습니다").arg((pos - HeaderSize) / DescriptorSize + 1));
        hasMemo = hasMemo || isMemoType(f.type);
        recordBytes += f.length;
        m_fields << f;
    }
    if (m_fields.isEmpty() || recordBytes != recordLength)
        damaged(fileName, QStringLiteral("자료 한 건의 길이가 필드들의 길이와 맞지 않습니다"));
    if (headerLength + m_headerCount * recordLength > size)
        damaged(fileName, QStringLiteral("파일 머리에 적힌 자료 %1건이 파일에 다 들어 있지 않습니다").arg(m_headerCount));
    // A count too low is what a writer killed before it updated the header leaves: the records
    // after it are whole, so they are read as well (recordsInFile tells the caller).
    for (qint64 at = headerLength; at + recordLength <= size; at += recordLength) {
        if (m_stored >= m_headerCount && m_data[at] != ' ' && m_data[at] != Deleted)
            break; // not a record: the end mark, or what some writers leave after it
        ++m_stored;
        if (m_data[at] != Deleted)
            m_records << int(at);
    }

    if (!hasMemo)
        return;
    const QFileInfo info(fileName);
    m_memoName = FindFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".DBT"));
    m_memo = readWhole(m_memoName);
    // dBASE IV marks its memo layout in the table's version byte.
    m_dbase4Memo = (version & 0x08) != 0;
    if (m_dbase4Memo) {
        if (m_memo.size() < 22 || u16(m_memo, 20) < 16)
            damaged(m_memoName, QStringLiteral("메모 파일의 머리가 잘못되었습니다"));
        m_blockSize = u16(m_memo, 20);
    }
    // Every memo is found now, so that a damaged memo file is one failure at opening rather than
    // one for each row a grid paints.
    for (const DbaseField &f : std::as_const(m_fields))
        if (isMemoType(f.type))
            for (int at : std::as_const(m_records))
                memoRange(m_data.mid(at + f.offset, f.length));
}

void DbaseFile::damaged(const QString &file, const QString &what) const
{
    throw DbError(DbError::Damaged, FailureText(Failure::Damaged, file, what));
}

int DbaseFile::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

std::pair<qint64, qint64> DbaseFile::memoRange(const QByteArray &pointer) const
{
    const QByteArray digits = pointer.trimmed();
    bool ok = false;
    const qint64 block = digits.isEmpty() ? 0 : digits.toLongLong(&ok);
    if (!digits.isEmpty() && (!ok || block < 0))
        damaged(m_fileName, QStringLiteral("메모의 위치 '%1'을 읽을 수 없습니다").arg(QString::fromLatin1(digits)));
    if (block == 0)
        return {0, 0};
    // Compared before the multiplication: a pointer field of 17 digits or more can name a block
    // whose position does not fit in 64 bits.
    if (block >= (m_memo.size() + m_blockSize - 1) / m_blockSize)
        damaged(m_memoName, QStringLiteral("%1번 메모 블록이 메모 파일 밖에 있습니다").arg(block));
    const qint64 pos = block * m_blockSize;
    if (!m_dbase4Memo) {
        // dBASE III: text runs to the end mark over as many blocks as it takes. Most writers end
        // it with two 1A bytes, some with one.
        const qsizetype end = m_memo.indexOf('\x1a', pos);
        if (end < 0)
            damaged(m_memoName, QStringLiteral("%1번 메모가 끝나지 않습니다").arg(block));
        return {pos, end - pos};
    }
    // dBASE IV: each memo starts with FF FF 08 00 and its length, these eight bytes included.
    if (pos + 8 > m_memo.size())
        damaged(m_memoName, QStringLiteral("%1번 메모 블록이 손상되었습니다").arg(block));
    const quint32 length = u32(m_memo, pos + 4);
    if (u32(m_memo, pos) != 0x0008ffffu || length < 8 || pos + qint64(length) > m_memo.size())
        damaged(m_memoName, QStringLiteral("%1번 메모 블록이 손상되었습니다").arg(block));
    return {pos + 8, length - 8};
}

QByteArray DbaseFile::bytes(int record, int field) const
{
    const DbaseField &f = m_fields.at(field);
    const QByteArray raw = m_data.mid(m_records.at(record) + f.offset, f.length);
    if (!isMemoType(f.type))
        return raw;
    const auto [pos, length] = memoRange(raw);
    return m_memo.mid(pos, length);
}

QVariant DbaseFile::value(int record, int field) const
{
    const QByteArray raw = bytes(record, field);
    switch (m_fields.at(field).type) {
    case 'L': {
        const char c = raw.isEmpty() ? '?' : char(QChar::toUpper(uchar(raw[0])));
        return c == 'T' || c == 'Y' ? QVariant(true) : c == 'F' || c == 'N' ? QVariant(false) : QVariant();
    }
    case 'B':
    case 'G':
        return raw;
    case 'M':
        return decode(softBreaksAsLineBreaks(raw));
    case 'N':
    case 'F':
    case 'D':
        return QString::fromLatin1(raw.trimmed());
    default:
        return decode(trimmedRight(raw));
    }
}

QString FindFileNoCase(const QString &folder, const QString &name)
{
    const QStringList files = QDir(folder).entryList(QDir::Files);
    for (const QString &f : files)
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(f);
    return QDir(folder).filePath(name);
}

// ---------------------------------------------------------------------------------------------

QByteArray DbaseTable::bytes(const QString &fieldName)
{
    checkActive();
    const int field = m_file->fieldIndex(fieldName);
    if (field < 0)
        fieldByName(fieldName); // the engine's own "not found" report
    return m_pos < 0 ? QByteArray() : m_file->bytes(int(m_ids[m_pos]), field);
}

QVector<qint64> DbaseTable::loadView()
{
    QVector<qint64> ids(m_file->recordCount());
    std::iota(ids.begin(), ids.end(), 0);
    return ids;
}

QVector<QVariant> DbaseTable::fetchRow(qint64 id)
{
    QVector<QVariant> row(m_file->fields().size());
    for (int i = 0; i < row.size(); ++i)
        row[i] = m_file->value(int(id), i);
    return row;
}

QList<FieldDef> DbaseTable::describeFields()
{
    QList<FieldDef> defs;
    for (const DbaseField &f : m_file->fields()) {
        FieldDef d;
        d.name = f.name;
        d.size = f.length;
        switch (f.type) {
        case 'L': d.type = FieldType::Logical; break;
        case 'M': d.type = FieldType::Memo; break;
        case 'B':
        case 'G': d.type = FieldType::Graphic; break;
        default: d.type = FieldType::Text; break;
        }
        defs << d;
    }
    return defs;
}

void DbaseTable::doOpen()
{
    m_file = std::make_unique<DbaseFile>(m_fileName);
}

void DbaseTable::doClose()
{
    m_file.reset();
}
