#pragma once

#include "model/OffsetArray.h"
#include "model/TokenString.h"
#include "model/Value.h"

#include <QString>
#include <cstdint>
#include <vector>

// Literal texts of a formula's constants, slots -1..50; slots -1..22 hold
// their own numbers, so at most 28 other literals fit.
using TConstList = TOffsetArray<QString, -1, 50>;
using TConstValues = TOffsetArray<TValue, -1, 50>;

// One formula of the document, copied by value.
struct TKavirofunction {
    QString Text;          // as entered and stored; empty = slot not in use
    TTokenString NormText; // scanned token string, input of the compiler
    TTokenString Code;     // compiled postfix string; empty when invalid
    TConstList Consts;
    TConstValues ConstValues;
    std::uint8_t LastConst = 0; // highest constant slot in use
    std::uint8_t Marker = 1;    // owner's flag, not used by the compiler
};

using TarrayOfTKavirofunction = std::vector<TKavirofunction>;

// The reset value of every formula slot.
inline const TKavirofunction BlankFunction{};
