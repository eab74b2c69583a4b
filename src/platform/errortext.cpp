#include "platform/errortext.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

Failure FailureFromSqlite(int resultCode)
{
    switch (resultCode & 0xff) {
    case SQLITE_FULL:
        return Failure::DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Failure::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Failure::Locked;
    case SQLITE_CORRUPT:
        return Failure::Damaged;
    case SQLITE_NOTADB:
        return Failure::NotATable;
    case SQLITE_IOERR:
        return Failure::InputOutput;
    case SQLITE_CANTOPEN:
        return Failure::NotFound;
    default:
        return Failure::Other;
    }
}

Failure FailureFromErrno(int err)
{
    switch (err) {
    case ENOSPC:
    case EDQUOT:
        return Failure::DiskFull;
    case EROFS:
    case EACCES:
    case EPERM:
        return Failure::ReadOnly;
    case EIO:
        return Failure::InputOutput;
    case ENOENT:
    case ENOTDIR:
        return Failure::NotFound;
    default:
        return Failure::Other;
    }
}

QString ShownFileName(const QString &fileName)
{
    const QFileInfo file(fileName);
    const QString fromHere = QDir::current().relativeFilePath(file.absoluteFilePath());
    return fromHere.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(fromHere) ? file.fileName() : fromHere;
}

QString FailureText(Failure failure, const QString &fileName, const QString &technical)
{
    const QString name = fileName.isEmpty() ? QString() : ShownFileName(fileName);
    const QString file = name.isEmpty() ? QStringLiteral("자료 파일") : QStringLiteral("[%1] 파일").arg(name);
    QString text;
    switch (failure) {
    case Failure::DiskFull:
        text = QStringLiteral("디스크에 빈 공간이 없어 %1을 쓰지 못했습니다.").arg(file);
        break;
    case Failure::ReadOnly:
        text = QStringLiteral("%1에 쓸 수 없습니다. 읽기 전용이거나 쓰기 권한이 없습니다.").arg(file);
        break;
    case Failure::Locked:
        text = QStringLiteral("다른 프로그램이 %1을 사용하고 있습니다. 잠시 후에 다시 해 보십시오.").arg(file);
        break;
    case Failure::Damaged:
        text = QStringLiteral("%1이 손상되었습니다.").arg(file);
        break;
    case Failure::InputOutput:
        text = QStringLiteral("%1을 읽거나 쓰는 중에 디스크 오류가 발생했습니다.").arg(file);
        break;
    case Failure::NotFound:
        text = QStringLiteral("%1이 없거나 열 수 없습니다.").arg(file);
        break;
    case Failure::NotATable:
        text = QStringLiteral("%1은 올바른 형식의 자료 파일이 아닙니다.").arg(file);
        break;
    case Failure::KeyViolation:
        text = QStringLiteral("같은 키 값을 가진 자료가 이미 있어 저장하지 못했습니다.");
        break;
    case Failure::Other:
        text = QStringLiteral("%1을 처리하는 중에 오류가 발생했습니다.").arg(file);
        break;
    }
    if (!technical.isEmpty())
        text += QStringLiteral("\n(%1)").arg(technical);
    return text;
}

QString FileErrorText(int err, const QString &fileName)
{
    return FailureText(FailureFromErrno(err), fileName, QString::fromLocal8Bit(std::strerror(err)));
}
