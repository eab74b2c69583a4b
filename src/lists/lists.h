#pragma once
// The member list windows, opened from the main window's list menu and toolbar.
class QWidget;

enum class ListWindow { List, Area, Part, Duty, Gita, Bigo, Reg, Gen, Bap, Study };

// Creates the list window over its owner, shows it modally and frees it.
void ShowList(ListWindow which, QWidget *owner);
