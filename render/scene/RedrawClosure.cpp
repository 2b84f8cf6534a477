#include "render/scene/RedrawClosure.h"

#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"

TClosureMemory ClosureMemory;

namespace {

// The highest token code of a name; codes above are never names.
constexpr int LastNameToken = 206;

bool IsEmptyFormula(const TKavirofunction& f)
{
    return f.Code.isEmpty() && f.NormText.isEmpty();
}

// RefersToToken, skipping the walk for a slot that holds no formula.
bool Refers(TTokenCode c, const TKavirofunction& f)
{
    return !IsEmptyFormula(f) && RefersToToken(c, f);
}

bool IsPlainObject(const TPointFunction& p)
{
    return p.Kind >= ObjectPoint && p.Kind <= ObjectVerticalLine;
}

// The token of a curve's own parameter letter; 0 when the letter is none.
TTokenCode CurveParamToken(const TPointFunction& p)
{
    const int i = PrmIndex(QStringView(&p.ParamChar, 1));
    return i >= 1 && i <= ParamCount ? Vocabulary.ParamTokens[i] : 0;
}

void Mark(TTokenCode name)
{
    RedrawState.ChangedNames.Flags.set(name);
}

// The dependants of name c among the objects: through their interval, and
// through the formulas of curves that do not take c as their own parameter.
void MarkObjectsThroughIntervals(TTokenCode c)
{
    const TDocumentTables& doc = DocumentTables;
    for (int k = 1; k <= PointCount; ++k) {
        const TPointFunction& p = doc.Points[k];
        if (Refers(c, p.Low) || Refers(c, p.High))
            Mark(Vocabulary.PointTokens[k]);
        if (IsCurveKind(p.Kind) && c != CurveParamToken(p) && (Refers(c, p.X) || Refers(c, p.Y) || Refers(c, p.R)))
            Mark(Vocabulary.PointTokens[k]);
    }
}

void MarkFormulaDependants(TTokenCode c)
{
    const TDocumentTables& doc = DocumentTables;
    const TTokenVocabulary& v = Vocabulary;
    for (int i = 1; i <= FunctionCount; ++i)
        if (Refers(c, doc.Functions[i].Func))
            Mark(v.FunctionTokens[i]);
    // With θ as the polar angle, relations read @ as their own variable.
    if (!(Options.ThetaMode == 1 && c == TokenCodes.Theta)) {
        for (int j = 1; j <= RelationCount; ++j)
            if (Refers(c, doc.Relations[j].Func)) {
                Mark(v.RelationTokens[j]);
                RedrawState.RelationChanged[j] = 1;
            }
    }
    for (int u = 1; u <= UserFunctionCount; ++u)
        if (Refers(c, doc.UserFunctions[u]))
            Mark(v.UserFunctionTokens[u]);
    for (int k = 1; k <= PointCount; ++k) {
        const TPointFunction& p = doc.Points[k];
        if (IsPlainObject(p) && (Refers(c, p.Pos) || Refers(c, p.X) || Refers(c, p.Y) || Refers(c, p.R)))
            Mark(v.PointTokens[k]);
    }
}

void AddFormula(std::vector<QString>& to, const TKavirofunction& f)
{
    to.push_back(f.Code);
    to.push_back(f.NormText);
}

} // namespace

TClosureInputs CurrentClosureInputs()
{
    const TDocumentTables& doc = DocumentTables;
    TClosureInputs in;
    in.Formulas.reserve(2 * (FunctionCount + RelationCount + UserFunctionCount + 6 * PointCount));
    for (const TEquationFunction& f : doc.Functions)
        AddFormula(in.Formulas, f.Func);
    for (const TEquationFunction& r : doc.Relations)
        AddFormula(in.Formulas, r.Func);
    for (const TKavirofunction& u : doc.UserFunctions)
        AddFormula(in.Formulas, u);
    for (int k = 1; k <= PointCount; ++k) {
        const TPointFunction& p = doc.Points[k];
        for (const TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R, &p.Low, &p.High})
            AddFormula(in.Formulas, *f);
        in.ObjectKinds[static_cast<size_t>(k - 1)] = p.Kind;
        in.ParamChars[static_cast<size_t>(k - 1)] = p.ParamChar;
    }
    in.ThetaMode = Options.ThetaMode;
    return in;
}

void BuildRedrawClosure()
{
    TRedrawState& state = RedrawState;
    TClosureInputs inputs = CurrentClosureInputs();
    if (state.ChangedNames == state.LastChangedNames && inputs == ClosureMemory.Inputs) {
        state.ChangedNames = state.RedrawNames;
        state.RelationChanged = state.SavedRelationChanged;
        return;
    }
    state.LastChangedNames = state.ChangedNames;
    ClosureMemory.Inputs = std::move(inputs);
    ++ClosureMemory.ClosuresBuilt;
    // The walk reads the set as it came in; the marks go to the live set.
    const TWideCharSet changed = state.ChangedNames;
    state.RelationChanged.fill(0);
    for (int c = 1; c <= LastNameToken; ++c)
        if (changed.has(static_cast<char16_t>(c)))
            MarkObjectsThroughIntervals(static_cast<TTokenCode>(c));
    for (int c = 1; c <= LastNameToken; ++c)
        if (changed.has(static_cast<char16_t>(c)))
            MarkFormulaDependants(static_cast<TTokenCode>(c));
    state.RedrawNames = state.ChangedNames;
    state.SavedRelationChanged = state.RelationChanged;
}

void ForgetRedrawClosure()
{
    CharSetClear(RedrawState.LastChangedNames);
    CharSetClear(RedrawState.RedrawNames);
    ClosureMemory.Inputs = TClosureInputs{};
}
