#include "platform/dbcontrols.h"
#include "platform/dialogs.h"
#include "tempregister.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QSpinBox>
#include <QInputMethodEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Korean text arrives from the input method, not as key presses.
void commitText(QWidget *w, const QString &text)
{
    for (const QChar c : text) {
        QInputMethodEvent e;
        e.setCommitString(QString(c));
        QCoreApplication::sendEvent(w, &e);
    }
}

QByteArray bmpBytes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

// MASTER with the members a test put in, opened in Ino order.
struct Master {
    TempRegister reg;
    Table table{&reg.db(), QStringLiteral("MASTER")};
    DataSource source{&table};
    Table &open()
    {
        table.open();
        return table;
    }
    template <class Control>
    Control &bind(Control &c, const char *field)
    {
        c.setDataSource(&source);
        c.setDataField(QString::fromLatin1(field));
        return c;
    }
    QVariant value(const char *field) { return table.fieldByName(QString::fromLatin1(field)).value(); }
};

struct Grid {
    explicit Grid(Master &m)
    {
        grid.setDataSource(&m.source);
        grid.setColumns({{QStringLiteral("Name"), QStringLiteral("성  명"), Qt::AlignCenter, 90}, {QStringLiteral("G")}});
        grid.resize(400, 300);
        grid.show();
    }
    void click(int row, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, mods, grid.visualRect(grid.model().index(row, 0)).center());
    }
    QList<int> shownRows()
    {
        QList<int> rows;
        for (const QModelIndex &i : grid.selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    DBGrid grid;
};

} // namespace

