#pragma once

// The grids that are not lines along the ticks: crosses at the tick
// intersections, and the polar grid of circles and rays about the origin.
#include "render/plot/Axes.h"

// Small crosses at every intersection of an x tick with a y tick.
void DrawGridCrosses(TCanvas& canvas, const TAxesFrame& frame);

// Circles about the origin at every x tick step and rays at every angle
// step. Only the circles that can meet the view are drawn, so a view far
// from the origin costs no more than one beside it.
void DrawPolarGrid(TCanvas& canvas, const TAxesFrame& frame);
