#include "platform/regsettings.h"

#include "platform/errortext.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <sys/stat.h>

namespace {

QString settingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kelmo/Kelmo 3.0.reg");
}

// The INI layer trims blanks and cannot hold line breaks; a registry string keeps both.
QString encode(const QString &value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('"');
    for (const QChar ch : value) {
        if (ch == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (ch == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (ch == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += ch;
    }
    out += QLatin1Char('"');
    return out;
}

QString decode(const QString &stored)
{
    // A value typed into the file by hand, without quotes, is taken as it stands.
    if (stored.size() < 2 || !stored.startsWith(QLatin1Char('"')) ||
        !stored.endsWith(QLatin1Char('"')))
        return stored;
    QString out;
    out.reserve(stored.size() - 2);
    for (qsizetype i = 1; i < stored.size() - 1; ++i) {
        QChar ch = stored.at(i);
        if (ch == QLatin1Char('\\') && i + 1 < stored.size() - 1) {
            const QChar next = stored.at(++i);
            ch = next == QLatin1Char('n') ? QChar(u'\n') : next == QLatin1Char('r') ? QChar(u'\r') : next;
        }
        out += ch;
    }
    return out;
}

} // namespace

RegistryStore::RegistryStore(const QString &keyPath) : m_keyPath(keyPath), m_ini(settingsFile())
{
    m_ini.setFilePermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool RegistryStore::OpenKey(bool /*canCreate*/)
{
    return true;
}

QString RegistryStore::ReadString(const QString &name) const
{
    return decode(m_ini.ReadString(m_keyPath, name, QString()));
}

void RegistryStore::WriteString(const QString &name, const QString &value)
{
    RegistryUpdate update(*this);
    update.WriteString(name, value);
    update.prepare();
    update.replace();
    update.finish();
}

bool RegistryStore::ValueExists(const QString &name) const
{
    return m_ini.ValueExists(m_keyPath, name);
}

RegistryUpdate::RegistryUpdate(const RegistryStore &store) : m_keyPath(store.m_keyPath), m_file(store.m_ini) {}

void RegistryUpdate::WriteString(const QString &name, const QString &value)
{
    m_file.WriteString(m_keyPath, name, encode(value));
}

void RegistryUpdate::prepare()
{
    const QString dir = QFileInfo(m_file.fileName()).absolutePath();
    if (!QFileInfo::exists(dir)) {
        QDir().mkpath(QFileInfo(dir).absolutePath());
        // Private from the start; an existing folder's mode is the user's business.
        if (::mkdir(QFile::encodeName(dir).constData(), 0700) != 0 && errno != EEXIST)
            throw IniError(FileErrorText(errno, dir).toStdString());
    }
    m_file.prepare();
}
