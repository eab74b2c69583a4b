#pragma once
// What the user reads when the engine or the file layer fails: one Korean sentence naming the
// file and the cause, followed by the technical text in parentheses for support.
#include <QString>

enum class Failure { DiskFull, ReadOnly, Locked, Damaged, InputOutput, NotFound, NotATable, KeyViolation, Other };

Failure FailureFromSqlite(int resultCode);
Failure FailureFromErrno(int err);

// A file as messages name it: from the current folder, the program's own, when it lies below it
// (Data/KELMODB.db, KELMO.INI), else by its last part only.
QString ShownFileName(const QString &fileName);
// fileName may be a path, named as ShownFileName says. technical may be empty.
QString FailureText(Failure failure, const QString &fileName, const QString &technical = {});
// errno after a failed call on fileName, with the system's own text as the technical part.
QString FileErrorText(int err, const QString &fileName);
