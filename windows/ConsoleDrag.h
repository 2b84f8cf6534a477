#pragma once

// Dragging rows and panels on the data panel: the drag started through the
// drag service, the drop decided by the drop rules and applied, and the
// scroll box scrolled while a drag rests near its side edges.
#include "session/PanelLayout.h"

#include <QPoint>
#include <QString>
#include <cstdint>

class QEvent;

class QDropEvent;
class QMimeData;
class QWidget;
class TMainConsole;

// The data a dragged row carries: its panel and slot.
inline const QString ConsoleRowMimeType = QStringLiteral("application/x-kaviro-console-row");
// The properties that mark a widget as a row's picture (or a parameter's
// letter) for the drop rules.
inline constexpr const char* RowPanelProperty = "rowPanel";
inline constexpr const char* RowSlotProperty = "rowSlot";
QMimeData* RowDragData(int panel, int slot);
// The row a drag carries; false when the data is no row of the data panel.
bool ReadRowDragData(const QMimeData& data, int& panel, int& slot);

// The data of a sticker dragged off the graph: its number (1..11).
inline const QString StickerDragMimeType = QStringLiteral("application/x-kaviro-sticker");

// How far one drag-over event scrolls: near the right edge (within 30
// pixels) right by 3 - distance / 10, near the left edge left by 3 - x / 10.
int AutoScrollStep(int x, int viewWidth);
inline constexpr int AutoScrollEdge = 30;
inline constexpr int AutoScrollStartMs = 300;
inline constexpr int AutoScrollPauseMs = 100;

class TConsoleDrops {
public:
    explicit TConsoleDrops(TMainConsole& console);

    // Starts dragging a row (a parameter's from its letter).
    void StartRowDrag(int panel, int slot, QWidget& source);
    // Where a drop at pos (in the scroll box's content) lands.
    TDropSpot SpotAt(QPoint contentPos) const;
    // Applies what the drop rules decided; whether anything changed.
    bool Apply(const TDropAction& action);
    // Called for every drag-over event at x, y in the scroll box's view.
    void AutoScrollOnDrag(int x, int y);
    // A drag entered the panels: the waiting time starts again.
    void DragEntered();

private:
    bool HandleDragEvent(QWidget* target, QEvent* event);
    void DropSticker(int number);

    TMainConsole& console_;
    std::int64_t stamp_ = 0;
    std::int64_t pauseUntil_ = 0;
};
