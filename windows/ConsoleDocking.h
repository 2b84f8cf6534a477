#pragma once

#include <QPoint>
#include <QRect>
#include <span>

// Who moved: the graph window drags a docked data panel along with it; the
// data panel docks only when released near the graph window.
enum class TDockCaller { GraphWindow, DataPanel };

// Puts the data panel beside the graph window again, after the user moved
// or resized either of them.
void DockConsole(TDockCaller caller = TDockCaller::GraphWindow);

// Whether the data panel stands docked beside the graph window.
bool ConsoleDocked();

// Where the panel goes, worked out from the windows' frames and the monitors.
struct TDockPlacement {
    QPoint PanelPos;
    bool Docked = false;
    bool GraphIsLeft = true;
};
// Within DockSnapDistance of the graph window's side (or moved along with a
// docked graph window) the panel takes the graph window's side and top. The
// point 30 pixels inside the panel's near edge at its top must lie on a
// monitor; else the panel comes back onto the screen, undocked.
TDockPlacement PlaceDockedConsole(const QRect& graph, const QRect& panel, bool fromGraph, bool wasDocked,
                                  std::span<const QRect> monitors);
inline constexpr int DockSnapDistance = 20;
