#pragma once
// Text and date primitives with the exact behaviour of the class library the old program was
// built on. Qt's nearest equivalents differ in ways that show up in stored data
// (QString::trimmed strips U+3000, toUpper changes non-ASCII letters, QDateTime's format codes
// use other letters), so the program calls these instead.
#include <QDateTime>
#include <QString>

// Remove characters <= U+0020 only; ideographic and no-break spaces are kept.
QString Trim(const QString &text);
QString TrimLeft(const QString &text);
QString TrimRight(const QString &text);

// Upper-cases a..z and nothing else.
QString UpperCase(const QString &text);

// Codes (case-insensitive): yyyy / yy (also y, yyy as the old library read them), mm / m,
// dd / d, hh / h, nn / n, ss / s. An m right after an h code (only non-letters between) means
// minutes. Everything else is copied as it stands.
QString FormatDateTime(const QString &format, const QDateTime &moment);

// std::nearbyint: halves to even (2.5 -> 2, 3.5 -> 4) in the default rounding mode; clamped
// to the int range, NaN gives 0.
int RoundHalfEven(double value);
