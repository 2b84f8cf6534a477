#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QScrollArea;

// The data panel ("Painel de Dados"), the second permanent window beside the
// graph window: a scrolling box of eight titled panels, one per kind of
// object. Its creation measures the graph's room on this screen; its first
// show runs the program's start-up work. The rows, menus and toolbar come
// with the data panel's own work.
class TMainConsole final : public QWidget {
public:
    TMainConsole();
    ~TMainConsole() override;

    QScrollArea* ScrollBox1;
    // In the order of the project file: panelyfx, panelcfn, panelCrv,
    // panelPnt, PanelPrm, PanelUsr, PanelMem, PanelSeg.
    static constexpr int PanelCount = 8;
    std::array<QWidget*, PanelCount> Panels{};

    // Run once, at the first show (FormShow).
    void SetStartUp(std::function<void()> startUp) { startUp_ = std::move(startUp); }
    bool StartedUp() const { return startedUp_; }

    // The graph's room on this screen: GraphMaxHeight from the work area,
    // GraphPixelHeight from the stored x length, cut to it.
    void MeasureGraphHeight();
    // Both windows at the top of the screen, side by side; the panel as
    // high as the graph window.
    void ArrangeWindows();

    // Width in normal and presentation mode.
    static constexpr int NormalWidth = 280;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildPanels();

    std::function<void()> startUp_;
    bool startedUp_ = false;
};
