#pragma once

// What a running script asks of the windows, and only that: their caption,
// painting at once (a frame of an animation), the parameter panel's trace
// button, the note editor's table grid and the stickers. Until the windows
// install theirs, a window that does nothing stands in.
#include "platform/ServiceSlot.h"

#include <QString>

class TScriptWindow {
public:
    virtual ~TScriptWindow() = default;
    // The graph window's caption, and a new one (the running script's name).
    virtual QString Caption() { return {}; }
    virtual void SetCaption(const QString& caption) { (void)caption; }
    // The graph window paints the graph picture now, and the data panel its
    // rows: a script's frame shows before its next command.
    virtual void PaintGraph() {}
    virtual void PaintDataPanel() {}
    // The parameter panel's trace button shows whether changed objects
    // leave traces.
    virtual void ShowTraceButton(bool tracesRecorded) { (void)tracesRecorded; }
    // The note editor's table grid, while it is open: one cell's text, or
    // every data cell (rows 1..200, columns 1..10) emptied.
    virtual void ShowTableCell(int row, int column, const QString& text) { (void)row, (void)column, (void)text; }
    virtual void ClearTableCells() {}
    // The stickers whose live values read a changed name are marked to be
    // rendered again (a scene drawn without a full redraw marks none).
    virtual void MarkChangedStickers() {}
    // The marked stickers rendered again; with force every sticker.
    virtual void RefreshStickers(bool force) { (void)force; }
};

TScriptWindow& CurrentScriptWindow();
using ScopedScriptWindow = platform::ScopedService<TScriptWindow>;
