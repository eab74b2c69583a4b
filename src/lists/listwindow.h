#pragma once
// The one template of the member list windows: a title panel with save, chart and print buttons
// (and room for a window's own controls at its left), a tab bar over the member grid with the
// head count below it, and the dial hint with the close button at the bottom. A window says
// what it lists through the hooks; saving, printing, dialling and the go-to on close are shared.
#include "lists/charts.h"
#include "platform/dataset.h"
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <optional>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTabBar;
class QVBoxLayout;

// The member fields every list query returns, with their titles, sizes and masks.
QList<FieldDef> ListFieldDefs();
// Grid columns for fields in this order, titled, aligned and sized as the list grids show them;
// fields outside ListFieldDefs take the titles of extraDefs (or their own names).
QList<DBGrid::Column> ListColumns(const QStringList &fields, const QList<FieldDef> &extraDefs = {});
// The usual select list of the list queries, "SELECT Ino, Name, X, ... Resp", and its source
// line "FROM "master.DB" Master".
QString ListSelectLine();
QString ListFromLine();
// A text bound to a LIKE ... ESCAPE '\' that matches only itself.
QString LikeLiteral(const QString &text);

class TListWindow : public TForm {
    Q_OBJECT
public:
    Query qrList;
    DataSource dsList{&qrList};

    QWidget *pnlTitle;
    QPushButton *bbtnSave, *bbtnStat, *bbtnPrint;
    QTabBar *tcList;
    DBGrid *dgrdList;
    QLabel *stbrList;
    QPushButton *bbtnClose;

    // Runs the list for the chosen tab and shows its head count; a failure is reported and the
    // window stays open.
    void RefreshList();
    void SetButtons(bool enabled);
    // The head count of the open list: "전체 N명 / 남 N명 / 여 N명" by default.
    virtual QString CountText();

    // Another tab chosen: runs the list.
    virtual void tcListChange();
    // Empties qrList's statement / appends one line, followed by one blank, to it.
    void ClearSQL();
    void AddSQL(const QString &line);

    void bbtnSaveClick();
    virtual void bbtnStatClick();
    virtual void bbtnPrintClick();
    void dgrdListDblClick();

protected:
    // chart: what the chart button opens; none hides it.
    TListWindow(const char *objectName, const QString &caption, std::optional<Chart> chart,
                QWidget *parent = nullptr);

    // Puts the statement and its parameters into qrList for the chosen tab (qrList is closed).
    virtual void BuildQuery() = 0;
    // Whether the list may run now; false keeps the list as it is (after the window's message).
    virtual bool CheckInput() { return true; }
    // Activation: the first showing and every return from a window opened over this one.
    virtual void FormActivate() {}

    // The fixed first tab "전체" (accelerator: the backquote key).
    void addAllTab();
    // One tab per entry, in list order, each with the suffix appended.
    void addTabs(const QStringList &list, int count, const QString &suffix = {});
    // "%" on the first tab, else the chosen tab's entry (of addTabs) taken literally (for
    // LIKE ... ESCAPE '\').
    QString TabPattern() const;
    // Grid columns in this order; the group column's title follows the group word.
    void setColumns(const QStringList &fields, int groupColumn, const QList<FieldDef> &extraDefs = {});
    // A control of the window's own at the left of the title panel.
    void addTitleControl(QWidget *w, int stretch = 0);
    // A caption at the left of the title panel, legible on its blue.
    QLabel *addTitleLabel(const QString &text, const char *objectName);
    // The body below the title panel (tab bar, grid, head count), for windows that add below it.
    QVBoxLayout *bodyLayout() const { return m_body; }
    // Replaces qrList's statement by these lines, each followed by one blank.
    void setSqlLines(const QStringList &lines);

    void FormClose() override;
    void showEvent(QShowEvent *event) override;

private:
    // Opens qrList as built and shows its head count.
    void ShowList();

    std::optional<Chart> m_chart;
    QHBoxLayout *m_titleLeft;
    QVBoxLayout *m_body;
};
