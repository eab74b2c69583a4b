#pragma once
// The program's SQL is written in the old engine's local dialect; SQLite gets it through here.
#include "platform/tabledef.h"

#include <QString>

// - quoted table file names ("master.DB", 'MASTER.DB' after FROM/UPDATE/INTO/JOIN) name the tables;
// - SUBSTRING(x FROM a FOR b) becomes substr(x, a, b);
// - each operand of || reads NULL as empty text;
// - a qualified alias after an expression, ") Master.Addr", loses its qualifier;
// - parameter names are matched without regard to case;
// - GROUP BY without ORDER BY returns the groups in group order.
QString translateSql(const QString &sql, const QList<TableDef> &catalog);
