#pragma once

// The parameter panel of the data panel: one row per parameter in use, the
// step buttons with their auto-repeat on the clock, the step edit, the step
// mode and step table buttons, the speed bar and the trace buttons.
#include "model/DocumentState.h"
#include "model/OffsetArray.h"
#include "windows/RowsList.h"

#include <QTimer>
#include <cstdint>
#include <functional>

class QLabel;
class QSlider;
class QToolButton;

class TParamPanel {
public:
    // Builds the 14 rows and the tool strip on the panel.
    explicit TParamPanel(QWidget* panel);

    QWidget* const Panel;
    TOffsetArray<TPrmList, 1, ParamCount> Rows;
    QSlider* TrBar = nullptr;
    QLabel* SlowLabel = nullptr; // "lento"
    QLabel* FastLabel = nullptr; // "rápido"
    QToolButton* SBAimg = nullptr;      // traces on or off (CanAImg)
    QToolButton* BtnToAImage = nullptr; // records the state as a trace
    QToolButton* BtnClrAImage = nullptr; // clears the traces

    // A right click on a row's letter or value: the parameter.
    std::function<void(int j, QPoint globalPos)> RowMenuRequested;
    // The stickers on the graph hide while a step button is held.
    std::function<void(bool shown)> SetStickersShown;
    // A press on a row's letter moved more than 10 pixels across: drag it.
    std::function<void(int j, QWidget* source)> DragStarted;

    // The rows' geometry and fonts for the current sizes and panel width.
    void ApplySizes(int clientWidth);
    // The strip in one row from a form width of 241, else in two; the
    // panel's height follows.
    void SetStripForWidth(int formWidth);
    int StripHeight() const { return stripHeight_; }
    int RowHeight() const { return rowHeight_; }
    // The rows shown from the models, renumbered, and the panel's height.
    void ShowRows();
    // One value edit from its model (text and colour).
    void ShowValue(int j);
    // The speed bar from ParamDelay, the trace toggle from CanAImg.
    void ShowSpeedAndTraces();

    // The step buttons: pressed steps once at once and, unless ParamDelay
    // is 0, again after ParamRepeatDelay and then every ParamDelay while
    // the button stays down; the stickers hide while it is held.
    void PressStep(int j, int direction, Qt::KeyboardModifiers modifiers);
    void ReleaseStep();
    // Checks the clock for a due repeat; the repeat timer calls it.
    void PollStepRepeat();

    // The row's value edit index of the parameter shown above (-1) or below
    // (+1) the one with the focus, or 0.
    int NeighbourRow(int j, int direction) const;

private:
    void BuildRow(int j);
    void BuildStrip();
    void WireRow(int j);
    void WireLetter(int j);
    void ApplyValueEdit(int j);
    void ApplyStepEdit(int j);
    void ToggleStepControls(int j);
    bool EditKey(int j, QKeyEvent* key);
    void EditParamInCalculator(int j);
    void EditStepInCalculator(int j);
    void SetPanelHeight();

    struct HeldStep {
        int J = 0;
        int Direction = 0;
        QToolButton* Button = nullptr;
        std::int64_t NextDue = 0;
    };
    HeldStep held_;
    QTimer repeatTimer_;
    int stripHeight_ = 32;
    int rowHeight_ = 24;
};

// Geometry of the parameter panel (pixels).
// The top of parameter row i (display index from 1).
constexpr int ParamRowTop(int displayIndex, int rowHeight)
{
    return (displayIndex - 1) * rowHeight + 24;
}
// The panel's height: its rows, the title and margins, the tool strip.
constexpr int ParamPanelHeight(int shownRows, int rowHeight, int stripHeight)
{
    return rowHeight * shownRows + 30 + stripHeight;
}
// The strip takes one row of 32 pixels from a form width of 241, else two.
constexpr int ParamStripHeight(int formWidth)
{
    return formWidth >= 241 ? 32 : 64;
}
