#include "dialer/dial.h"

#include "core/global.h"

void DialWithDialog(const QString &number, const QString &caption)
{
    DialNumber = number;
    Q_UNUSED(caption); // the dial dialog is not built yet
}
