#pragma once

#include "windows/WindowHosts.h"

#include <QString>
#include <QWidget>

class QLabel;
class QStatusBar;

// Shows the visible graph picture (GraphImages[0]) exactly as the view drew it.
class TGraphImage final : public QWidget {
public:
    explicit TGraphImage(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The graph window, the program's main window: the graph picture in its
// panel and the status bar. Closing it ends the program. The axis strips,
// the tool palette, the stickers and the menus come with the graph window's
// own work.
class TGraphAreaForm final : public QWidget {
public:
    TGraphAreaForm();
    ~TGraphAreaForm() override;

    QWidget* panelAll;
    QWidget* PanelGraph;
    TGraphImage* GImage;
    QStatusBar* SBar;
    QLabel* SBarPanel0;
    QLabel* SBarPanel1;

    // The graph panel and the layer images brought to the axes' pixel
    // lengths, then the window laid out around them.
    void ResizeGraphArea();
    // The window's client size from its panels.
    void ArrangePanels();
    // The tool palette back to its start; there is no palette yet.
    void ResetTools() {}
    // The caption with the current project's name; without one the default.
    void SetFileCaption(const QString& fileName);
    void SetDefaultCaption();
    // The palette's height, which the graph leaves free; no palette yet.
    int PageControlHeight() const { return 0; }
    // The client height left for the graph when the window is as high as
    // the screen's work area: without the status bar and the panel's
    // margins, at most 1200 pixels.
    int AvailableGraphHeight(int workAreaHeight) const;
    // The visible graph picture is shown anew.
    void RepaintGraph();
    // Called after each repaint of the graph picture.
    void SetAfterGraphPaint(std::function<void()> action) { afterGraphPaint_ = std::move(action); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class TGraphImage;

    const QString defaultCaption_;
    QSize graphSize_;
    std::function<void()> afterGraphPaint_;
    TWindowRedrawHost redrawHost_;
    TWindowProjectHost projectHost_;
    ScopedRedrawHost useRedrawHost_{redrawHost_};
    ScopedProjectHost useProjectHost_{projectHost_};
};
