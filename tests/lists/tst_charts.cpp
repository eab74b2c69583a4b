// The head-count charts: bars read back from the series, the item choice, the zone chart's axis
// and area page, the landscape printout and the statistics commands of the main window.
#include "core/global.h"
#include "lists/stat.h"
#include "mainwindow.h"
#include "../printing/pdfcheck.h"
#include "platform/fonts.h"
#include "platform/printer.h"
#include "scripted.h"

#include <QBarCategoryAxis>
#include <QComboBox>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLegendMarker>
#include <QPrinter>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>

namespace {
QString S(const char *text) { return QString::fromUtf8(text); }

QStringList labels(const HeadCountChart *c)
{
    QStringList out;
    for (int i = 0; i < c->barCount(); ++i)
        out << c->label(i);
    return out;
}

// Where the chart draws a text; empty when it does not.
QRectF drawnPlace(const HeadCountChart *c, const QString &text)
{
    for (const QGraphicsItem *item : c->scene()->items())
        if (const auto *t = dynamic_cast<const QGraphicsTextItem *>(item); t && t->isVisible() && t->toPlainText() == text)
            return t->sceneBoundingRect();
    return {};
}

QList<int> counts(const HeadCountChart *c)
{
    QList<int> out;
    for (int i = 0; i < c->barCount(); ++i)
        out << c->count(i);
    return out;
}

void addMembers(TempRegister &reg, int n, const QVariantMap &fields)
{
    static int next = 0;
    for (int i = 0; i < n; ++i, ++next)
        reg.addMember(QString::number(next), S("성도"), fields);
}
} // namespace

