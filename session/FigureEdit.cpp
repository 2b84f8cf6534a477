#include "session/FigureEdit.h"

#include "session/EditScope.h"
#include "session/RowModels.h"
#include "session/UndoPoints.h"

#include "model/MessageBox.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/plot/Figures.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <optional>

namespace {

const QString TooFew = QStringLiteral("Vértices insuficientes");
const QString TooMany = QStringLiteral("Vértices demais");
const QString NeedTwo = QStringLiteral("Usar dois ou mais vértices");
const QString Invalid = QStringLiteral("Vértice inválido");
const QString AxisInPolygon = QStringLiteral("Eixo ou reta não pode ser usado como vértices de polígono.");

bool IsAxis(int v)
{
    return v == AxisXObject || v == AxisYObject;
}

std::uint8_t ObjectKind(int v)
{
    return v >= 1 && v <= PointCount ? DocumentTables.Points[v].Kind : std::uint8_t{ObjectEmpty};
}

bool IsLineObject(int v)
{
    const std::uint8_t k = ObjectKind(v);
    return k == ObjectHorizontalLine || k == ObjectVerticalLine;
}

QString RemoveBlanks(const QString& text)
{
    QString s = text;
    s.remove(u' ');
    return s;
}

// How a vertex is written in a formula next to the other vertex of its
// edge: a point by its letter, an axis as the foot of the other on it, a
// line as its point level with the other. Nothing when neither is a point.
std::optional<QString> VertexFormula(int v, int other)
{
    const QChar sep = Separators.ListSepChar;
    const bool plainOther = !IsAxis(other) && !IsLineObject(other);
    const QString o(PointLetter(other));
    const QString me(PointLetter(v));
    if (!IsAxis(v) && !IsLineObject(v))
        return me;
    if (!plainOther)
        return std::nullopt;
    if (v == AxisXObject)
        return u'(' + o + QStringLiteral(".x") + sep + u'0' + u')';
    if (v == AxisYObject)
        return u'(' + QStringLiteral("0") + sep + o + QStringLiteral(".y)");
    if (ObjectKind(v) == ObjectHorizontalLine)
        return u'(' + o + QStringLiteral(".x") + sep + me + QStringLiteral(".y)");
    return u'(' + me + QStringLiteral(".x") + sep + o + QStringLiteral(".y)");
}

bool IsPlainPoint(int v)
{
    return !IsAxis(v) && !IsLineObject(v);
}

} // namespace

int NeededVertexCount(std::uint8_t kind)
{
    switch (kind) {
    case FigurePolyline:
    case FigurePolygon:
    case FigureAngle:
    case FigureArc:
    case FigureBezier:
    case FigureRightAngle:
        return 3;
    default:
        return 2;
    }
}

bool TakesMoreVertices(std::uint8_t kind)
{
    return kind == FigurePolyline || kind == FigurePolygon || kind == FigureBezier;
}

QString VertexText(const Tsegment& figure)
{
    QString text;
    for (int i = 1; i <= FigureVertexCount; ++i) {
        const int v = figure.Vertices[i];
        if (v == 0)
            break;
        text += PointLetter(v);
    }
    return text;
}

QString CheckVertexText(const QString& text, std::uint8_t kind, Tsegment& figure)
{
    const int m = NeededVertexCount(kind);
    // Counted on the text as typed, blanks included.
    if (text.size() < m)
        return TooFew;
    if (text.size() > m && !TakesMoreVertices(kind))
        return TooMany;
    QString letters = RemoveBlanks(text);
    if (m == 2)
        letters.truncate(2);
    if (letters.size() < 2)
        return NeedTwo;
    // Blanks counted above must not leave a polygon or an angle short.
    if (letters.size() < m)
        return TooFew;
    letters.truncate(FigureVertexCount);

    Tsegment copy = figure;
    copy.Vertices = {};
    QString message;
    for (int i = 0; i < letters.size(); ++i) {
        const int v = PointIndexOfName(QStringView(letters).mid(i, 1));
        copy.Vertices[i + 1] = static_cast<std::uint8_t>(v);
        // Every vertex is looked at; the last refusal is the one shown.
        if (v == 0)
            message = Invalid;
        else if (m == 3 && (IsAxis(v) || IsLineObject(v)))
            message = AxisInPolygon;
    }
    if (!message.isEmpty())
        return message;
    const std::span<const std::uint8_t> vertices(&copy.Vertices[1], FigureVertexCount);
    if (CountVertexRefs(AxisXObject, vertices) > 1 || CountVertexRefs(AxisYObject, vertices) > 1)
        return Invalid;
    figure.Vertices = copy.Vertices;
    return {};
}

