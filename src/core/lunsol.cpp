#include "core/lunsol.h"

#include "core/myunit.h"
#include "platform/dialogs.h"

#include <array>
#include <optional>

namespace {
constexpr int FirstYear = 1881;
constexpr int YearCount = 163; // 1881..2043

// Per lunar year, its months in order: 1 = 29 days, 2 = 30 days, 3/4 = leap month of 29/30
// days repeating the month before it, 0 = no 13th month.
constexpr std::array<const char *, YearCount> LunarMonthTable = {
    "1212122322121", "1212121221220", "1121121222120", "2112132122122", "2112112121220", // 1881
    "2121211212120", "2212321121212", "2122121121210", "2122121212120", "1232122121212",
    "1212121221220", "1121123221222", "1121121212220", "1212112121220", "2121231212121", // 1891
    "2221211212120", "1221212121210", "2123221212121", "2121212212120", "1211212232212",
    "1211212122210", "2121121212220", "1212132112212", "2212112112210", "2212211212120", // 1901
    "1221412121212", "1212122121210", "2112212122120", "1231212122212", "1211212122210",
    "2121123122122", "2121121122120", "2212112112120", "2212231212112", "2122121212120", // 1911
    "1212122121210", "2132122122121", "2112121222120", "1211212322122", "1211211221220",
    "2121121121220", "2122132112122", "1221212121120", "2121221212110", "2122321221212", // 1921
    "1121212212210", "2112121221220", "1231211221222", "1211211212220", "1221123121221",
    "2221121121210", "2221212112120", "1221241212112", "1212212212120", "1121212212210", // 1931
    "2114121212221", "2112112122210", "2211211412212", "2211211212120", "2212121121210",
    "2212214112121", "2122122121120", "1212122122120", "1121412122122", "1121121222120", // 1941
    "2112112122120", "2231211212122", "2121211212120", "2212121321212", "2122121121210",
    "2122121212120", "1212142121212", "1211221221220", "1121121221220", "2114112121222", // 1951
    "1212112121220", "2121211232122", "1221211212120", "1221212121210", "2121223212121",
    "2121212212120", "1211212212210", "2121321212221", "2121121212220", "1212112112210", // 1961
    "2223211211221", "2212211212120", "1221212321212", "1212122121210", "2112212122120",
    "1211232122212", "1211212122210", "2121121122210", "2212312112212", "2212112112120", // 1971
    "2212121232112", "2122121212110", "2212122121210", "2112124122121", "2112121221220",
    "1211211221220", "2121321122122", "2121121121220", "2122112112322", "1221212112120", // 1981
    "1221221212110", "2122123221212", "1121212212210", "2112121221220", "1211231212222",
    "1211211212220", "1221121121220", "1223212112121", "2221212112120", "1221221232112", // 1991
    "1212212122120", "1121212212210", "2112132212221", "2112112122210", "2211211212210",
    "2221321121212", "2212121121210", "2212212112120", "1232212122112", "1212122122120", // 2001
    "1121212322122", "1121121222120", "2112112122120", "2211231212122", "2121211212120",
    "2122121121210", "2124212112121", "2122121212120", "1212121223212", "1211212221220", // 2011
    "1121121221220", "2112132121222", "1212112121220", "2121211212120", "2122321121212",
    "1221212121210", "2121221212120", "1232121221212", "1211212212210", "2121123212221", // 2021
    "2121121212220", "1212112112220", "1221231211221", "2212211211220", "1212212121210",
    "2123212212121", "2112122122120", "1211212322212", "1211212122210", "2121121122120", // 2031
    "2212114112122", "2212112112120", "2212121211210", "2212232121211", "2122122121210",
    "2112122122120", "1231212122212", "1211211221220", // 2041
};

// Days of solar 1881-01-01 .. 1881-01-29, before the first lunar new year of the table.
constexpr int DaysBeforeEpoch = 29;

int digitAt(int row, int position)
{
    return LunarMonthTable[std::size_t(row)][position] - '0';
}

bool isLeapDigit(int digit)
{
    return digit == 3 || digit == 4;
}

int monthLength(int digit)
{
    if (digit == 0)
        return 0;
    return isLeapDigit(digit) ? 26 + digit : 28 + digit;
}

int yearLength(int row)
{
    int days = 0;
    for (int p = 0; p < 13; ++p)
        days += monthLength(digitAt(row, p));
    return days;
}

struct Ymd {
    int year, month, day;
};

std::optional<Ymd> parseDate(const QString &text)
{
    if (text.size() != 8 || !IsAllDigits(text))
        return std::nullopt;
    return Ymd{text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt()};
}

QString formatDate(int year, int month, int day)
{
    return QString::number(year) + NumStr(2, month) + NumStr(2, day);
}

// Days since 0001-01-01 (proleptic Gregorian) shifted so that solar 1881-01-30 is day 1.
int solarDayNumber(const Ymd &d)
{
    const int y = d.year - 1;
    int n = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < d.month; ++m)
        n += DaysInMonth(d.year, m);
    return n + d.day - 686685;
}

