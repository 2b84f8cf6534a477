#include "model/Value.h"

#include "model/BuiltinsOperators.h"
#include "model/Options.h"

#include <cmath>

bool TValueList::push(const TValue& v)
{
    if (count_ >= Capacity)
        return false;
    items_[count_++] = v;
    return true;
}

bool ValueComplexModeCheck(const TValue& arg, TValue& result)
{
    if (Options.ComplexMode) {
        result = ValueUndefined(arg.Kind);
        if (arg.Kind == KindReal || arg.Kind == KindPair)
            return arg.Defined != 0;
        return false;
    }
    result = ValueUndefined(KindReal);
    if (arg.Kind == KindReal)
        return arg.Defined != 0;
    return false;
}

bool ValueCheckRange(const TValue& v)
{
    if (!v.Defined || !InUsableRange(v.X))
        return false;
    return v.Kind != KindPair || InUsableRange(v.Y);
}

TValue ValueAdd(const TValue& a, const TValue& b)
{
    return ValueAddCore(a, b);
}

TValue ValueSub(const TValue& a, const TValue& b)
{
    return ValueSubtract(a, b);
}

TValue ValueMul(const TValue& a, const TValue& b)
{
    return ValueMultiply(a, b);
}

TValue ValueMulReal(long double x, const TValue& a)
{
    return ValueMultiply(ValueReal(x), a);
}

TValue ValueDiv(const TValue& a, const TValue& b)
{
    return ValueDivide(a, b);
}

TValue ValueDivReal(const TValue& a, long double x)
{
    return ValueDivide(a, ValueReal(x));
}

TValue ValueX(const TValue& v)
{
    if (v.Defined && (v.Kind == KindPair || (v.Kind == KindReal && Options.ComplexMode)))
        return ValueReal(v.X);
    return ValueUndefined(KindReal);
}

TValue ValueY(const TValue& v)
{
    if (v.Defined) {
        if (v.Kind == KindPair)
            return ValueReal(v.Y);
        if (v.Kind == KindReal && Options.ComplexMode)
            return ValueReal(0.0L);
    }
    return ValueUndefined(KindReal);
}

TValueList CollectRealArgs(std::span<const TValue> args)
{
    TValueList list;
    for (const TValue& arg : args) {
        bool fits = true;
        if (arg.Kind == KindReal) {
            fits = list.push(arg);
        } else if (arg.Defined) {
            fits = list.push(ValueReal(arg.Y)) && list.push(ValueReal(arg.X));
        } else {
            fits = list.push(ValueUndefined(KindReal)) && list.push(ValueUndefined(KindReal));
        }
        if (!fits) {
            list.clear();
            break;
        }
    }
    return list;
}

TValueList CollectPointArgs(std::span<const TValue> args)
{
    const TValueList reals = CollectRealArgs(args);
    TValueList points;
    if (reals.size() % 2 != 0)
        return points;
    for (int k = 0; k < reals.size() / 2; ++k)
        points.push(ValueMakePoint(reals[2 * k + 1], reals[2 * k]));
    return points;
}

bool CheckArgKinds(std::span<const TValue> args, std::span<const std::uint8_t> kinds)
{
    if (args.size() != kinds.size())
        return false;
    const std::size_t high = args.size() - 1;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i] != args[high - i].Kind)
            return false;
    }
    return true;
}
