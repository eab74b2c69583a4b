// This year's birthday cache, the month calendars, the anniversary lists and the family
// birthday printout, on small registers with a pinned clock.
#include "anniversaries/annivlists.h"
#include "anniversaries/calendar.h"
#include "anniversaries/rows.h"
#include "anniversaries/tday.h"
#include "core/dm.h"
#include "core/global.h"
#include "lists/handoff.h"
#include "mainwindow.h"
#include "platform/clock.h"
#include "platform/editmask.h"
#include "platform/fonts.h"
#include "platform/inifile.h"
#include "platform/printer.h"
#include "scripted.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QToolButton>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QString tday(const char *ino, const char *table = "MASTER")
{
    return frmDM->dbKelmo.scalar(QStringLiteral("SELECT Tday FROM %1 WHERE Ino = :i").arg(QLatin1String(table)),
                                 {{"i", QString::fromLatin1(ino)}}).toString();
}

void addFamily(TempRegister &reg, const char *ino, int seq, const QString &name, const char *bday, bool lunar, bool f)
{
    reg.db().execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Rel, Name, Bday, L, F) VALUES (:i, :s, :r, :n, :b, :l, :f)"),
                     {{"i", QString::fromLatin1(ino)}, {"s", seq}, {"r", S("아들")}, {"n", name},
                      {"b", QString::fromLatin1(bday)}, {"l", lunar ? S("음") : S("양")}, {"f", f}});
}

// The current printer writing into a PDF whose text is read back line by line.
class PdfPrinter {
public:
    PdfPrinter()
    {
        QPrinter &p = CurrentPrinter();
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(m_dir.filePath(QStringLiteral("out.pdf")));
    }
    ~PdfPrinter() { CurrentPrinter().setOutputFileName(QString()); }
    QString text() const
    {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), m_dir.filePath(QStringLiteral("out.pdf")), QStringLiteral("-")});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput()).replace(QChar(1), QLatin1Char(' '));
    }

private:
    QTemporaryDir m_dir;
};
} // namespace

