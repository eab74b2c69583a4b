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
    // Writes at once, as a RegistryUpdate of its own.
    void WriteString(const QString &name, const QString &value);
    bool ValueExists(const QString &name) const;

    QString fileName() const { return m_ini.fileName(); }

private:
    friend class RegistryUpdate;
    QString m_keyPath;
    IniStore m_ini;
};

// Several values of the key stored together or not at all, in the steps of IniUpdate.
class RegistryUpdate {
public:
    explicit RegistryUpdate(const RegistryStore &store);
    void WriteString(const QString &name, const QString &value);
    // Also makes the private settings folder when it is missing.
    void prepare();
    void replace() { m_file.replace(); }
    void finish() { m_file.finish(); }

private:
    QString m_keyPath;
    IniUpdate m_file;
};
