#pragma once

#include "model/DocumentState.h"
#include "session/RowHost.h"
#include "windows/ParamPanel.h"
#include "windows/RowsList.h"

#include <QMainWindow>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QScrollArea;
class QToolButton;
class TFont;

// The kinds of rows the data panel shows, for the row menu.
enum class TConsoleRowKind { Function, Relation, Object, Param, UserFunction, Figure, Memo };

// A script's button on the notes panel: its name and whether it shows.
struct TScriptButtonInfo {
    QString Name;
    bool Visible = true;
};

// The data panel ("Painel de Dados"), the second permanent window beside the
// graph window: a scrolling box of eight titled panels, one per kind of
// object, each a list of rows that show the records typeset. A click on a
// row's picture edits it, a drag moves it; the parameter panel steps the
// parameters. Its creation measures the graph's room on this screen; its
// first show runs the program's start-up work.
class TMainConsole final : public QMainWindow {
public:
    TMainConsole();
    ~TMainConsole() override;

    // A right click on a row: its kind, its slot in the store and where the
    // menu opens. The commands install it.
    std::function<void(TConsoleRowKind kind, int slot, QPoint globalPos)> RowMenuRequested;
    // Opens the editor of row slot of a panel: the property dialog, or the
    // calculator for a user function (a click on its picture, "&Editar").
    void RowClicked(int panel, int slot);
    // Re-applies every size of the panel after the presentation mode changed,
    // refreshing the rows.
    void ApplySizes();
    // Draws segments and polygons on the graph (checkable; on the figure panel).
    QToolButton* sbsegment = nullptr;

    QScrollArea* ScrollBox1 = nullptr;
    // In the order of the project file: panelyfx, panelcfn, panelCrv,
    // panelPnt, PanelPrm, PanelUsr, PanelMem, PanelSeg.
    static constexpr int PanelCount = 8;
    std::array<QWidget*, PanelCount> Panels{};
    // The add buttons of the panels with records (null for parameters and notes).
    std::array<QToolButton*, PanelCount> AddButtons{};

    // The rows, indexed like the records.
    TOffsetArray<TYfxList2, 1, FunctionCount> YfxRows;
    TOffsetArray<TYfxList2, 1, RelationCount> CfnRows;
    TOffsetArray<TYfxList2, 1, PointCount> PntRows;
    TOffsetArray<TYfxList, 1, UserFunctionCount> UsrRows;
    TOffsetArray<TYfxList2, 1, SegmentCount> SegRows;
    std::unique_ptr<TParamPanel> Params;

    // Run once, at the first show (FormShow).
    void SetStartUp(std::function<void()> startUp) { startUp_ = std::move(startUp); }
    bool StartedUp() const { return startedUp_; }

    // The graph's room on this screen: GraphMaxHeight from the work area,
    // GraphPixelHeight from the stored x length, cut to it.
    void MeasureGraphHeight();
    // Both windows at the top of the screen, side by side; the panel as
    // high as the graph window.
    void ArrangeWindows();
    // The panels stacked from their stored places; hidden ones left out.
    void ArrangePanels();
    // Every list's rows shown anew from the row models.
    void ShowAllRows();
    // The rows of one list, one row, the figures, from their models.
    void ShowListRows(TRowKind kind);
    void ShowListRow(TRowKind kind, int slot);
    void ShowFigureRows();

    // Text measures for the typesetting of the rows (one implementation
    // with the renderer's).
    static int GetTextWidth(const QString& text, const TFont& font);
    static int GetTextHeight(const QString& text, const TFont& font);

    // Script buttons (at most 21): hidden beyond the list, one per script.
    static constexpr int MaxScriptButtons = 21;
    void BuildScriptButtons(const std::vector<TScriptButtonInfo>& scripts);
    std::vector<QToolButton*> ScriptButtons;
    std::function<void(int script)> RunScriptButton;
    // The stickers lying on the notes panel, then the script buttons, stacked.
    void ArrangeMemoPanel();
    // A sticker image dropped onto the data panel goes onto the notes panel.
    void DropStickerOnPanel(QWidget* sticker);
    std::vector<QWidget*> MemoStickers;

    // Whether the panel stands docked beside the graph window.
    bool Docked = false;

    // Width in normal and presentation mode.
    static constexpr int NormalWidth = 280;
    static constexpr int PresentationWidth = 560;
    // The width of the current mode.
    static int StandardWidth();
    static constexpr int MinimumHeight = 150;
    static constexpr int TitleHeight = 22;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void BuildPanels();
    void BuildRowList(int panel, int count);
    void BuildFigureRows();
    void WireRowPicture(TRowPicture* picture, int panel, int slot);
    void FormResize();
    void FitRowsToView();
    // The stickers on the graph hide while a step button is held.
    void SetGraphStickersShown(bool shown);
    std::vector<QWidget*> hiddenStickers_;
    bool fitting_ = false;
    int ClientWidth() const;
    void SetPanelHeight(int panel, int height);
    void AddClicked(int panel);

    std::function<void()> startUp_;
    bool startedUp_ = false;
    class RowHost;
    std::unique_ptr<RowHost> rowHost_;
    std::unique_ptr<ScopedRowHost> useRowHost_;
    QWidget* content_ = nullptr;
    friend class TConsoleDrops;
    std::unique_ptr<class TConsoleDrops> drops_;
};
