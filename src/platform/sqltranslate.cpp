#include "platform/sqltranslate.h"

#include <QList>

namespace {

enum class Tok { Space, Word, Number, String, QuotedName, Param, Op, Open, Close, Comma, Dot, Other };

struct Token {
    Tok kind;
    QString text;
};

bool isWordStart(QChar c) { return c.isLetter() || c == u'_' || c.unicode() >= 0x80; }
bool isWordChar(QChar c) { return isWordStart(c) || c.isDigit() || c == u'$'; }

QList<Token> tokenize(const QString &s)
{
    QList<Token> out;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s[i];
        const int start = i;
        if (c.isSpace()) {
            while (i < n && s[i].isSpace())
                ++i;
            out.append({Tok::Space, s.mid(start, i - start)});
        } else if (c == u'\'' || c == u'"') {
            ++i;
            while (i < n) {
                if (s[i] == c) {
                    if (i + 1 < n && s[i + 1] == c) { i += 2; continue; }
                    ++i;
                    break;
                }
                ++i;
            }
            out.append({c == u'\'' ? Tok::String : Tok::QuotedName, s.mid(start, i - start)});
        } else if (c == u':' && i + 1 < n && isWordStart(s[i + 1])) {
            ++i;
            while (i < n && isWordChar(s[i]))
                ++i;
            out.append({Tok::Param, s.mid(start, i - start)});
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(s[i]))
                ++i;
            out.append({Tok::Word, s.mid(start, i - start)});
        } else if (c.isDigit()) {
            while (i < n && (s[i].isDigit() || s[i] == u'.'))
                ++i;
            out.append({Tok::Number, s.mid(start, i - start)});
        } else if (c == u'(') {
            out.append({Tok::Open, QStringLiteral("(")}); ++i;
        } else if (c == u')') {
            out.append({Tok::Close, QStringLiteral(")")}); ++i;
        } else if (c == u',') {
            out.append({Tok::Comma, QStringLiteral(",")}); ++i;
        } else if (c == u'.') {
            out.append({Tok::Dot, QStringLiteral(".")}); ++i;
        } else {
            static const QStringList twoChar = {QStringLiteral("||"), QStringLiteral("<="),
                                                QStringLiteral(">="), QStringLiteral("<>"),
                                                QStringLiteral("!=")};
            const QString two = s.mid(i, 2);
            if (twoChar.contains(two)) {
                out.append({Tok::Op, two});
                i += 2;
            } else {
                out.append({Tok::Op, QString(c)});
                ++i;
            }
        }
    }
    return out;
}

bool isWord(const Token &t, const char *w)
{
    return t.kind == Tok::Word && t.text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
}

// Index of the previous / next token that is not blank, or -1 / size.
int prevSolid(const QList<Token> &t, int i)
{
    for (--i; i >= 0; --i)
        if (t[i].kind != Tok::Space)
            return i;
    return -1;
}
int nextSolid(const QList<Token> &t, int i)
{
    for (++i; i < t.size(); ++i)
        if (t[i].kind != Tok::Space)
            return i;
    return int(t.size());
}

int matchingClose(const QList<Token> &t, int open)
{
    int depth = 0;
    for (int i = open; i < t.size(); ++i) {
        if (t[i].kind == Tok::Open)
            ++depth;
        else if (t[i].kind == Tok::Close && --depth == 0)
            return i;
    }
    return int(t.size()) - 1;
}

int matchingOpen(const QList<Token> &t, int close)
{
    int depth = 0;
    for (int i = close; i >= 0; --i) {
        if (t[i].kind == Tok::Close)
            ++depth;
        else if (t[i].kind == Tok::Open && --depth == 0)
            return i;
    }
    return 0;
}

QString unquote(const QString &q)
{
    QString inner = q.mid(1, q.size() - 2);
    const QChar quote = q[0];
    inner.replace(QString(2, quote), QString(quote));
    return inner;
}

