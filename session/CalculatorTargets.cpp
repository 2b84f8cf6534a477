#include "session/CalculatorTargets.h"

#include "engine/Compiler.h"
#include "engine/Evaluator.h"
#include "engine/References.h"
#include "engine/Tokenizer.h"
#include "model/DocumentState.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "session/ParameterSteps.h"
#include "session/StoreOperations.h"

TCompileOutcome CompileCalculatorText(TKavirofunction& record, const QString& text, int mode)
{
    record.Text = text;
    TTokenString tokens;
    NormalizeExpression(record, tokens);
    record.NormText = tokens;
    return CompileShowingMessages(record, mode, true);
}

std::optional<long double> PlainNumber(const QString& resultText)
{
    long double value = 0.0L;
    if (resultText.trimmed().isEmpty() || !ParseExtended(resultText, Separators.DecimalChar, value))
        return std::nullopt;
    return value;
}

bool StoreUserFunction(int n, const TKavirofunction& record)
{
    if (n < 1 || n > UserFunctionCount)
        return false;
    TKavirofunction& slot = DocumentTables.UserFunctions[n];
    // The check follows the references through the table, so the new
    // definition must stand there while it runs.
    const TKavirofunction old = slot;
    slot = record;
    const bool circular = CheckCircularity(record);
    slot = old;
    if (circular)
        return false;
    SetUsr(n, record);
    return true;
}

std::optional<long double> FieldValue(const TKavirofunction& record)
{
    const TValue v = EvaluateExpression(record, TValue{KindReal, 0, 0.0L, 0.0L});
    // A complex result with an imaginary part is no number of a field.
    if (!v.Defined || v.Kind == KindNone || (v.Kind == KindPair && v.Y != 0.0L))
        return std::nullopt;
    return v.X;
}

void ApplyParameterValue(int n, long double value)
{
    if (n < 1 || n > ParamCount)
        return;
    if (!SetPrmIfChanged(n, value))
        return;
    SetDirtyObjects();
    GraphScale.Redraw(GraphScale.GraphImages);
}

bool ApplyParameterStep(int n, long double step)
{
    return n >= 1 && n <= ParamCount && SetParameterStep(n, step);
}
