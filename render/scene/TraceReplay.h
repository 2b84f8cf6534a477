#pragma once

// The trace layer rebuilt from the trace store: every record from the oldest
// to the newest is drawn again with its parameters, object states and trace
// colours. Only what changed between two records is evaluated again.
#include "render/gfx/Canvas.h"
#include "render/view/Scale.h"

#include <QString>

// Shown after the graph window's caption while a replay runs.
inline const QString ReplayCaptionSuffix = QStringLiteral("   : Parar com tecla F1");

// Draws the recorded traces onto the canvas, oldest first, until the newest
// or until Esc or F1 is pressed (tested after each record). The document,
// the view's states, caches and loci, the change set and the colours last
// drawn are as before when it returns.
void ReplayTraces(ScaleT& view, TCanvas& canvas);
