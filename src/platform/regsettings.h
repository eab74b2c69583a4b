#pragma once
// One registry key of the current user, kept in a private per-user file under the XDG config
// folder (~/.config/kelmo/Kelmo 3.0.reg, mode 0600) as one INI section named after the key path.
// Values are stored quoted and escaped, so they come back exactly as written, blanks included.
#include "platform/inifile.h"

#include <QString>

class RegistryStore {
public:
    explicit RegistryStore(const QString &keyPath = QStringLiteral("Software\\Kelmo 3.0"));

    // Always true: the key comes into being with its first value.
    bool OpenKey(bool canCreate);
    // "" when missing.
    QString ReadString(const QString &name) const;
    // Writes at once; throws IniError when the file cannot be written.
    void WriteString(const QString &name, const QString &value);
    bool ValueExists(const QString &name) const;

    QString fileName() const { return m_ini.fileName(); }

private:
    QString m_keyPath;
    IniStore m_ini;
};
