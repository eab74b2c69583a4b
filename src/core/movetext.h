#pragma once
// A block of text lines that moves across the control step by step on a timer, or stands still.
// Every frame is drawn off screen and copied in one step, so the text never flickers.
#include <QColor>
#include <QStringList>
#include <QWidget>

class QPainter;
class QTimer;

enum TMoveDirection { mdStatic, mdRightToLeft, mdLeftToRight, mdTopToBottom, mdBottomToTop };
enum TTextStyle { tsNormal, tsRaised, tsLowered, tsShaddow };
enum TAlignment { taCenter, taLeftJustify, taRightJustify };

class TMoveText : public QWidget {
    Q_OBJECT
public:
    explicit TMoveText(QWidget *parent = nullptr);

    TTextStyle TextStyle() const { return m_textStyle; }
    void SetTextStyle(TTextStyle style);
    int Steps() const { return m_steps; }
    void SetSteps(int steps);
    int Speed() const { return m_speed; }
    // Kept within 1 to 1000 ms.
    void SetSpeed(int ms);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    bool Continuous() const { return m_continuous; }
    void SetContinuous(bool continuous);
    // The text's colour; its face and size are the widget's font.
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor &color);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    TMoveDirection MoveDirection() const { return m_direction; }
    void SetMoveDirection(TMoveDirection direction);
    int Depth() const { return m_depth; }
    void SetDepth(int depth);
    QStringList Items() const { return m_items; }
    void SetItems(const QStringList &items);

    int CurrentStep() const { return m_step; }
    bool Moving() const;
    // Where the block's top-left corner is drawn at the current step.
    QPoint BlockOrigin();
    QSize BlockSize();

signals:
    void OnBegin();
    void OnStep();
    void OnEnd();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    template <class T>
    void storeAndLayOut(T &member, const T &value);
    void UpdateLayout();
    void CalcTextBlock();
    void DrawTextLine(QPainter &canvas, int x, int y, const QString &text);
    void StartMoving(int step);
    void StopMoving();
    void TimerTick();
    int styleAllowance() const;

    TTextStyle m_textStyle = tsNormal;
    int m_steps = 80;
    int m_speed = 100;
    QColor m_color;
    bool m_continuous = true;
    QColor m_fontColor = Qt::black;
    TAlignment m_alignment = taCenter;
    TMoveDirection m_direction = mdRightToLeft;
    int m_depth = 1;
    QStringList m_items;
    int m_step = 0;
    QTimer *m_timer;

    int m_lineHeight = 0;
    int m_blockWidth = 0;
    int m_blockHeight = 0;
    int m_offsetX = 0;
    int m_offsetY = 0;
};
