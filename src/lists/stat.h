#pragma once
// The head-count chart windows: one field's values over every member, the general chart with its
// choice of item, and the zone chart with a page for the areas of one zone.
#include "lists/chartwindow.h"

class QComboBox;
class QLabel;
class QTabWidget;

// A chart of one field, counted when the window is built.
class TfrmFieldChart : public TfrmChart {
    Q_OBJECT
public:
    Query qrStat;
    HeadCountChart *dchtStat;

protected:
    struct Definition {
        const char *objectName;
        const char *caption;
        const char *field;
        const char *axisTitle;
    };
    TfrmFieldChart(const Definition &def, QWidget *parent);
    HeadCountChart *shownChart() const override { return dchtStat; }
};

class TfrmSPart : public TfrmFieldChart {
    Q_OBJECT
public:
    explicit TfrmSPart(QWidget *parent = nullptr);
};

class TfrmSBigo : public TfrmFieldChart {
    Q_OBJECT
public:
    explicit TfrmSBigo(QWidget *parent = nullptr);
};

class TfrmSDuty : public TfrmFieldChart {
    Q_OBJECT
public:
    explicit TfrmSDuty(QWidget *parent = nullptr);
};

class TfrmSGita : public TfrmFieldChart {
    Q_OBJECT
public:
    explicit TfrmSGita(QWidget *parent = nullptr);
};

// The general chart: sex, married, education or kind of work, as chosen.
class TfrmStat : public TfrmChart {
    Q_OBJECT
public:
    explicit TfrmStat(QWidget *parent = nullptr);

    Query qrStat;
    HeadCountChart *dchtStat;
    QLabel *lblSel;
    QComboBox *cbxSel;

    void RefreshStat();
    void AddSQL(const QString &line);

protected:
    HeadCountChart *shownChart() const override { return dchtStat; }
};

// Members per zone, and per area of the zone chosen on the second page.
class TfrmSArea : public TfrmChart {
    Q_OBJECT
public:
    explicit TfrmSArea(QWidget *parent = nullptr);

    Query qrStat;
    Query qrStatA;
    QTabWidget *pcStat;
    QWidget *tsZone, *tsArea;
    HeadCountChart *dchtStat, *dchtArea;
    QLabel *lblSel;
    QComboBox *cbxSel;

    void FormActivate();
    void pcStatChange(int page);
    void ShowAreaStat();

protected:
    HeadCountChart *shownChart() const override;
    void changeEvent(QEvent *event) override;
};
