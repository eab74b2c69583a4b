#pragma once
// Process-wide settings, lookup lists, folders and hand-offs shared by every window.
#include "platform/dataset.h"

#include <QString>
#include <QStringList>
#include <optional>

class IniStore;
class RegistryStore;
class QComboBox;
class QPlainTextEdit;
class QWidget;

// Folders, set when the data module is created; each ends in "/".
extern QString AppPath;
extern QString DataPath;
extern QString BackupPath;

// Storage of the settings: KELMO.INI in AppPath and the per-user key "Software\Kelmo 3.0".
extern IniStore *IniFile;
extern RegistryStore *RegSettings;

// Settings
extern QString UserName;
extern QString Password;
extern QString ChurchName;
extern QString ChurchAdd1;
extern QString ChurchAdd2;
extern QString ChurchZip;
extern QString ChurchTel;
extern int MarginTop;
extern int MarginLeft;
extern int AreaOption;
extern int BaptOption;
extern int CalenOption;

// Lookup lists, each mirroring one lookup table in its stored order.
extern QStringList AreaList, ZoneList, PartList, RespList, DutyList, GitaList, BigoList, KindList,
    FrelList, EducList;
extern int AreaCount, ZoneCount, PartCount, RespCount, DutyCount, GitaCount, BigoCount, KindCount,
    FrelCount, EducCount;

// Hand-offs from one window to the window it opens next.
extern std::optional<Bookmark> SavedBookmark;
extern QString DialNumber;
extern QString PrintSortField;
extern QString PickedAddr;
extern QString PickedZip;

// The window whose caption shows the church and the user (the main window).
extern QWidget *CaptionWindow;
QString MainCaption();

// Loads every setting and the ten lookup lists; false (after its message) when the program must end.
bool ReadSettings();
// Saves the settings and rewrites the lookup tables, all or nothing; false (after a message
// naming the cause) on failure.
bool WriteSettings();
void ReplaceLookupTable(Table &table, const QStringList &list, int count);
void EmptyLookupTable(Table &table);
void PackTable(Table &table);
void FillItems(QComboBox *box, const QStringList &list, int count);
void FillItemsWithBlank(QComboBox *box, const QStringList &list, int count);

// SQL on the data module's queries.
void RunSQL(Query &query, const QString &sql);
void SetSQL(Query &query, const QString &sql);
int OpenQuery(Query &query, const QString &sql, bool keepOpen);
void SetAllSel(Query &query, bool value);

QString RepeatChar(QChar c, int count);
bool FindInMemo(QPlainTextEdit *memo, const QString &text, bool caseSensitive);

// Naming options as words.
QString AreaWord();  // "구역" or "속회"
QString BaptWord();  // "세례" or "침례"
