#pragma once

// In-place editing of a token string with the 1-based positions that the
// tokenizer and compiler rules are written in. Internal to the engine.

#include "engine/Brackets.h"
#include "model/CharSet.h"
#include "model/TokenString.h"

#include <algorithm>
#include <initializer_list>

class TokenEdit {
public:
    explicit TokenEdit(TTokenString& s)
        : s_(s)
    {
    }
    int len() const { return static_cast<int>(s_.size()); }
    TTokenCode at(int i) const { return TokenAt(s_, i); }
    bool in(const TWideCharSet& set, int i) const { return CharSetHas(set, at(i)); }
    // Inserts so that the new token stands at position i (i = len + 1 appends).
    void insert(int i, TTokenCode code) { s_.insert(std::clamp(i, 1, len() + 1) - 1, QChar(code)); }
    void insert(int i, QStringView tokens) { s_.insert(std::clamp(i, 1, len() + 1) - 1, tokens); }
    void remove(int i, int count = 1)
    {
        if (i >= 1 && i <= len())
            s_.remove(i - 1, std::min(count, len() - i + 1));
    }
    void set(int i, TTokenCode code)
    {
        if (i >= 1 && i <= len())
            s_[i - 1] = QChar(code);
    }
    // Tokens i..j (inclusive), empty when the range is empty.
    TTokenString mid(int i, int j) const
    {
        i = std::max(i, 1);
        j = std::min(j, len());
        return j >= i ? s_.mid(i - 1, j - i + 1) : TTokenString();
    }
    int closeOf(int i) const { return FindCloseParen(s_, i); }
    int openOf(int i) const { return FindOpenParen(s_, i); }
    int argsOf(int i) const { return CountArgs(s_, i, false); }
    int argsBefore(int closePos) const { return CountArgs(s_, closePos, true); }
    QStringView view() const { return s_; }
    TTokenString& str() { return s_; }

private:
    TTokenString& s_;
};

inline TWideCharSet SetOf(std::initializer_list<TTokenCode> codes)
{
    TWideCharSet set;
    for (TTokenCode c : codes)
        set.Flags.set(c);
    return set;
}

inline TWideCharSet operator|(const TWideCharSet& a, const TWideCharSet& b)
{
    return CharSetUnion(a, b);
}
