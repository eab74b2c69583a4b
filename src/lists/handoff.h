#pragma once
// Hand-offs shared by the search, list and calendar windows: print marks, text export, dialling
// and the go-to on close. The import saves its list of refused records through the text export.
#include "platform/dataset.h"
#include "platform/dbcontrols.h"

#include <functional>

// The file chosen in the save dialog; empty when cancelled (a test seam like the message boxes).
extern std::function<QString()> SaveDlg;

// Set by the main window: shows every member (its first index tab).
extern std::function<void()> ShowAllMembers;

// Moves the member table to the member with this number, showing every member first when the
// index tab hides them.
void GoToMember(const QString &ino);

// The number of the member named as a family row is (the row's NAME), one of the household of
// the member it is recorded under first when names repeat; empty when no member has that name.
QString FamilyRowMember(const QString &name, const QString &ownerIno);

namespace resulthandoff {
// Clears every print mark, asks "전체 인쇄하시겠습니까?", marks every row (yes) or the grid's
// selection with its current row (no) and opens the print dialog. True when it was opened.
bool Print(DBGrid *grid, Query &rows);
// The rows as a text table in the file chosen in the save dialog.
void Save(Dataset &rows);
// Hands the current row's first telephone to the dial dialog; false when it is empty.
bool Dial(DBGrid *grid, Query &rows);
// Which member a result row stands for: its own (Ino), or the one a family row names (NAME,
// recorded under INO).
enum class RowMember { Own, FamilyNamed };
// Asks "즉시 이동하시겠습니까?", moves the member table to the current row's member and keeps
// the position in SavedBookmark, where the opener goes back to; without such a member the table
// stays where it is.
void OfferGoTo(Query &rows, RowMember member = RowMember::Own);
}