class TstDbControls : public QObject {
    Q_OBJECT
private slots:
    void editTypingStartsEditing()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("김철수"));
        Table &t = m.open();
        DBEdit edit, fixed;
        m.bind(edit, "Name").show();
        m.bind(fixed, "Zone").setReadOnly(true);

        QTest::keyClicks(&fixed, QStringLiteral("abc"));
        QCOMPARE(t.state(), DatasetState::Browse);

        QTest::keyClick(&edit, Qt::Key_End);
        commitText(&edit, QStringLiteral("님"));
        QCOMPARE(t.state(), DatasetState::Edit);
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("김철수님")));
        QCOMPARE(edit.cursorPosition(), 4); // not reloaded under the caret

        // Esc belongs to the window: the row stays in edit.
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &esc);
        QVERIFY(!esc.isAccepted());
        QCOMPARE(t.state(), DatasetState::Edit);
        t.post();

        // A dataset that refuses editing: the typed text is taken back.
        Query q(&m.reg.db());
        q.setSql(QStringLiteral("SELECT Name FROM MASTER"));
        q.open();
        DataSource qs(&q);
        DBEdit refused;
        refused.setDataSource(&qs);
        refused.setDataField(QStringLiteral("Name"));
        QTest::keyClicks(&refused, QStringLiteral("x"));
        QCOMPARE(refused.text(), QStringLiteral("김철수님"));
    }

    void editLimitsTextAndAppliesMasks()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QString(), {{QStringLiteral("Zip"), QStringLiteral("123456")}});
        m.open();
        DBEdit name, bday, zip;
        m.bind(name, "Name").show();
        m.bind(bday, "Bday");
        m.bind(zip, "Zip");
        QCOMPARE(zip.displayText(), QStringLiteral("123-456"));

        commitText(&name, QStringLiteral("가나다라마"));
        QTest::keyClicks(&name, QStringLiteral("a"));
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("가나다라마")));
        name.selectAll();
        QTest::keyClicks(&name, QStringLiteral("abcdefghijk"));
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("abcdefghij")));

        QTest::keyClick(&bday, Qt::Key_Home);
        QTest::keyClicks(&bday, QStringLiteral("19900315"));
        QCOMPARE(bday.displayText(), QStringLiteral("1990.03.15"));
        QCOMPARE(m.value("Bday"), QVariant(QStringLiteral("19900315")));
        DBEdit shown;
        m.bind(shown, "Bday").setReadOnly(true);
        QCOMPARE(shown.text(), QStringLiteral("1990.03.15"));
        bday.selectAll();
        QTest::keyClick(&bday, Qt::Key_Delete);
        QVERIFY(m.value("Bday").isNull());
        QCOMPARE(shown.text(), QString()); // no placeholders in a read-only box
    }

    // What an edit cannot take is rewritten, never refused: a line break becomes a blank, and with
    // a size, what does not fit or what the code page cannot hold is left out, with a beep.
    void oneLineRuleRewritesWhatItCannotTake()
    {
        int beeps = 0;
        dialogs::setBeepHandler([&beeps] { ++beeps; });
        const auto rewritten = [](int maxBytes, QString text, int pos = -1) {
            pos = pos < 0 ? int(text.size()) : pos;
            const bool acceptable = SingleLineValidator(maxBytes).validate(text, pos) == QValidator::Acceptable;
            return acceptable ? text + u'|' + QString::number(pos) : QStringLiteral("refused");
        };
        QCOMPARE(rewritten(0, QStringLiteral("ab\r\ncd\n\u2028e\u2029")), QStringLiteral("ab cd  e |9"));
        QCOMPARE(rewritten(10, QStringLiteral("가나다라마")), QStringLiteral("가나다라마|5"));
        QCOMPARE(beeps, 0);
        QCOMPARE(rewritten(10, QStringLiteral("가나다라마a")), QStringLiteral("가나다라마|5"));
        QCOMPARE(rewritten(10, QStringLiteral("가나다라a가")), QStringLiteral("가나다라a|5")); // never half a syllable
        QCOMPARE(rewritten(10, QStringLiteral("a😀")), QStringLiteral("a|1"));
        QCOMPARE(rewritten(10, QStringLiteral("가😀나다라마바")), QStringLiteral("가나다라마|5"));
        QCOMPARE(rewritten(10, QStringLiteral("a가나다라마")), QStringLiteral("a가나다라|5"));
        // Pasted mid-text: the paste is cut, the text around it stays.
        QCOMPARE(rewritten(10, QStringLiteral("가나ABCDEFG다라"), 9), QStringLiteral("가나AB다라|4"));
        QCOMPARE(beeps, 6);

        Master m;
        m.reg.addMember(QStringLiteral("1"), QString());
        m.open();
        DBEdit name, hname;
        m.bind(name, "Name").show();
        m.bind(hname, "Hname");
        const auto paste = [](DBEdit &edit, const QString &text) {
            QGuiApplication::clipboard()->setText(text);
            edit.selectAll();
            edit.paste();
        };
        paste(name, QString(1000, u'A'));
        QCOMPARE(m.value("Name"), QVariant(QString(10, u'A')));
        paste(name, QStringLiteral("홍😀"));
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("홍")));
        paste(hname, QStringLiteral("洪吉童𠮷"));
        QCOMPARE(m.value("Hname"), QVariant(QStringLiteral("洪吉童")));
        QCOMPARE(beeps, 9);
        paste(name, QStringLiteral("ab\ncd"));
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("ab cd")));
        QCOMPARE(beeps, 9);
        name.setText(QStringLiteral("가나다라마바")); // set by the program: shown cut, silently
        QCOMPARE(name.text(), QStringLiteral("가나다라마"));
        QCOMPARE(beeps, 9);

        // The edits the program makes without a rule of their own get it when they are polished.
        InstallEditRules();
        QLineEdit plain;
        QComboBox combo;
        combo.setEditable(true);
        QSpinBox spin;
        for (QWidget *w : {static_cast<QWidget *>(&plain), static_cast<QWidget *>(&combo), static_cast<QWidget *>(&spin)})
            w->ensurePolished();
        QGuiApplication::clipboard()->setText(QStringLiteral("ab\ncd"));
        plain.paste();
        combo.lineEdit()->paste();
        QCOMPARE(plain.text(), QStringLiteral("ab cd"));
        QCOMPARE(combo.currentText(), QStringLiteral("ab cd"));
        QVERIFY(!qobject_cast<const SingleLineValidator *>(spin.findChild<QLineEdit *>()->validator()));
        dialogs::setBeepHandler({});
    }

    // A paste that had to be cut or put on one line is one step the edit can undo, by key or menu.
    void fittedPasteUndoesInOneStep()
    {
        dialogs::setBeepHandler([] {});
        InstallEditRules();
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("홍"));
        m.open();
        DBEdit name;
        m.bind(name, "Name").show();
        QTest::keyClick(&name, Qt::Key_End);
        QTest::keyClicks(&name, QStringLiteral("ab"));
        QGuiApplication::clipboard()->setText(QString(1000, u'A'));
        QTest::keyClick(&name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("홍abAAAAAA")));
        QTest::keyClick(&name, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(name.text(), QStringLiteral("홍ab")); // the typing before stays
        QCOMPARE(m.value("Name"), QVariant(QStringLiteral("홍ab")));

        QGuiApplication::clipboard()->setText(QStringLiteral("x\ny"));
        QLineEdit plain;
        plain.setText(QStringLiteral("before"));
        plain.show();
        QContextMenuEvent menuAt(QContextMenuEvent::Keyboard, QPoint(2, 2), plain.mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(&plain, &menuAt);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction *a : menu->actions()) {
            if (a->text().startsWith(QStringLiteral("&Paste")))
                a->trigger();
        }
        menu->close();
        QCOMPARE(plain.text(), QStringLiteral("beforex y"));
        plain.undo();
        QCOMPARE(plain.text(), QStringLiteral("before"));
        dialogs::setBeepHandler({});
    }

    // A masked field focused by the program takes typing from its first slot; Alt+letter,
    // a disabled button's key, types nothing; Tab and Shift+Tab leave a memo, which keeps no tab.
    void focusedMaskTypesFromTheStartAndAltNeverTypes()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("가"), {{QStringLiteral("Zip"), QStringLiteral("654321")}});
        Table &t = m.open();
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *zip = new DBEdit, *name = new DBEdit;
        auto *memo = new DBMemo;
        m.bind(*zip, "Zip");
        m.bind(*name, "Name");
        m.bind(*memo, "Cmemo");
        for (QWidget *w : {static_cast<QWidget *>(name), static_cast<QWidget *>(zip), static_cast<QWidget *>(memo)})
            layout->addWidget(w);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        name->setFocus();
        t.append();
        zip->setFocus();
        QTest::keyClicks(zip, QStringLiteral("123456"));
        QCOMPARE(zip->displayText(), QStringLiteral("123-456"));
        t.cancel();

        auto *plain = new QLineEdit; // a settings or password edit
        auto *combo = new QComboBox; // the go box, the dialer's number
        combo->setEditable(true);
        layout->addWidget(plain);
        layout->addWidget(combo);
        InstallEditRules();
        for (QWidget *w : {static_cast<QWidget *>(name), static_cast<QWidget *>(memo), static_cast<QWidget *>(plain),
                           static_cast<QWidget *>(combo)}) {
            w->setFocus();
            QTest::keyClick(w, Qt::Key_Y, Qt::AltModifier);
            QTest::keyClick(w, Qt::Key_N, Qt::AltModifier);
        }
        QCOMPARE(t.state(), DatasetState::Browse);
        QCOMPARE(name->text(), QStringLiteral("가"));
        QCOMPARE(memo->toPlainText(), QString());
        QCOMPARE(plain->text(), QString());
        QCOMPARE(combo->currentText(), QString());

        memo->setFocus();
        QTest::keyClicks(memo, QStringLiteral("ab"));
        QTest::keyClick(memo, Qt::Key_Tab);
        QVERIFY(!memo->hasFocus());
        QCOMPARE(m.value("Cmemo"), QVariant(QStringLiteral("ab")));
        t.cancel();
    }

    // A click anywhere in an empty box, or past what was typed, types from the first empty slot;
    // a click on a typed slot types there.
    void clickedMaskTypesFromTheFirstEmptySlot()
    {
        Master m;
        Table &t = m.open();
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *bday = new DBEdit;
        auto *range = new MaskEdit(QStringLiteral("!9999.!99.99;0;_"));
        m.bind(*bday, "Bday");
        layout->addWidget(bday);
        layout->addWidget(range);
        window.resize(400, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto clickAt = [](QLineEdit *e, int position) {
            const int caret = e->cursorPosition();
            e->setCursorPosition(position);
            const QPoint at(e->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() + 1, e->height() / 2);
            e->setCursorPosition(caret);
            QTest::mouseClick(e, Qt::LeftButton, {}, at);
        };
        const auto rightEnd = [](QLineEdit *e) { QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(e->width() - 4, e->height() / 2)); };
        for (QLineEdit *e : {static_cast<QLineEdit *>(bday), static_cast<QLineEdit *>(range)}) {
            const auto stored = [&] { return e == bday ? m.value("Bday").toString() : range->storedText(); };
            t.append();
            clickAt(e, 6);
            QTest::keyClicks(e, QStringLiteral("19650312"));
            QCOMPARE(stored(), QStringLiteral("19650312"));
            e->selectAll();
            QTest::keyClick(e, Qt::Key_Delete);
            rightEnd(e);
            QTest::keyClicks(e, QStringLiteral("1965"));
            rightEnd(e);
            QTest::keyClicks(e, QStringLiteral("0312"));
            QCOMPARE(stored(), QStringLiteral("19650312"));
            clickAt(e, 2);
            QTest::keyClicks(e, QStringLiteral("7"));
            QCOMPARE(stored(), QStringLiteral("19750312"));
            t.cancel();
        }
    }

    void controlsFollowTheCursor()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("하나"),
                        {{QStringLiteral("Bday"), QStringLiteral("19800101")}, {QStringLiteral("G"), true},
                         {QStringLiteral("Zone"), QStringLiteral("1교구")}, {QStringLiteral("Pic"), bmpBytes({8, 4})}});
        m.reg.addMember(QStringLiteral("2"), QStringLiteral("둘"),
                        {{QStringLiteral("Bday"), QStringLiteral("19900315")}, {QStringLiteral("Cmemo"), QStringLiteral("둘째")},
                         {QStringLiteral("Zone"), QStringLiteral("2교구")}});
        Table &t = m.open();
        DBEdit name;
        DBText bday;
        DBCheckBox g;
        DBMemo memo;
        DBComboBox zone;
        DBImage image;
        zone.addItems({QStringLiteral("1교구"), QStringLiteral("2교구")});
        m.bind(name, "Name");
        m.bind(bday, "Bday");
        m.bind(g, "G");
        m.bind(memo, "Cmemo");
        m.bind(zone, "Zone");
        m.bind(image, "Pic");
        QVERIFY(g.isChecked());
        QVERIFY(!image.picture().isNull());

        t.next();
        QCOMPARE(name.text(), QStringLiteral("둘"));
        QCOMPARE(bday.text(), QStringLiteral("1990.03.15"));
        QVERIFY(!g.isChecked());
        QCOMPARE(memo.toPlainText(), QStringLiteral("둘째"));
        QCOMPARE(zone.currentText(), QStringLiteral("2교구"));
        QVERIFY(image.pixmap().isNull());

        t.close();
        QVERIFY(name.text().isEmpty() && name.isReadOnly() && memo.isReadOnly());
        Table other(&m.reg.db(), QStringLiteral("MASTER"));
        other.open();
        m.source.setDataset(&other);
        QCOMPARE(name.text(), QStringLiteral("하나"));
    }

    void comboBoxKeepsValuesMissingFromItsList()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("가"), {{QStringLiteral("Zone"), QStringLiteral("9교구")}});
        Table &t = m.open();
        DBComboBox box;
        box.addItems({QStringLiteral("1교구"), QStringLiteral("2교구")});
        m.bind(box, "Zone").show();
        QCOMPARE(box.currentText(), QStringLiteral("9교구"));

        box.clear();
        box.addItems({QStringLiteral("1교구"), QStringLiteral("2교구")});
        QCOMPARE(box.currentText(), QStringLiteral("9교구"));
        t.edit();
        t.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("나"));
        t.post();
        QCOMPARE(box.currentText(), QStringLiteral("9교구"));
        QCOMPARE(m.reg.db().scalar(QStringLiteral("SELECT Zone FROM MASTER")), QVariant(QStringLiteral("9교구")));

        QTest::keyClick(&box, Qt::Key_Home);
        QCOMPARE(m.value("Zone"), QVariant(QStringLiteral("1교구")));
        QCOMPARE(box.count(), 2);

        // A list with an empty item but no blank one: Down and Up step through it from no value.
        DBComboBox learn;
        learn.addItems({QString(), QStringLiteral("대졸"), QStringLiteral("대재")});
        m.bind(learn, "Learn");
        QTest::keyClick(&learn, Qt::Key_Down);
        QCOMPARE(m.value("Learn"), QVariant(QStringLiteral("대졸")));
        QTest::keyClick(&learn, Qt::Key_Up);
        QVERIFY(m.value("Learn").isNull());

        DBComboBox typed;
        typed.setEditable(true);
        m.bind(typed, "Zone");
        typed.lineEdit()->selectAll();
        QTest::keyClicks(typed.lineEdit(), QStringLiteral("new"));
        QCOMPARE(m.value("Zone"), QVariant(QStringLiteral("new")));
    }

    void checkBoxAndImage()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("가"), {{QStringLiteral("Pic"), bmpBytes({20, 10})}});
        Table &t = m.open();
        DBCheckBox box, fixed;
        m.bind(box, "M").show();
        m.bind(fixed, "B").setReadOnly(true);
        fixed.show();
        QTest::mouseClick(&fixed, Qt::LeftButton);
        QVERIFY(!fixed.isChecked());
        QCOMPARE(t.state(), DatasetState::Browse);
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(m.value("M"), QVariant(true));
        QTest::mouseClick(&box, Qt::LeftButton);
        QCOMPARE(m.value("M"), QVariant(false));
        QVERIFY(!box.isChecked());

        DBImage image;
        image.resize(100, 80);
        m.bind(image, "Pic");
        QCOMPARE(image.picture().size(), QSize(20, 10));
        QCOMPARE(image.pixmap().size(), image.contentsRect().size());
        image.setStretch(false);
        QCOMPARE(image.pixmap().size(), QSize(20, 10));
        t.fieldByName(QStringLiteral("Pic")).clear();
        QVERIFY(image.picture().isNull());
        QVERIFY(image.pixmap().isNull());
    }

    void gridAndCursorMoveTogether()
    {
        Master m;
        for (int i = 1; i <= 5; ++i)
            m.reg.addMember(QString::number(i), QStringLiteral("이름%1").arg(i));
        Table &t = m.open();
        Grid g(m);
        int rowAtPress = -1;
        connect(&g.grid, &DBGrid::mousePressed, this, [&] { rowAtPress = t.currentRow(); });
        QSignalSpy clicks(&g.grid, &DBGrid::cellClicked);
        g.click(2);
        QCOMPARE(rowAtPress, 0);
        QCOMPARE(t.recNo(), 3);
        QCOMPARE(clicks.value(0).value(0), QVariant(2));
        QCOMPARE(g.shownRows(), QList<int>{2});

        t.next();
        QCOMPARE(g.grid.currentIndex().row(), 3);
        QTest::keyClick(&g.grid, Qt::Key_Up);
        QCOMPARE(t.recNo(), 3);

        // Edit and post reset the model: row and column widths stay.
        t.edit();
        t.fieldByName(QStringLiteral("Hp")).setAsString(QStringLiteral("010"));
        t.post();
        QCOMPARE(g.shownRows(), QList<int>{2});
        QCOMPARE(g.grid.columnWidth(0), 90);

        // A click posts pending changes that move the row elsewhere in the order.
        t.setIndexName(QStringLiteral("Name_idx"));
        t.first();
        t.edit();
        t.fieldByName(QStringLiteral("Name")).setAsString(QStringLiteral("하"));
        g.click(2);
        QCOMPARE(t.state(), DatasetState::Browse);
        QCOMPARE(g.grid.currentIndex().row(), t.currentRow());
    }

    // The rows a command acts on (the selection and the current row) are the highlighted ones
    // after every kind of move.
    void gridSelectionFollowsMoves()
    {
        Master m;
        for (int i = 1; i <= 30; ++i)
            m.reg.addMember(QString::number(i), QStringLiteral("이름%1").arg(i, 2, 10, QLatin1Char('0')));
        Table &t = m.open();
        Grid g(m);
        g.grid.setMultiSelect(true);
        const auto actedOn = [&] {
            QList<int> rows{t.currentRow()};
            for (const Bookmark &b : g.grid.SelectedRows())
                if (!rows.contains(t.rowOf(b)))
                    rows << t.rowOf(b);
            std::sort(rows.begin(), rows.end());
            return rows;
        };
        g.click(1);
        QTest::keyClick(&g.grid, Qt::Key_Down);
        QTest::keyClick(&g.grid, Qt::Key_Down);
        QCOMPARE(actedOn(), QList<int>{3});
        QCOMPARE(g.shownRows(), QList<int>{3});
        QTest::keyClick(&g.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&g.grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(actedOn(), (QList<int>{3, 4, 5}));
        QCOMPARE(g.shownRows(), actedOn());
        QTest::keyClick(&g.grid, Qt::Key_Up, Qt::ShiftModifier); // back toward the anchor
        QCOMPARE(actedOn(), (QList<int>{3, 4}));
        QTest::keyClick(&g.grid, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(&g.grid, Qt::Key_Up, Qt::ShiftModifier); // past it
        QCOMPARE(actedOn(), (QList<int>{2, 3}));
        QCOMPARE(g.shownRows(), actedOn());
        for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home}) {
            QTest::keyClick(&g.grid, key);
            QCOMPARE(actedOn(), QList<int>{t.currentRow()});
            QCOMPARE(g.shownRows(), actedOn());
        }
        g.click(2, Qt::ControlModifier);
        QCOMPARE(g.shownRows(), (QList<int>{0, 2}));
        t.locate(QStringLiteral("Ino"), {QStringLiteral("25")}); // a jump made by the program
        QCOMPARE(actedOn(), QList<int>{t.currentRow()});
        QCOMPARE(g.shownRows(), actedOn());
    }

    void gridMultiSelectKeepsBookmarks()
    {
        Master m;
        int ino = 0;
        for (const char *name : {"마", "라", "다", "나", "가"})
            m.reg.addMember(QString::number(++ino), QString::fromUtf8(name));
        Table &t = m.open();
        Grid g(m);
        g.grid.setMultiSelect(true);
        QList<qint64> id;
        for (int row = 0; row < 5; ++row) {
            t.setRecNo(row + 1);
            id << t.bookmark().id;
        }
        const auto selected = [&] {
            QList<qint64> ids;
            for (const Bookmark &b : g.grid.SelectedRows())
                ids << b.id;
            return ids;
        };

        g.click(1);
        g.click(3, Qt::ControlModifier);
        g.click(0, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<qint64>{id[1], id[3], id[0]}));
        QCOMPARE(g.shownRows(), (QList<int>{0, 1, 3}));
        g.click(3, Qt::ControlModifier);
        QCOMPARE(selected(), (QList<qint64>{id[1], id[0]}));
        QCOMPARE(g.shownRows(), (QList<int>{0, 1, 3})); // the current row always shows

        // Name order reverses the rows: the same members show selected at their new places.
        t.setIndexName(QStringLiteral("Name_idx"));
        QCOMPARE(g.shownRows(), (QList<int>{1, 3, 4}));
        t.disableControls(); // not a move the grid follows
        QVERIFY(t.gotoBookmark(Bookmark{id[0]}));
        t.deleteRecord();
        t.enableControls();
        QCOMPARE(selected(), QList<qint64>{id[1]});
        QCOMPARE(g.shownRows(), QList<int>{3});

        g.click(0);
        QCOMPARE(selected(), QList<qint64>{id[4]});
        g.grid.selectRow(Bookmark{id[1]}, true);
        QTRY_COMPARE(g.shownRows(), (QList<int>{0, 3}));
    }

    void gridCellPainterGetsRowAndField()
    {
        Master m;
        m.reg.addMember(QStringLiteral("1"), QStringLiteral("가"), {{QStringLiteral("G"), true}});
        m.reg.addMember(QStringLiteral("2"), QStringLiteral("나"), {{QStringLiteral("G"), false}});
        Table &t = m.open();
        Grid g(m);
        QMap<int, QVariant> painted;
        g.grid.setCellPainter([&](QPainter *, const QRect &, int row, int, Field &field) {
            if (field.type() != FieldType::Logical)
                return false;
            painted[row] = field.dataset()->valueAt(row, field.index());
            return true;
        });
        g.grid.grab();
        QCOMPARE(painted.value(0), QVariant(true));
        QCOMPARE(painted.value(1), QVariant(false));
        QCOMPARE(t.currentRow(), 0);
    }
};

QTEST_MAIN(TstDbControls)
#include "tst_dbcontrols.moc"