// Days of the lunar years before each row; the last entry is the whole table.
const std::array<int, YearCount + 1> &daysBeforeRow()
{
    static const std::array<int, YearCount + 1> days = [] {
        std::array<int, YearCount + 1> d{};
        for (int row = 0; row < YearCount; ++row)
            d[std::size_t(row) + 1] = d[std::size_t(row)] + yearLength(row);
        return d;
    }();
    return days;
}
} // namespace

QString SolarToLunar(const QString &solarDate)
{
    const std::optional<Ymd> date = parseDate(solarDate);
    if (!date || date->day < 1 || date->day > DaysInMonth(date->year, date->month))
        return {};
    const auto &before = daysBeforeRow();
    int n = solarDayNumber(*date);
    if (n < 1 || n > before.back())
        return {};

    int row = 0;
    while (n > before[std::size_t(row) + 1])
        ++row;
    n -= before[std::size_t(row)];
    int month = 0;
    for (int p = 0; p < 13; ++p) {
        const int digit = digitAt(row, p);
        if (!isLeapDigit(digit))
            ++month;
        if (n <= monthLength(digit))
            break;
        n -= monthLength(digit);
    }
    return formatDate(FirstYear + row, month, n);
}

QString LunarToSolar(const QString &lunarDate, bool leapMonth)
{
    const std::optional<Ymd> date = parseDate(lunarDate);
    if (!date || date->year < FirstYear || date->year >= FirstYear + YearCount ||
        date->month < 1 || date->month > 12 || date->day < 1 || date->day > 30)
        return {};
    const int row = date->year - FirstYear;

    int days = daysBeforeRow()[std::size_t(row)];

    // Leap months take no number, so each one passed pushes month m one position further on.
    int target = date->month - 1;
    for (int p = 0; p != target || isLeapDigit(digitAt(row, p)); ++p) {
        if (isLeapDigit(digitAt(row, p)))
            ++target;
        days += monthLength(digitAt(row, p));
    }
    // A leap month follows the regular one. Neither the flag nor a day 30 is checked against the
    // year's months: the count simply runs on into the next month, which the birthday lists rely on.
    if (leapMonth)
        days += monthLength(digitAt(row, target));
    days += date->day + DaysBeforeEpoch;

    int year = FirstYear;
    while (days > (IsLeapYear(year) ? 366 : 365)) {
        days -= IsLeapYear(year) ? 366 : 365;
        ++year;
    }
    int month = 1;
    while (days > DaysInMonth(year, month)) {
        days -= DaysInMonth(year, month);
        ++month;
    }
    return formatDate(year, month, days);
}

QString NumStr(int width, int value)
{
    if (width > 2)
        ShowMessage(QStringLiteral("System 에러 발생 (NumStr) 문의要"));
    QString text = QStringLiteral("%1").arg(value, width);
    if (width == 2 && text.startsWith(QLatin1Char(' ')))
        text[0] = QLatin1Char('0');
    return text;
}
