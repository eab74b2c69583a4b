#pragma once
#include <QDateTime>
#include <optional>

// The program's one source of the current time; tests pin it.
namespace Clock {
QDateTime now();
void setFixed(std::optional<QDateTime> moment);
}
