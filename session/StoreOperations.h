#pragma once

// The store operations every change of a record goes through, from the
// property dialogs, the mouse and the scripts alike: the undo point first,
// the traces that no longer fit dropped, the row kept in its place and
// shown anew, the name marked changed and the graph redrawn.
#include "model/Colors.h"
#include "model/DocumentState.h"

#include <QString>

// Function n (1..20), relation n (1..9), user function n (1..8), object n
// (1..22). A number outside its table changes nothing.
void SetYfx(int n, const TEquationFunction& record);
void SetCfn(int n, const TEquationFunction& record);
void SetUsr(int n, const TKavirofunction& record);
// An object of kind 0 is deleted: the figures that use it go with it, and
// it keeps its letter as label.
void SetPnt(int n, const TPointFunction& record);

// Parameter j (1..14) takes the value, held within the bounds of the
// synchronised curves that run on it, and is marked changed when it moved.
// No undo point and no redraw: the caller redraws.
void SetPrmValue(int j, long double value);
// SetPrmValue when the value differs from the stored one; whether it did.
bool SetPrmIfChanged(int j, long double value);
// The text of parameter row j's edit read as a number or a formula and
// applied; whether the value changed. Text that gives no number shows a
// message and the value again.
bool ApplyPrmEdit(int j);
// The user typed into parameter row j's edit: the text turns blue and
// waits to be applied.
void TypePrmEdit(int j, const QString& text);
// Every typed edit applied and turned black.
void ApplyPendingPrmEdits();
// The 14 values written into their edits.
void ShowPrmValueTexts();

// The records a row stands for.
enum class TItemKind { Function, Relation, Object, Figure };
// Which colour SetItemColor changes.
enum TItemColor : int {
    ItemMainColor = 0,   // and the row label's colour
    ItemSecondColor = 1, // an object's curve or radius colour
    ItemFillColor = 2,   // objects and figures
};
// A colour of the record behind a row; no undo point and no redraw (the
// scripts redraw when they are done). Any other `which` changes nothing.
void SetItemColor(TItemKind kind, int n, TColor color, int which);
// Drops the traces of that one record.
void EraseItemGraph(TItemKind kind, int n);
// "Limpar Traços": every trace goes and the graph is drawn again.
void ClearAllTraces();

// Switches of the document kept outside the options dialog: the parameter
// panel's trace button (changed objects leave traces) and the object
// dialog's vector entry.
void SetTracesRecorded(bool on);
void SetVectorEntry(bool on);

// The document has unsaved changes.
bool Modified();
