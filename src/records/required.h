#pragma once
// How the entry windows mark the fields they require: a panel on one colour, and its legend.
#include <QColor>

class QFrame;
class QWidget;

// 12615680 of the old colour numbers (BGR): a blue.
extern const QColor RequiredColour;

// A raised panel on the required colour, with white captions.
QFrame *RequiredPanel(QWidget *parent, const char *objectName);
// The colour swatch and "색에 있는 칸은 반드시 입력하세요." side by side.
QWidget *RequiredLegend(QWidget *parent);
