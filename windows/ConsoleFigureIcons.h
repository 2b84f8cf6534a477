#pragma once

#include "session/RowModels.h"

#include <QImage>
#include <QSize>

// A figure row's picture: the icon of its kind at (10, 1) in its colours
// (filled for the kinds with an inside), and its vertex letters in bold
// black at (60, 2).
QImage FigureRowPicture(const TFigureRowModel& row, QSize size);
