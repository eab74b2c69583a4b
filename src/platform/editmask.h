#pragma once
// Edit masks as the old class library wrote them: "<body>;<saveLiterals>;<placeholder>", e.g.
// "!9999.!99.99;0;_". Qt's QLineEdit::inputMask gives the same letters other meanings (its 9 is
// required, 0 optional), so a QLineEdit gets toQtInputMask(), never the mask itself.
//
// Body: 0 digit, 9 optional digit, # optional digit or sign, L/l letter (required/optional),
// A/a letter or digit, C/c any character; '\' makes the next character a literal; '_' is a
// literal blank; '!' drops leading blanks of the stored value; '>' upper-cases the slots that
// follow, '<' lower-cases them, "<>" ends either. Other characters are literals.
// After the body: ";0" stores the slot characters only (anything else, or nothing, stores the
// literals too), then the placeholder shown in empty slots while editing ('_' if missing).
#include <QChar>
#include <QList>
#include <QString>

class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString &mask);

    bool isEmpty() const { return m_positions.isEmpty(); }
    bool saveLiterals() const { return m_saveLiterals; }
    QChar placeholder() const { return m_placeholder; }
    int slotCount() const { return int(m_slots.size()); }
    // Characters of display and edit texts.
    int length() const { return int(m_positions.size()); }
    // The slot at a position of the edit text, -1 for a literal or beyond the end.
    int slotAt(int position) const;

    // For grids and labels: "" for an empty value, otherwise the value laid into the slots from
    // the left (blanks where it runs out) with the literals between.
    QString display(const QString &stored) const;
    // As display, but every empty slot shows the placeholder: "____.__.__" for no date.
    QString editText(const QString &stored) const;
    // The value to store from an edit text; literals in the text may be left out ("123456" and
    // "123-456" both give "123456" for "999-999;0;_"). Trailing empty slots are dropped, and
    // a text with no slot filled gives "".
    QString stored(const QString &editText) const;

    bool slotAccepts(int slot, QChar c) const;

    // Where a click that put the caret at position leaves it: past the last typed slot, or
    // anywhere in a text with nothing typed, typing must start at the first empty slot.
    int clickedCaret(const QString &editText, int position) const;

    // The same mask in QLineEdit::setInputMask's letters, with the placeholder as its blank
    // character, so that QLineEdit::displayText() is an edit text for stored(). "" when empty.
    QString toQtInputMask() const;

private:
    enum class Case { Keep, Upper, Lower };
    struct Position {
        bool isSlot;
        QChar ch; // the literal, or the mask letter of a slot
        Case letterCase;
    };

    // The slot characters of text, one per slot, blank where text has none. Literals of the
    // mask are matched (and skipped) in text when withLiterals.
    QList<QChar> slotChars(const QString &text, bool withLiterals) const;
    QString layOut(const QList<QChar> &chars, QChar emptySlot) const;

    QList<Position> m_positions;
    QList<int> m_slots; // position of each slot
    bool m_saveLiterals = true;
    bool m_dropLeadingBlanks = false;
    QChar m_placeholder = QLatin1Char('_');
};
