#include "platform/regsettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}
} // namespace

class TestRegSettings : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void init()
    {
        // A fresh, not yet existing config folder for each test.
        static int n = 0;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QString::number(++n))));
    }

    void storedPrivatelyUnderConfigFolder()
    {
        RegistryStore reg;
        QVERIFY(reg.OpenKey(true));
        QCOMPARE(reg.fileName(), m_home.filePath(QStringLiteral("1/kelmo/Kelmo 3.0.reg")));
        QVERIFY(!QFile::exists(reg.fileName())); // nothing on disk before the first value
        QVERIFY(!reg.ValueExists("User"));
        QCOMPARE(reg.ReadString("User"), QString());

        reg.WriteString("User", "관리자");
        QCOMPARE(modeOf(reg.fileName()), mode_t(0600));
        QCOMPARE(modeOf(m_home.filePath(QStringLiteral("1/kelmo"))), mode_t(0700));
        QVERIFY(IniStore(reg.fileName()).SectionExists(QStringLiteral("Software\\Kelmo 3.0")));

        // Loosened by hand, tightened again by the next write.
        QVERIFY(::chmod(QFile::encodeName(reg.fileName()).constData(), 0644) == 0);
        reg.WriteString("Pswd", "x");
        QCOMPARE(modeOf(reg.fileName()), mode_t(0600));
    }

    void valuesComeBackExactly_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks and separators") << "  a=b;c \"q\"  ";
        QTest::newRow("quotes around") << "\"quoted\"";
        QTest::newRow("escapes and line breaks") << "C:\\new\\n\r\nend\\";
        QTest::newRow("Korean") << "비밀 번호";
    }
    void valuesComeBackExactly()
    {
        QFETCH(QString, value);
        RegistryStore("Software\\Kelmo 3.0").WriteString("Pswd", value);
        const RegistryStore reader;
        QVERIFY(reader.ValueExists("pswd"));
        QCOMPARE(reader.ReadString("Pswd"), value);
    }

    void unwritableFolderThrows()
    {
        QFile blocker(m_home.filePath(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocker.fileName()));
        QVERIFY_THROWS_EXCEPTION(IniError, RegistryStore().WriteString("User", "a"));
    }
};

QTEST_GUILESS_MAIN(TestRegSettings)
#include "tst_regsettings.moc"
