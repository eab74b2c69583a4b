// Makes an empty register: the database file with the register's tables and the starting lookup lists.
//   kelmo_register create <folder>
#include "core/tables.h"
#include "platform/database.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdio>

namespace {
const char *const StartingLists[][2] = {
    {"FREL", "부,모,남편,아내,아들,딸,자부,사위,손자,손녀,형제,자매,조부,조모"},
    {"DUTY", "목사,전도사,장로,권사,안수집사,집사,권찰,성도"},
    {"KIND", "회사원,공무원,교사,자영업,전문직,농업,주부,학생,무직"},
    {"EDUC", "새가족교육,학습교육,세례교육,제자훈련,성경공부,교사대학"},
    {"RESP", "회장,부회장,총무,서기,회계,부장,교사,회원"},
    {"PART", "남선교회,여전도회,청년회,학생회,주일학교,성가대"},
};

void fillStartingLists(Database &db)
{
    Transaction t(db);
    for (const auto &entry : StartingLists) {
        const QString table = QString::fromLatin1(entry[0]);
        for (const QString &value : QString::fromUtf8(entry[1]).split(u','))
            db.execute(QStringLiteral("INSERT INTO %1 VALUES (:v)").arg(table), {{QStringLiteral("v"), value}});
    }
    t.commit();
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || args[1] != QLatin1String("create")) {
        std::fprintf(stderr, "usage: kelmo_register create <folder>\n");
        return 2;
    }
    const QString folder = args[2];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make folder %s\n", qPrintable(folder));
        return 1;
    }
    const QString file = QDir(folder).filePath(QStringLiteral("KELMODB.db"));
    try {
        Database::create(file, KelmoTables());
        Database db;
        db.setCatalog(KelmoTables());
        db.open(file);
        fillStartingLists(db);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}
