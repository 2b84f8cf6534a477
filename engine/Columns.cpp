#include "engine/Columns.h"

#include <algorithm>
#include <cstring>

namespace {

// An exact copy of the ten bytes of an 80-bit value, without the x87 stack.
void CopyExtended(long double& to, const long double& from)
{
    std::memcpy(&to, &from, 10);
}

} // namespace

void TColumnArray::ReadRecords(int from, int n, TValue* to) const
{
    const int i0 = index(from);
    assert(n >= 0 && i0 + n <= Count);
    for (int k = 0; k < n; ++k) {
        const int i = i0 + k;
        to[k].Kind = kind_[i];
        to[k].Defined = defined_[i];
        CopyExtended(to[k].X, x_[i]);
    }
    if (y_.empty()) {
        // Stored as bytes: GCC keeps a stored 0 by loading it back at once.
        for (int k = 0; k < n; ++k)
            std::memset(&to[k].Y, 0, 10);
    } else {
        for (int k = 0; k < n; ++k)
            CopyExtended(to[k].Y, y_[i0 + k]);
    }
}

void TColumnArray::WriteRecords(int from, int n, const TValue* records)
{
    const int i0 = index(from);
    assert(n >= 0 && i0 + n <= Count);
    for (int k = 0; k < n; ++k) {
        const int i = i0 + k;
        kind_[i] = records[k].Kind;
        defined_[i] = records[k].Defined;
        CopyExtended(x_[i], records[k].X);
    }
    if (y_.empty()) {
        int k = 0;
        while (k < n && IsPositiveZero(records[k].Y))
            ++k;
        if (k == n)
            return;
        AddYLane();
    }
    for (int k = 0; k < n; ++k)
        CopyExtended(y_[i0 + k], records[k].Y);
}

void TColumnArray::Fill(int first, int last, const TValue& v)
{
    if (first > last)
        return;
    const int from = index(first);
    const int to = index(last) + 1;
    std::fill(x_.begin() + from, x_.begin() + to, v.X);
    std::fill(kind_.begin() + from, kind_.begin() + to, v.Kind);
    std::fill(defined_.begin() + from, defined_.begin() + to, v.Defined);
    if (y_.empty() && !IsPositiveZero(v.Y))
        AddYLane();
    if (!y_.empty())
        std::fill(y_.begin() + from, y_.begin() + to, v.Y);
}

void TColumnArray::CopyFrom(const TColumnArray& from, int first, int last)
{
    if (first > last)
        return;
    const int a = index(first);
    const int b = index(last) + 1;
    std::copy(from.x_.begin() + a, from.x_.begin() + b, x_.begin() + a);
    std::copy(from.kind_.begin() + a, from.kind_.begin() + b, kind_.begin() + a);
    std::copy(from.defined_.begin() + a, from.defined_.begin() + b, defined_.begin() + a);
    if (!from.y_.empty()) {
        AddYLane();
        std::copy(from.y_.begin() + a, from.y_.begin() + b, y_.begin() + a);
    } else if (!y_.empty())
        std::fill(y_.begin() + a, y_.begin() + b, 0.0L);
}

long double* TColumnArray::AddYLane()
{
    if (y_.empty())
        y_.assign(Count, 0.0L);
    return y_.data() - First;
}
