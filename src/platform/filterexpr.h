#pragma once
// Dataset filters in the old engine's filter syntax: "Name >= '가' And Name <  '다~'", "x = '남'".
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

class FilterExpr {
public:
    FilterExpr();
    ~FilterExpr();
    FilterExpr(FilterExpr &&) noexcept;
    FilterExpr &operator=(FilterExpr &&) noexcept;

    // Throws DbError on a syntax error or a field the dataset does not have.
    static FilterExpr parse(const QString &text, const QStringList &fieldNames);

    bool isEmpty() const { return !m_root; }
    // Against one row whose values are in field order; a NULL never compares true.
    bool matches(const QVector<QVariant> &row) const;
    // The same condition for SQLite, with the literals to bind in order.
    QString toSql(const QStringList &columnNames, QVariantList &binds) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

// Text order of the whole program: Unicode code points (Hangul syllables in dictionary order).
int compareCodePoints(const QString &a, const QString &b);
