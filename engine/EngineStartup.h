#pragma once

// Builds the engine's read-only tables. Runs once at start-up, after the
// document's separators are known, and again whenever they change.
void InitializeEngine();
