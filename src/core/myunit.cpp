#include "core/myunit.h"

#include "platform/clock.h"
#include "platform/sysutils.h"

#include <stdexcept>

namespace {
bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}
} // namespace

QString NowAsText(const QString &format)
{
    return FormatDateTime(format, Clock::now());
}

QString ExtractNumberText(const QString &text, bool integerOnly)
{
    QString result;
    qsizetype from = 0;
    qsizetype i = 0;
    while (i < text.size() && text.at(i).unicode() <= 0x20)
        ++i;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        result += text.at(i);
        from = i + 1;
    }
    bool dotSeen = false;
    for (i = from; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            result += c;
        } else if (c == QLatin1Char('.') && !dotSeen) {
            if (integerOnly)
                return result;
            dotSeen = true;
            result += c;
        }
    }
    return result;
}

int NumberTextToInt(const QString &text)
{
    const QString number = ExtractNumberText(text, false);
    if (number.isEmpty() || number == QLatin1String("-") || number == QLatin1String("+"))
        return 0;
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument(
            QStringLiteral("NumberTextToInt: \"%1\" is not a whole number within the int range")
                .arg(text)
                .toStdString());
    return value;
}

void ParseNumberMask(const QString &mask, QChar &flag, int &intDigits, int &fracDigits,
                     QString &body)
{
    flag = QLatin1Char(' ');
    body = mask;
    intDigits = 0;
    fracDigits = 0;
    if (mask.startsWith(QLatin1Char('@'))) {
        flag = mask.size() > 1 ? UpperCase(mask.at(1)).at(0) : QLatin1Char(' ');
        body = mask.mid(3);
    }
    bool afterPoint = false;
    for (const QChar c : std::as_const(body)) {
        if (c == QLatin1Char('.'))
            afterPoint = true;
        else if (c == QLatin1Char('#'))
            ++(afterPoint ? fracDigits : intDigits);
    }
}

bool IsAllDigits(const QString &text)
{
    for (const QChar c : text)
        if (!isDigit(c))
            return false;
    return true;
}

QString ApplyNumberMask(const QString &digits, QChar flag, const QString &body)
{
    QString out;
    out.reserve(body.size());
    qsizetype next = 0;
    for (const QChar c : body) {
        if (c == QLatin1Char('#') || c == QLatin1Char('.'))
            out += next < digits.size() ? digits.at(next++) : QLatin1Char(' ');
        else
            out += c;
    }
    const QChar blank = QLatin1Char(' ');
    if (flag == QLatin1Char('0')) {
        out.replace(blank, QLatin1Char('0'));
    } else if (flag == QLatin1Char('S') || flag == QLatin1Char('D')) {
        // A separator with no digit before it is dropped; a sign before it moves into its place,
        // so "-,123" reads " -123".
        for (qsizetype i = 0; i < out.size(); ++i) {
            if (out.at(i) != QLatin1Char(','))
                continue;
            if (i == 0) {
                out[i] = blank;
            } else if (!isDigit(out.at(i - 1))) {
                out[i] = out.at(i - 1);
                out[i - 1] = blank;
            }
        }
        if (flag == QLatin1Char('D')) {
            qsizetype lead = 0;
            while (lead < out.size() && out.at(lead) == blank)
                ++lead;
            out.remove(0, lead);
        }
    }
    return out;
}

QString FormatIntByMask(int value, const QString &mask)
{
    QChar flag;
    int intDigits = 0, fracDigits = 0;
    QString body;
    ParseNumberMask(mask, flag, intDigits, fracDigits, body);
    if (fracDigits > 0)
        return {};
    const QString digits = QStringLiteral("%1").arg(value, intDigits);
    if (flag != QLatin1Char('S') && flag != QLatin1Char('D'))
        flag = QLatin1Char('0');
    return ApplyNumberMask(digits, flag, body);
}

QString ApplyTextMask(const QString &text, const QString &mask)
{
    QString out;
    out.reserve(mask.size());
    qsizetype next = 0;
    for (const QChar c : mask) {
        if (c == QLatin1Char('#'))
            out += next < text.size() ? text.at(next++) : QLatin1Char(' ');
        else
            out += c;
    }
    return out;
}

QString Quote(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValidDate(const QString &yyyymmdd, bool lunar)
{
    if (yyyymmdd.size() != 8 || !IsAllDigits(yyyymmdd))
        return false;
    const int year = yyyymmdd.left(4).toInt(), month = yyyymmdd.mid(4, 2).toInt(), day = yyyymmdd.mid(6, 2).toInt();
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= (lunar ? 30 : DaysInMonth(year, month));
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return days[month] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}
