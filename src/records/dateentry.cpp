#include "records/dateentry.h"

#include "core/myunit.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QWidget>

bool DateAccepted(const QString &date, bool lunar, const QString &caption, QWidget *edit)
{
    const QString d = Trim(date);
    if (d.isEmpty() || IsValidDate(d, lunar))
        return true;
    ShowMessage(QStringLiteral("[") + caption + QStringLiteral("] 일자 형식이 잘못되었습니다."));
    if (edit)
        edit->setFocus();
    return false;
}
