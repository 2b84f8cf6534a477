#pragma once

// Edits of the document's figure list, and the figure dialog without its
// widgets: the vertex text checked and turned into vertex numbers, the label
// templates offered for it, and the stored figure.
#include "model/Figures.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// A segment from object k1 to k2 in the style of new figures, after an undo
// point, drawn at once on the visible graph. A full list is refused with a
// message and nothing changes. The new figure's number, or 0.
int AddFigure(int k1, int k2);
// Removes figure s (nothing outside 1..Count), after an undo point when
// undo is set; the later figures move down with their drawn and traced
// colours.
void DeleteFigure(int s, bool undo);
// The same, then the graph is redrawn.
void DeleteFigureAndRedraw(int s, bool undo);
// Stores figure s (nothing outside 1..Count) and redraws the graph.
void SetFigure(int s, const Tsegment& figure);

// Vertices a kind needs: 3 for polylines, polygons, angle marks, arcs,
// Bézier curves and right-angle marks, else 2.
int NeededVertexCount(std::uint8_t kind);
// Polylines, polygons and Bézier curves take more than they need.
bool TakesMoreVertices(std::uint8_t kind);

// The vertex letters of a figure: objects by letter, the axes as "x", "y".
QString VertexText(const Tsegment& figure);

// Checks the vertex text for the kind and, when it passes, writes the
// vertices into figure (the others cleared). The message of the refusal,
// empty when it passed. Kind 0 (delete) needs no check.
QString CheckVertexText(const QString& text, std::uint8_t kind, Tsegment& figure);

// The labels offered for the vertex text and kind, as "markup//comment":
// the length, the displacement of an arrow, the angle of an angle mark.
QStringList LabelTemplates(const QString& text, std::uint8_t kind);

// Whether n is a figure the dialog can edit: one of the list, or the next
// free place for a new one (while fewer than 30 exist).
bool IsEditableFigure(int n);
// Figure n as the dialog starts on it: a copy of the list's, or for the next
// free place a segment in the style of new figures.
Tsegment FigureToEdit(int n);

// Stores figure n edited (an undo point first when it changed); the next
// free place appends the figure. The last style used becomes that of the
// next new figure. Kind 0 deletes the figure.
void StoreFigure(int n, const Tsegment& figure);
