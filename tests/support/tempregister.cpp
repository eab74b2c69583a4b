#include "tempregister.h"

#include "core/dm.h"

#include <QTest>

TempRegister::TempRegister()
{
    QDir().mkpath(dataFolder());
    Database::create(databaseFile(), KelmoTables());
    m_db.setCatalog(KelmoTables());
    m_db.open(databaseFile());
}

void TempRegister::addMember(const QString &ino, const QString &name, const QVariantMap &more)
{
    QStringList cols{QStringLiteral("Ino"), QStringLiteral("Name")};
    QStringList marks{QStringLiteral(":ino"), QStringLiteral(":name")};
    Params params{{QStringLiteral("ino"), ino}, {QStringLiteral("name"), name}};
    int n = 0;
    for (auto it = more.begin(); it != more.end(); ++it, ++n) {
        cols << it.key();
        marks << QStringLiteral(":p%1").arg(n);
        params.append({QStringLiteral("p%1").arg(n), it.value()});
    }
    m_db.execute(QStringLiteral("INSERT INTO MASTER (%1) VALUES (%2)").arg(cols.join(u','), marks.join(u',')),
                 params);
}

OpenedRegister::OpenedRegister() = default;

OpenedRegister::~OpenedRegister()
{
    if (frmDM == m_dm.get())
        frmDM = nullptr;
}

TfrmDM &OpenedRegister::open()
{
    m_dm = std::make_unique<TfrmDM>();
    frmDM = m_dm.get();
    if (!m_dm->DataModuleCreate())
        QTest::qFail("the data module did not open the register", __FILE__, __LINE__);
    return *m_dm;
}
