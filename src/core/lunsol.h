#pragma once
// Solar (Gregorian) <-> Korean lunar dates over lunar years 1881..2043, i.e. solar
// 18810130..20440129. Dates are YYYYMMDD texts both ways; anything outside the table or not a
// real date gives an empty text.
#include <QString>

// The lunar date of a solar date. A day in a leap month comes back with the number of the
// month it repeats; LunarToSolar(result, false) then differs from the input.
QString SolarToLunar(const QString &solarDate);
// leapMonth picks the leap month that follows month MM. Only what the table cannot hold is refused
// (year out of range, month 0 or above 12, day 0 or above 30); day 30 of a 29-day month, or a leap
// flag for a month no leap month follows, counts on into the next month.
QString LunarToSolar(const QString &lunarDate, bool leapMonth);

// value right-aligned in width; width 2 zero-fills ("05"). Widths above 2 were never meant to be
// used and report a system error box before formatting.
QString NumStr(int width, int value);
