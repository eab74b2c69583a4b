#include "platform/aliases.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kelmo/aliases.ini");
}
const QString PathKey = QStringLiteral("PATH");
} // namespace

AliasConfig::AliasConfig() : m_file(defaultFile()) {}

AliasConfig::AliasConfig(const QString &fileName) : m_file(fileName) {}

QStringList AliasConfig::GetDatabaseNames() const
{
    QStringList names = m_file.ReadSections();
    names << QStringLiteral("KELMODB");
    return names;
}

bool AliasConfig::IsAlias(const QString &name) const
{
    return m_file.SectionExists(name);
}

QString AliasConfig::AliasPath(const QString &name) const
{
    return m_file.ReadString(name, PathKey, QString());
}

void AliasConfig::AddAlias(const QString &name, const QString &path)
{
    QDir().mkpath(QFileInfo(m_file.fileName()).path()); // the first alias of a user makes the folder
    m_file.WriteString(name, PathKey, path);
}

void AliasConfig::DeleteAlias(const QString &name)
{
    m_file.EraseSection(name);
}
