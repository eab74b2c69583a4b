#pragma once
#include <QString>

// Writes the number to DialNumber and opens the dial dialog with this caption, modally; the
// dialog dials as it is created.
void DialWithDialog(const QString &number, const QString &caption);
