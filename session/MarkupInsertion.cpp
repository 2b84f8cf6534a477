#include "session/MarkupInsertion.h"

#include "session/RowModels.h"

#include "model/DocumentState.h"
#include "model/ObjectNames.h"

namespace {

TMarkupTag Pair(const QString& word, int step)
{
    return {u'<' + word + u'>', QStringLiteral("</") + word + u'>', step};
}

TMarkupTag ColorPair(const QString& word)
{
    const QString close = QStringLiteral("</") + word + u'>';
    return {u'<' + word + u'>', close, static_cast<int>(close.size()) + 1};
}

TMarkupTag Braces(const QString& open)
{
    return {open, QStringLiteral("}"), 2};
}

// The name an object row stands for in a label: the letter, and after it
// what the kind's definition reads as.
QString ObjectName(const TPointFunction& p, int k)
{
    const QString letter(PointLetter(k));
    switch (p.Kind) {
    case ObjectPoint:
    case ObjectCircle: return letter + u' ';
    case ObjectHorizontalLine:
    case ObjectVerticalLine:
    case ObjectPolar: return letter + QStringLiteral(": ");
    case ObjectParametric: return letter + (p.Dimension == 2 ? QStringLiteral("= ") : QStringLiteral(": "));
    default: return letter;
    }
}

} // namespace

std::optional<TMarkupTag> MarkupTagOf(int tag)
{
    switch (tag) {
    case 1: return ColorPair(QStringLiteral("Blue"));
    case 2: return ColorPair(QStringLiteral("RED"));
    case 3: return ColorPair(QStringLiteral("Green"));
    case 4: return ColorPair(QStringLiteral("Purple"));
    case 5: return ColorPair(QStringLiteral("Syan"));
    case 6: return ColorPair(QStringLiteral("Gray"));
    case 7: return ColorPair(QStringLiteral("Black"));
    case 9: return TMarkupTag{QStringLiteral("<color=#rrggbb>"), QStringLiteral("</color>"), 16};
    case 11: return Pair(QStringLiteral("L"), 5);
    case 12: return Pair(QStringLiteral("S"), 5);
    case 13: return Pair(QStringLiteral("sup"), 7);
    case 14: return Pair(QStringLiteral("sub"), 7);
    case 21: return Pair(QStringLiteral("B"), 5);
    case 22: return Pair(QStringLiteral("I"), 5);
    case 23: return Pair(QStringLiteral("U"), 5);
    case 31: return Braces(QStringLiteral("{"));
    case 32: return Braces(QStringLiteral("!{"));
    case 33: return Braces(QStringLiteral("?{"));
    case 41: return Braces(QStringLiteral("v{"));
    case 42: return Pair(QStringLiteral("symbol"), 10);
    case 43: {
        TMarkupTag fraction = Pair(QStringLiteral("frac"), 8);
        fraction.Fraction = true;
        return fraction;
    }
    case 99: return TMarkupTag{QString(), QStringLiteral("<normal>"), 0};
    default: return std::nullopt;
    }
}

TTagInsertion InsertTagPair(const QString& selected, const TMarkupTag& tag)
{
    QString t = selected;
    const QString gap = t.isEmpty() ? QStringLiteral(" ") : QString();
    if (tag.Fraction && !t.contains(u'/'))
        t += QStringLiteral("/ ");
    TTagInsertion insertion;
    insertion.Text = tag.Open + gap + t + tag.Close;
    insertion.Caret = static_cast<int>(insertion.Text.size()) - (selected.isEmpty() ? tag.CaretStep : 0);
    return insertion;
}

QString EquationItemCaption(TEquationKind kind, int n)
{
    switch (kind) {
    case TEquationKind::Function: return QStringLiteral("y%1").arg(n);
    case TEquationKind::Relation: return QStringLiteral("C%1").arg(n);
    case TEquationKind::Object: return QString(PointLetter(n));
    case TEquationKind::UserFunction: return UserFunctionNames[n].toString();
    }
    return {};
}

bool EquationExists(TEquationKind kind, int n)
{
    const TDocumentTables& t = DocumentTables;
    switch (kind) {
    case TEquationKind::Function: return !t.Functions[n].Func.Code.isEmpty();
    case TEquationKind::Relation: return !t.Relations[n].Func.Code.isEmpty();
    case TEquationKind::Object: return t.Points[n].Kind != ObjectEmpty;
    case TEquationKind::UserFunction: return !t.UserFunctions[n].Code.isEmpty();
    }
    return false;
}

QString InsertEquationText(TEquationKind kind, int n, bool calculator)
{
    const TDocumentTables& t = DocumentTables;
    QString name;
    QString formula;
    switch (kind) {
    case TEquationKind::Function:
        name = EquationRowLabel(n, false);
        formula = t.Functions[n].Func.Text;
        break;
    case TEquationKind::Relation:
        name = EquationRowLabel(n, true);
        formula = t.Relations[n].Func.Text;
        break;
    case TEquationKind::Object:
        name = ObjectName(t.Points[n], n);
        formula = MakePntDefText(t.Points[n]);
        break;
    case TEquationKind::UserFunction:
        name = UserFunctionRowLabel(n);
        formula = t.UserFunctions[n].Text;
        break;
    }
    if (calculator)
        return formula;
    return name.trimmed() + u'{' + formula + u'}';
}
