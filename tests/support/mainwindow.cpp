#include "mainwindow.h"

#include "core/dm.h"
#include "records/go.h"

#include <QTest>

MainWindowFixture::MainWindowFixture()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(r.reg.folder() + QStringLiteral("/config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(r.reg.folder()));
    // No birthday calendar at start: tests open the windows they mean to.
    QFile ini(r.reg.folder() + QStringLiteral("/KELMO.INI"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[ETC]\nCalen=0\n");
}

MainWindowFixture::~MainWindowFixture()
{
    delete frmGo;
    frmGo = nullptr;
    m_main.reset();
}

TfrmMain &MainWindowFixture::open()
{
    r.open();
    m_main.reset(static_cast<TfrmMain *>(CreateMainWindow()));
    if (!m_main)
        QTest::qFail("the main window was not created", __FILE__, __LINE__);
    frmGo = new TfrmGo(m_main.get());
    return *m_main;
}

Table &MainWindowFixture::master()
{
    return frmDM->tbMaster;
}
