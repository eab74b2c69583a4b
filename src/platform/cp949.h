#pragma once
// Code page 949 (Korean Windows) as the old data files and the field sizes know it. Field sizes
// throughout the program are counted in these bytes: ASCII 1, a Hangul syllable 2.
#include <QByteArray>
#include <QString>

namespace cp949 {
// Bytes text takes in code page 949. A character the code page cannot hold counts 2 (edits leave
// such characters out, so this only matters for foreign data).
int byteLength(const QString &text);
// The longest start of text that fits maxBytes; never half a character.
QString cutToBytes(const QString &text, int maxBytes);
bool canEncode(const QString &text);
// Bytes that are not valid code page 949 come out as U+FFFD; valid, when given, tells whether
// there were any.
QString decode(const QByteArray &bytes, bool *valid = nullptr);
// Each character the code page cannot hold becomes "??", so the result has byteLength bytes
// and fixed-width records stay aligned.
QByteArray encode(const QString &text);
// text cut at a whole character and filled with blanks to exactly bytes bytes.
QString padRight(const QString &text, int bytes);
} // namespace cp949
