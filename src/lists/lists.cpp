#include "lists/lists.h"

#include "lists/listcategory.h"

#include <memory>

void ShowList(ListWindow which, QWidget *owner)
{
    std::unique_ptr<TListWindow> w;
    switch (which) {
    case ListWindow::Part: w = std::make_unique<TfrmLPart>(); break;
    case ListWindow::Duty: w = std::make_unique<TfrmLDuty>(); break;
    case ListWindow::Gita: w = std::make_unique<TfrmLGita>(); break;
    case ListWindow::Bigo: w = std::make_unique<TfrmLBigo>(); break;
    case ListWindow::Study: w = std::make_unique<TfrmLStudy>(); break;
    default: return;
    }
    w->centreOn(owner);
    w->ShowModal();
}
