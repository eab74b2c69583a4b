#include "platform/printer.h"

#include <QPrinter>

QPrinter &CurrentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}
