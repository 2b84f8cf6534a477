#pragma once

#include <QStringView>
#include <bitset>

// A set of character or token codes 0..1000. Codes above 1000 are never
// members; adding one is silently ignored. A plain value, copied whole.
struct TWideCharSet {
    static constexpr int Size = 1001;
    std::bitset<Size> Flags;

    bool has(char16_t c) const { return c < Size && Flags[c]; }
    bool operator==(const TWideCharSet&) const = default;
};

inline bool CharSetHas(const TWideCharSet& set, char16_t c)
{
    return set.has(c);
}
inline bool CharSetHasIndex(const TWideCharSet& set, int i)
{
    return i >= 0 && i < TWideCharSet::Size && set.Flags[i];
}

// Sets lo..hi after clipping to 0..1000; nothing when hi < lo.
void CharSetIncludeRange(TWideCharSet& set, int lo, int hi);
void CharSetIncludeCharRange(TWideCharSet& set, char16_t lo, char16_t hi);
// The set of the code units of s that are below 1001.
TWideCharSet CharSetFromString(QStringView s);
TWideCharSet CharSetUnion(const TWideCharSet& a, const TWideCharSet& b);
TWideCharSet CharSetDifference(const TWideCharSet& a, const TWideCharSet& b);
bool CharSetEquals(const TWideCharSet& a, const TWideCharSet& b);
bool CharSetIsEmpty(const TWideCharSet& set);
void CharSetClear(TWideCharSet& set);
