#include "lists/charts.h"

#include <QtGlobal>

void ShowChart(Chart which)
{
    Q_UNUSED(which); // the chart windows are not built yet
}
