#pragma once

// The row classes of the data panel: plain holders of the controls one row
// is made of, created at run time on their panel, with the operations that
// place, show and hide them together.
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QToolButton;

// A row's picture: the typeset formula. A click edits the record, a right
// click opens the row menu, and a press that moves more than DragStartDistance
// (horizontal plus vertical) starts dragging the row.
class TRowPicture final : public QWidget {
public:
    explicit TRowPicture(QWidget* parent);

    QImage Image;
    // What Image was typeset from; the owner typesets again when it differs.
    QString TypesetKey;
    std::function<void()> Clicked;
    std::function<void()> DoubleClicked;
    std::function<void(QPoint globalPos)> RightClicked;
    std::function<void()> DragStarted;
    static constexpr int DragStartDistance = 7;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QPoint pressPos_;
    bool pressed_ = false;
    bool dragged_ = false;
};

// A row of formulas: its picture, its show button (carrying the name label)
// and, for user functions, an edit control.
struct TYfxList {
    bool Shown = false;
    TRowPicture* Image = nullptr;
    int Position = 0;
    int Position2 = 0; // the place while rows are reordered
    QWidget* Edit = nullptr;
    QToolButton* Button = nullptr;

    void SetTop(int top);
    void Show();
    void Hide();
    void SetEnabled(bool enabled);
    // The two main controls only: the button and the picture.
    void SetTopPair(int top);
    void ShowPair();
    void HidePair();
};

// A row with a text colour of its own: functions, relations, objects, figures.
struct TYfxList2 : TYfxList {
    int TextColor = 0;
};

// A parameter row: the letter button (down while the step controls are
// hidden), the value edit, the fix button and the step controls.
struct TPrmList {
    QToolButton* Letter = nullptr;   // stPrmchar
    QLineEdit* Edit = nullptr;       // EditPrm
    QToolButton* Fix = nullptr;      // "Fixar/não Fixar"
    QToolButton* Down = nullptr;     // one step down
    QToolButton* Up = nullptr;       // one step up
    QLineEdit* StepEdit = nullptr;   // edPrmD
    QToolButton* Mode = nullptr;     // "+" or "×"
    QToolButton* Dup = nullptr;      // sbPrmDup: the next larger step
    QToolButton* DDwn = nullptr;     // sbPrmDDwn: the next smaller step
    bool Shown = false;
    int Position = 0;

    // The row's controls at top; the small buttons 2 pixels lower, and the
    // halving button directly below the doubling one.
    void SetTop(int top);
    // The row shown with its step controls, the value edit writable.
    void ShowEditing();
    // The step controls hidden, the letter button down, the value edit
    // read-only; the edit keeps its selection.
    void HideEditing();
    void HideAll();
};