const TableDef *namedTable(const QString &name, const QList<TableDef> &catalog)
{
    for (const TableDef &t : catalog)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0 ||
            t.fileName.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

void renameQuotedTables(QList<Token> &t, const QList<TableDef> &catalog)
{
    for (int i = 0; i < t.size(); ++i) {
        if (t[i].kind != Tok::QuotedName && t[i].kind != Tok::String)
            continue;
        if (t[i].kind == Tok::String) {
            const int p = prevSolid(t, i);
            if (p < 0 || !(isWord(t[p], "FROM") || isWord(t[p], "UPDATE") || isWord(t[p], "INTO") ||
                           isWord(t[p], "JOIN") || isWord(t[p], "TABLE")))
                continue;
        }
        if (const TableDef *def = namedTable(unquote(t[i].text), catalog))
            t[i] = {Tok::Word, def->name};
    }
}

void rewriteSubstring(QList<Token> &t)
{
    for (int i = 0; i < t.size(); ++i) {
        if (!isWord(t[i], "SUBSTRING"))
            continue;
        const int open = nextSolid(t, i);
        if (open >= t.size() || t[open].kind != Tok::Open)
            continue;
        t[i].text = QStringLiteral("substr");
        const int close = matchingClose(t, open);
        int depth = 0;
        for (int j = open; j < close; ++j) {
            if (t[j].kind == Tok::Open)
                ++depth;
            else if (t[j].kind == Tok::Close)
                --depth;
            else if (depth == 1 && (isWord(t[j], "FROM") || isWord(t[j], "FOR")))
                t[j] = {Tok::Comma, QStringLiteral(",")};
        }
    }
}

// A word before "(" that starts a clause or an operand, not a function name: "SELECT (a || b)".
bool isKeyword(const Token &t)
{
    static const char *const words[] = {"SELECT", "DISTINCT", "WHERE", "AND", "OR", "NOT", "ON",
                                        "BY", "HAVING", "SET", "VALUES", "IN", "LIKE", "BETWEEN",
                                        "IS", "AS", "WHEN", "THEN", "ELSE", "RETURNING"};
    for (const char *w : words)
        if (isWord(t, w))
            return true;
    return false;
}

// Start of the primary expression that ends at token i (inclusive).
int primaryStart(const QList<Token> &t, int i)
{
    if (t[i].kind == Tok::Close) {
        int open = matchingOpen(t, i);
        const int fn = prevSolid(t, open);
        if (fn >= 0 && t[fn].kind == Tok::Word && !isKeyword(t[fn]))
            open = fn;
        return open;
    }
    int s = i;
    while (true) { // qualified names: a.b
        const int dot = prevSolid(t, s);
        if (dot < 0 || t[dot].kind != Tok::Dot)
            break;
        const int q = prevSolid(t, dot);
        if (q < 0 || (t[q].kind != Tok::Word && t[q].kind != Tok::QuotedName))
            break;
        s = q;
    }
    return s;
}

// End of the primary expression that starts at token i (inclusive).
int primaryEnd(const QList<Token> &t, int i)
{
    if (t[i].kind == Tok::Open)
        return matchingClose(t, i);
    if (t[i].kind == Tok::Word) {
        const int next = nextSolid(t, i);
        if (next < t.size() && t[next].kind == Tok::Open)
            return matchingClose(t, next);
    }
    int e = i;
    while (true) {
        const int dot = nextSolid(t, e);
        if (dot >= t.size() || t[dot].kind != Tok::Dot)
            break;
        const int q = nextSolid(t, dot);
        if (q >= t.size() || (t[q].kind != Tok::Word && t[q].kind != Tok::QuotedName))
            break;
        e = q;
    }
    return e;
}

void guardConcatenation(QList<Token> &t)
{
    // Collect the operand spans first, then wrap them in one pass: spans nest, as in
    // "(Addr1 || ' ') || Addr2", so no index may move while they are being found.
    QList<QPair<int, int>> spans;
    auto addSpan = [&](int s, int e) {
        if (s == e && (t[s].kind == Tok::String || t[s].kind == Tok::Number))
            return; // a literal is never NULL
        for (const auto &sp : spans)
            if (sp.first == s && sp.second == e)
                return;
        spans.append({s, e});
    };
    for (int i = 0; i < t.size(); ++i) {
        if (t[i].kind != Tok::Op || t[i].text != QLatin1String("||"))
            continue;
        const int l = prevSolid(t, i);
        const int r = nextSolid(t, i);
        if (l < 0 || r >= t.size())
            continue;
        addSpan(primaryStart(t, l), l);
        addSpan(r, primaryEnd(t, r));
    }
    if (spans.isEmpty())
        return;
    QList<int> opens(t.size(), 0), closes(t.size(), 0);
    for (const auto &sp : spans) {
        ++opens[sp.first];
        ++closes[sp.second];
    }
    QList<Token> out;
    for (int i = 0; i < t.size(); ++i) {
        for (int k = 0; k < opens[i]; ++k)
            out.append({Tok::Other, QStringLiteral("ifnull(")});
        out.append(t[i]);
        for (int k = 0; k < closes[i]; ++k)
            out.append({Tok::Other, QStringLiteral(",'')")});
    }
    t = out;
}

// "(a || b) Master.Addr": the old engine took a qualified alias; SQLite wants a bare one.
void unqualifyAliases(QList<Token> &t)
{
    for (int i = 0; i < t.size(); ++i) {
        if (t[i].kind != Tok::Close)
            continue;
        const int a = nextSolid(t, i);
        const int dot = nextSolid(t, a);
        const int b = nextSolid(t, dot);
        if (b >= t.size() || t[a].kind != Tok::Word || t[dot].kind != Tok::Dot || t[b].kind != Tok::Word)
            continue;
        const int after = nextSolid(t, b);
        if (after < t.size() && !(t[after].kind == Tok::Comma || isWord(t[after], "FROM")))
            continue;
        t.erase(t.begin() + a, t.begin() + b); // drops "Master" and "."
    }
}

void lowerParams(QList<Token> &t)
{
    for (Token &tok : t)
        if (tok.kind == Tok::Param)
            tok.text = tok.text.toLower();
}

void orderGroups(QList<Token> &t)
{
    int depth = 0;
    int groupList = -1;
    bool hasOrder = false;
    int listEnd = -1;      // the group list ends at HAVING, LIMIT, ';' or the end
    int insertAt = -1;     // ORDER BY goes before LIMIT or ';'
    for (int i = 0; i < t.size(); ++i) {
        if (t[i].kind == Tok::Open) { ++depth; continue; }
        if (t[i].kind == Tok::Close) { --depth; continue; }
        if (depth != 0)
            continue;
        const bool tail = isWord(t[i], "LIMIT") || (t[i].kind == Tok::Op && t[i].text == QLatin1String(";"));
        if (isWord(t[i], "GROUP")) {
            const int by = nextSolid(t, i);
            if (by < t.size() && isWord(t[by], "BY"))
                groupList = by + 1;
        } else if (isWord(t[i], "ORDER")) {
            hasOrder = true;
        } else if (groupList >= 0 && listEnd < 0 && (isWord(t[i], "HAVING") || tail)) {
            listEnd = i;
        }
        if (tail && insertAt < 0)
            insertAt = i;
    }
    if (groupList < 0 || hasOrder)
        return;
    if (listEnd < 0)
        listEnd = int(t.size());
    if (insertAt < 0)
        insertAt = int(t.size());
    QString list;
    for (int i = groupList; i < listEnd; ++i)
        list += t[i].text;
    list = list.trimmed();
    if (!list.isEmpty())
        t.insert(insertAt, {Tok::Other, QStringLiteral(" ORDER BY ") + list + QLatin1Char(' ')});
}

} // namespace

QString translateSql(const QString &sql, const QList<TableDef> &catalog)
{
    QList<Token> t = tokenize(sql);
    renameQuotedTables(t, catalog);
    rewriteSubstring(t);
    unqualifyAliases(t);
    guardConcatenation(t);
    lowerParams(t);
    orderGroups(t);
    QString out;
    for (const Token &tok : t)
        out += tok.text;
    return out;
}
