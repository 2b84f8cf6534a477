#include "windows/ConsoleDocking.h"

#include "dialogs/PermanentForms.h"
#include "model/ProgramState.h"
#include "windows/MainConsole.h"
#include "windows/WindowHosts.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool docking = false;

// The point that must lie on a monitor: 30 pixels inside the edge that
// faces the graph window, at the top.
constexpr int NearEdgeInset = 30;

const QRect* MonitorAt(QPoint p, std::span<const QRect> monitors)
{
    for (const QRect& m : monitors)
        if (m.contains(p))
            return &m;
    return nullptr;
}

const QRect* NearestMonitor(QPoint p, std::span<const QRect> monitors)
{
    const QRect* best = nullptr;
    int bestDistance = 0;
    for (const QRect& m : monitors) {
        const int d = (m.center() - p).manhattanLength();
        if (!best || d < bestDistance) {
            best = &m;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace

TDockPlacement PlaceDockedConsole(const QRect& graph, const QRect& panel, bool fromGraph, bool wasDocked,
                                  std::span<const QRect> monitors)
{
    TDockPlacement place;
    // QRect's right() is the last pixel; the edges here are Windows edges.
    const int graphRight = graph.x() + graph.width();
    const int panelRight = panel.x() + panel.width();
    const bool nearRight = std::abs(panel.x() - graphRight) <= DockSnapDistance;
    const bool nearLeft = std::abs(panelRight - graph.x()) <= DockSnapDistance;
    const bool graphLeft = graph.x() <= panel.x();
    QRect moved = panel;
    if (nearRight || nearLeft || (fromGraph && wasDocked)) {
        const bool onRight = nearRight || (!nearLeft && graphLeft);
        moved.moveTopLeft(onRight ? QPoint(graphRight, graph.y()) : QPoint(graph.x() - panel.width(), graph.y()));
        place.Docked = true;
    }
    const bool graphIsLeft = graph.x() <= moved.x();
    auto probe = [&] {
        return QPoint(graphIsLeft ? moved.x() + NearEdgeInset : moved.x() + moved.width() - NearEdgeInset, moved.y());
    };
    if (!monitors.empty() && !MonitorAt(probe(), monitors)) {
        if (moved.y() < 0)
            moved.moveTop(0);
        if (!MonitorAt(probe(), monitors)) {
            const QRect& monitor = *NearestMonitor(probe(), monitors);
            if (probe().x() >= monitor.x() + monitor.width())
                moved.moveLeft(monitor.x() + monitor.width() - moved.width());
            else
                moved.moveLeft(monitor.x());
            place.Docked = false;
        }
    }
    place.PanelPos = moved.topLeft();
    place.GraphIsLeft = graph.x() <= moved.x();
    return place;
}

void DockConsole(TDockCaller caller)
{
    QWidget* graph = Forms.GraphWindow;
    TMainConsole* panel = Forms.MainConsole;
    // Moving the panel here sends it a move of its own.
    if (!graph || !panel || docking || !panel->isVisible())
        return;
    std::vector<QRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.push_back(screen->geometry());
    const TDockPlacement place = PlaceDockedConsole(graph->frameGeometry(), panel->frameGeometry(),
                                                    caller == TDockCaller::GraphWindow, panel->Docked, monitors);
    panel->Docked = place.Docked;
    if (place.PanelPos != panel->frameGeometry().topLeft()) {
        docking = true;
        MoveWindowFrame(*panel, place.PanelPos);
        docking = false;
    }
    if (!ProgramState.StartupPending)
        ProgramState.GraphIsLeft = place.GraphIsLeft ? 1 : 0;
}

bool ConsoleDocked()
{
    return Forms.MainConsole && Forms.MainConsole->Docked;
}
