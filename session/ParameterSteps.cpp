#include "session/ParameterSteps.h"

#include "session/EditScope.h"
#include "session/RowHost.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include "engine/NumberFields.h"
#include "engine/TokenTable.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ObjectNames.h"
#include "render/view/RedrawState.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A sum that lands this close (in steps) to a whole number is that number,
// so that 0.9 + 0.1 is exactly 1.
constexpr long double WholeNumberSnap = 1e-9L;

long double EffectiveStep(const TParameter& p, bool shift, bool ctrl)
{
    long double step = p.Step;
    if (p.AddStep) {
        if (shift)
            step /= 10.0L;
        if (ctrl)
            step *= 2.0L;
    } else {
        if (shift && step > 0.0L)
            step = std::pow(step, 0.1L);
        if (ctrl)
            step *= step;
    }
    return step;
}

void ShowStepText(int j)
{
    RowModels.Params[j].StepText = ParamStepText(DocumentTables.Params[j].Step);
    CurrentRowHost().ShowParamRows();
}

} // namespace

long double SteppedValue(const TParameter& p, int direction, bool shift, bool ctrl)
{
    const long double step = EffectiveStep(p, shift, ctrl);
    // A step of 0 (from an old file) steps nothing, and never divides by it.
    if (step == 0.0L)
        return p.Value;
    if (!p.AddStep)
        return direction > 0 ? p.Value * step : p.Value / step;
    const long double value = direction > 0 ? p.Value + step : p.Value - step;
    const long double whole = std::nearbyint(value);
    return std::fabs(value - whole) <= std::fabs(step) * WholeNumberSnap ? whole : value;
}

void StepParameter(int j, int direction, bool shift, bool ctrl)
{
    if (j < 1 || j > ParamCount)
        return;
    const TEditScope step;
    ApplyPendingPrmEdits();
    const auto& params = DocumentTables.Params;
    std::array<long double, ParamCount + 1> values{};
    for (int i = 1; i <= ParamCount; ++i) {
        const bool steps = i == j || (params[j].Fixed && params[i].Fixed);
        values[i] = steps ? SteppedValue(params[i], direction, shift, ctrl) : params[i].Value;
    }
    for (int i = 1; i <= ParamCount; ++i)
        SetPrmValue(i, values[i]);
    SetDirtyObjects();
}

bool SetParameterStep(int j, long double step)
{
    if (j < 1 || j > ParamCount || step == 0.0L || !std::isfinite(step))
        return false;
    TParameter& p = DocumentTables.Params[j];
    if (!p.AddStep)
        step = std::fabs(step);
    if (step == p.Step)
        return true;
    const TEditScope edit;
    p.Step = step;
    bool curves = false;
    for (int k = 1; k <= PointCount; ++k) {
        TPointFunction& object = DocumentTables.Points[k];
        if (object.Sync == 0 || PrmIndex(QStringView(&object.ParamChar, 1)) != j)
            continue;
        object.ParamStep = step;
        MarkNameChanged(Vocabulary.PointTokens[k]);
        curves = true;
    }
    ShowStepText(j);
    if (curves)
        SetDirtyObjects();
    return true;
}

bool ApplyStepEdit(int j, QString& text)
{
    if (j < 1 || j > ParamCount)
        return false;
    long double step = DocumentTables.Params[j].Step;
    const bool read = ParseNumberText(text, step, true);
    const bool stored = read && SetParameterStep(j, step);
    ShowStepText(j);
    text = RowModels.Params[j].StepText;
    return stored;
}

bool ToggleStepMode(int j)
{
    if (j < 1 || j > ParamCount)
        return false;
    TParameter& p = DocumentTables.Params[j];
    long double step = p.Step;
    if (p.AddStep) {
        if (step <= 1.0L)
            step += 1.0L;
    } else {
        step -= 1.0L;
    }
    if (step == 0.0L)
        return false;
    p.AddStep = p.AddStep ? 0 : 1;
    RowModels.Params[j].AddStep = p.AddStep != 0;
    SetParameterStep(j, step);
    ShowStepText(j);
    return true;
}

void SetParamFixed(int j, bool fixed)
{
    if (j >= 1 && j <= ParamCount)
        DocumentTables.Params[j].Fixed = fixed ? 1 : 0;
}

void ToggleStepControls(int j)
{
    if (j < 1 || j > ParamCount)
        return;
    TParameter& p = DocumentTables.Params[j];
    p.Extra = p.Extra ? 0 : 1;
}

long double NextStepFactor(long double step, int direction)
{
    // The factors are rounded decimals: compare with a little slack so that
    // a step typed as 0.1 counts as the factor 0.1.
    const long double slack = 1e-12L;
    if (direction > 0) {
        for (auto it = StepFactors.rbegin(); it != StepFactors.rend(); ++it)
            if (*it > step * (1.0L + slack))
                return *it;
    } else {
        for (long double factor : StepFactors)
            if (factor < step * (1.0L - slack))
                return factor;
    }
    return step;
}

bool StepFactorStep(int j, int direction)
{
    if (j < 1 || j > ParamCount)
        return false;
    const long double step = DocumentTables.Params[j].Step;
    const long double next = NextStepFactor(step, direction);
    return next != step && SetParameterStep(j, next);
}

int ParamDelayForSpeed(int position, int delayUnit)
{
    if (position <= 0)
        return 0;
    if (position >= SpeedBarMax)
        return 1;
    return NearestInt(static_cast<long double>(SpeedBarMax - position) * delayUnit / 10.0L);
}

int SpeedForParamDelay(int delay, int delayUnit)
{
    if (delay == 0)
        return 0;
    if (delay == 1 || delayUnit <= 0)
        return SpeedBarMax;
    const int position = SpeedBarMax - NearestInt(static_cast<long double>(delay) / delayUnit * 10.0L);
    return std::clamp(position, 0, SpeedBarMax);
}

void SetParamSpeed(int position)
{
    Options.ParamDelay = ParamDelayForSpeed(position, Options.ParamDelayUnit);
}
