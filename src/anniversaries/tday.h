#pragma once
// This year's solar birthday (MMDD) kept in MASTER.Tday and FAMILY.TDAY, and the one year per
// table that the stored values belong to.
#include <QString>

enum class TdayTable { Master, Family };

// The solar MMDD on which a birth date (YYYYMMDD) falls in year; empty when it falls on no day
// of that year (a lunar date whose day lies in the years around it, a lunar date outside the
// table, an unreadable or too short date).
QString BirthdayInYear(const QString &bday, bool lunar, int year);

// Rewrites the table's this-year birthday of every row for year, in one transaction, without
// moving any open table; rows whose date gives no day in that year are left empty.
void RecalcTday(TdayTable table, int year);

// The year the table's values were last computed for; 0 when never in this connection, or when
// a birth date or calendar flag has been stored since (by whichever window or import).
int LastTdayYear(TdayTable table);
