#pragma once
// The register's fifteen tables, field by field in stored order.
#include "platform/tabledef.h"

const QList<TableDef> &KelmoTables();
// The order in which the data module checks the table files at start-up.
const QStringList &KelmoTableFiles();
