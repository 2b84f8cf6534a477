#pragma once

// The mouse on the graph picture: presses, moves and releases that drag
// objects and marker lines, zoom, move the view and join points with
// segments, with their feedback drawn in exclusive-or on the visible graph
// picture. The graph window forwards its mouse events here and shows what
// this asks of it through TMouseSurface.
#include "session/MouseWork.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <Qt>

// The cursors over the graph.
enum class TGraphCursor { Cross, PickUp, OverPoint, Resize };

// What the mouse work asks of the graph window.
class TMouseSurface {
public:
    virtual ~TMouseSurface() = default;
    // The visible graph picture changed.
    virtual void RepaintGraph() = 0;
    // The area image: shown over the graph holding a copy of it, placed in
    // graph pixels, hidden.
    virtual void ShowAreaImage(const QImage& copy) = 0;
    virtual void PlaceAreaImage(const TPixelRect& rect) = 0;
    virtual void HideAreaImage() = 0;
    virtual void SetCursorShape(TGraphCursor cursor) = 0;
    // The mouse pointer to a pixel of the graph.
    virtual void WarpPointer(QPoint pixel) = 0;
    virtual void ShowStatus(const QString& position, const QString& hint) = 0;
    // The cursor marks on the axis strips move to the pixel.
    virtual void MoveAxisCursors(QPoint pixel) = 0;
    // The area tool buttons show the tool.
    virtual void ShowAreaTool(int mode) = 0;
    virtual void SetStickersEnabled(bool enabled) = 0;
    // The hover read-out at the mouse: the position label and the formula.
    // Whether the read-out shows the position or the formula: what lies
    // under the mouse is looked for only then.
    virtual bool ReadOutWanted() = 0;
    // At each hover move outside the segment tool: the coordinates, what
    // lies under the mouse (an empty name unless wanted) and the cursor.
    virtual void ShowReadOut(QPoint mouse, const QString& coordinates, const THoverTarget& target,
                             TGraphCursor cursor) = 0;
    // A segment was added by the segment tool.
    virtual void FigureAdded(int s) = 0;
};

// The drag state of the graph window.
class TGraphMouseWork {
public:
    explicit TGraphMouseWork(TMouseSurface& surface);

    int AreaMode = AreaPointer;
    int SavedAreaMode = AreaPointer;
    int DownX = 0, DownY = 0;
    int CurX = 0, CurY = 0;
    int DragKind = 0; // 0 none, 1 object, 2 value line, 3 lower limit, 4 upper limit
    int DragObject = 0;
    int DragCircle = 0;
    int SegmentTarget = 0;
    int HoverSegment = 0;
    bool Dragging = false;
    bool Moved = false;
    int LastPointX = 0, LastPointY = 0;
    bool CtrlDown = false, ShiftDown = false;

    // The tool; a value outside 0..4 changes the fields and leaves the buttons.
    void SetAreaMode(int mode);
    // One of the three area buttons was clicked: its tool when it is now
    // down, else the pointer.
    void sbtnzoomClick(int tool, bool down);

    void GImageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void GImageMouseMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void GImageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void GImageDblClick();
    // Zooms by the factor about the last mouse pixel (the zoom menu).
    void ZoomAtMouse(long double factor);

private:
    TMouseSurface& surface_;
    TPixelRect zoomRect_;
    QPoint axisCursor_{-1, -1};

    void CancelDrag();
    void StartDrag();
    void ClearDragState();
    void HoverMove(QPoint pos, const QString& readOut);
    TGraphCursor PickUnderMouse(QPoint pos);
    void DragMove(Qt::KeyboardModifiers modifiers, QPoint pos);
    void ReleaseArea(QPoint pos);
    void ReleaseSegment(QPoint pos);
    void UpdateZoomRect(QPoint pos);
    void DrawFeedback();
    void DrawZoomFeedback();
    void DrawDragFeedback();
    void DrawMarkerLine();
    void SettleDragPixel(QPoint& pixel);
    void SnapDragPixel(QPoint& pixel, bool canX, bool canY, bool radius);
    bool SettleDependentCoordinate(QPoint& pixel, bool xFree);
    void MovePointToCursor();
    int DraggedObject() const { return DragObject != 0 ? DragObject : DragCircle; }
};

// True while a mouse drag on the graph is under way.
bool IsMouseDragging();
// True while a live drag has stored its first change: the views it passes
// through are not recorded.
bool IsViewRecordingSuppressed();
