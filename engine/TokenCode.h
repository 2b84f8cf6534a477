#pragma once

#include "model/TokenString.h"

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
constexpr bool IsConstantCode(TTokenCode code)
{
    return code >= FirstConstantCode && code <= LastConstantCode;
}

