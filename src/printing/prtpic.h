#pragma once
// The photo sheet: the two photos of the member the main window's member table stands on, on
// one landscape page. The photo window creates it, sizes the personal photo's box from its own
// frame and previews it.
#include "platform/dataset.h"
#include "platform/report.h"

#include <QObject>
#include <QSize>

class TfrmPPic : public QObject {
    Q_OBJECT
public:
    // member: the main window's member table (the data module's tbMaster).
    explicit TfrmPPic(Dataset &member, QObject *owner = nullptr);

    Report qrptPrt;
    ReportItem *qdimgPic = nullptr;  // card photo, stretched into its frame
    ReportItem *qdimgFpic = nullptr; // personal photo, at its own size

    // The personal photo's box in layout pixels for a frame of w × h screen pixels: as wide as
    // the frame's shape allows at 440 high, at most 640 wide (integer arithmetic).
    static QSize FpicBoxFor(int w, int h);
    // Sizes qdimgFpic by FpicBoxFor; the photo window calls it only when there is a personal photo.
    void SizeFpicBox(int w, int h);
    // The box as declared or sized, in layout pixels.
    QSize fpicBox() const { return m_fpicBox; }

private:
    QSize m_fpicBox{621, 440};
};