class TestAnniversaries : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() { Clock::setFixed(QDateTime(QDate(2026, 3, 31), QTime(9, 0))); }
    void cleanup() { Clock::setFixed(std::nullopt); }

    void birthdayInYearRules()
    {
        QCOMPARE(BirthdayInYear(QStringLiteral("19650315"), false, 2030), QStringLiteral("0315"));
        // A day the month lacks falls on its last day: 28 February in a common year.
        QCOMPARE(BirthdayInYear(QStringLiteral("19600229"), false, 2030), QStringLiteral("0228"));
        QCOMPARE(BirthdayInYear(QStringLiteral("19600229"), false, 2028), QStringLiteral("0229"));
        QCOMPARE(BirthdayInYear(QStringLiteral("19651301"), false, 2030), QString());
        QCOMPARE(BirthdayInYear(QStringLiteral("1965"), false, 2030), QString());
        // Lunar 12/20 of 2000 falls in January 2001; that of 1999 on 26 January 2000.
        QCOMPARE(BirthdayInYear(QStringLiteral("19501220"), true, 2000), QStringLiteral("0126"));
        // Month 11 of lunar 2023 has 29 days: day 30 is the day after day 29, not "no birthday".
        const QString day29 = BirthdayInYear(QStringLiteral("19501129"), true, 2023);
        QCOMPARE(BirthdayInYear(QStringLiteral("19501130"), true, 2023),
                 QDate::fromString(QStringLiteral("2023") + day29, QStringLiteral("yyyyMMdd")).addDays(1).toString(QStringLiteral("MMdd")));
        QCOMPARE(BirthdayInYear(QStringLiteral("19500510"), true, 2045), QString()); // beyond the table
    }

    void passCoversEveryRowAndKeepsThePosition()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가람"), {{"Bday", "19650315"}, {"L", S("양")}, {"Zone", "A"}});
        f.r.reg.addMember("2", S("나래"), {{"Bday", "19600229"}, {"Tday", "0101"}, {"Zone", "B"}}); // L empty: solar
        f.r.reg.addMember("3", S("다솜"), {{"Bday", "1965"}, {"Tday", "0707"}, {"Zone", "B"}});
        // Lunar 11/15 falls in January 2026 and in December 2024: no birthday in 2025, and the
        // 2026 day must not stay behind.
        f.r.reg.addMember("4", S("라온"), {{"Bday", "19761115"}, {"L", S("음")}, {"Tday", "0103"}, {"Zone", "A"}});
        addFamily(f.r.reg, "1", 1, S("아이"), "20000229", false, true);
        TfrmMain &m = f.open();
        m.tcN->setCurrentIndex(1); // an index tab hiding some members
        Table &t = f.master();
        t.next();
        const bool filtered = t.filtered();
        const QString before = t.fieldByName(QStringLiteral("Ino")).asString();
        RecalcTday(TdayTable::Master, 2025);
        RecalcTday(TdayTable::Family, 2025);
        QCOMPARE(tday("1"), QStringLiteral("0315"));
        QCOMPARE(tday("2"), QStringLiteral("0228"));
        QCOMPARE(tday("3"), QString());
        QCOMPARE(tday("4"), QString());
        QCOMPARE(tday("1", "FAMILY"), QStringLiteral("0228"));
        QCOMPARE(t.fieldByName(QStringLiteral("Ino")).asString(), before);
        QCOMPARE(t.filtered(), filtered);
        QCOMPARE(LastTdayYear(TdayTable::Master), 2025);
    }

    void storedBirthDateMakesTheNextCalendarRecompute()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가람"), {{"Bday", "19650315"}, {"L", S("양")}});
        f.open();
        { TfrmCalenB w; QCOMPARE(w.qrFind.recordCount(), 1); }
        QCOMPARE(LastTdayYear(TdayTable::Master), 2026);
        Table &t = f.master();
        t.edit();
        t.fieldByName(QStringLiteral("Name")).setAsString(S("가람이"));
        t.post();
        QCOMPARE(LastTdayYear(TdayTable::Master), 2026); // other fields do not matter
        t.edit();
        t.fieldByName(QStringLiteral("Bday")).setAsString(QStringLiteral("19650410"));
        t.post();
        QCOMPARE(LastTdayYear(TdayTable::Master), 0);
        TfrmCalenB w;
        QCOMPARE(w.qrFind.recordCount(), 0);
        w.sbtnNmClick();
        QCOMPARE(ColumnValues(w.qrFind, "Name"), QStringList{S("가람이")});
        RecalcTday(TdayTable::Family, 2026);
        frmDM->dbKelmo.execute(QStringLiteral("INSERT INTO FAMILY (Ino, Seq, Name, Bday) VALUES ('1', 1, 'A', '20100101')"));
        QCOMPARE(LastTdayYear(TdayTable::Family), 0);
    }

    void navigationAndTheLastYear()
    {
        MainWindowFixture f;
        f.open();
        TfrmCalenM w;
        QCOMPARE(w.windowTitle(), S("결혼기념일 달력 보기 [오늘은 2026년 03월 31일입니다.]"));
        w.sbtnPmClick();
        QCOMPARE(w.shownDate(), QDate(2026, 2, 28));
        QCOMPARE(w.lblMon->text(), S("02월"));
        QVERIFY(w.pnlLun->text().startsWith(S("음력 : 2026-01-")));
        {
            TfrmCalen hub; // its header reads as Korean does, the year first
            hub.monCalen->setLocale(QLocale(QLocale::Korean, QLocale::SouthKorea));
            hub.show();
            const auto *year = hub.monCalen->findChild<QToolButton *>(QStringLiteral("qt_calendar_yearbutton"));
            const auto *month = hub.monCalen->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton"));
            QTRY_COMPARE(year->text() + u' ' + month->text(), S("2026년 3월"));
            QVERIFY(year->geometry().right() < month->geometry().left());
            hub.monCalen->showNextYear();
            QTRY_COMPARE(year->text() + u' ' + month->text(), S("2027년 3월"));
        }
        w.setShownDate(QDate(2043, 12, 15));
        w.sbtnNmClick();
        QCOMPARE(w.shownDate(), QDate(2043, 12, 15));
        w.setShownDate(QDate(2043, 5, 1));
        w.sbtnNyClick();
        QCOMPARE(w.shownDate(), QDate(2043, 5, 1));
        // white captions under the mouse need a dark ground
        for (QToolButton *b : {w.sbtnNy, w.sbtnToday}) {
            b->setAttribute(Qt::WA_UnderMouse);
            const QImage shot = b->grab().toImage();
            qint64 gray = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    gray += qGray(shot.pixel(x, y));
            QVERIFY2(gray / (shot.width() * shot.height()) < 160, qPrintable(b->objectName()));
        }
    }

    // The keyboard stays on the day calendar: its page keys step the month, with Ctrl the year.
    void calendarsAreSteppedFromTheDays()
    {
        MainWindowFixture f;
        f.open();
        TfrmCalenB w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QWidget *days = w.calDay->focusProxy();
        QCOMPARE(QApplication::focusWidget(), days);
        for (QToolButton *b : {w.sbtnPy, w.sbtnPm, w.sbtnToday, w.sbtnNm, w.sbtnNy})
            QCOMPARE(b->focusPolicy(), Qt::NoFocus);
        QTest::keyClick(days, Qt::Key_Space);
        QCOMPARE(w.shownDate(), QDate(2026, 3, 31));
        QTest::keyClick(days, Qt::Key_PageDown);
        QCOMPARE(w.shownDate(), QDate(2026, 4, 30));
        QTest::keyClick(days, Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(w.shownDate(), QDate(2025, 4, 30));
        QTest::keyClick(days, Qt::Key_Left); // after a blank too, the arrows walk the days
        QCOMPARE(w.shownDate(), QDate(2025, 4, 29));
    }

    void calendarsListTheirRows()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가람"), {{"Mday", "19800312"}});
        f.r.reg.addMember("2", S("나래"), {{"Mday", "20250301"}});
        f.r.reg.addMember("3", S("다솜"), {{"Mday", "20250401"}});
        addFamily(f.r.reg, "3", 1, QStringLiteral("David Choi"), "20100305", false, true);
        addFamily(f.r.reg, "3", 2, S("조카"), "20100306", false, false);
        f.open();
        TfrmCalenM m;
        QCOMPARE(ColumnValues(m.qrFind, "Name"), (QStringList{S("가람"), S("나래")}));
        QCOMPARE(m.pnlTotal->text(), S(" 2명의 결혼자가 있습니다."));
        {
            // A month another program's lock keeps unread shows nothing of the month before it,
            // and is read once the register is free.
            frmDM->dbKelmo.setBusyTimeout(100);
            RegisterLock other(f.r.reg.databaseFile());
            other.take();
            ScriptedMessages boxes;
            boxes.expect(other.message());
            m.sbtnNm->click();
            QCOMPARE(m.pnlTotal->text(), S(" 0명의 결혼자가 있습니다."));
            QVERIFY(!m.qrFind.active() && !m.dgrdFind->isEnabled());
            other.release();
            QTRY_VERIFY(m.qrFind.active());
            QCOMPARE(ColumnValues(m.qrFind, "Name"), QStringList{S("다솜")});
            QCOMPARE(m.pnlTotal->text(), S(" 1명의 결혼자가 있습니다."));
        }
        TfrmCalenF fam;
        QCOMPARE(ColumnValues(fam.qrFind, "NAME"), QStringList{QStringLiteral("David Choi")});
        // a Latin name fills its field and shows whole
        TfrmFBday list;
        for (DBGrid *g : {fam.dgrdFind, list.dgrdList}) {
            int name = 0;
            while (g->model().headerData(name, Qt::Horizontal).toString() != S("성명"))
                ++name;
            QVERIFY(g->columnWidth(name) >= g->fontMetrics().horizontalAdvance(QStringLiteral("David Choi")) + 8);
        }
        // The go-to looks for a member named as the family member: with none, the table stays.
        const QString before = f.master().fieldByName(QStringLiteral("Ino")).asString();
        ScriptedMessages boxes;
        boxes.expect(S("즉시 이동하시겠습니까?"), IDYES);
        fam.close();
        QCOMPARE(f.master().fieldByName(QStringLiteral("Ino")).asString(), before);
        QVERIFY(SavedBookmark.has_value());
    }

    // A family row goes to the member of its name, one of the same household before another of
    // that name; not to the member it is recorded under.
    void familyGoToTakesTheMemberNamed()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("김철수"), {{"G", true}});
        f.r.reg.addMember("2", S("이영희")); // first of the name, in no household
        f.r.reg.addMember("3", S("이영희"), {{"GNO", "1"}});
        f.r.reg.addMember("4", S("박민수"), {{"G", true}});
        addFamily(f.r.reg, "1", 1, S("이영희"), "19700305", false, true);
        addFamily(f.r.reg, "4", 1, S("박하늘"), "20000310", false, true); // no member of that name
        f.open();
        Table &t = f.master();
        const auto goTo = [&](Query &rows, QWidget &window, const QString &name) {
            t.first();
            if (!rows.locate(QStringLiteral("NAME"), {name}))
                return S("(not listed)");
            ScriptedMessages boxes;
            boxes.expect(S("즉시 이동하시겠습니까?"), IDYES);
            window.close();
            return t.fieldByName(QStringLiteral("Ino")).asString();
        };
        { TfrmCalenF w; QCOMPARE(goTo(w.qrFind, w, S("이영희")), QStringLiteral("3")); }
        { TfrmFBday w; QCOMPARE(goTo(w.qrList, w, S("이영희")), QStringLiteral("3")); }
        const QString first = (t.first(), t.fieldByName(QStringLiteral("Ino")).asString());
        { TfrmFBday w; QCOMPARE(goTo(w.qrList, w, S("박하늘")), first); }
    }

    void startUpChoiceIsWrittenAndHonoured()
    {
        MainWindowFixture f;
        {
            QFile ini(f.r.reg.folder() + QStringLiteral("/KELMO.INI"));
            QVERIFY(ini.open(QIODevice::WriteOnly));
            ini.write("[ETC]\nCalen=1\n");
        }
        QStringList opened;
        bool ticked = false;
        ScriptedModals modals([&](QDialog &d) {
            opened << d.objectName();
            if (auto *c = qobject_cast<TfrmCalenB *>(&d)) {
                ticked = c->chkStart->isChecked();
                c->chkStart->setChecked(false);
                c->bbtnClose->click();
            }
            return 0;
        });
        f.open();
        QCOMPARE(opened, QStringList{QStringLiteral("frmCalenB")});
        QVERIFY(ticked);
        QCOMPARE(IniStore(f.r.reg.folder() + QStringLiteral("/KELMO.INI")).ReadInteger(QStringLiteral("ETC"), QStringLiteral("Calen"), 1), 0);
        {
            TfrmCalenB w; // closed with Esc: the choice is not stored
            w.show();
            w.chkStart->setChecked(true);
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(!w.isVisible());
            QCOMPARE(CalenOption, 0);
        }
        {
            // Where nothing can be written, an unchanged choice closes without a word, and a
            // changed one is reported once and the window closes all the same.
            QTemporaryFile plain;
            QVERIFY(plain.open());
            IniStore unwritable(plain.fileName() + QStringLiteral("/KELMO.INI"));
            QString why;
            try {
                unwritable.WriteInteger(QStringLiteral("ETC"), QStringLiteral("Calen"), 1);
            } catch (const IniError &e) {
                why = QString::fromUtf8(e.what());
            }
            const struct Restore { IniStore *kept; ~Restore() { IniFile = kept; } } restore{std::exchange(IniFile, &unwritable)};
            ScriptedMessages boxes;
            for (const bool tick : {false, true}) {
                TfrmCalenB w;
                w.show();
                w.chkStart->setChecked(tick);
                if (tick)
                    boxes.expect(why);
                w.bbtnClose->click();
                QVERIFY(!w.isVisible());
            }
            QCOMPARE(boxes.shown().size(), 1);
            QCOMPARE(CalenOption, 0);
        }
        QVERIFY(CreateMainWindow()); // the next start
        QCOMPARE(opened.size(), 1);
        delete frmMain;
    }

    void listsCountCheckYearsAndGiveTheSortFieldBack()
    {
        MainWindowFixture f;
        f.r.reg.addMember("1", S("가람"), {{"Bday", "19500315"}, {"L", S("양")}, {"X", S("남")}});
        f.r.reg.addMember("2", S("나래"), {{"Bday", "19591120"}, {"L", S("양")}, {"X", S("여")}});
        f.r.reg.addMember("3", S("다솜"), {{"Bday", "19600315"}, {"L", S("양")}, {"X", S("여")}});
        f.open();
        TfrmLBday w;
        QCOMPARE(w.stbrList->text(), S("전체 3명"));
        w.tcList->setCurrentIndex(3);
        QCOMPARE(ColumnValues(w.qrList, "Name"), (QStringList{S("가람"), S("다솜")}));
        w.rbtnTerm->click();
        w.tcList->setCurrentIndex(0);
        w.mskYear1->setText(QStringLiteral("1950"));
        w.mskYear2->setText(QStringLiteral("1959"));
        w.bbtnRet->click();
        QCOMPARE(w.stbrList->text(), S("전체 2명 / 남 1명 / 여 1명"));
        {
            ScriptedMessages boxes;
            boxes.expect(S("년도가 잘못 입력되어 있습니다."));
            w.mskYear2->clear();
            w.bbtnRet->click();
        }
        QCOMPARE(w.qrList.recordCount(), 2); // the former list stays
        ScriptedMessages boxes;
        boxes.expect(S("전체 인쇄하시겠습니까?"), IDCANCEL);
        ScriptedModals modals([](QDialog &) {
            QTest::qFail("no print dialog after cancel", __FILE__, __LINE__);
            return 0;
        });
        w.bbtnPrint->click();
        QCOMPARE(PrintSortField, QStringLiteral("NAME"));
    }

    void familyPrintout()
    {
        MainWindowFixture f;
        const QString longAddr = S("경상북도 포항시 남구 오천읍 문덕리 한신휴플러스아파트 101동 1502호 뒤편 건물");
        f.r.reg.addMember("1", S("가람"), {{"Addr1", longAddr}, {"Zip", "790320"}, {"Tel1", "054-123-4567"}});
        addFamily(f.r.reg, "1", 1, S("아이"), "19500212", true, true); // lunar: about 29 March 2026
        f.r.reg.addMember("2", S("나래"), {{"Addr1", S("경기도 성남시 분당구 정자동 123-4 행복마을아파트 101동")}, {"Zip", "463812"}});
        addFamily(f.r.reg, "2", 1, S("조카"), "20100310", false, true);
        f.open();
        TfrmCalenF w;
        QCOMPARE(w.qrFind.recordCount(), 2);
        PdfPrinter pdf;
        {
            ScriptedMessages boxes;
            boxes.expect(S("인쇄할 준비가 되었으면 확인을 누르세요."), IDCANCEL);
            w.bbtnPrint->click();
        }
        QVERIFY(pdf.text().isEmpty());
        ScriptedMessages boxes;
        boxes.expect(S("인쇄할 준비가 되었으면 확인을 누르세요."), IDOK);
        w.bbtnPrint->click();
        const QString text = pdf.text();
        QVERIFY2(text.startsWith(S("2026년 3월 가족 생일자 명단")), qPrintable(text));
        QVERIFY(text.contains(S("1950.02.12(음)")));
        QVERIFY2(QString(text).remove(u'\n').contains(longAddr + S(" (790-320)")), qPrintable(text));
        // A padded row of 137 positions is one printed line.
        QVERIFY2(text.split(u'\n').filter(S("조카")).value(0).contains(S("101동 (463-812)")), qPrintable(text));
        QVERIFY(text.contains(QString(76, u' ') + S("Printed By 켈모누리 3.0")));
        TfrmFBday list;
        list.tcList->setCurrentIndex(3);
        boxes.expect(S("인쇄할 준비가 되었으면 확인을 누르세요."), IDOK);
        list.bbtnPrint->click();
        QVERIFY(pdf.text().startsWith(S("금년생일(2026년) 03월 가족 생일자 명단")));
        list.rbtnTerm->click();
        list.mskYear1->setText(QStringLiteral("1950"));
        list.tcList->setCurrentIndex(0);
        boxes.expect(S("인쇄할 준비가 되었으면 확인을 누르세요."), IDOK);
        list.bbtnPrint->click();
        QVERIFY(pdf.text().startsWith(S("생년기간(1950년~2026년) 전체 가족 생일자 명단")));
        // Seven columns counted in display positions, a Hangul syllable two.
        QCOMPARE(FamilyPrintLine({S("03.10"), QString(), S("아들"), S("조카")}).indexOf(S("조카")), 9 + 11 + 5);
    }
};

QTEST_MAIN(TestAnniversaries)
#include "tst_anniversaries.moc"
