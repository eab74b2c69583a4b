// The data module's opening and its messages, the settings and lookup lists, the text export.
#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "lists/handoff.h"
#include "platform/errortext.h"
#include "platform/inifile.h"
#include "platform/regsettings.h"
#include "scripted.h"
#include "tempregister.h"

#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QWidget>
#include <cerrno>
#include <unistd.h>

namespace {
const QString Damaged = QStringLiteral("\r\n데이터에 이상이 있습니다.");

QStringList rows(Database &db, const QString &table)
{
    QStringList out;
    Query q(&db);
    q.setSql(QStringLiteral("SELECT * FROM ") + table);
    q.open();
    for (q.first(); !q.eof(); q.next())
        out << q.field(0).asString();
    return out;
}

// Settings stores in the register's folder and a private config folder.
struct Settings {
    explicit Settings(const QString &folder)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder + QStringLiteral("/config")));
        IniFile = new IniStore(folder + QStringLiteral("/KELMO.INI"));
        RegSettings = new RegistryStore();
        RegSettings->OpenKey(true);
    }
    ~Settings()
    {
        delete IniFile;
        IniFile = nullptr;
        delete RegSettings;
        RegSettings = nullptr;
    }
};
} // namespace

class TestDm : public QObject {
    Q_OBJECT

private slots:
    void missingDatabaseNamesTheRegisterFile()
    {
        QTemporaryDir dir;
        CurrentFolder cd(dir.path());
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("[Data/KELMODB.db] 파일이 없습니다."));
        {
            TfrmDM dm;
            QVERIFY(!dm.DataModuleCreate());
        }
        QCOMPARE(AppPath, dir.path() + u'/');
        QCOMPARE(DataPath, dir.path() + QStringLiteral("/Data/"));
        QCOMPARE(BackupPath, dir.path() + QStringLiteral("/Backup/"));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Data/KELMODB.db"))));

