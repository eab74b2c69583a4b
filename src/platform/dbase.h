#pragma once
// dBASE III and IV tables as the earlier versions left them (table file, memo file), read-only.
// A table is read whole at open and its structure checked there, so a damaged file is refused
// with its name instead of being read past its end.
#include "platform/dataset.h"

#include <QByteArray>
#include <QList>
#include <QVector>

struct DbaseField {
    QString name;
    char type = 'C'; // C N F D L M B G
    int length = 0;
    int offset = 0;  // in the record, after the deletion mark
};

class DbaseFile {
public:
    // Reads the table and, when it has memo fields, the .DBT beside it, and finds every memo.
    // Throws DbError naming the file when it cannot be read or anything does not add up.
    explicit DbaseFile(const QString &fileName);

    QString fileName() const { return m_fileName; }
    const QList<DbaseField> &fields() const { return m_fields; }
    // Matched without regard to case; -1 when the table has no such field.
    int fieldIndex(const QString &name) const;
    // Records not marked deleted, as the old engine showed them.
    int recordCount() const { return int(m_records.size()); }
    // The records, deleted ones included, that the header counts and that the file holds whole.
    // The file may hold more than its header counts; all of them are read.
    qint64 recordsInHeader() const { return m_headerCount; }
    qint64 recordsInFile() const { return m_stored; }

    // What the field holds as stored: a memo's contents for memo and binary fields, "" without one.
    QByteArray bytes(int record, int field) const;
    // Text fields decoded from code page 949 without trailing blanks, dates as YYYYMMDD, numbers
    // trimmed, memos as text; logicals true/false or null; binary fields their bytes.
    QVariant value(int record, int field) const;

private:
    // Where the memo a record's pointer names lies in the memo file: position and length.
    std::pair<qint64, qint64> memoRange(const QByteArray &pointer) const;
    [[noreturn]] void damaged(const QString &file, const QString &what) const;

    QString m_fileName;
    QString m_memoName;
    QByteArray m_data;
    QByteArray m_memo;
    bool m_dbase4Memo = false;
    int m_blockSize = 512;
    qint64 m_headerCount = 0;
    qint64 m_stored = 0;
    QList<DbaseField> m_fields;
    QVector<int> m_records; // byte offsets of the live records
};

// The file of a folder whose name matches without regard to case ("Kelmo.DBF" finds KELMO.DBF);
// folder + "/" + name when none does.
QString FindFileNoCase(const QString &folder, const QString &name);

// The engine's table over a dBASE file: a read-only dataset whose fields are the file's own.
class DbaseTable : public Dataset {
    Q_OBJECT
public:
    explicit DbaseTable(QObject *parent = nullptr) : Dataset(nullptr, parent) {}

    void setFileName(const QString &fileName) { m_fileName = fileName; }
    QString fileName() const { return m_fileName; }
    // The file as read at opening; null while closed.
    const DbaseFile *file() const { return m_file.get(); }
    // The current record's field as stored (pictures pass through without decoding).
    QByteArray bytes(const QString &fieldName);

protected:
    QVector<qint64> loadView() override;
    QVector<QVariant> fetchRow(qint64 id) override;
    QList<FieldDef> describeFields() override;
    void doOpen() override;
    void doClose() override;

private:
    QString m_fileName;
    std::unique_ptr<DbaseFile> m_file;
};
