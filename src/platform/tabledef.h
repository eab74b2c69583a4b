#pragma once
// Declared layout of a stored table: fields in stored order, key and named indexes.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

enum class FieldType {
    Text,    // fixed-size text, size counted in code-page-949 bytes
    Logical, // 0/1/NULL
    Short,   // 16-bit integer
    Memo,    // long text
    Graphic, // picture bytes
    Integer, // computed query columns
    Float,
};

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;
    QString label;   // column title in grids; empty shows the name
    QString mask;    // edit mask in the original mask language
    QVariant defaultValue;
    bool visible = true;
};

struct IndexDef {
    QString name;
    QStringList fields;
};

struct TableDef {
    QString name;      // SQL name, upper case: MASTER
    QString fileName;  // the name the data files had and SQL text may still use: MASTER.DB
    QList<FieldDef> fields;
    QStringList key;   // empty: no primary key (rows kept in entry order)
    QList<IndexDef> indexes;

    int fieldIndex(const QString &fieldName) const;
    const FieldDef *field(const QString &fieldName) const;
    const IndexDef *index(const QString &indexName) const;
    // Declared SQL type of a field, as the register tool writes it and the engine checks it.
    static QString sqlType(const FieldDef &f);
};
