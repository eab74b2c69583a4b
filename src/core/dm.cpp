#include "core/dm.h"

#include "core/global.h"
#include "core/tables.h"
#include "platform/dialogs.h"
#include "platform/diskfile.h"
#include "platform/errortext.h"

#include <QDir>
#include <QFileInfo>

TfrmDM *frmDM = nullptr;

TfrmDM::TfrmDM(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("frmDM"));
    dbKelmo.setObjectName(QStringLiteral("dbKelmo"));
    dbKelmo.setCatalog(KelmoTables());
    const std::pair<QObject *, const char *> names[] = {
        {&tbMaster, "tbMaster"}, {&dsMaster, "dsMaster"}, {&tbFamily, "tbFamily"},
        {&tbVisit, "tbVisit"},   {&tbStudy, "tbStudy"},   {&dsFamily, "dsFamily"},
        {&dsVisit, "dsVisit"},   {&dsStudy, "dsStudy"},   {&tbZip, "tbZip"},
        {&dsZip, "dsZip"},       {&tbArea, "tbArea"},     {&tbZone, "tbZone"},
        {&tbPart, "tbPart"},     {&tbResp, "tbResp"},     {&tbDuty, "tbDuty"},
        {&tbGita, "tbGita"},     {&tbBigo, "tbBigo"},     {&tbKind, "tbKind"},
        {&tbFrel, "tbFrel"},     {&tbEduc, "tbEduc"},     {&dsFrel, "dsFrel"},
        {&dsEduc, "dsEduc"},     {&qrMaster, "qrMaster"}, {&qrMy, "qrMy"},
        {&qrMax, "qrMax"},
    };
    for (const auto &[object, name] : names)
        object->setObjectName(QString::fromLatin1(name));

    tbMaster.setIndexFieldNames(QStringLiteral("NAME"));
    tbFamily.setIndexFieldNames(QStringLiteral("Ino;Seq"));
    tbFamily.setMasterSource(&dsMaster, QStringLiteral("Ino"));
    tbVisit.setIndexFieldNames(QStringLiteral("Ino;Vday;Vtime"));
    tbVisit.setMasterSource(&dsMaster, QStringLiteral("Ino"));
    tbStudy.setIndexFieldNames(QStringLiteral("Ino;Eday;Eday2;Ename"));
    tbStudy.setMasterSource(&dsMaster, QStringLiteral("Ino"));
    tbZip.setIndexName(QStringLiteral("ZADDR"));
}

TfrmDM::~TfrmDM()
{
    if (frmDM == this)
        frmDM = nullptr;
}

QString TfrmDM::DatabaseFileName()
{
    return DataPath + QStringLiteral("KELMODB.db");
}

bool TfrmDM::CheckDataFile(const QString &name)
{
    // The tables live in one database file: without it, or with an empty one, that file is the
    // one missing.
    const QFileInfo database(DatabaseFileName());
    QString missing;
    if (!database.isFile() || database.size() == 0) {
        missing = ShownFileName(database.filePath());
    } else {
        if (!dbKelmo.isOpen())
            dbKelmo.open(DatabaseFileName());
        const TableDef *def = dbKelmo.tableDef(name);
        if (!def || !dbKelmo.tableExists(def->name))
            missing = name;
    }
    if (!missing.isEmpty())
        ShowMessage(QStringLiteral("[") + missing + QStringLiteral("] 파일이 없습니다."));
    return missing.isEmpty();
}

bool TfrmDM::DataModuleCreate()
{
    try {
        AppPath = QDir::currentPath() + u'/';
        DataPath = AppPath + QStringLiteral("Data/");
        BackupPath = AppPath + QStringLiteral("Backup/");
        SetOwnFiles({DatabaseFileName(), AppPath + QStringLiteral("KELMO.INI")});
        for (const QString &file : KelmoTableFiles())
            if (!CheckDataFile(file))
                return false;
        Table *const order[] = {&tbMaster, &tbFamily, &tbVisit, &tbStudy, &tbZip,
                                &tbArea,   &tbBigo,   &tbDuty,  &tbEduc,  &tbFrel,
                                &tbGita,   &tbKind,   &tbPart,  &tbResp,  &tbZone};
        for (Table *t : order)
            t->open();
        tbMaster.first();
        return true;
    } catch (const std::exception &e) {
        ShowMessage(QString::fromUtf8(e.what()) + QStringLiteral("\r\n") +
                    QStringLiteral("데이터에 이상이 있습니다."));
        return false;
    }
}

void TfrmDM::ExportText(Dataset &source, const QString &fileName)
{
    tbFile.setTableName(fileName);
    tbFile.batchMove(source);
}
