#pragma once
// The lists by one lookup category: one tab per lookup entry after "전체".
#include "lists/listwindow.h"

struct CategoryListDef {
    const char *objectName;
    const char *caption;
    const QStringList *lookup;
    const int *lookupCount;
    QStringList sql;       // the whole statement, line by line
    const char *param;     // bound to the chosen tab's entry ("%" on the first tab)
    QStringList columns;
    int groupColumn;
    std::optional<Chart> chart;
};

class TCategoryList : public TListWindow {
    Q_OBJECT
public:
    explicit TCategoryList(const CategoryListDef &def, QWidget *parent = nullptr);

protected:
    void BuildQuery() override;

private:
    QString m_param;
};

class TfrmLBigo : public TCategoryList {
    Q_OBJECT
public:
    explicit TfrmLBigo(QWidget *parent = nullptr);
};

class TfrmLDuty : public TCategoryList {
    Q_OBJECT
public:
    explicit TfrmLDuty(QWidget *parent = nullptr);
};

class TfrmLPart : public TCategoryList {
    Q_OBJECT
public:
    explicit TfrmLPart(QWidget *parent = nullptr);
};

class TfrmLGita : public TCategoryList {
    Q_OBJECT
public:
    explicit TfrmLGita(QWidget *parent = nullptr);
};

// Members with at least one history record of the chosen title, each once.
class TfrmLStudy : public TCategoryList {
    Q_OBJECT
public:
    explicit TfrmLStudy(QWidget *parent = nullptr);
};
