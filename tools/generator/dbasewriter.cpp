#include "dbasewriter.h"

#include "platform/cp949.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>

namespace {
void putU32(QByteArray &bytes, int pos, quint32 v)
{
    qToLittleEndian<quint32>(v, bytes.data() + pos);
}

bool isMemo(char type)
{
    return type == 'M' || type == 'B' || type == 'G';
}
} // namespace

DbaseWriter::DbaseWriter(QList<DbaseColumn> columns, Layout layout, int blockSize)
    : m_columns(std::move(columns)), m_layout(layout), m_blockSize(layout == Dbase3 ? 512 : blockSize)
{
    m_memo = QByteArray(m_blockSize, '\0');
    putU32(m_memo, 0, 1);
    if (m_layout == Dbase4)
        qToLittleEndian<quint16>(quint16(m_blockSize), m_memo.data() + 20);
}

QByteArray DbaseWriter::memoPointer(const QVariant &value)
{
    const QByteArray content = value.typeId() == QMetaType::QByteArray ? value.toByteArray() : cp949::encode(value.toString());
    if (content.isEmpty())
        return QByteArray(10, ' ');
    const int block = int(m_memo.size() / m_blockSize);
    if (m_layout == Dbase3) {
        m_memo += content + "\x1a\x1a";
    } else {
        QByteArray head("\xff\xff\x08\x00\0\0\0\0", 8);
        putU32(head, 4, quint32(content.size() + 8));
        m_memo += head + content;
    }
    m_memo.append((m_blockSize - m_memo.size() % m_blockSize) % m_blockSize, '\0');
    putU32(m_memo, 0, quint32(m_memo.size() / m_blockSize));
    return QByteArray::number(block).rightJustified(10, ' ');
}

void DbaseWriter::addRecord(const QVariantMap &values, bool deleted)
{
    QByteArray record(1, deleted ? '*' : ' ');
    for (const DbaseColumn &c : m_columns) {
        const QVariant v = values.value(QString::fromLatin1(c.name));
        QByteArray field;
        if (isMemo(c.type))
            field = memoPointer(v);
        else if (c.type == 'L')
            field = v.isNull() ? "?" : v.toBool() ? "T" : "F";
        else
            field = cp949::encode(v.toString());
        record += field.leftJustified(c.length, ' ', true);
    }
    m_records << record;
}

bool DbaseWriter::hasMemo() const
{
    return std::any_of(m_columns.begin(), m_columns.end(), [](const DbaseColumn &c) { return isMemo(c.type); });
}

QByteArray DbaseWriter::table() const
{
    const int headerLength = 32 + 32 * int(m_columns.size()) + 1;
    int recordLength = 1;
    for (const DbaseColumn &c : m_columns)
        recordLength += c.length;
    QByteArray out(headerLength, '\0');
    out[0] = char(!hasMemo() ? 0x03 : m_layout == Dbase3 ? 0x83 : 0x8b);
    out[1] = char(98);
    out[2] = 7;
    out[3] = 1;
    putU32(out, 4, quint32(m_records.size()));
    qToLittleEndian<quint16>(quint16(headerLength), out.data() + 8);
    qToLittleEndian<quint16>(quint16(recordLength), out.data() + 10);
    for (int i = 0; i < m_columns.size(); ++i) {
        char *d = out.data() + 32 + 32 * i;
        memcpy(d, m_columns[i].name.constData(), size_t(std::min<qsizetype>(m_columns[i].name.size(), 10)));
        d[11] = m_columns[i].type;
        d[16] = char(m_columns[i].length);
    }
    out[headerLength - 1] = '\r';
    for (const QByteArray &r : m_records)
        out += r;
    out += '\x1a';
    return out;
}

void DbaseWriter::save(const QString &dbfFile) const
{
    QFile table(dbfFile);
    if (!table.open(QIODevice::WriteOnly) || table.write(this->table()) < 0)
        qFatal("cannot write %s", qPrintable(dbfFile));
    if (!hasMemo())
        return;
    const QFileInfo info(dbfFile);
    QFile dbt(info.path() + u'/' + info.completeBaseName() + QStringLiteral(".DBT"));
    if (!dbt.open(QIODevice::WriteOnly) || dbt.write(m_memo) < 0)
        qFatal("cannot write %s", qPrintable(dbt.fileName()));
}

QList<DbaseColumn> EarlierMemberColumns(bool version2)
{
    QList<DbaseColumn> c = {
        {"NAME", 'C', 10},  {"X", 'C', 2},      {"DAY", 'C', 10},   {"L", 'C', 2},      {"TEL", 'C', 14},
        {"HP", 'C', 14},    {"ADDR", 'C', 60},  {"ZIP", 'C', 7},    {"LEARN", 'C', 10}, {"MAJOR", 'C', 20},
        {"EMAIL", 'C', 40}, {"PIC", 'B', 10},   {"FMEMO", 'M', 10}, {"REG", 'C', 10},   {"CUR", 'C', 20},
        {"GYO", 'C', 10},   {"AREA", 'C', 10},  {"DUTY", 'C', 20},  {"PART", 'C', 20},  {"SERVE", 'C', 30},
        {"STD", 'C', 10},   {"BAP", 'C', 10},   {"MEMO", 'M', 10},  {"JPLACE", 'C', 30}, {"JPART", 'C', 20},
        {"JDUTY", 'C', 20}, {"JTEL", 'C', 14},  {"JFAX", 'C', 14},  {"JADDR", 'C', 60}, {"JZIP", 'C', 7},
        {"JMEMO", 'M', 10}, {"VISIT", 'M', 10},
    };
    for (int i = 1; i <= 5; ++i) {
        const QByteArray n = QByteArray::number(i);
        c << DbaseColumn{"N" + n, 'C', 10} << DbaseColumn{"R" + n, 'C', 6} << DbaseColumn{"J" + n, 'C', 30}
          << DbaseColumn{"C" + n, 'L', 1} << DbaseColumn{"M" + n, 'C', 20};
    }
    if (version2)
        c << DbaseColumn{"GEN", 'L', 1} << DbaseColumn{"DUTY2", 'C', 20};
    return c;
}