class TestCharts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallFontSubstitutes();
        QApplication::setFont(ApplicationFont()); // the labels take their size from it
    }

    void barsOfOneField()
    {
        OpenedRegister r;
        addMembers(r.reg, 3, {{"Part", S("청년부")}});
        addMembers(r.reg, 1, {{"Part", S("남선교회")}});
        addMembers(r.reg, 2, {}); // blank parts count as one bar of their own
        addMembers(r.reg, 1, {{"Part", QString("")}}); // and an empty text as another one
        r.open();
        TfrmSPart w;
        QCOMPARE(labels(w.dchtStat), (QStringList{QString(), QString(), S("남선교회"), S("청년부")}));
        QCOMPARE(counts(w.dchtStat), (QList<int>{2, 1, 1, 3}));
        QCOMPARE(w.dchtStat->mark(3), QStringLiteral("3"));
        QCOMPARE(w.dchtStat->labelAxis()->count(), 4); // every bar has its slot on the axis
        QCOMPARE(w.dchtStat->chart()->legend()->markers(w.dchtStat->series()).at(3)->label(), S("청년부 42.86 %"));
        QCOMPARE(w.dchtStat->countAxis()->min(), 0.0);
        QVERIFY(w.dchtStat->countAxis()->max() > 3);
        QVERIFY(w.bbtnPrint->isEnabled());
    }

    void labelsAreDrawnWhole()
    {
        OpenedRegister r;
        for (const char *part : {"남선교회", "여전도회", "청년회", "학생회", "주일학교", "성가대"})
            addMembers(r.reg, 1, {{"Part", S(part)}});
        addMembers(r.reg, 1, {});
        r.open();
        TfrmSPart w;
        w.show();
        for (const QSize size : {w.size(), QSize(800, 600)}) {
            w.resize(size);
            QTest::qWait(50);
            for (const QString &label : labels(w.dchtStat))
                QVERIFY2(label.isEmpty() || !drawnPlace(w.dchtStat, label).isEmpty(), qPrintable(label));
        }
    }

    void emptyRegisterLeavesPrintOff()
    {
        OpenedRegister r;
        r.open();
        TfrmSDuty w;
        QCOMPARE(w.dchtStat->barCount(), 0);
        QVERIFY(!w.bbtnPrint->isEnabled());
        w.show();
        QTest::qWait(50);
        // the axis title below the plot, not in the window's top left corner
        QVERIFY(drawnPlace(w.dchtStat, S("직분1")).top() >= w.dchtStat->chart()->plotArea().bottom());
    }

    void statItemChoice()
    {
        OpenedRegister r;
        addMembers(r.reg, 2, {{"X", S("여")}, {"M", true}});
        addMembers(r.reg, 1, {{"X", S("남")}, {"M", false}});
        r.open();
        TfrmStat w;
        QCOMPARE(labels(w.dchtStat), (QStringList{S("남"), S("여")}));
        w.cbxSel->setCurrentText(S("결혼"));
        QCOMPARE(labels(w.dchtStat), (QStringList{QStringLiteral("False"), QStringLiteral("True")}));
        QCOMPARE(counts(w.dchtStat), (QList<int>{1, 2}));
    }

    void zoneAxisFitsTallestBar()
    {
        OpenedRegister r;
        addMembers(r.reg, 12, {{"Zone", S("1교구")}});
        addMembers(r.reg, 2, {{"Zone", S("2교구")}});
        r.open();
        TfrmSArea w;
        QCOMPARE(counts(w.dchtStat), (QList<int>{12, 2}));
        QVERIFY(w.dchtStat->countAxis()->max() >= 13); // room for the mark above the bar of 12
        QCOMPARE(CountAxisScale(2, 7).maximum, 7);      // few members: the axis still runs to 7
    }

    void areaPageFollowsTheChosenZone()
    {
        OpenedRegister r;
        addMembers(r.reg, 2, {{"Zone", S("1교구")}, {"Area", S("1")}});
        addMembers(r.reg, 3, {{"Zone", S("2교구")}, {"Area", S("5")}});
        addMembers(r.reg, 1, {{"Zone", S("2교구")}, {"Area", S("6")}});
        r.open();
        ZoneList = {S("1교구"), S("2교구"), S("3교구")};
        ZoneCount = 3;
        AreaOption = 1;
        TfrmSArea w;
        AreaOption = 0;
        QCOMPARE(w.windowTitle(), S("교구/속회별 통계"));
        QCOMPARE(w.pcStat->tabText(1), S("속회별(&A)"));
        QCOMPARE(w.dchtArea->labelAxis()->titleText(), S("속회"));
        w.show();
        w.FormActivate();
        QVERIFY(!w.cbxSel->isVisibleTo(&w));
        w.pcStat->setCurrentIndex(1);
        QVERIFY(w.cbxSel->isVisibleTo(&w));
        QCOMPARE(counts(w.dchtArea), (QList<int>{2}));
        w.cbxSel->setCurrentIndex(1);
        QCOMPARE(labels(w.dchtArea), (QStringList{S("5"), S("6")}));
        // coming back to the window must not put the first zone in the box over the second's chart
        w.FormActivate();
        QCOMPARE(w.cbxSel->currentText(), S("2교구"));
        QCOMPARE(labels(w.dchtArea), (QStringList{S("5"), S("6")}));
        w.cbxSel->setCurrentIndex(2); // a zone without members keeps nothing of the former chart
        QTest::qWait(50);
        QVERIFY(drawnPlace(w.dchtArea, S("5")).isEmpty());
    }

    void printsTheShownChartInLandscape()
    {
        OpenedRegister r;
        addMembers(r.reg, 4, {{"Zone", S("1교구")}, {"Area", S("7")}, {"Learn", S("대졸")}});
        r.open();
        ZoneList = {S("1교구")};
        ZoneCount = 1;
        QTemporaryDir dir;
        QPrinter &printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageOrientation(QPageLayout::Portrait);

        printer.setOutputFileName(dir.filePath(QStringLiteral("stat.pdf")));
        TfrmStat stat;
        stat.cbxSel->setCurrentText(S("학력"));
        stat.bbtnPrint->click();
        const PdfDoc statPdf(dir.filePath(QStringLiteral("stat.pdf")));
        QCOMPARE(statPdf.pages(), 1);
        QVERIFY(statPdf.landscape(1));
        QVERIFY(statPdf.find(S("대졸")));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);

        printer.setOutputFileName(dir.filePath(QStringLiteral("area.pdf")));
        TfrmSArea area;
        area.FormActivate();
        area.pcStat->setCurrentIndex(1);
        area.bbtnPrint->click();
        const PdfDoc areaPdf(dir.filePath(QStringLiteral("area.pdf")));
        QVERIFY(areaPdf.find(S("구역")) && !areaPdf.find(S("교구")));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);

        printer.setOutputFileName(QStringLiteral("/dev/full")); // as on a full disk
        ScriptedMessages boxes;
        boxes.expect(S("파일을 저장하지 못했습니다.\r\n디스크에 빈 공간이 없어 [full] 파일을 쓰지 못했습니다.\n"
                       "(No space left on device)"));
        area.bbtnPrint->click();
        QVERIFY(boxes.allAnswered());
        printer.setOutputFileName(QString());
    }

    void statisticsCommandsOpenTheirCharts()
    {
        MainWindowFixture f;
        f.r.reg.addMember(QStringLiteral("1"), S("가영"));
        TfrmMain &w = f.open();
        QStringList opened;
        ScriptedModals modals([&](QDialog &d) {
            opened << d.objectName() + u' ' + d.windowTitle();
            return 0;
        });
        w.findChild<QToolButton *>(QStringLiteral("tbtnPhoto"))->click();
        for (const char *name : {"mnuSArea", "mnuSPart", "mnuSDuty", "mnuSGita", "mnuSBigo"})
            w.command(QString::fromLatin1(name))->trigger();
        QCOMPARE(opened, (QStringList{S("frmStat 전체 통계"), S("frmSArea 교구/구역별 통계"), S("frmSPart 소속기관별 통계"),
                                      S("frmSDuty 직분별 통계"), S("frmSGita 활동기타별 통계"), S("frmSBigo 비고별 통계")}));
    }
};

QTEST_MAIN(TestCharts)
#include "tst_charts.moc"
