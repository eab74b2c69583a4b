#pragma once
// Shared helpers used all over the program: number texts typed by users, the '#' masks of the
// reports and exports, SQL quoting and calendar arithmetic.
#include <QChar>
#include <QString>

// The current time (Clock::now) in FormatDateTime codes, e.g. "yyyymmdd".
QString NowAsText(const QString &format);

// Pulls a number out of a typed text: an optional leading sign (blanks before it allowed),
// then the digits and the first '.' anywhere after it; everything else is skipped.
// "  -1,2.5" -> "-12.5". With integerOnly the result stops at the first '.' ("-12").
QString ExtractNumberText(const QString &text, bool integerOnly);

// ExtractNumberText as an int; "" or a bare sign gives 0. Throws std::invalid_argument when the
// number has a decimal point or does not fit an int.
int NumberTextToInt(const QString &text);

// "@F <body>" masks: F is a flag ('0' zero-fill, 'S' comma clean-up, 'D' as S and left-aligned);
// without "@" the flag is ' ' and the whole mask is the body. Counts the '#' before and after
// the first '.' of the body.
void ParseNumberMask(const QString &mask, QChar &flag, int &intDigits, int &fracDigits,
                     QString &body);

// True for the empty text too.
bool IsAllDigits(const QString &text);

// Lays digits into the '#' and '.' places of body (blanks once they run out), copying the other
// characters, then applies the flag as ParseNumberMask describes.
QString ApplyNumberMask(const QString &digits, QChar flag, const QString &body);

// value through a number mask; masks with fraction places give "". 7, "@0 ##" -> "07".
QString FormatIntByMask(int value, const QString &mask);

// Each '#' of mask takes the next character of text (a blank once text is used up).
// "123456", "###-###" -> "123-456".
QString ApplyTextMask(const QString &text, const QString &mask);

// SQL string literal: 'O''Neil'.
QString Quote(const QString &text);

bool IsLeapYear(int year);
// Gregorian; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);
// A stored date (8 digits YYYYMMDD) that can exist; lunar months have up to 30 days.
bool IsValidDate(const QString &yyyymmdd, bool lunar);