        // an empty file is no register either, and stays empty
        QDir().mkpath(dir.filePath(QStringLiteral("Data")));
        QFile empty(dir.filePath(QStringLiteral("Data/KELMODB.db")));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        boxes.expect(QStringLiteral("[Data/KELMODB.db] 파일이 없습니다."));
        TfrmDM dm;
        QVERIFY(!dm.DataModuleCreate());
        QVERIFY(boxes.allAnswered());
        QCOMPARE(QFileInfo(empty).size(), 0);
    }

    void missingTableNamesItsFileAndOpensNothing()
    {
        TempRegister reg;
        reg.db().executeNative(QStringLiteral("DROP TABLE FAMILY"));
        CurrentFolder cd(reg.folder());
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("[FAMILY.DB] 파일이 없습니다."));
        TfrmDM dm;
        QVERIFY(!dm.DataModuleCreate());
        QVERIFY(!dm.tbMaster.active());
    }

    void damagedDataEndsWithTheEnginesMessage()
    {
        {
            TempRegister reg;
            reg.db().executeNative(QStringLiteral("ALTER TABLE STUDY ADD COLUMN Extra VARCHAR(5)"));
            CurrentFolder cd(reg.folder());
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[STUDY.DB] 파일은 올바른 형식의 자료 파일이 아닙니다.\n(field Extra (VARCHAR(5)) does not match)") + Damaged);
            TfrmDM dm;
            QVERIFY(!dm.DataModuleCreate());
        }
        {
            QTemporaryDir dir;
            QDir().mkpath(dir.filePath(QStringLiteral("Data")));
            QFile f(dir.filePath(QStringLiteral("Data/KELMODB.db")));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(8192, '\x5a'));
            f.close();
            CurrentFolder cd(dir.path());
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("[Data/KELMODB.db] 파일은 올바른 형식의 자료 파일이 아닙니다.\n(file is not a database)") + Damaged);
            TfrmDM dm;
            QVERIFY(!dm.DataModuleCreate());
        }
    }

    void opensOnTheFirstMemberByNameWithItsDetails()
    {
        OpenedRegister r;
        TempRegister &reg = r.reg;
        reg.addMember(QStringLiteral("2"), QStringLiteral("박"));
        reg.addMember(QStringLiteral("1"), QStringLiteral("김"));
        reg.db().execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name) VALUES ('1', 1, '김아들')"));
        reg.db().execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name) VALUES ('2', 1, '박딸')"));
        reg.db().execute(QStringLiteral("INSERT INTO VISIT (Ino, Vday, Vtime) VALUES ('1', '20240101', '1000')"));
        TfrmDM &dm = r.open();
        QCOMPARE(dm.tbMaster.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("김"));
        QCOMPARE(dm.tbFamily.recordCount(), 1);
        QCOMPARE(dm.tbFamily.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("김아들"));
        QCOMPARE(dm.tbVisit.recordCount(), 1);
        dm.tbMaster.next();
        QCOMPARE(dm.tbFamily.fieldByName(QStringLiteral("Name")).asString(), QStringLiteral("박딸"));
        QCOMPARE(dm.tbVisit.recordCount(), 0);
        QCOMPARE(dm.tbMaster.objectName(), QStringLiteral("tbMaster"));

        // the selection mark: clear all, mark one; the open table sees it
        SetAllSel(dm.qrMaster, true);
        QVERIFY(dm.tbMaster.fieldByName(QStringLiteral("Sel")).asBoolean());
        SetAllSel(dm.qrMaster, false);
        RunSQL(dm.qrMaster, QStringLiteral("UPDATE MASTER SET SEL = TRUE WHERE INO = ") + Quote(QStringLiteral("2")));
        QVERIFY(dm.tbMaster.fieldByName(QStringLiteral("Sel")).asBoolean());
        QCOMPARE(OpenQuery(dm.qrMaster, QStringLiteral("SELECT * FROM MASTER WHERE SEL = TRUE ORDER BY NAME"), false), 1);
        QVERIFY(!dm.qrMaster.active());
    }

    void quotedNamesAreStoredAndFound()
    {
        OpenedRegister r;
        TfrmDM &dm = r.open();
        dm.tbMaster.append();
        dm.tbMaster.fieldByName(QStringLiteral("Ino")).setAsString(QStringLiteral("1"));
        dm.tbMaster.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("O'Neil"));
        dm.tbMaster.post();
        QCOMPARE(OpenQuery(dm.qrMy, QStringLiteral("SELECT * FROM MASTER WHERE NAME = ") + Quote(QStringLiteral("O'Neil")), false), 1);
        // a typed text cannot change the statement
        QCOMPARE(OpenQuery(dm.qrMy, QStringLiteral("SELECT * FROM MASTER WHERE NAME = ") + Quote(QStringLiteral("x' OR '1'='1")), false), 0);
    }

    void settingsOnAFirstStart()
    {
        OpenedRegister r;
        TempRegister &reg = r.reg;
        r.open();
        Settings s(reg.folder());
        QWidget caption;
        CaptionWindow = &caption;
        QVERIFY(ReadSettings());
        CaptionWindow = nullptr;
        QCOMPARE(caption.windowTitle(), QStringLiteral("켈모누리 3.0 [교회 - 사용자]"));
        QCOMPARE(MarginTop, 14);
        QCOMPARE(MarginLeft, 4);
        QCOMPARE(AreaOption, 0);
        QCOMPARE(BaptOption, 0);
        QCOMPARE(CalenOption, 1);
        QCOMPARE(Password, QString());
        QCOMPARE(AreaCount, 0);

        // a blank user name reads as the default one
        RegSettings->WriteString(QStringLiteral("User"), QStringLiteral("   "));
        IniFile->WriteInteger(QStringLiteral("etc"), QStringLiteral("AREA"), 1); // letter case does not matter
        QVERIFY(ReadSettings());
        QCOMPARE(UserName, QStringLiteral("사용자"));
        QCOMPARE(AreaOption, 1);
        QCOMPARE(AreaWord(), QStringLiteral("속회"));
    }

    void lookupListsAreRewrittenInListOrder()
    {
        OpenedRegister r;
        TempRegister &reg = r.reg;
        r.open();
        Settings s(reg.folder());
        QVERIFY(ReadSettings());

        AreaList = {QStringLiteral("3구역"), QStringLiteral("1구역"), QStringLiteral("2구역")};
        AreaCount = 3;
        ZoneList = {QStringLiteral("1교구")};
        ZoneCount = 0; // a count of 0 empties the table whatever the list holds
        ChurchName = QStringLiteral("새빛교회");
        QVERIFY(WriteSettings());
        QCOMPARE(rows(reg.db(), QStringLiteral("AREA")), AreaList);
        QCOMPARE(rows(reg.db(), QStringLiteral("ZONE")), QStringList());
        QVERIFY(ReadSettings());
        QCOMPARE(AreaList, (QStringList{QStringLiteral("3구역"), QStringLiteral("1구역"), QStringLiteral("2구역")}));
        QCOMPARE(ChurchName, QStringLiteral("새빛교회"));

        // FillItemsWithBlank: one blank item first, also for an empty list
        QComboBox box;
        FillItemsWithBlank(&box, ZoneList, 0);
        QCOMPARE(box.count(), 1);
        QCOMPARE(box.itemText(0), QStringLiteral(" "));
        FillItems(&box, AreaList, 2);
        QCOMPARE(box.count(), 2);
        QCOMPARE(box.itemText(0), QStringLiteral("3구역"));
    }

    void unreadableOrUnwritableSettingsAreReported()
    {
        OpenedRegister r;
        TempRegister &reg = r.reg;
        r.open();
        QDir().mkpath(reg.folder() + QStringLiteral("/KELMO.INI")); // a folder where the file should be
        Settings s(reg.folder());
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("설정사항을 읽는 중에 오류가 발생했습니다."));
            QVERIFY(!ReadSettings());
        }
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("설정사항을 쓰는 중에 오류가 발생했습니다.\n") +
                         FileErrorText(EISDIR, QStringLiteral("KELMO.INI")));
            QVERIFY(!WriteSettings());
        }
    }

    void textExportIsFixedWidthInBytes()
    {
        OpenedRegister r;
        TempRegister &reg = r.reg;
        reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"), {{QStringLiteral("Tel1"), QStringLiteral("02-123")}});
        reg.addMember(QStringLiteral("2"), QStringLiteral("Lee"), {{QStringLiteral("Addr1"), QStringLiteral("서울")}});
        TfrmDM &dm = r.open();
        Query q(&dm.dbKelmo);
        q.setSql(QStringLiteral("SELECT Name, Tel1, (Addr1 || ' ' || Addr2) Addr FROM MASTER ORDER BY Name"));
        q.open();
        const QString file = reg.folder() + QStringLiteral("/list.txt");
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older export that must be replaced\n");
        old.close();
        dm.ExportText(q, file);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        // Name is 10 bytes wide, Tel1 14: the second column starts at byte 11 on every line
        QCOMPARE(lines[0], QStringLiteral("Lee                       서울"));
        QCOMPARE(lines[1], QStringLiteral("김철수     02-123"));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, dm.ExportText(q, reg.folder() + QStringLiteral("/no/such/folder/x.txt")));
    }

    // However the save dialog reaches them, the register and the settings are never replaced.
    void textExportRefusesTheProgramsOwnFiles()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"));
        TfrmDM &dm = r.open();
        const QString db = r.reg.databaseFile(), folder = r.reg.folder();
        const auto bytes = [](const QString &file) {
            QFile f(file);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QByteArray before = bytes(db);
        QVERIFY(QFile::link(db, folder + QStringLiteral("/list.txt")));
        QVERIFY(::link(QFile::encodeName(db).constData(), QFile::encodeName(folder + QStringLiteral("/hard.txt")).constData()) == 0);
        QVERIFY(QFile::link(folder + QStringLiteral("/KELMO.INI"), folder + QStringLiteral("/settings.txt")));
        const QString refused = QStringLiteral("파일을 저장하지 못했습니다.\r\n선택한 파일은 켈모누리가 사용하는 파일(%1)입니다.\r\n"
                                               "이 파일에는 저장할 수 없으니 다른 파일 이름을 고르십시오.");
        const auto saveDlg = SaveDlg;
        const QString ini = QStringLiteral("KELMO.INI"), reg = QStringLiteral("KELMODB.db");
        const std::pair<QString, QString> targets[] = {
            {db, reg}, {folder + QStringLiteral("/Data/../Data/KELMODB.db"), reg}, {folder + QStringLiteral("/list.txt"), reg},
            {folder + QStringLiteral("/hard.txt"), reg}, {folder + QStringLiteral("/KELMO.INI"), ini},
            {folder + QStringLiteral("/settings.txt"), ini}, // a link to settings not yet written
        };
        for (const auto &[target, own] : targets) {
            SaveDlg = [&] { return target; };
            ScriptedMessages boxes;
            boxes.expect(refused.arg(own));
            resulthandoff::Save(dm.tbMaster);
            QVERIFY2(boxes.allAnswered(), qPrintable(target));
        }
        SaveDlg = saveDlg;
        QCOMPARE(bytes(db), before);
        QVERIFY(!QFile::exists(folder + QStringLiteral("/KELMO.INI")));
        QCOMPARE(dm.dbKelmo.scalar(QStringLiteral("SELECT NAME FROM MASTER")).toString(), QStringLiteral("김철수"));
    }

    void findInMemo()
    {
        QPlainTextEdit memo;
        memo.setPlainText(QStringLiteral("첫 줄\n환자 VISIT 기록\n끝"));
        QVERIFY(FindInMemo(&memo, QStringLiteral("visit"), false));
        QVERIFY(!FindInMemo(&memo, QStringLiteral("visit"), true));
        QVERIFY(!FindInMemo(&memo, QStringLiteral("줄\n환자"), false)); // never across lines
        QVERIFY(!FindInMemo(&memo, QString(), false));
        QCOMPARE(memo.textCursor().position(), 0);
    }
};

QTEST_MAIN(TestDm)
#include "tst_dm.moc"
