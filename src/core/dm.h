#pragma once
// The one owner of the database: every shared table, data source and general query.
#include "platform/database.h"
#include "platform/dataset.h"
#include "platform/texttable.h"

#include <QObject>

class TfrmDM : public QObject {
    Q_OBJECT
public:
    explicit TfrmDM(QObject *parent = nullptr);
    ~TfrmDM() override;

    // Works out the folders, checks the table files and opens every table. False when the
    // program must end (the user has been told why).
    bool DataModuleCreate();
    // False (after its message) when the table file, or the register holding it, is missing.
    bool CheckDataFile(const QString &name);

    // The register's database file inside DataPath.
    static QString DatabaseFileName();

    Database dbKelmo;
    Table tbMaster{&dbKelmo, QStringLiteral("MASTER")};
    DataSource dsMaster{&tbMaster};
    Table tbFamily{&dbKelmo, QStringLiteral("FAMILY")};
    Table tbVisit{&dbKelmo, QStringLiteral("VISIT")};
    Table tbStudy{&dbKelmo, QStringLiteral("STUDY")};
    DataSource dsFamily{&tbFamily};
    DataSource dsVisit{&tbVisit};
    DataSource dsStudy{&tbStudy};
    Table tbZip{&dbKelmo, QStringLiteral("ZIP")};
    DataSource dsZip{&tbZip};
    Table tbArea{&dbKelmo, QStringLiteral("AREA")};
    Table tbZone{&dbKelmo, QStringLiteral("ZONE")};
    Table tbPart{&dbKelmo, QStringLiteral("PART")};
    Table tbResp{&dbKelmo, QStringLiteral("RESP")};
    Table tbDuty{&dbKelmo, QStringLiteral("DUTY")};
    Table tbGita{&dbKelmo, QStringLiteral("GITA")};
    Table tbBigo{&dbKelmo, QStringLiteral("BIGO")};
    Table tbKind{&dbKelmo, QStringLiteral("KIND")};
    Table tbFrel{&dbKelmo, QStringLiteral("FREL")};
    Table tbEduc{&dbKelmo, QStringLiteral("EDUC")};
    DataSource dsFrel{&tbFrel};
    DataSource dsEduc{&tbEduc};
    Query qrMaster{&dbKelmo};
    Query qrMy{&dbKelmo};
    Query qrMax{&dbKelmo};
    TextTable tbFile;

    // Writes every row of a list query to a fixed-width text file (the save command of the lists).
    // Throws std::runtime_error, also when the file is the register or KELMO.INI (left untouched).
    void ExportText(Dataset &source, const QString &fileName);
};

extern TfrmDM *frmDM;
