#include "platform/clock.h"

namespace {
std::optional<QDateTime> &fixed()
{
    static std::optional<QDateTime> f;
    return f;
}
}

QDateTime Clock::now()
{
    return fixed() ? *fixed() : QDateTime::currentDateTime();
}

void Clock::setFixed(std::optional<QDateTime> moment)
{
    fixed() = std::move(moment);
}
