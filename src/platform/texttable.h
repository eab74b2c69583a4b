#pragma once
// The export target of the list windows: a fixed-width text table written from a dataset.
#include <QString>

class Dataset;

class TextTable {
public:
    void setTableName(const QString &fileName) { m_fileName = fileName; }
    QString tableName() const { return m_fileName; }
    // Creates or replaces the file with every row of the source, in its order, one line each;
    // columns in the source's field order, each as wide (in code-page-949 bytes) as its widest value
    // or its declared size. The file appears whole or not at all. Throws std::runtime_error, also
    // for one of the program's own files (SetOwnFiles), which stays untouched.
    void batchMove(Dataset &source);

private:
    QString m_fileName;
};
