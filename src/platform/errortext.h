#pragma once
// What the user reads when the engine or the file layer fails: one Korean sentence naming the
// file and the cause, followed by the technical text in parentheses for support.
#include <QString>

enum class Failure { DiskFull, ReadOnly, Locked, Damaged, InputOutput, NotFound, NotATable, KeyViolation, Other };

Failure FailureFromSqlite(int resultCode);
Failure FailureFromErrno(int err);

// fileName may be a path; only its last part is named. technical may be empty.
QString FailureText(Failure failure, const QString &fileName, const QString &technical = {});
// errno after a failed call on fileName, with the system's own text as the technical part.
QString FileErrorText(int err, const QString &fileName);
