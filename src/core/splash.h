#pragma once
// The logo window shown while the program starts.
#include <QWidget>

class QFrame;
class QLabel;

// Registers the resources of this library (they live in a static library, so nothing pulls
// them in by itself). Safe to call more than once.
void InitCoreResources();

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget *parent = nullptr);

    QFrame *pnlSplash;
    QLabel *imgSplash;
};
