#pragma once
// The photo window: the current member's card photo (Pic) and personal photo (Fpic), loaded from
// bitmap files, cleared, moved one into the other, and the photo sheet preview. Each operation
// posts or cancels the member row at once, so the row is never left in edit state.
#include "platform/dbcontrols.h"
#include "platform/form.h"

#include <functional>

class QButtonGroup;
class QFrame;
class QGroupBox;
class QPushButton;
class QToolButton;

class TfrmPic : public TForm {
    Q_OBJECT
public:
    explicit TfrmPic(QWidget *parent = nullptr);

    QFrame *pnlPic;
    QFrame *pnlFpic;
    QToolButton *sbtnAdd;
    QToolButton *sbtnDel;
    QToolButton *sbtnPrint;
    QToolButton *btnLeft;
    QToolButton *btnRight;
    DBImage *dimgPic;
    DBImage *dimgFpic;
    QGroupBox *rdgPicSel;
    QPushButton *bbtnClose;

    // The chosen slot: 0 card photo, 1 personal photo.
    int picSel() const;
    void setPicSel(int index);

    void sbtnAddClick();
    void sbtnDelClick();
    void sbtnPrintClick();
    void dimgPicEnter();
    void dimgFpicEnter();
    void rdgPicSelClick();
    void btnLeftClick();
    void btnRightClick();

    // The open dialog (opdlgPic): the chosen file, empty when cancelled. Tests answer it.
    static std::function<QString(const QString &title)> OpenDlg;

    // A picture file as the bitmap bytes a graphic field holds; empty when it is no picture.
    static QByteArray BitmapBytes(const QString &fileName);

protected:
    void FormClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void movePicture(const QString &from, const QString &to, const QString &question);
    QButtonGroup *m_slots;
};
