#include "model/CharSet.h"

#include <algorithm>

void CharSetIncludeRange(TWideCharSet& set, int lo, int hi)
{
    lo = std::max(lo, 0);
    hi = std::min(hi, TWideCharSet::Size - 1);
    for (int i = lo; i <= hi; ++i)
        set.Flags.set(i);
}

void CharSetIncludeCharRange(TWideCharSet& set, char16_t lo, char16_t hi)
{
    CharSetIncludeRange(set, lo, hi);
}

TWideCharSet CharSetFromString(QStringView s)
{
    TWideCharSet set;
    for (QChar c : s) {
        if (c.unicode() < TWideCharSet::Size)
            set.Flags.set(c.unicode());
    }
    return set;
}

TWideCharSet CharSetUnion(const TWideCharSet& a, const TWideCharSet& b)
{
    return TWideCharSet{a.Flags | b.Flags};
}

TWideCharSet CharSetDifference(const TWideCharSet& a, const TWideCharSet& b)
{
    return TWideCharSet{a.Flags & ~b.Flags};
}

bool CharSetEquals(const TWideCharSet& a, const TWideCharSet& b)
{
    return a.Flags == b.Flags;
}

bool CharSetIsEmpty(const TWideCharSet& set)
{
    return set.Flags.none();
}

void CharSetClear(TWideCharSet& set)
{
    set.Flags.reset();
}
