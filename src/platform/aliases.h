#pragma once
// The database engine's alias list: names under which earlier versions' data folders are known.
// Kept in a small per-user file; the import windows read an alias and remove it once done.
#include "platform/inifile.h"

#include <QStringList>

class AliasConfig {
public:
    // The per-user alias file under the XDG config folder.
    AliasConfig();
    explicit AliasConfig(const QString &fileName);

    // Every database name the engine knows: the aliases and the register's own.
    QStringList GetDatabaseNames() const;
    bool IsAlias(const QString &name) const;
    QString AliasPath(const QString &name) const;
    void AddAlias(const QString &name, const QString &path);
    void DeleteAlias(const QString &name);
    // Writes at once already; kept for the callers that save the configuration after a change.
    void SaveConfigFile() {}

private:
    IniStore m_file;
};
