#pragma once
// Members with the infant-baptism (dedication), catechism or baptism mark, one tab each, by date.
#include "lists/listwindow.h"

class TfrmLBap : public TListWindow {
    Q_OBJECT
public:
    explicit TfrmLBap(QWidget *parent = nullptr);

protected:
    void BuildQuery() override;
};
