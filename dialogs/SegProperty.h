#pragma once

#include "model/Figures.h"

#include <QComboBox>
#include <QDialog>

#include <functional>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

// The figure dialog, modal: opens on figure n, or on a new figure at the
// next free place (n = Count + 1); nothing for any other n.
void ShowSegProperty(int n);

// The label combo: refilled with the templates of the vertex text each time
// its list drops down.
class TLabelCombo final : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> OnDropDown;
    void showPopup() override;
};

// "Reta&Polígono": one figure's kind, vertices, style and label, edited on a
// copy that OK stores.
class TSegProperty final : public QDialog {
public:
    explicit TSegProperty(QWidget* parent = nullptr);

    // Fills the controls from figure n (no show).
    void LoadSegment(int n);
    // Inside colour and pattern for the kinds with an inside.
    void UpdateControls();

    void BtnOkClick();
    void BtndeleteClick();
    // The vertex menu filled for the text of Edit2: what it shows.
    void PopupMenuPointPopup();

    int SegmentNo = 0;
    Tsegment Copy;

    QLineEdit* Edit2;     // the vertex letters
    QButtonGroup* Kinds;  // RB0..RB13, id = kind
    QButtonGroup* LabelPositions; // SBLB1..SBLB9, id = position
    QToolButton* btnColor;
    QToolButton* btnWidth;
    QToolButton* btnStyle;
    QToolButton* btnInside;
    QLabel* lblInside;
    QToolButton* btnPattern;
    QCheckBox* CBAI;
    TLabelCombo* edit1;
    QPushButton* BtnOk;
    QPushButton* btnCancel;
    QPushButton* Btndelete;
    QMenu* PopupMenuPoint;

protected:
    void done(int result) override;

private:
    QGroupBox* BuildVertexBox();
    QGroupBox* BuildKindBox();
    QGroupBox* BuildStyleBox();
    QGroupBox* BuildLabelBox();
    QHBoxLayout* BuildButtons();
    void RB1Click(int kind);
    void edit1DropDown();
    void P1Click(QChar letter);
    void ShowStyleGlyphs();
    void ShowPaletteFor(QToolButton* button);
    void ReadControls();
};
