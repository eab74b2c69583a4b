#include "platform/sysutils.h"

#include <climits>
#include <cmath>

namespace {
bool isBlank(QChar c)
{
    return c.unicode() <= 0x20;
}

QString number(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}
} // namespace

QString Trim(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimLeft(const QString &text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isBlank(text.at(begin)))
        ++begin;
    return text.mid(begin);
}

QString TrimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && isBlank(text.at(end - 1)))
        --end;
    return text.left(end);
}

QString UpperCase(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - ('a' - 'A'));
    return result;
}

QString FormatDateTime(const QString &format, const QDateTime &moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    QString out;
    // Last code letter seen; non-letters in between do not reset it, so "hh:mm" reads as minutes.
    QChar lastCode;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        const QChar code = c.toUpper();
        qsizetype run = 1;
        while (i + run < format.size() && format.at(i + run).toUpper() == code)
            ++run;
        const int pad = run >= 2 ? 2 : 1;
        bool isCode = true;
        switch (code.unicode()) {
        case 'Y':
            out += run <= 2 ? number(date.year() % 100, 2) : number(date.year(), 4);
            break;
        case 'M':
            out += number(lastCode == QLatin1Char('H') ? time.minute() : date.month(), pad);
            break;
        case 'D': out += number(date.day(), pad); break;
        case 'H': out += number(time.hour(), pad); break;
        case 'N': out += number(time.minute(), pad); break;
        case 'S': out += number(time.second(), pad); break;
        default:
            isCode = false;
            out += format.mid(i, run);
            if (c.isLetter())
                lastCode = QChar();
        }
        if (isCode)
            lastCode = code;
        i += run;
    }
    return out;
}

int RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::nearbyint(value);
    if (r >= double(INT_MAX))
        return INT_MAX;
    if (r <= double(INT_MIN))
        return INT_MIN;
    return int(r);
}
