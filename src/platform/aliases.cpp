#include "platform/aliases.h"

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
    m_file.WriteString(name, PathKey, path);
}

void AliasConfig::DeleteAlias(const QString &name)
{
    m_file.EraseSection(name);
}
