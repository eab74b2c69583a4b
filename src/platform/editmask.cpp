#include "platform/editmask.h"

namespace {
const QChar Blank = QLatin1Char(' ');

bool isSlotLetter(QChar c)
{
    return QStringView(u"90#LlAaCc").contains(c);
}

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

EditMask::EditMask(const QString &mask)
{
    // The body ends at the first ';' that is not escaped.
    qsizetype bodyEnd = 0;
    while (bodyEnd < mask.size() && mask.at(bodyEnd) != QLatin1Char(';'))
        bodyEnd += mask.at(bodyEnd) == QLatin1Char('\\') ? 2 : 1;
    bodyEnd = std::min(bodyEnd, mask.size());

    const QStringList fields = mask.mid(bodyEnd + 1).split(QLatin1Char(';'));
    if (bodyEnd < mask.size()) {
        m_saveLiterals = !fields.value(0).startsWith(QLatin1Char('0'));
        if (fields.size() > 1 && !fields.at(1).isEmpty())
            m_placeholder = fields.at(1).at(0);
    }

    Case letterCase = Case::Keep;
    for (qsizetype i = 0; i < bodyEnd; ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('!')) {
            m_dropLeadingBlanks = true;
        } else if (c == QLatin1Char('>')) {
            letterCase = Case::Upper;
        } else if (c == QLatin1Char('<')) {
            if (i + 1 < bodyEnd && mask.at(i + 1) == QLatin1Char('>')) {
                letterCase = Case::Keep;
                ++i;
            } else {
                letterCase = Case::Lower;
            }
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < bodyEnd)
                m_positions.append({false, mask.at(++i), Case::Keep});
        } else if (c == QLatin1Char('_')) {
            m_positions.append({false, Blank, Case::Keep});
        } else if (isSlotLetter(c)) {
            m_slots.append(int(m_positions.size()));
            m_positions.append({true, c, letterCase});
        } else {
            m_positions.append({false, c, Case::Keep});
        }
    }
}

int EditMask::slotAt(int position) const
{
    if (position < 0 || position >= m_positions.size() || !m_positions.at(position).isSlot)
        return -1;
    return int(m_slots.indexOf(position));
}

QList<QChar> EditMask::slotChars(const QString &text, bool withLiterals) const
{
    QList<QChar> chars(m_slots.size(), Blank);
    qsizetype next = 0;
    int slot = 0;
    for (const Position &p : m_positions) {
        if (next >= text.size())
            break;
        if (p.isSlot)
            chars[slot++] = text.at(next++);
        else if (withLiterals && text.at(next) == p.ch)
            ++next;
    }
    return chars;
}

QString EditMask::layOut(const QList<QChar> &chars, QChar emptySlot) const
{
    QString out;
    out.reserve(m_positions.size());
    int slot = 0;
    for (const Position &p : m_positions) {
        if (!p.isSlot) {
            out += p.ch;
            continue;
        }
        const QChar c = chars.at(slot++);
        out += c == Blank ? emptySlot : c;
    }
    return out;
}

QString EditMask::display(const QString &stored) const
{
    if (isEmpty() || stored.isEmpty())
        return stored;
    return layOut(slotChars(stored, m_saveLiterals), Blank);
}

QString EditMask::editText(const QString &stored) const
{
    if (isEmpty())
        return stored;
    return layOut(slotChars(stored, m_saveLiterals), m_placeholder);
}

QString EditMask::stored(const QString &editText) const
{
    if (isEmpty())
        return editText;
    QList<QChar> chars = slotChars(editText, true);
    bool anyFilled = false;
    for (int slot = 0; slot < chars.size(); ++slot) {
        QChar &c = chars[slot];
        if (c == m_placeholder)
            c = Blank;
        switch (m_positions.at(m_slots.at(slot)).letterCase) {
        case Case::Upper: c = c.toUpper(); break;
        case Case::Lower: c = c.toLower(); break;
        case Case::Keep: break;
        }
        anyFilled = anyFilled || c != Blank;
    }
    if (!anyFilled)
        return {};

    QString out;
    if (m_saveLiterals) {
        out = layOut(chars, Blank);
    } else {
        out.reserve(chars.size());
        for (const QChar c : std::as_const(chars))
            out += c;
    }
    qsizetype end = out.size();
    while (end > 0 && out.at(end - 1) == Blank)
        --end;
    qsizetype begin = 0;
    if (m_dropLeadingBlanks)
        while (begin < end && out.at(begin) == Blank)
            ++begin;
    return out.mid(begin, end - begin);
}

int EditMask::clickedCaret(const QString &editText, int position) const
{
    int lastTyped = -1, firstEmpty = -1;
    for (const int p : m_slots) {
        const QChar c = p < editText.size() ? editText.at(p) : m_placeholder;
        if (c != m_placeholder && c != Blank)
            lastTyped = p;
        else if (firstEmpty < 0)
            firstEmpty = p;
    }
    return firstEmpty < 0 || position <= lastTyped ? position : firstEmpty;
}

bool EditMask::slotAccepts(int slot, QChar c) const
{
    if (slot < 0 || slot >= m_slots.size())
        return false;
    const bool optional = c == Blank;
    switch (m_positions.at(m_slots.at(slot)).ch.unicode()) {
    case '0': return isAsciiDigit(c);
    case '9': return isAsciiDigit(c) || optional;
    case '#': return isAsciiDigit(c) || c == QLatin1Char('+') || c == QLatin1Char('-') || optional;
    case 'L': return c.isLetter();
    case 'l': return c.isLetter() || optional;
    case 'A': return c.isLetter() || isAsciiDigit(c);
    case 'a': return c.isLetter() || isAsciiDigit(c) || optional;
    case 'C': return c.isPrint() && !optional;
    case 'c': return c.isPrint();
    }
    return false;
}

QString EditMask::toQtInputMask() const
{
    if (isEmpty())
        return {};
    QString out;
    Case current = Case::Keep;
    for (const Position &p : m_positions) {
        if (!p.isSlot) {
            // Qt gives these characters a meaning; the literal must be escaped.
            if (QStringView(u"AaNnXx90DdHhBb#<>!\\[]{};").contains(p.ch))
                out += QLatin1Char('\\');
            out += p.ch;
            continue;
        }
        if (p.letterCase != current) {
            current = p.letterCase;
            out += current == Case::Upper ? QLatin1Char('>') : current == Case::Lower ? QLatin1Char('<') : QLatin1Char('!');
        }
        switch (p.ch.unicode()) {
        case '0': out += QLatin1Char('9'); break; // Qt's required digit
        case '9': out += QLatin1Char('0'); break; // Qt's optional digit
        case '#': out += QLatin1Char('#'); break;
        case 'L': out += QLatin1Char('A'); break;
        case 'l': out += QLatin1Char('a'); break;
        case 'A': out += QLatin1Char('N'); break;
        case 'a': out += QLatin1Char('n'); break;
        case 'C': out += QLatin1Char('X'); break;
        case 'c': out += QLatin1Char('x'); break;
        }
    }
    return out + QLatin1Char(';') + m_placeholder;
}
