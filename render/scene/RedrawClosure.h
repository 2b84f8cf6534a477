#pragma once

// Closing the change set over the references between formulas, so that
// whatever reads a changed name is redrawn too; the last closure is
// remembered and reused while the same change set comes again over the same
// formulas.
#include "model/CharSet.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Everything of the document a closure depends on besides the change set.
struct TClosureInputs {
    std::vector<QString> Formulas; // code and scanned tokens of every formula
    std::array<std::uint8_t, 22> ObjectKinds{};
    std::array<char16_t, 22> ParamChars{};
    std::uint8_t ThetaMode = 0;
    bool operator==(const TClosureInputs&) const = default;
};
TClosureInputs CurrentClosureInputs();

struct TClosureMemory {
    TClosureInputs Inputs; // what the remembered closure was computed over
    int ClosuresBuilt = 0; // closures computed rather than reused
    void Reset() { *this = TClosureMemory{}; }
};
extern TClosureMemory ClosureMemory;

// Adds to ChangedNames every function, relation, user function and object
// whose formulas refer to a name in it (one step of dependants: the walk of
// each formula follows references itself), and sets RelationChanged of the
// relations reached. Reuses the last result when ChangedNames and the
// formulas are those of the last call.
void BuildRedrawClosure();
// The remembered closure is dropped: the next call computes afresh.
void ForgetRedrawClosure();
