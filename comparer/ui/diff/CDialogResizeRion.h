#pragma once

// Keeps a dialog's controls in place while the user resizes it: each listed control is put
// where it was at set-up, grown or moved by the change of the dialog's size as its flags
// say. The dialog gets a size grip and cannot become smaller than it was at set-up.

#include <QDialog>
#include <QFlags>
#include <QObject>
#include <QRect>

#include <vector>

class CDialogResizeRion : public QObject {
public:
    enum Flag {
        SizeX = 1,   // grows with the width
        SizeY = 2,   // grows with the height
        MoveX = 4,   // moves with the right edge
        MoveY = 8,   // moves with the bottom edge
        CenterX = 16 // moves by half the width change, keeping its distance from the centre
    };
    Q_DECLARE_FLAGS(Flags, Flag)

    // Records the dialog's present size, which becomes its minimum when asked.
    CDialogResizeRion(QDialog& dialog, bool addSizeGrip, bool useMinimumSize);

    // Records the control's present place.
    void addControl(QWidget& control, Flags flags);

    // Where a control recorded at `recorded` goes when the dialog's size changed by `change`.
    static QRect placed(const QRect& recorded, Flags flags, const QSize& change);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* control;
        Flags flags;
        QRect recorded;
    };

    QDialog& dialog_;
    QSize recordedSize_;
    std::vector<Entry> entries_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CDialogResizeRion::Flags)
