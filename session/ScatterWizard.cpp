#include "session/ScatterWizard.h"

#include "session/StoreOperations.h"

#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"

#include <algorithm>

namespace {

// The last object stays out of the wizard's reach.
constexpr int ScatterObjectCount = PointCount - 1;

// A colour that is drawn: white draws nothing.
TColor ShownColor(TColor color, bool shown)
{
    if (!shown)
        return 0xFFFFFF;
    return color == 0xFFFFFF ? TColor(0xFF0000) : color;
}

// "Cells(k,3" for column 3, the bracket left open.
QString CellsOpenText(int column)
{
    return QStringLiteral("Cells(k%1%2").arg(Separators.ListSepChar).arg(column);
}

} // namespace

bool ScatterObjectsAllUsed()
{
    for (int n = 1; n <= ScatterObjectCount; ++n)
        if (DocumentTables.Points[n].Kind == ObjectEmpty)
            return false;
    return true;
}

TScatterProposal ProposeScatter(const TCellRange& selection)
{
    TScatterProposal proposal;
    for (int n = 1; n <= ScatterObjectCount; ++n)
        if (DocumentTables.Points[n].Kind == ObjectEmpty)
            proposal.Letters.push_back(QChar(PointLetters[n]));
    proposal.FirstRow = selection.Top;
    proposal.LastRow = selection.Bottom == selection.Top ? TableRows : selection.Bottom;
    proposal.XColumn = selection.Left;
    proposal.YColumn =
        selection.Right == selection.Left ? std::min(selection.Left + 1, TableColumns) : selection.Right;
    return proposal;
}

TPointFunction ScatterObject(int n, const TScatterChoice& choice)
{
    const TDefaultFigure& style = ProgramState.DefaultFigureStyle;
    TPointFunction p = DefaultPoint;
    p.Kind = ObjectSequence;
    p.X.Text = CellsOpenText(choice.XColumn) + u')';
    p.Y.Text = CellsOpenText(choice.YColumn) + QStringLiteral(") ");
    PrepareExpression(p.X, n);
    PrepareExpression(p.Y, n);
    p.Dimension = static_cast<std::uint8_t>(style.Dimension);
    p.Width = static_cast<std::uint8_t>(style.Width);
    p.RWidth = static_cast<std::uint8_t>(style.RWidth);
    p.LineStyle = static_cast<std::uint8_t>(style.LineStyle);
    JoinPointTexts(p, PointTextDirection::Join);
    PrepareExpression(p.Pos, n);
    // Compiling and joining trim the texts; the y formula keeps its final blank.
    p.Y.Text = CellsOpenText(choice.YColumn) + QStringLiteral(") ");
    p.ParamChar = u'k';
    p.Low.Text = choice.FirstRow;
    p.High.Text = choice.LastRow;
    PrepareExpression(p.Low, n);
    PrepareExpression(p.High, n);
    p.ParamStep = 1.0L;
    p.ColorNo1 = ShownColor(style.ColorNo1, choice.Points);
    p.RColorNo1 = ShownColor(style.RColorNo1, choice.Lines);
    return p;
}

TScatterOutcome ApplyScatterChoice(TScatterChoice& choice)
{
    QString first = choice.FirstRow;
    QString last = choice.LastRow;
    long double value = 0.0L;
    if (!ParseNumberText(first, value, false) || !ParseNumberText(last, value, false))
        return {true, -1};
    choice.FirstRow = first;
    choice.LastRow = last;
    if (!choice.Points && !choice.Lines)
        return {};
    const int n = PointIndex(QString(choice.Letter));
    if (n < 1 || n > ScatterObjectCount)
        return {};
    SetPnt(n, ScatterObject(n, choice));
    return {false, n};
}
