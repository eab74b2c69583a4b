#pragma once
// Profile file with the rules of the Windows INI API the program was written against: names match
// without regard to case, a value is the whole rest of its line, and every write reaches the disk
// at once. The file is re-read on every call, so several objects (or processes) can share it.
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

class IniError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class IniStore {
public:
    explicit IniStore(const QString &fileName);

    QString fileName() const { return m_fileName; }

    // The default only when the key is missing; an empty value reads as "".
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // Leading decimal digits (optional sign) or "0x" hex; the default when missing, not a
    // number, or out of range.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    bool SectionExists(const QString &section) const;
    // Section names in file order, each once.
    QStringList ReadSections() const;
    bool ValueExists(const QString &section, const QString &key) const;

    // Writes replace the file atomically; they throw IniError when the file cannot be written,
    // and for a key with "=" or a line break, or a value with a line break.
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

    // Mode given to the file on every write (for files holding secrets); unset keeps the
    // existing mode, or the umask default for a new file.
    void setFilePermissions(std::optional<QFileDevice::Permissions> permissions)
    {
        m_permissions = permissions;
    }

private:
    QString m_fileName;
    std::optional<QFileDevice::Permissions> m_permissions;
};
