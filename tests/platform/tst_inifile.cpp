#include "platform/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char sample[] = "; settings of the program\n"
                      "stray=before any section\n"
                      "[Paths]\n"
                      "  DataDir =  /home/kim/Data  \n"
                      "Empty=\n"
                      "Quoted=\"a, b\", c\n"
                      "Formula=x=1;y=2\n"
                      "; kept\n"
                      "\n"
                      "[Options]\n"
                      "Count = 42\n"
                      "Hex=0x1F\n"
                      "Negative=-7\n"
                      "Trailing=12abc\n"
                      "Word=abc\n"
                      "Huge=99999999999\n"
                      "Count=43\n"
                      "\n"
                      "[교회]\n"
                      "이름=새빛교회\n"
                      "ÉTÉ=summer\n";

QByteArray readAll(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &fileName, const QByteArray &data)
{
    QFile f(fileName);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;

private slots:
    void init()
    {
        m_file = m_dir.filePath(QStringLiteral("KELMO.INI"));
        QFile::remove(m_file);
        writeAll(m_file, sample);
    }

    void readString_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("blanks trimmed, any case") << "paths" << "DATADIR" << "/home/kim/Data";
        QTest::newRow("empty value is not the default") << "Paths" << "Empty" << "";
        QTest::newRow("quotes and commas kept") << "Paths" << "Quoted" << "\"a, b\", c";
        QTest::newRow("split at the first =") << "Paths" << "Formula" << "x=1;y=2";
        QTest::newRow("first of duplicate keys") << "Options" << "Count" << "42";
        QTest::newRow("missing key") << "Paths" << "Nothing" << "DEF";
        QTest::newRow("missing section") << "Nothing" << "DataDir" << "DEF";
        QTest::newRow("key of another section") << "Options" << "DataDir" << "DEF";
        QTest::newRow("key before any section") << "" << "stray" << "DEF";
        QTest::newRow("comment is no key") << "Paths" << "; kept" << "DEF";
        QTest::newRow("Korean names") << "교회" << "이름" << "새빛교회";
        QTest::newRow("non-ASCII case folding") << "교회" << "été" << "summer";
        QTest::newRow("blanks around arguments") << " Paths " << " Empty " << "";
    }
    void readString()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const IniStore ini(m_file);
        QCOMPARE(ini.ReadString(section, key, QStringLiteral("DEF")), expected);
        QCOMPARE(ini.ValueExists(section, key), expected != QLatin1String("DEF"));
    }

    void readInteger_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal with blanks") << "Count" << 42;
        QTest::newRow("hex") << "Hex" << 31;
        QTest::newRow("negative") << "Negative" << -7;
        QTest::newRow("leading digits") << "Trailing" << 12;
        QTest::newRow("not a number") << "Word" << -1;
        QTest::newRow("out of range") << "Huge" << -1;
        QTest::newRow("missing") << "Nothing" << -1;
    }
    void readInteger()
    {
        QFETCH(QString, key);
        QFETCH(int, expected);
        QCOMPARE(IniStore(m_file).ReadInteger(QStringLiteral("Options"), key, -1), expected);
    }

    void missingFileReadsDefaultsAndStaysMissing()
    {
        const QString name = m_dir.filePath(QStringLiteral("none.ini"));
        IniStore ini(name);
        QCOMPARE(ini.ReadString("A", "B", "x"), QStringLiteral("x"));
        QCOMPARE(ini.ReadInteger("A", "B", 5), 5);
        QVERIFY(!ini.SectionExists("A"));
        ini.DeleteKey("A", "B");
        ini.EraseSection("A");
        QVERIFY(!QFile::exists(name));
    }

    void unreadableFileThrows()
    {
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder.ini")));
        const IniStore ini(m_dir.filePath(QStringLiteral("folder.ini")));
        QVERIFY_THROWS_EXCEPTION(IniError, ini.ReadString("A", "B", "x"));
    }

    // Rewrites touch only what they must: order, comments and spelling of the rest stay.
    void writesKeepTheRestOfTheFile()
    {
        IniStore ini(m_file);
        ini.WriteString("PATHS", "datadir", "/srv/교적");
        ini.WriteString("Paths", "Backup", "/srv/backup");
        ini.WriteInteger("Options", "Count", -3);
        ini.WriteString("New", "First", "1");
        QByteArray expected = sample;
        expected.replace("  DataDir =  /home/kim/Data  \n", "  DataDir =  /srv/교적\n");
        expected.replace("; kept\n", "; kept\nBackup=/srv/backup\n");
        expected.replace("Count = 42\n", "Count = -3\n");
        expected += "\n[New]\nFirst=1\n";
        QCOMPARE(readAll(m_file), expected);
    }

    void valuesRoundTrip_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << "";
        QTest::newRow("separators") << "a=b; c, \"d\" [e]";
        QTest::newRow("Korean") << "서울특별시 종로구";
    }
    void valuesRoundTrip()
    {
        QFETCH(QString, value);
        IniStore(m_file).WriteString("Paths", "Value", value);
        const IniStore other(m_file); // another reader sees the write at once
        QCOMPARE(other.ReadString("Paths", "Value", "DEF"), value);
    }

    void writingCreatesTheFile()
    {
        const QString name = m_dir.filePath(QStringLiteral("new.ini"));
        QFile::remove(name);
        IniStore ini(name);
        ini.WriteInteger("Window", "Left", 120);
        ini.WriteString("Window", "Title", "교적");
        QCOMPARE(readAll(name), QByteArray("[Window]\nLeft=120\nTitle=교적\n"));
        QCOMPARE(ini.ReadInteger("window", "left", 0), 120);
    }

    void windowsLineEndsKept()
    {
        writeAll(m_file, "[A]\r\nx=1\r\n");
        IniStore ini(m_file);
        ini.WriteString("A", "y", "2");
        QCOMPARE(readAll(m_file), QByteArray("[A]\r\nx=1\r\ny=2\r\n"));
        QCOMPARE(ini.ReadString("A", "x", ""), QStringLiteral("1"));
    }

    void windowsCodePageReadAndWrittenBackAsUtf8()
    {
        // "[교회]\r\n이름=새빛교회\r\n" in code page 949, as the Windows program left it.
        writeAll(m_file, "[\xB1\xB3\xC8\xB8]\r\n\xC0\xCC\xB8\xA7=\xBB\xF5\xBA\xFB\xB1\xB3\xC8\xB8\r\n");
        IniStore ini(m_file);
        QCOMPARE(ini.ReadString("교회", "이름", ""), QStringLiteral("새빛교회"));
        ini.WriteString("교회", "목사", "김");
        QCOMPARE(readAll(m_file), QByteArray("[교회]\r\n이름=새빛교회\r\n목사=김\r\n"));
    }

    // 천호 (C3 B5 C8 A3) and 201호 in code page 949 are also valid two-byte UTF-8 ("õȣ").
    void codePageLinesThatAlsoPassAsUtf8()
    {
        writeAll(m_file, "[Church]\r\nName=\xC3\xB5\xC8\xA3\r\nAdd2=201\xC8\xA3\r\n"
                         "Add1=서울시\r\n");
        IniStore ini(m_file);
        QCOMPARE(ini.ReadString("Church", "Name", ""), QStringLiteral("천호"));
        QCOMPARE(ini.ReadString("Church", "Add2", ""), QStringLiteral("201호"));
        QCOMPARE(ini.ReadString("Church", "Add1", ""), QStringLiteral("서울시"));
        IniUpdate save(ini);
        for (const char *key : {"Name", "Add2", "Add1"})
            save.WriteString("Church", key, ini.ReadString("Church", key, ""));
        save.commit();
        QCOMPARE(readAll(m_file), QByteArray("[Church]\r\nName=천호\r\nAdd2=201호\r\n"
                                             "Add1=서울시\r\n"));
        writeAll(m_file, "[Church]\r\nName=\xC3\xB5\r\nAdd1=\xBC\xAD\xBF\xEF\r\n"); // 천, 서울
        QCOMPARE(ini.ReadString("Church", "Name", ""), QStringLiteral("천"));
    }

    // Latin letters and signs take two bytes in UTF-8 and mostly read as Hangul in code page 949
    // too: the program's own file reads back as written, also as an earlier build left it.
    void textOutsideHangulReadsBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("accents") << "Café Noël";
        QTest::newRow("middle dot") << "B·201";
        QTest::newRow("signs") << "°C ©";
        QTest::newRow("Greek") << "Ωμέγα";
        QTest::newRow("what code page 949 reads as 천호") << "õȣ";
    }
    void textOutsideHangulReadsBackAsWritten()
    {
        QFETCH(QString, value);
        writeAll(m_file, "[Church]\nAdd1=서울시\n");
        IniStore ini(m_file);
        ini.WriteString("Church", "Name", value);
        QCOMPARE(ini.ReadString("Church", "Name", ""), value);
        ini.WriteString("Church", "Add1", "1"); // now nothing but two-byte sequences
        QCOMPARE(ini.ReadString("Church", "Name", ""), value);
        QCOMPARE(IniStore(m_file).ReadString("Church", "Add1", ""), QStringLiteral("1"));
        if (value != QStringLiteral("õȣ")) { // a file written before the mark was needed
            writeAll(m_file, "[Church]\nName=" + value.toUtf8() + "\n");
            QCOMPARE(ini.ReadString("Church", "Name", ""), value);
        }
    }

    // Edited by hand: UTF-8 lines, a code-page line, and lines with a stray Latin-1 byte that
    // read in neither. Each line reads in its own encoding; what reads in none keeps its bytes.
    void mixedEncodingsReadLineByLine()
    {
        const QByteArray memo = "; memo caf\xE9\n", odd = "Odd=x\xE9\n";
        writeAll(m_file, "[Church]\n" + memo + "Name=서울중앙교회\nAdd1=서울시 종로구\n" + odd +
                             "Old=\xB1\xB3\xC8\xB8\n");
        IniStore ini(m_file);
        QCOMPARE(ini.ReadString("Church", "Name", ""), QStringLiteral("서울중앙교회"));
        QCOMPARE(ini.ReadString("Church", "Add1", ""), QStringLiteral("서울시 종로구"));
        QCOMPARE(ini.ReadString("Church", "Old", ""), QStringLiteral("교회"));
        const QString oddValue = ini.ReadString("Church", "Odd", "");
        QCOMPARE(oddValue, QStringLiteral("x\uFFFD"));
        IniUpdate save(ini); // a settings save: every value written, one of them changed
        save.WriteString("Church", "Name", QStringLiteral("서울중앙교회"));
        save.WriteString("Church", "Odd", oddValue);
        save.WriteString("Church", "Tel", "02-123");
        save.commit();
        QCOMPARE(readAll(m_file), "[Church]\n" + memo + "Name=서울중앙교회\nAdd1=서울시 종로구\n" + odd +
                                      "Old=교회\nTel=02-123\n");
        ini.WriteString("Church", "Odd", "y");
        QCOMPARE(readAll(m_file), "[Church]\n" + memo + "Name=서울중앙교회\nAdd1=서울시 종로구\nOdd=y\n"
                                                        "Old=교회\nTel=02-123\n");
    }

    void eraseAndDelete()
    {
        writeAll(m_file, "[A]\nx=1\nX=2\ny=3\n\n[B]\nz=4\n[a]\nx=5\n");
        IniStore ini(m_file);
        ini.DeleteKey("a", "x");
        QCOMPARE(readAll(m_file), QByteArray("[A]\ny=3\n\n[B]\nz=4\n[a]\nx=5\n"));
        ini.EraseSection("A");
        QCOMPARE(readAll(m_file), QByteArray("[B]\nz=4\n"));
        QVERIFY(!ini.SectionExists("a"));
        QVERIFY(ini.SectionExists("b"));
    }

    void writeFailureThrows()
    {
        // A path under a plain file fails even for root, unlike a read-only folder.
        IniStore ini(m_file + QStringLiteral("/KELMO.INI"));
        try {
            ini.WriteString("A", "x", "1");
            QFAIL("no IniError");
        } catch (const IniError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(QStringLiteral("[KELMO.INI]")), e.what());
        }
    }

    // Several writes go in together; dropped before finish, the file is as it was, or missing.
    void anUnfinishedUpdateLeavesTheFileAsItWas()
    {
        const QString none = m_dir.filePath(QStringLiteral("none.ini"));
        for (const QString &name : {m_file, none}) {
            IniStore ini(name);
            {
                IniUpdate update(ini);
                update.WriteString("Paths", "DataDir", "/srv");
                update.WriteString("New", "First", "1");
                update.prepare();
                QCOMPARE(readAll(m_file), QByteArray(sample));
                update.replace();
                QCOMPARE(ini.ReadString("paths", "datadir", ""), QStringLiteral("/srv"));
                QCOMPARE(ini.ReadString("new", "first", ""), QStringLiteral("1"));
            }
            QCOMPARE(readAll(m_file), QByteArray(sample));
            QVERIFY(!QFile::exists(none));
            QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("*.new")}, QDir::Files), QStringList());
        }
    }

    void unwritableNamesAndValuesRejected()
    {
        IniStore ini(m_file);
        QVERIFY_THROWS_EXCEPTION(IniError, ini.WriteString("A", "x=y", "1"));
        QVERIFY_THROWS_EXCEPTION(IniError, ini.WriteString("A", "", "1"));
        QVERIFY_THROWS_EXCEPTION(IniError, ini.WriteString("A", "x", "1\n[B]"));
        QVERIFY_THROWS_EXCEPTION(IniError, ini.WriteString("A\nB", "x", "1"));
        QCOMPARE(readAll(m_file), QByteArray(sample));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
