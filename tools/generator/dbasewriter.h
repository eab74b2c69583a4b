#pragma once
// dBASE tables as the earlier versions wrote them, made byte by byte for the import's tests and
// benchmark: the table file and, with memo columns, its .DBT in the dBASE III or IV layout.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

struct DbaseColumn {
    QByteArray name;
    char type = 'C';
    int length = 10;
};

class DbaseWriter {
public:
    enum Layout { Dbase3, Dbase4 };
    // blockSize: the memo file's block size (dBASE III always has 512).
    DbaseWriter(QList<DbaseColumn> columns, Layout layout, int blockSize = 512);

    // Values by column name: text (stored in code page 949) for C, N and D and for memos, bytes
    // for memos as they are, bool for L. A column left out is blank.
    void addRecord(const QVariantMap &values, bool deleted = false);
    // Writes dbfFile and, when there are memo columns, the .DBT of the same name beside it.
    void save(const QString &dbfFile) const;

    QByteArray table() const;
    QByteArray memo() const { return m_memo; }

private:
    QByteArray memoPointer(const QVariant &value);
    bool hasMemo() const;

    QList<DbaseColumn> m_columns;
    Layout m_layout;
    int m_blockSize;
    QList<QByteArray> m_records;
    QByteArray m_memo;
};

// The member table of the earlier versions with every column the import reads; 2.x adds GEN and DUTY2.
QList<DbaseColumn> EarlierMemberColumns(bool version2);
