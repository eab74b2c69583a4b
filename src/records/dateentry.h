#pragma once
// The check every entry window makes on a date before storing it: a date that cannot exist would
// only fail later, in the anniversary lists and calendars.
class QString;
class QWidget;

// True for an empty date (whether one is required is checked apart) and for one that exists, a
// lunar month having up to 30 days. Otherwise it shows "[caption] 일자 형식이 잘못되었습니다." and
// puts the focus on the edit, for correction.
bool DateAccepted(const QString &date, bool lunar, const QString &caption, QWidget *edit);
