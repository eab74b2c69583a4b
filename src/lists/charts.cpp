#include "lists/charts.h"

#include "lists/stat.h"

#include <QApplication>

namespace {
template <class Window>
void showModal()
{
    Window w;
    w.centreOn(QApplication::activeWindow());
    w.ShowModal();
}
} // namespace

void ShowChart(Chart which)
{
    switch (which) {
    case Chart::Part: return showModal<TfrmSPart>();
    case Chart::Bigo: return showModal<TfrmSBigo>();
    case Chart::Duty: return showModal<TfrmSDuty>();
    case Chart::Gita: return showModal<TfrmSGita>();
    case Chart::Stat: return showModal<TfrmStat>();
    case Chart::Area: return showModal<TfrmSArea>();
    }
}
