#include "session/Presentation.h"

#include "session/RowModels.h"

#include "model/ObjectNames.h"
#include "model/ProgramState.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

namespace {

bool InPresentation()
{
    return ProgramState.PresentationMode != 0;
}

} // namespace

// Free slots take the new widths too, so that what the user adds next is
// drawn as wide as the mode's other lines.
void ApplyDefaultWidths()
{
    ProgramState.DefaultGraphStyle.Width = DefaultEquationWidth();
    ProgramState.DefaultFigureStyle.Width = DefaultObjectWidth();
    TDocumentTables& doc = DocumentTables;
    for (TEquationFunction& f : doc.Functions)
        if (f.Func.Text.isEmpty())
            f.Width = static_cast<std::uint8_t>(DefaultEquationWidth());
    for (TEquationFunction& f : doc.Relations)
        if (f.Func.Text.isEmpty())
            f.Width = static_cast<std::uint8_t>(DefaultEquationWidth());
    for (TPointFunction& p : doc.Points)
        if (p.Kind == ObjectEmpty)
            p.Width = static_cast<std::uint8_t>(DefaultObjectWidth());
}

void SetLargeDisplay(ScaleT& view)
{
    TProgramState& state = ProgramState;
    const bool large = InPresentation();
    state.DisplayFontSize = large ? 24 : 12;
    view.AxisWidth = large ? 2 : 1;
    SetDirtyScale();
    // A label font the user made larger than the mode's stays.
    if (!large || state.FontSize < state.DisplayFontSize)
        state.FontSize = state.DisplayFontSize;
}

int DefaultEquationWidth()
{
    return InPresentation() ? 3 : 2;
}

int DefaultObjectWidth()
{
    return InPresentation() ? 4 : 3;
}

TEquationFunction EmptyEquation()
{
    TEquationFunction f = DefaultEquation;
    f.Width = static_cast<std::uint8_t>(DefaultEquationWidth());
    return f;
}

TPointFunction EmptyObject(int k)
{
    TPointFunction p = DefaultPoint;
    p.Width = static_cast<std::uint8_t>(DefaultObjectWidth());
    p.Label = QString(PointLetter(k));
    return p;
}

void ApplyPresentationSizes(int pixelsPerInch)
{
    RowMetrics.Apply(pixelsPerInch, InPresentation());
    ApplyDefaultWidths();
    SetLargeDisplay(GraphScale);
}

void TogglePresentationMode(int pixelsPerInch)
{
    ProgramState.PresentationMode = InPresentation() ? 0 : 1;
    ApplyPresentationSizes(pixelsPerInch);
}

int PresentationShift(const QRect& panel, const QRect& graph, const QRect& screen)
{
    const int d = panel.right() - screen.right();
    if (d <= 0 || d > graph.left() - screen.left())
        return 0;
    return d;
}
