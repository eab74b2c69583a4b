// The photo window (loading, moving, clearing, the stretch rule, the photo sheet's box) and the
// workplace window (a kind missing from the list, the address picker, cancel).
#include "core/dm.h"
#include "core/global.h"
#include "platform/report.h"
#include "printing/prtpic.h"
#include "records/addr.h"
#include "records/job.h"
#include "records/pic.h"
#include "scripted.h"
#include "tempregister.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {
QString bitmapFile(const QString &folder, const QString &name, int w, int h, QColor colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    const QString path = folder + u'/' + name;
    img.save(path, "BMP");
    return path;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QVariant stored(TempRegister &reg, const char *column)
{
    return reg.db().scalar(QStringLiteral("SELECT %1 FROM MASTER").arg(QString::fromLatin1(column)));
}

// Answers the open dialog with a file while it lives.
struct OpenAnswer {
    explicit OpenAnswer(const QString &file)
    {
        TfrmPic::OpenDlg = [file](const QString &) { return file; };
    }
    ~OpenAnswer() { TfrmPic::OpenDlg = saved; }
    std::function<QString(const QString &)> saved = TfrmPic::OpenDlg;
};
} // namespace

class TestPic : public QObject {
    Q_OBJECT

private slots:
    void loadingMovingAndClearing()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        Table &m = r.open().tbMaster;
        const QString card = bitmapFile(r.reg.folder(), QStringLiteral("card.bmp"), 30, 40, Qt::red);
        const QString other = bitmapFile(r.reg.folder(), QStringLiteral("other.bmp"), 30, 40, Qt::blue);
        TfrmPic w;
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        {
            OpenAnswer answer(card);
            w.sbtnAdd->click();
        }
        QCOMPARE(stored(r.reg, "Pic").toByteArray(), fileBytes(card));
        QCOMPARE(m.state(), DatasetState::Browse);

        w.btnLeftClick(); // into the empty personal slot without a question
        QVERIFY(stored(r.reg, "Pic").isNull());
        QCOMPARE(stored(r.reg, "Fpic").toByteArray(), fileBytes(card));
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("이동할 사진이 없습니다."));
            w.btnLeftClick();
        }
        {
            OpenAnswer answer(other);
            w.sbtnAdd->click();
        }
        {
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("이미 개인사진이 있습니다. 덮어 쓸까요?"), IDNO)
                .expect(QStringLiteral("이미 개인사진이 있습니다. 덮어 쓸까요?"), IDYES);
            w.btnLeftClick();
            QCOMPARE(boxes.shown().constLast().defaultResult, int(IDNO));
            QCOMPARE(stored(r.reg, "Fpic").toByteArray(), fileBytes(card));
            w.btnLeftClick();
        }
        QCOMPARE(stored(r.reg, "Fpic").toByteArray(), fileBytes(other));
        QVERIFY(stored(r.reg, "Pic").isNull());

        // the personal slot chosen by focusing its picture: clearing empties it alone
        w.btnRightClick();
        w.btnLeftClick();
        QVERIFY(!stored(r.reg, "Fpic").isNull());
        w.dimgFpic->setFocus();
        QCOMPARE(w.picSel(), 1);
        w.sbtnDel->click();
        QVERIFY(stored(r.reg, "Fpic").isNull());

        // no picture: refused before the row is touched
        QFile junk(r.reg.folder() + QStringLiteral("/junk.bmp"));
        junk.open(QIODevice::WriteOnly);
        junk.write("not a bitmap");
        junk.close();
        {
            OpenAnswer answer(junk.fileName());
            ScriptedMessages boxes;
            boxes.expect(QStringLiteral("사진을 읽을 수 없습니다.\r\n") + junk.fileName());
            w.sbtnAdd->click();
        }
        QCOMPARE(m.state(), DatasetState::Browse);
        QVERIFY(stored(r.reg, "Fpic").isNull());

        m.edit(); // as a failure might leave it: closing never does
        w.close();
        QCOMPARE(m.state(), DatasetState::Browse);
    }

    void stretchRuleAndThePhotoSheetBox()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"));
        r.open();
        TfrmPic w;
        w.show();
        QSize box;
        Report::setOutputHandler([&](Report &report, Report::Output) {
            const ReportItem *fpic = report.item(QStringLiteral("qdimgFpic"));
            box = QSize(qRound(fpic->width / report.pixelMm()), qRound(fpic->height / report.pixelMm()));
        });
        w.sbtnPrint->click();
        QCOMPARE(box, QSize(621, 440)); // no personal photo: the declared box

        w.setPicSel(1);
        const int panel = w.pnlFpic->width();
        for (int width : {panel + 50, panel / 2}) {
            OpenAnswer answer(bitmapFile(r.reg.folder(), QStringLiteral("p.bmp"), width, 20, Qt::green));
            w.sbtnAdd->click();
            const bool stretched = w.dimgFpic->pixmap().size() != QSize(width, 20);
            QCOMPARE(stretched, width > panel);
        }
        w.sbtnPrint->click();
        Report::setOutputHandler({});
        QCOMPARE(box, TfrmPPic::FpicBoxFor(w.dimgFpic->width(), w.dimgFpic->height()));
    }

    void workplaceKeepsAnUnlistedKindAndCancelDiscardsThePick()
    {
        OpenedRegister r;
        r.reg.addMember(QStringLiteral("A"), QStringLiteral("가장"), {{QStringLiteral("Jkind"), QStringLiteral("농업")}});
        r.reg.db().execute(QStringLiteral("INSERT INTO ZIP (ZIP, ZDO, ZGUN, ZADDR, ADDR) "
                                          "VALUES ('110-031', '서울', '종로구', '청운동', '서울 종로구 청운동')"));
        Table &m = r.open().tbMaster;
        KindList = QStringList{QStringLiteral("회사원")};
        KindCount = 1;
        int picks = 0;
        ScriptedModals modals([&picks](QDialog &d) {
            ++picks;
            auto &picker = dynamic_cast<TfrmAddr &>(d);
            picker.edtAddr->setText(QStringLiteral("청운"));
            picker.btnFindClick();
            picker.bbtnOKClick();
            return int(picker.modalResult());
        });
        for (bool ok : {false, true}) {
            m.edit();
            TfrmJob w;
            w.show();
            QCOMPARE(w.dcbxJkind->currentText(), QStringLiteral("농업"));
            w.btnZip->click();
            QVERIFY(AddrForJob);
            QCOMPARE(w.dedtJaddr1->text(), QStringLiteral("서울 종로구 청운동"));
            (ok ? w.bbtnOk : w.bbtnCancel)->click();
            QVERIFY(!w.isVisible());
            QCOMPARE(m.state(), DatasetState::Browse);
            QCOMPARE(stored(r.reg, "Jzip").toString(), ok ? QStringLiteral("110031") : QString());
            QCOMPARE(stored(r.reg, "Jkind").toString(), QStringLiteral("농업"));
        }
        // Tab reaches the address button (which picks) between the two address lines.
        m.edit();
        TfrmJob w;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.dedtJaddr1->setFocus();
        QTest::keyClick(w.dedtJaddr1, Qt::Key_Tab);
        QTRY_COMPARE(picks, 3);
        QCOMPARE(QApplication::focusWidget(), w.dedtJaddr2);
        QTest::keyClick(w.dedtJaddr2, Qt::Key_Tab);
        QTest::keyClick(w.dedtJzip, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.dmemJmemo);
    }
};

QTEST_MAIN(TestPic)
#include "tst_pic.moc"
