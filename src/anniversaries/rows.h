#pragma once
// What the birthday and wedding windows share: the family rows' select text, the grid columns
// and the family birthday printout.
#include "platform/dataset.h"
#include "platform/dbcontrols.h"

// Select list and joins of the family birthday windows, each line ending in a blank; the member's
// Ino comes along for the go-to.
QString FamilyRowsSelect();

// The member windows' anniversary field, Tday or Mday, with its title and mask.
FieldDef MemberDayDef(const char *field);
// Family columns with this year's birthday first (calendar) or after the calendar flag (list).
QList<DBGrid::Column> FamilyDayColumns(bool tdayFirst);

// "금년생일", "세대주명", ... laid out in the printout's seven columns; never cut.
QString FamilyPrintLine(const QStringList &values);

// Asks, then prints every row of the family birthday rows (FamilyRowsSelect) as text lines under
// the title, and clears the grid's selection. A printer failure goes on to the caller.
void PrintFamilyBirthdays(Query &rows, DBGrid *grid, const QString &title);
