#pragma once

#include "script/ScriptWindow.h"

#include <QStringList>
#include <utility>
#include <vector>

// Test fake: keeps the caption it is given and counts every other request.
class RecordingScriptWindow final : public TScriptWindow {
public:
    QString CurrentCaption = QStringLiteral("KAVIRO");
    QStringList Captions; // every caption set, in order
    int GraphPaints = 0;
    int DataPanelPaints = 0;
    std::vector<bool> TraceButtons;
    std::vector<std::pair<int, int>> TableCells; // row and column of every cell shown
    int TableClears = 0;
    int StickerMarks = 0;
    std::vector<bool> StickerRefreshes; // the force of each

    QString Caption() override { return CurrentCaption; }
    void SetCaption(const QString& caption) override
    {
        CurrentCaption = caption;
        Captions.append(caption);
    }
    void PaintGraph() override { ++GraphPaints; }
    void PaintDataPanel() override { ++DataPanelPaints; }
    void ShowTraceButton(bool tracesRecorded) override { TraceButtons.push_back(tracesRecorded); }
    void ShowTableCell(int row, int column, const QString&) override { TableCells.emplace_back(row, column); }
    void ClearTableCells() override { ++TableClears; }
    void MarkChangedStickers() override { ++StickerMarks; }
    void RefreshStickers(bool force) override { StickerRefreshes.push_back(force); }
};
