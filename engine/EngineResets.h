#pragma once

#include "model/GlobalResets.h"

// The engine's tables: compile settings, and the vocabulary, built-in table,
// evaluator rules and calculus constants rebuilt from the separators.
// Registers the model's tables first.
void RegisterEngineResets();
