#include "platform/filterexpr.h"

#include "platform/database.h"

#include <QList>

struct FilterExpr::Node {
    enum Kind { And, Or, Not, Compare } kind = Compare;
    std::unique_ptr<Node> left, right;
    // Compare: each side a field (index >= 0) or a literal.
    QString op;
    int leftField = -1, rightField = -1;
    QVariant leftValue, rightValue;
};

int compareCodePoints(const QString &a, const QString &b)
{
    // UTF-16 unit order differs from code-point order only above the BMP.
    const int n = int(std::min(a.size(), b.size()));
    for (int i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        const bool xs = QChar::isSurrogate(x), ys = QChar::isSurrogate(y);
        if (xs != ys)
            return xs ? 1 : -1;
        return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

struct Lexer {
    QString s;
    int pos = 0;

    enum Kind { End, Ident, String, Number, Op, Open, Close };
    struct Tok { Kind kind; QString text; };

    Tok next()
    {
        while (pos < s.size() && s[pos].isSpace())
            ++pos;
        if (pos >= s.size())
            return {End, {}};
        const QChar c = s[pos];
        const int start = pos;
        if (c == u'\'' || c == u'"') {
            QString v;
            ++pos;
            while (pos < s.size()) {
                if (s[pos] == c) {
                    if (pos + 1 < s.size() && s[pos + 1] == c) { v += c; pos += 2; continue; }
                    ++pos;
                    return {String, v};
                }
                v += s[pos++];
            }
            throw DbError(DbError::General, QStringLiteral("Unterminated string in filter."));
        }
        if (c == u'(') { ++pos; return {Open, QStringLiteral("(")}; }
        if (c == u')') { ++pos; return {Close, QStringLiteral(")")}; }
        if (c == u'<' || c == u'>' || c == u'=' || c == u'!') {
            ++pos;
            if (pos < s.size() && (s[pos] == u'=' || (c == u'<' && s[pos] == u'>')))
                ++pos;
            return {Op, s.mid(start, pos - start)};
        }
        if (c.isDigit() || c == u'-') {
            ++pos;
            while (pos < s.size() && (s[pos].isDigit() || s[pos] == u'.'))
                ++pos;
            return {Number, s.mid(start, pos - start)};
        }
        if (c.isLetter() || c == u'_' || c == u'[') {
            if (c == u'[') {
                const int close = int(s.indexOf(u']', pos));
                if (close < 0)
                    throw DbError(DbError::General, QStringLiteral("Unterminated field name in filter."));
                pos = close + 1;
                return {Ident, s.mid(start + 1, close - start - 1)};
            }
            while (pos < s.size() && (s[pos].isLetterOrNumber() || s[pos] == u'_'))
                ++pos;
            return {Ident, s.mid(start, pos - start)};
        }
        throw DbError(DbError::General, QStringLiteral("Unexpected character '%1' in filter.").arg(c));
    }
};

class Parser {
public:
    Parser(const QString &text, const QStringList &fields) : m_fields(fields)
    {
        m_lex.s = text;
        advance();
    }

    std::unique_ptr<FilterExpr::Node> parseAll()
    {
        auto n = parseOr();
        if (m_tok.kind != Lexer::End)
            fail(QStringLiteral("unexpected '%1'").arg(m_tok.text));
        return n;
    }

private:
    using Node = FilterExpr::Node;

    [[noreturn]] void fail(const QString &why)
    {
        throw DbError(DbError::General, QStringLiteral("Filter expression incorrect: %1").arg(why));
    }
    void advance() { m_tok = m_lex.next(); }
    bool keyword(const char *w) const
    {
        return m_tok.kind == Lexer::Ident && m_tok.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }

    std::unique_ptr<Node> parseOr()
    {
        auto l = parseAnd();
        while (keyword("OR")) {
            advance();
            auto n = std::make_unique<Node>();
            n->kind = Node::Or;
            n->left = std::move(l);
            n->right = parseAnd();
            l = std::move(n);
        }
        return l;
    }
    std::unique_ptr<Node> parseAnd()
    {
        auto l = parseNot();
        while (keyword("AND")) {
            advance();
            auto n = std::make_unique<Node>();
            n->kind = Node::And;
            n->left = std::move(l);
            n->right = parseNot();
            l = std::move(n);
        }
        return l;
    }
    std::unique_ptr<Node> parseNot()
    {
        if (keyword("NOT")) {
            advance();
            auto n = std::make_unique<Node>();
            n->kind = Node::Not;
            n->left = parseNot();
            return n;
        }
        if (m_tok.kind == Lexer::Open) {
            advance();
            auto n = parseOr();
            if (m_tok.kind != Lexer::Close)
                fail(QStringLiteral("missing ')'"));
            advance();
            return n;
        }
        auto n = std::make_unique<Node>();
        operand(n->leftField, n->leftValue);
        if (m_tok.kind != Lexer::Op)
            fail(QStringLiteral("comparison expected"));
        n->op = m_tok.text == QLatin1String("!=") ? QStringLiteral("<>") : m_tok.text;
        advance();
        operand(n->rightField, n->rightValue);
        return n;
    }
    void operand(int &field, QVariant &value)
    {
        switch (m_tok.kind) {
        case Lexer::String: value = m_tok.text; break;
        case Lexer::Number: value = m_tok.text.toDouble(); break;
        case Lexer::Ident:
            if (keyword("TRUE") || keyword("FALSE")) {
                value = keyword("TRUE");
            } else if (keyword("NULL")) {
                value = QVariant();
            } else {
                for (int i = 0; i < m_fields.size(); ++i)
                    if (m_fields[i].compare(m_tok.text, Qt::CaseInsensitive) == 0)
                        field = i;
                if (field < 0)
                    fail(QStringLiteral("field '%1' not found").arg(m_tok.text));
            }
            break;
        default: fail(QStringLiteral("operand expected"));
        }
        advance();
    }

    Lexer m_lex;
    Lexer::Tok m_tok{Lexer::End, {}};
    QStringList m_fields;
};

bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::Double: case QMetaType::Bool:
    case QMetaType::UInt: case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool compare(const QVariant &a, const QString &op, const QVariant &b)
{
    if (a.isNull() || b.isNull() || !a.isValid() || !b.isValid())
        return false;
    int c;
    if (isNumber(a) && isNumber(b)) {
        const double x = a.toDouble(), y = b.toDouble();
        c = x < y ? -1 : (x > y ? 1 : 0);
    } else {
        c = compareCodePoints(a.toString(), b.toString());
    }
    if (op == QLatin1String("=")) return c == 0;
    if (op == QLatin1String("<>")) return c != 0;
    if (op == QLatin1String("<")) return c < 0;
    if (op == QLatin1String(">")) return c > 0;
    if (op == QLatin1String("<=")) return c <= 0;
    return c >= 0;
}

bool eval(const FilterExpr::Node &n, const QVector<QVariant> &row)
{
    switch (n.kind) {
    case FilterExpr::Node::And: return eval(*n.left, row) && eval(*n.right, row);
    case FilterExpr::Node::Or: return eval(*n.left, row) || eval(*n.right, row);
    case FilterExpr::Node::Not: return !eval(*n.left, row);
    case FilterExpr::Node::Compare: break;
    }
    const QVariant a = n.leftField >= 0 ? row.value(n.leftField) : n.leftValue;
    const QVariant b = n.rightField >= 0 ? row.value(n.rightField) : n.rightValue;
    return compare(a, n.op, b);
}

QString sql(const FilterExpr::Node &n, const QStringList &cols, QVariantList &binds)
{
    // Binds are collected left to right: evaluate the sides in order, not as call arguments.
    if (n.kind == FilterExpr::Node::And || n.kind == FilterExpr::Node::Or) {
        const QString l = sql(*n.left, cols, binds);
        const QString r = sql(*n.right, cols, binds);
        return QStringLiteral("(%1 %2 %3)").arg(l, n.kind == FilterExpr::Node::And ? QStringLiteral("AND") : QStringLiteral("OR"), r);
    }
    switch (n.kind) {
    case FilterExpr::Node::And:
    case FilterExpr::Node::Or:
        break;
    case FilterExpr::Node::Not:
        return QStringLiteral("(NOT %1)").arg(sql(*n.left, cols, binds));
    case FilterExpr::Node::Compare: break;
    }
    auto side = [&](int field, const QVariant &v) {
        if (field >= 0)
            return QStringLiteral("\"%1\"").arg(cols[field]);
        binds.append(v);
        return QStringLiteral("?");
    };
    const QString l = side(n.leftField, n.leftValue);
    const QString r = side(n.rightField, n.rightValue);
    return QStringLiteral("(%1 %2 %3)").arg(l, n.op, r);
}

} // namespace

FilterExpr::FilterExpr() = default;
FilterExpr::~FilterExpr() = default;
FilterExpr::FilterExpr(FilterExpr &&) noexcept = default;
FilterExpr &FilterExpr::operator=(FilterExpr &&) noexcept = default;

FilterExpr FilterExpr::parse(const QString &text, const QStringList &fieldNames)
{
    FilterExpr f;
    if (!text.trimmed().isEmpty())
        f.m_root = Parser(text, fieldNames).parseAll();
    return f;
}

bool FilterExpr::matches(const QVector<QVariant> &row) const
{
    return !m_root || eval(*m_root, row);
}

QString FilterExpr::toSql(const QStringList &columnNames, QVariantList &binds) const
{
    return m_root ? sql(*m_root, columnNames, binds) : QStringLiteral("1");
}
