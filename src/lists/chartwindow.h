#pragma once
// What every head-count chart window shares: the bar chart of one grouped query, printed alone in
// landscape, inside a window with a blue title panel (print button) and a teal button panel.
#include "platform/dataset.h"
#include "platform/form.h"

#include <QChartView>

class QBarCategoryAxis;
class QGraphicsSimpleTextItem;
class QHBoxLayout;
class QPushButton;
class QStackedBarSeries;
class QToolButton;
class QValueAxis;

// One bar per row of a "value, COUNT(*)" query, each in its own colour with its count above it;
// the legend gives each value's share of the whole.
class HeadCountChart : public QChartView {
    Q_OBJECT
public:
    HeadCountChart(const QString &objectName, const QString &axisTitle, QWidget *parent);

    void setAxisTitle(const QString &title);
    // The count axis never ends below this (the zone chart keeps room for 7).
    void setLeastMaximum(int least) { m_leastMaximum = least; }
    // Replaces the bars: the label from labelField, the count from the query's last column.
    void showRows(Dataset &rows, const QString &labelField);

    // One bar set per bar; set i holds its count at category i and nothing elsewhere, so each bar
    // gets its own colour and legend row.
    QStackedBarSeries *series() const { return m_series; }
    QValueAxis *countAxis() const { return m_countAxis; }
    QBarCategoryAxis *labelAxis() const { return m_labelAxis; }
    int barCount() const;
    int count(int bar) const;
    QString label(int bar) const;
    // The text written above a bar.
    QString mark(int bar) const;

    // Prints the chart alone on a landscape page of the program's printer.
    void printLandscape();

private:
    void fitLabels();
    void placeMarks();

    QStackedBarSeries *m_series;
    QBarCategoryAxis *m_labelAxis;
    QValueAxis *m_countAxis;
    QList<QGraphicsSimpleTextItem *> m_marks;
    QStringList m_labels;
    int m_leastMaximum = 0;
};

// The count axis's end: a round number with room for the tallest bar's mark, never below least.
struct AxisScale {
    int maximum;
    int step;
};
AxisScale CountAxisScale(int tallest, int least);

class TfrmChart : public TForm {
    Q_OBJECT
public:
    QPushButton *bbtnPrint, *bbtnClose;
    QToolButton *sbtnHelp;

    void SetButtons(bool enabled);
    // Runs a fixed chart query and shows its bars; print only when it has rows.
    void ShowStat(Query &query, HeadCountChart *chart, const QString &labelField);
    void bbtnPrintClick();

protected:
    TfrmChart(const QString &objectName, const QString &caption, int width, QWidget *parent);
    // The chart the print button prints.
    virtual HeadCountChart *shownChart() const = 0;
    // Controls of a window's own go into the title panel, left of the print button.
    QHBoxLayout *titleRow() const { return m_titleRow; }
    // The middle of the window, between the two panels.
    void setBody(QWidget *body);

private:
    QHBoxLayout *m_titleRow;
    class QVBoxLayout *m_layout;
};
