#pragma once

#include <QString>
#include <initializer_list>

// One 16-bit code unit per token. A token string is a QString whose code
// units are token codes; the tokenizer's error token is followed by raw text
// in the same string, so text and tokens share one container.
using TTokenCode = char16_t;
using TTokenString = QString;

// Highest code of the fixed vocabulary.
constexpr int VocabularySize = 206;
// Compiled strings: code 196 + 1 + k is constant slot k, k = -1..50.
constexpr TTokenCode FirstConstantCode = 196;
constexpr TTokenCode LastConstantCode = 247;
constexpr int LowestConstantSlot = -1;
constexpr int HighestConstantSlot = 50;
// Used only inside the tokenizer, removed before it returns.
constexpr TTokenCode PlaceholderCode = 999;

constexpr TTokenCode ConstantCode(int slot)
{
    return static_cast<TTokenCode>(FirstConstantCode + 1 + slot);
}
constexpr int ConstantSlot(TTokenCode code)
{
    return static_cast<int>(code) - FirstConstantCode - 1;
}

// A token string from a list of codes.
inline TTokenString MakeTokenString(std::initializer_list<TTokenCode> codes)
{
    TTokenString s;
    s.reserve(static_cast<qsizetype>(codes.size()));
    for (TTokenCode c : codes)
        s += QChar(c);
    return s;
}
