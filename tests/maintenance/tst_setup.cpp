// The settings window's list editors, its hand-offs and storing, and the password change.
#include "core/dm.h"
#include "core/global.h"
#include "maintenance/pswd.h"
#include "maintenance/setup.h"
#include "mainwindow.h"
#include "platform/dbcontrols.h"
#include "platform/regsettings.h"
#include "records/addr.h"
#include "scripted.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {
enum { Area = 0, Resp = 3, Frel = 8 };

// Types each text into the input box of the add button; records the box's caption and prompt.
QStringList addTexts(TfrmSetup &w, const QStringList &texts)
{
    QStringList seen;
    for (const QString &t : texts) {
        ScriptedModals modals([&](QDialog &d) {
            seen << d.windowTitle() + u'|' + d.findChild<QLabel *>()->text();
            d.findChild<QLineEdit *>(QStringLiteral("edtValue"))->setText(t);
            return int(mrOk);
        });
        w.sbtnIns->click();
    }
    return seen;
}

void select(TfrmSetup &w, int list)
{
    w.rdgSelItems->button(list)->click();
}

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestSetup : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        InstallEditRules(); // as start-up does
    }

    void addingCutsWholeSyllablesAndRefusesDuplicates()
    {
        MainWindowFixture f;
        f.open();
        TfrmSetup w({});
        select(w, Frel);
        QVERIFY(w.Lists[Frel].isEmpty());
        QVERIFY(!w.sbtnDel->isEnabled() && !w.spbtnMove->isEnabled());
        const QStringList seen = addTexts(w, {QStringLiteral("가족관계"), QStringLiteral("a가나다b"), QStringLiteral("   ")});
        QCOMPARE(seen.first(), QStringLiteral("추가 [한글3자(영문6자)까지]|추가할 가족관계를 입력하세요."));
        // 8 bytes kept as 6; a cut at 6 bytes would halve "다", so the text stops before it
        QCOMPARE(w.Lists[Frel], (QStringList{QStringLiteral("가족관"), QStringLiteral("a가나")}));
        QVERIFY(w.sbtnDel->isEnabled() && w.spbtnMove->isEnabled());

        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("중복된 내용이 있습니다.")).expect(QStringLiteral("중복된 내용이 있습니다."));
        addTexts(w, {QStringLiteral("A가나"), QStringLiteral("가족관계인")}); // letter case; equal once cut
        QCOMPARE(w.Lists[Frel].size(), 2);
    }

    void arrowsAtTheEndsOnlySelect()
    {
        MainWindowFixture f;
        f.open();
        TfrmSetup w({});
        addTexts(w, {QStringLiteral("1구역"), QStringLiteral("2구역"), QStringLiteral("3구역")});
        w.lbxList->setCurrentRow(0);
        w.spbtnMoveUp->click();
        QCOMPARE(w.Lists[Area], (QStringList{QStringLiteral("1구역"), QStringLiteral("2구역"), QStringLiteral("3구역")}));
        QCOMPARE(w.selectedIndex(), 0);
        w.lbxList->setCurrentRow(2);
        w.spbtnMoveDown->click();
        QCOMPARE(w.selectedIndex(), 2);
        w.spbtnMoveUp->click();
        QCOMPARE(w.Lists[Area], (QStringList{QStringLiteral("1구역"), QStringLiteral("3구역"), QStringLiteral("2구역")}));
        QCOMPARE(w.selectedIndex(), 1);
    }

    void groupWordRelabelsTheSelectorButNotThePrompt()
    {
        MainWindowFixture f;
        f.open();
        TfrmSetup w({});
        w.rdgAisItems->button(1)->click();
        QCOMPARE(w.rdgSelItems->button(Area)->text(), QStringLiteral("속    회(&A)"));
        QVERIFY(addTexts(w, {QString()}).first().endsWith(QStringLiteral("추가할 구역을 입력하세요.")));
    }

    void okStoresListsInTheirNewOrderAndTheNextStartReadsThem()
    {
        MainWindowFixture f;
        f.r.reg.db().execute(QStringLiteral("INSERT INTO AREA (AREA) VALUES ('가'), ('나')"));
        TfrmMain &main = f.open();
        PickedZip = QStringLiteral("999999"); // an older pick a cancelled picker must not bring back
        ScriptedModals modals([&](QDialog &d) {
            if (qobject_cast<TfrmAddr *>(&d))
                return int(mrCancel);
            auto &w = static_cast<TfrmSetup &>(d);
            w.btnZipClick();
            w.lbxList->setCurrentRow(1);
            w.spbtnMoveUp->click();
            w.edtCname->setText(QStringLiteral(" 새교회 "));
            w.rdgAisItems->button(1)->click();
            w.bbtnOk->click();
            return int(mrOk);
        });
        main.command(QStringLiteral("mnuSetup"))->trigger();
        QCOMPARE(ChurchZip, QString()); // nothing typed: no dash of the mask
        QCOMPARE(ChurchAdd1, QString());
        QCOMPARE(ChurchName, QStringLiteral("새교회"));
        QCOMPARE(main.windowTitle(), QStringLiteral("켈모누리 3.0 [새교회 - 사용자]"));
        QCOMPARE(main.lblArea->text(), QStringLiteral("속회"));
        AreaList.clear();
        QVERIFY(ReadSettings());
        QCOMPARE(AreaList, (QStringList{QStringLiteral("나"), QStringLiteral("가")}));
    }

    // Every list emptied and saved twice: the lists, the open tables and the next settings window
    // all hold nothing, and saving again writes nothing back.
    void aListSavedEmptyStaysEmpty()
    {
        MainWindowFixture f;
        for (const char *t : {"AREA", "ZONE", "PART", "RESP", "DUTY", "GITA", "BIGO", "KIND", "FREL", "EDUC"})
            f.r.reg.db().execute(QStringLiteral("INSERT INTO %1 VALUES ('가'), ('나')").arg(QLatin1String(t)));
        TfrmMain &main = f.open();
        TfrmDM &dm = *frmDM;
        const QList<Table *> tables = {&dm.tbArea, &dm.tbZone, &dm.tbPart, &dm.tbResp, &dm.tbDuty,
                                       &dm.tbGita, &dm.tbBigo, &dm.tbKind, &dm.tbFrel, &dm.tbEduc};
        const QList<QStringList *> lists = {&AreaList, &ZoneList, &PartList, &RespList, &DutyList,
                                            &GitaList, &BigoList, &KindList, &FrelList, &EducList};
        const QList<int *> counts = {&AreaCount, &ZoneCount, &PartCount, &RespCount, &DutyCount,
                                     &GitaCount, &BigoCount, &KindCount, &FrelCount, &EducCount};
        for (int save = 0; save < 2; ++save) {
            QList<qsizetype> shown;
            ScriptedModals modals([&](QDialog &d) {
                auto &w = static_cast<TfrmSetup &>(d);
                for (QStringList &list : w.Lists) {
                    shown << list.size();
                    list.clear();
                }
                w.bbtnOk->click();
                return int(mrOk);
            });
            main.command(QStringLiteral("mnuSetup"))->trigger();
            QCOMPARE(shown, QList<qsizetype>(TfrmSetup::ListCount, save == 0 ? 2 : 0));
            for (int i = 0; i < TfrmSetup::ListCount; ++i) {
                QCOMPARE(frmDM->dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + tables[i]->tableName()).toInt(), 0);
                QCOMPARE(tables[i]->recordCount(), 0); // what the editors' lookup boxes offer
                QCOMPARE(*lists[i], QStringList());
                QCOMPARE(*counts[i], 0);
            }
        }
    }

    void aPastedLineBreakBecomesABlank()
    {
        MainWindowFixture f;
        f.open();
        TfrmSetup w({});
        w.ensurePolished(); // as showing it does
        QGuiApplication::clipboard()->setText(QStringLiteral("서울시 종로구\n123번지"));
        w.edtCadd2->paste();
        QCOMPARE(w.edtCadd2->text(), QStringLiteral("서울시 종로구 123번지"));
        addTexts(w, {QStringLiteral("1\r\n구역")});
        QCOMPARE(w.Lists[Area], QStringList{QStringLiteral("1 구역")});

        // A password with a line break could never be typed at the login.
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("비밀번호가 변경되었습니다."));
        Password.clear();
        TfrmPswd p;
        p.ensurePolished();
        QGuiApplication::clipboard()->setText(QStringLiteral("ab\ncd"));
        p.edtChg->paste();
        p.edtCer->paste();
        p.bbtnOk->click();
        QCOMPARE(Password, QStringLiteral("ab cd"));
    }

    void aFailedStoreChangesNothingAndKeepsTheEdits()
    {
        MainWindowFixture f;
        f.r.reg.db().execute(QStringLiteral("INSERT INTO AREA (AREA) VALUES ('가'), ('나')"));
        f.r.reg.db().execute(QStringLiteral("INSERT INTO RESP (RESP) VALUES ('가'), ('나')"));
        f.open();
        RegSettings->WriteString(QStringLiteral("User"), QStringLiteral("김"));
        const QString ini = AppPath + QStringLiteral("KELMO.INI"), user = RegSettings->fileName();
        const QByteArray iniBefore = contents(ini), userBefore = contents(user);
        // The last list fails, after the files and every other list were written.
        frmDM->dbKelmo.executeNative(QStringLiteral("ALTER TABLE EDUC RENAME TO EDUC_AWAY"));
        QString cause;
        try {
            EmptyLookupTable(frmDM->tbEduc);
        } catch (const std::exception &e) {
            cause = QString::fromUtf8(e.what());
        }
        TfrmSetup w({});
        w.edtCname->setText(QStringLiteral("새교회"));
        w.edtUser->setText(QStringLiteral("박"));
        w.Lists[Area] = QStringList{QStringLiteral("새 구역")};
        w.Lists[Resp].clear(); // emptied: the rollback must reach its open table too
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("설정사항을 쓰는 중에 오류가 발생했습니다.\n") + cause);
        w.bbtnOk->click();
        QCOMPARE(w.modalResult(), int(mrNone));
        QCOMPARE(w.edtCname->text(), QStringLiteral("새교회"));
        QCOMPARE(contents(ini), iniBefore);
        QCOMPARE(contents(user), userBefore);
        QCOMPARE(frmDM->dbKelmo.scalar(QStringLiteral("SELECT COUNT(*) FROM AREA")).toInt(), 2);
        QCOMPARE(frmDM->tbArea.recordCount(), 2); // the open table shows what is stored
        QCOMPARE(frmDM->tbResp.recordCount(), 2);
        QCOMPARE(QDir(AppPath).entryList({QStringLiteral("*.new")}, QDir::Files), QStringList());
    }

    void addressPickFillsTheChurchAddress()
    {
        MainWindowFixture f;
        f.open();
        TfrmSetup w([] {
            PickedAddr = QStringLiteral("서울 강남구 역삼동");
            PickedZip = QStringLiteral("135080");
            return true;
        });
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.btnPswd->setFocus();
        QTest::keyClick(w.btnPswd, Qt::Key_Tab); // onto the address button: the picker opens
        QTRY_COMPARE(w.edtCzip->storedText(), QStringLiteral("135-080"));
        QCOMPARE(w.edtCadd1->text(), QStringLiteral("서울 강남구 역삼동"));
    }

    void cancelAfterAPasswordChangeKeepsTheStoredPassword()
    {
        MainWindowFixture f;
        TfrmMain &main = f.open();
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("비밀번호가 변경되었습니다."));
        ScriptedModals modals([&](QDialog &d) {
            if (auto *p = qobject_cast<TfrmPswd *>(&d)) {
                p->edtChg->setText(QStringLiteral("새암호"));
                p->edtCer->setText(QStringLiteral("새암호"));
                p->bbtnOk->click();
                return p->modalResult();
            }
            static_cast<TfrmSetup &>(d).btnPswdClick();
            return int(mrCancel);
        });
        main.command(QStringLiteral("mnuSetup"))->trigger();
        QCOMPARE(Password, QString());
    }

    void passwordChecksAreExact()
    {
        Password = QStringLiteral("abc");
        TfrmPswd p;
        ScriptedMessages boxes;
        boxes.expect(QStringLiteral("비밀번호가 다릅니다."))
            .expect(QStringLiteral("변경 비밀번호와 확인 비밀번호가 다릅니다."))
            .expect(QStringLiteral("비밀번호가 변경되었습니다."));
        p.edtCur->setText(QStringLiteral("abc "));
        p.bbtnOk->click();
        p.edtCur->setText(QStringLiteral("abc"));
        p.edtChg->setText(QStringLiteral("x"));
        p.bbtnOk->click();
        QCOMPARE(Password, QStringLiteral("abc"));
        p.edtChg->clear();
        p.bbtnOk->click(); // both empty: no password any more
        QCOMPARE(Password, QString());
        QCOMPARE(p.edtCur->maxLength(), 10);
    }
};

QTEST_MAIN(TestSetup)
#include "tst_setup.moc"
