#pragma once
// The head-count chart windows: one field's values over every member, the general chart with its
// choice of item, and the zone chart with a page for the areas of one zone.
#include "lists/chartwindow.h"

class QComboBox;
class QLabel;
class QTabWidget;

// Which field a plain chart counts, with its window's names.
struct FieldChart {
    const char *objectName;
    const char *caption;
    const char *field;
    const char *axisTitle;
};

// A chart of one field, counted when the window is built.
class TfrmFieldChart : public TfrmChart {
    Q_OBJECT
public:
    TfrmFieldChart(const FieldChart &def, QWidget *parent);

    Query qrStat;
    HeadCountChart *dchtStat;

protected:
    HeadCountChart *shownChart() const override { return dchtStat; }
};

template <const FieldChart &Def>
class TfrmFieldChartOf : public TfrmFieldChart {
public:
    explicit TfrmFieldChartOf(QWidget *parent = nullptr) : TfrmFieldChart(Def, parent) {}
};

inline constexpr FieldChart PartChart{"frmSPart", "소속기관별 통계", "Part", "소속기관"};
inline constexpr FieldChart BigoChart{"frmSBigo", "비고별 통계", "Bigo", "비고"};
inline constexpr FieldChart DutyChart{"frmSDuty", "직분별 통계", "Duty1", "직분1"};
inline constexpr FieldChart GitaChart{"frmSGita", "활동기타별 통계", "Duty2", "직분2"};
using TfrmSPart = TfrmFieldChartOf<PartChart>;
using TfrmSBigo = TfrmFieldChartOf<BigoChart>;
using TfrmSDuty = TfrmFieldChartOf<DutyChart>;
using TfrmSGita = TfrmFieldChartOf<GitaChart>;

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
