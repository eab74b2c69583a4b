#pragma once
// Profile file with the rules of the Windows INI API the program was written against: names match
// without regard to case, a value is the whole rest of its line, and every write reaches the disk
// at once. The file is re-read on every call, so several objects (or processes) can share it.
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <memory>
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

    // Each write is an IniUpdate of its own (see there).
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
    friend class IniUpdate;
    QString m_fileName;
    std::optional<QFileDevice::Permissions> m_permissions;
};

struct IniContent;

// Several changes of one file that reach it together or not at all. The file is read when the
// update is made. Nothing on disk changes before replace(), and an update dropped before finish()
// leaves the file as it was, or missing as it was. Failures throw IniError with a text naming
// the file and the cause; a key with "=" or a line break, or a value with a line break, is
// refused when it is written.
class IniUpdate {
public:
    explicit IniUpdate(const IniStore &store);
    ~IniUpdate();
    IniUpdate(const IniUpdate &) = delete;
    IniUpdate &operator=(const IniUpdate &) = delete;

    QString fileName() const { return m_fileName; }

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

    // The new text under a temporary name beside the file, and on the disk: a full disk or a
    // read-only folder shows here, while the file is still as it was.
    void prepare();
    // The new text takes the file's place; the old one is kept until finish().
    void replace();
    // Lets the old text go: the update stands. Never throws.
    void finish();
    // All three, when anything changed.
    void commit();

private:
    enum class Stage { Editing, Prepared, Exchanged, Renamed, Finished };
    int writeTemp(const QByteArray &data) const;
    void undo() noexcept;

    QString m_fileName;
    QString m_temp;
    std::optional<QFileDevice::Permissions> m_permissions;
    std::unique_ptr<IniContent> m_content;
    bool m_changed = false;
    Stage m_stage = Stage::Editing;
};