QStringList LabelTemplates(const QString& text, std::uint8_t kind)
{
    QStringList list;
    const QString letters = RemoveBlanks(text);
    std::vector<int> v;
    for (int i = 0; i < letters.size(); ++i) {
        const int n = PointIndexOfName(QStringView(letters).mid(i, 1));
        if (n == 0)
            return list;
        v.push_back(n);
    }
    const QChar sep = Separators.ListSepChar;
    if (v.size() == 2) {
        const std::optional<QString> a = VertexFormula(v[0], v[1]);
        const std::optional<QString> b = VertexFormula(v[1], v[0]);
        if (!a || !b)
            return list;
        if (kind == FigureSegment || kind == FigureArrow || kind == FigureBrace)
            list << QStringLiteral("!{len(") + *a + sep + *b + QStringLiteral(")|3}//Comprimento");
        if (kind == FigureArrow) {
            const QString field = IsPlainPoint(v[0]) && IsPlainPoint(v[1]) ? *a + *b : *b + u'-' + *a;
            list << QStringLiteral("!{") + field + QStringLiteral("|3}//Deslocamento");
        }
    } else if (v.size() == 3 && kind == FigureAngle) {
        for (int n : v)
            if (!IsPlainPoint(n))
                return list;
        list << QStringLiteral("!{[arg(") + PointLetter(v[0]) + sep + PointLetter(v[1]) + sep + PointLetter(v[2]) +
                    QStringLiteral(")]|3}//Ângulo");
    }
    return list;
}

bool IsEditableFigure(int n)
{
    return n >= 1 && n <= Segments.Count() + 1 && n <= SegmentCount;
}

int AddFigure(int k1, int k2)
{
    if (Segments.Count() >= SegmentCount) {
        ShowMsgBox(QStringLiteral("Mais segmentos não podem ser adicionados."), MsgWarning, MsgOk);
        return 0;
    }
    SaveUndoPoint();
    const TDefaultStyle& style = ProgramState.DefaultSegmentStyle;
    Segments.Append(k1, k2, style.ColorNo1, style.Width, style.LineStyle);
    const int s = Segments.Count();
    // Shown at once, without waiting for a redraw.
    TBitmap& graph = GraphScale.GraphImages[0];
    if (graph.Width() > 0 && graph.Height() > 0)
        DrawSegment(DocumentFigureView(GraphScale), graph.Canvas(), s, true);
    return s;
}

void DeleteFigure(int s, bool undo)
{
    if (s < 1 || s > Segments.Count())
        return;
    if (undo)
        SaveUndoPoint();
    Segments.Remove(s);
    ShiftFigureColoursDown(SegmentColors, s);
    ShiftFigureColoursDown(SegmentColors2, s);
    // No figure may replay with another's colours or fill.
    TraceStore.DeleteSegment(s);
}

void DeleteFigureAndRedraw(int s, bool undo)
{
    const TEditScope edit;
    DeleteFigure(s, undo);
    SetDirtyObjects();
}

void SetFigure(int s, const Tsegment& figure)
{
    if (s < 1 || s > Segments.Count())
        return;
    const TEditScope edit;
    Segments.Data.Items[s] = figure;
    SetDirtyObjects();
}

Tsegment FigureToEdit(int n)
{
    if (n != Segments.Count() + 1)
        return Segments.GetItem(n);
    Tsegment figure;
    figure.Kind = FigureSegment;
    const TDefaultStyle& style = ProgramState.DefaultSegmentStyle;
    figure.Color = style.ColorNo1;
    figure.Width = static_cast<std::uint8_t>(style.Width);
    figure.LineStyle = static_cast<std::uint8_t>(style.LineStyle);
    return figure;
}

void StoreFigure(int n, const Tsegment& figure)
{
    if (!IsEditableFigure(n))
        return;
    const bool isNew = n == Segments.Count() + 1;
    const TEditScope edit;
    if (figure.Kind == FigureNone) {
        if (isNew)
            return;
        SaveUndoPoint();
        TEditScope::DocumentChanged();
        DeleteFigureAndRedraw(n, false);
        ShowSegRows();
        return;
    }
    if (isNew || Segments.GetItem(n) != figure) {
        SaveUndoPoint();
        TEditScope::DocumentChanged();
    }
    if (isNew)
        Segments.Data.Count = n;
    SetFigure(n, figure);
    ProgramState.DefaultSegmentStyle = {figure.Color, figure.Width, figure.LineStyle};
    ShowSegRows();
}
