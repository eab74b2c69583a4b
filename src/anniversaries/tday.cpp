#include "anniversaries/tday.h"

#include "core/dm.h"
#include "core/lunsol.h"
#include "core/myunit.h"
#include "platform/sysutils.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace {
struct TableNames {
    const char *table, *tday;
};
const TableNames Names[] = {{"MASTER", "Tday"}, {"FAMILY", "TDAY"}};

int RememberedYear[2] = {0, 0};
int PassYear = 0;
QHash<QByteArray, QByteArray> MonthDays;

// Called by the triggers below whenever a row's birth date or calendar flag changes.
void forgetYear(sqlite3_context *context, int, sqlite3_value **argv)
{
    const int table = sqlite3_value_int(argv[0]);
    if (table == 0 || table == 1)
        RememberedYear[table] = 0;
    sqlite3_result_null(context);
}

// This year's birthday of one row for the pass under way (Bday, L); NULL when the row has none.
// Runs for every row of a table: rows share few month-days, so each is worked out once per pass.
void tdayOfRow(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto bytes = [](sqlite3_value *v) {
        const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
        return p ? QByteArrayView(p, sqlite3_value_bytes(v)) : QByteArrayView();
    };
    const QByteArrayView bday = bytes(argv[0]);
    const bool lunar = bytes(argv[1]) == QByteArrayView("\xec\x9d\x8c"); // "음"
    QByteArray tday;
    if (std::any_of(bday.begin(), bday.end(), [](char c) { return uchar(c) <= 0x20 || uchar(c) >= 0x80; })) {
        tday = BirthdayInYear(QString::fromUtf8(bday), lunar, PassYear).toUtf8();
    } else if (bday.size() > 7) {
        const QByteArray key = (lunar ? "L" : "S") + bday.sliced(4, 4).toByteArray();
        auto it = MonthDays.constFind(key);
        if (it == MonthDays.constEnd())
            it = MonthDays.insert(key, BirthdayInYear(QString::fromLatin1(bday), lunar, PassYear).toLatin1());
        tday = *it;
    }
    if (tday.isEmpty())
        sqlite3_result_null(context);
    else
        sqlite3_result_text(context, tday.constData(), int(tday.size()), SQLITE_TRANSIENT);
}

// Every writer of this connection passes the triggers, so an entry, an edit, a household or
// family editor or an import makes the next calendar recompute. A new connection has no
// triggers yet, and nothing remembered.
void prepareConnection(Database &db)
{
    // All four, or a table rebuilt since (which takes its triggers along) would go unwatched.
    Statement probe(db, QStringLiteral("SELECT COUNT(*) FROM sqlite_temp_schema WHERE type = 'trigger' AND name IN "
                                       "('tday_master_upd', 'tday_master_ins', 'tday_family_upd', 'tday_family_ins')"));
    if (probe.step() && probe.column(0).toInt() == 4)
        return;
    RememberedYear[0] = RememberedYear[1] = 0;
    if (sqlite3_create_function_v2(db.handle(), "kelmo_forget_tday_year", 1, SQLITE_UTF8, nullptr, &forgetYear,
                                   nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db.handle(), "kelmo_tday", 2, SQLITE_UTF8, nullptr, &tdayOfRow, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
        db.raise(sqlite3_errcode(db.handle()));
    QString sql;
    for (int i = 0; i < 2; ++i) {
        const QString t = QString::fromLatin1(Names[i].table);
        const QString lower = t.toLower();
        sql += QStringLiteral("CREATE TEMP TRIGGER IF NOT EXISTS tday_%1_upd AFTER UPDATE OF Bday, L ON main.%2 "
                              "WHEN OLD.Bday IS NOT NEW.Bday OR OLD.L IS NOT NEW.L "
                              "BEGIN SELECT kelmo_forget_tday_year(%3); END;"
                              "CREATE TEMP TRIGGER IF NOT EXISTS tday_%1_ins AFTER INSERT ON main.%2 "
                              "BEGIN SELECT kelmo_forget_tday_year(%3); END;")
                   .arg(lower, t)
                   .arg(i);
    }
    db.executeNative(sql);
}
} // namespace

QString BirthdayInYear(const QString &bday, bool lunar, int year)
{
    if (Trim(bday).size() <= 7)
        return {};
    const QString mmdd = bday.mid(4, 4);
    if (!lunar) {
        const int month = mmdd.left(2).toInt(), day = mmdd.mid(2).toInt();
        if (!IsAllDigits(mmdd) || month < 1 || month > 12 || day < 1 || day > 31)
            return {};
        // A day the month lacks in this year (29 February in a common year) falls on its last day.
        return mmdd.left(2) + NumStr(2, std::min(day, DaysInMonth(year, month)));
    }
    const QString ys = QString::number(year);
    QString s = LunarToSolar(ys + mmdd, false);
    // A late lunar month of year Y can fall in January of Y + 1; the birthday of Y then comes
    // from the lunar year before.
    if (s.left(4) > ys)
        s = LunarToSolar(QString::number(year - 1) + mmdd, false);
    return s.left(4) == ys ? s.mid(4, 4) : QString();
}

void RecalcTday(TdayTable table, int year)
{
    Database &db = frmDM->dbKelmo;
    const TableNames &n = Names[int(table)];
    prepareConnection(db);
    PassYear = year;
    MonthDays.clear();
    // One statement that rewrites only the rows whose value changes.
    Transaction transaction(db);
    db.executeNative(QStringLiteral("UPDATE %1 SET %2 = kelmo_tday(Bday, L) WHERE %2 IS NOT kelmo_tday(Bday, L)")
                         .arg(QLatin1String(n.table), QLatin1String(n.tday)));
    transaction.commit();
    RememberedYear[int(table)] = year;
}

int LastTdayYear(TdayTable table)
{
    prepareConnection(frmDM->dbKelmo);
    return RememberedYear[int(table)];
}
