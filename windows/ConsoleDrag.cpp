#include "windows/ConsoleDrag.h"

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "session/RowModels.h"
#include "dialogs/PermanentForms.h"
#include "windows/ConsoleEventHook.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace {

// Drags resting longer than this, or a clock that went back, start anew.
constexpr std::int64_t StaleDragMs = 30000;


std::span<TRowState> RowStatesOf(int panel)
{
    switch (panel) {
    case PanelFunctions:
        return PanelLayout.FunctionRows;
    case PanelRelations:
        return PanelLayout.RelationRows;
    case PanelCurves:
    case PanelPoints:
        return PanelLayout.PointRows;
    case PanelParameters:
        return PanelLayout.ParamRows;
    case PanelUserFunctions:
        return PanelLayout.UserFunctionRows;
    default:
        return {};
    }
}

void RefreshRowsOf(int panel)
{
    switch (panel) {
    case PanelFunctions:
        RefreshYfxRows();
        break;
    case PanelRelations:
        RefreshCfnRows();
        break;
    case PanelCurves:
    case PanelPoints:
        RefreshPntRows();
        break;
    case PanelParameters:
        UpdatePrmPanel();
        break;
    case PanelUserFunctions:
        RefreshUsrRows();
        break;
    default:
        break;
    }
}

} // namespace

QMimeData* RowDragData(int panel, int slot)
{
    auto* data = new QMimeData;
    data->setData(ConsoleRowMimeType, QStringLiteral("%1 %2").arg(panel).arg(slot).toUtf8());
    return data;
}

bool ReadRowDragData(const QMimeData& data, int& panel, int& slot)
{
    if (!data.hasFormat(ConsoleRowMimeType))
        return false;
    const QStringList parts = QString::fromUtf8(data.data(ConsoleRowMimeType)).split(u' ');
    if (parts.size() != 2)
        return false;
    bool okPanel = false;
    bool okSlot = false;
    panel = parts[0].toInt(&okPanel);
    slot = parts[1].toInt(&okSlot);
    return okPanel && okSlot && panel >= 1 && panel <= PanelCount;
}

int AutoScrollStep(int x, int viewWidth)
{
    const int toRight = viewWidth - x;
    if (toRight >= 0 && toRight < AutoScrollEdge)
        return 3 - toRight / 10;
    if (x >= 0 && x < AutoScrollEdge)
        return -(3 - x / 10);
    return 0;
}

TConsoleDrops::TConsoleDrops(TMainConsole& console)
    : console_(console)
{
    QWidget* content = console_.ScrollBox1->widget();
    content->setAcceptDrops(true);
    TEventHook::Install(content, [this, content](QEvent* event) { return HandleDragEvent(content, event); });
}

void TConsoleDrops::StartRowDrag(int panel, int slot, QWidget& source)
{
    platform::CurrentDragStarter().startDrag(source, RowDragData(panel, slot), Qt::MoveAction, Qt::MoveAction);
}

TDropSpot TConsoleDrops::SpotAt(QPoint contentPos) const
{
    QWidget* content = console_.ScrollBox1->widget();
    for (QWidget* w = content->childAt(contentPos); w && w != content; w = w->parentWidget()) {
        const QVariant panel = w->property(RowPanelProperty);
        if (panel.isValid())
            return {TDropKind::RowPicture, panel.toInt(), w->property(RowSlotProperty).toInt()};
        const auto it = std::find(console_.Panels.begin(), console_.Panels.end(), w);
        if (it != console_.Panels.end())
            return {TDropKind::Panel, static_cast<int>(it - console_.Panels.begin()) + 1, 0};
    }
    return {TDropKind::ScrollBox, 0, 0};
}

bool TConsoleDrops::Apply(const TDropAction& action)
{
    switch (action.What) {
    case TDropAction::Nothing:
        return false;
    case TDropAction::MoveRow: {
        const std::span<TRowState> rows = RowStatesOf(action.Panel);
        if (rows.empty() || action.Row < 1 || action.Target < 1 || action.Row > static_cast<int>(rows.size())
            || action.Target > static_cast<int>(rows.size()))
            return false;
        MoveRowPosition(rows, action.Row, action.Target);
        RefreshRowsOf(action.Panel);
        console_.ArrangePanels();
        return true;
    }
    case TDropAction::MovePanel: {
        // The stored tops become the panels' tops as they stand, so that the
        // new top falls between them; one less puts it before a panel that
        // starts there.
        for (int i = 1; i <= PanelCount; ++i)
            if (console_.Panels[i - 1]->isVisible())
                PanelLayout.Panels[i].Top = console_.Panels[i - 1]->y();
        PanelLayout.Panels[action.Panel].Top = action.NewTop - 1;
        console_.ArrangePanels();
        return true;
    }
    }
    return false;
}

void TConsoleDrops::DragEntered()
{
    stamp_ = platform::CurrentClock().tickCount();
    pauseUntil_ = 0;
}

void TConsoleDrops::AutoScrollOnDrag(int x, int)
{
    const std::int64_t now = platform::CurrentClock().tickCount();
    if (now < stamp_ || now - stamp_ > StaleDragMs)
        stamp_ = now;
    if (now - stamp_ < AutoScrollStartMs || now < pauseUntil_)
        return;
    const int step = AutoScrollStep(x, console_.ScrollBox1->viewport()->width());
    if (step == 0)
        return;
    QScrollBar* bar = console_.ScrollBox1->horizontalScrollBar();
    const int before = bar->value();
    bar->setValue(std::clamp(before + step, 0, bar->maximum()));
    if (bar->value() == before)
        return;
    console_.ScrollBox1->viewport()->repaint();
    // The pause after a move, without blocking the drag.
    pauseUntil_ = now + AutoScrollPauseMs;
}

void TConsoleDrops::DropSticker(int number)
{
    TGraphAreaForm* graph = Forms.GraphAreaForm;
    if (!graph || number < 1 || number > TGraphAreaForm::StickerCount)
        return;
    console_.DropStickerOnPanel(graph->Stickers[static_cast<std::size_t>(number - 1)]);
    PanelLayout.StickerPlaces[number].OnConsole = 1;
}

bool TConsoleDrops::HandleDragEvent(QWidget* target, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const QMimeData* data = drag->mimeData();
        if (!data->hasFormat(ConsoleRowMimeType) && !data->hasFormat(StickerDragMimeType)) {
            drag->ignore();
            return true;
        }
        if (event->type() == QEvent::DragEnter)
            DragEntered();
        const QPoint inView = target->mapTo(console_.ScrollBox1->viewport(), drag->position().toPoint());
        AutoScrollOnDrag(inView.x(), inView.y());
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasFormat(StickerDragMimeType)) {
            DropSticker(drop->mimeData()->data(StickerDragMimeType).toInt());
            drop->acceptProposedAction();
            return true;
        }
        int panel = 0;
        int slot = 0;
        if (!ReadRowDragData(*drop->mimeData(), panel, slot)) {
            drop->ignore();
            return true;
        }
        TOffsetArray<TPanelBox, 1, PanelCount> boxes;
        for (int i = 1; i <= PanelCount; ++i)
            boxes[i] = {console_.Panels[i - 1]->y(), console_.Panels[i - 1]->height()};
        const TDropSpot source{TDropKind::RowPicture, panel, slot};
        Apply(DropRule(source, SpotAt(drop->position().toPoint()), boxes));
        drop->acceptProposedAction();
        return true;
    }
    default:
        return false;
    }
}
