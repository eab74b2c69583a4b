#pragma once
// The windows and printouts name the Korean fonts of Windows, which Linux does not have. They
// are mapped onto the Nanum fonts (Debian: fonts-nanum, fonts-nanum-coding); every fixed-pitch
// name goes to NanumGothicCoding, whose Hangul is exactly two cells wide, so column layouts
// built for 굴림체 and 바탕체 still line up.
#include <QFont>
#include <QString>

// Call once after the QGuiApplication exists and before any window is built.
void InstallFontSubstitutes();

// The font of every window: the family that stands in for 굴림, for Hangul and Latin alike (a
// Latin-only default with Hangul from a fallback sets both at different widths and heights).
QFont ApplicationFont();

// The installed family that stands in for a Windows family name; other names come back unchanged.
QString SubstituteFamily(const QString &family);
