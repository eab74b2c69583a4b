#include "lists/lists.h"

#include "core/global.h"
#include "lists/list.h"
#include "lists/listarea.h"
#include "lists/listbap.h"
#include "lists/listcategory.h"
#include "lists/listgen.h"
#include "lists/listreg.h"

#include <memory>

void ShowList(ListWindow which, QWidget *owner)
{
    std::unique_ptr<TListWindow> w;
    switch (which) {
    case ListWindow::List: w = std::make_unique<TfrmList>(); break;
    case ListWindow::Area: w = std::make_unique<TfrmLArea>(); break;
    case ListWindow::Part: w = std::make_unique<TfrmLPart>(); break;
    case ListWindow::Duty: w = std::make_unique<TfrmLDuty>(); break;
    case ListWindow::Gita: w = std::make_unique<TfrmLGita>(); break;
    case ListWindow::Bigo: w = std::make_unique<TfrmLBigo>(); break;
    case ListWindow::Reg: w = std::make_unique<TfrmLReg>(); break;
    case ListWindow::Gen: w = std::make_unique<TfrmLGen>(); break;
    case ListWindow::Bap:
        w = std::make_unique<TfrmLBap>();
        w->setWindowTitle(BaptOption > 0 ? QStringLiteral("학습/침례자 명단") : QStringLiteral("학습/세례자 명단"));
        break;
    case ListWindow::Study: w = std::make_unique<TfrmLStudy>(); break;
    }
    w->centreOn(owner);
    w->ShowModal();
}
