#pragma once

#include "dialogs/MarkupMenu.h"
#include "dialogs/ToolWindowHost.h"
#include "render/gfx/Bitmap.h"
#include "render/scene/FreePen.h"
#include "windows/WindowHosts.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QStatusBar;
class QTabWidget;
class QToolButton;
class TGraphAreaForm;

// Shows the visible graph picture (GraphImages[0]) exactly as the view drew
// it, and accepts stickers dropped onto the graph.
class TGraphImage final : public QWidget {
public:
    explicit TGraphImage(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

// One of the eleven note stickers. On the graph it is dragged with the left
// button; elsewhere (on the data panel) a press starts a drag-and-drop.
class TStickerImage final : public QLabel {
public:
    TStickerImage(int number, QWidget* parent);
    int Number() const { return number_; }
    // Drawn opaque while it is being dragged or the graph is being dragged.
    bool Opaque = false;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void StartDragAndDrop();

    int number_;
    bool dragging_ = false;
    QPoint lastGlobal_;
    // The transparent look of the current picture, made once a picture.
    QPixmap masked_;
    qint64 maskedFrom_ = 0;
};

// The graph window, the program's main window: the graph picture with its
// axis strips, the tool palette, the status bar, the stickers, the
// background picture and the popup menus. Closing it ends the program.
class TGraphAreaForm final : public QWidget {
public:
    TGraphAreaForm();
    ~TGraphAreaForm() override;

    // Client area and graph.
    QWidget* panelAll;
    QWidget* panelYaxis;
    QLabel* ImgYaxis;
    QWidget* PanelGraph;
    TGraphImage* GImage;
    QLabel* CoImage;          // the equation read-out
    QLabel* labelCoodinates;  // the coordinate read-out
    QLabel* MImage;           // the area picture of zoom-out and move
    QWidget* panelXAxis;
    QLabel* imgXaxis;
    QStatusBar* SBar;
    QLabel* SBarPanel0;
    QLabel* SBarPanel1;

    // The tool palette.
    QTabWidget* PageControl;
    QWidget* AreaSheet;
    QWidget* TabSheet2;
    QWidget* TabSheet3;
    QWidget* TabSheet1;
    QWidget* toolbarsheet;
    QWidget* panelarea;
    QWidget* panelscale;
    QWidget* TbAimage;
    QWidget* panelTool;
    QWidget* TBGraph;
    QWidget* panelFreePen;
    QToolButton* sbtnzoom;
    QToolButton* sbtnwide;
    QToolButton* sbtnmove;
    QToolButton* sbSquare;
    QToolButton* btnOption;
    QToolButton* tbUndo;
    QToolButton* tbRedo;
    QToolButton* tbAxisOn;
    QToolButton* btnSon;
    QToolButton* sbLsize;
    QToolButton* btnXn;
    QToolButton* btnXW;
    QToolButton* btnYn;
    QToolButton* btnYW;
    QToolButton* SbbImgepast;
    QToolButton* sbStretch;
    QToolButton* sbbImageOff;
    QToolButton* sbShowPosition;
    QToolButton* sbShowEquation;
    QToolButton* sbYvalue;
    QToolButton* sbIvalue;
    QToolButton* sbcalc;
    QToolButton* tbFreePen;
    QToolButton* sbFPColor;
    QToolButton* SbFPWidth;
    QToolButton* sbFEraser;

    // Popup menus. The graph's items in their order; "Obter Ponto" is
    // filled by the mouse work.
    QMenu* PopupMenuGraph;
    QMenu* MnZoom;
    QAction* MnBuildTrace;
    QAction* MnClearTraces;
    QMenu* MnGetPoint;
    QAction* MnConnect;
    QAction* MnPntProperty;
    QAction* MnSegProperty;
    QAction* MnYfxProperty;
    QAction* MnCfnProperty;
    QAction* MnCrvProperty;
    QAction* MnShowPosition;
    QAction* MnShowEquation;
    QAction* MnCapture;
    QAction* MnPrint;
    QMenu* PopupMenuMemo;
    QAction* MnEditMemo;
    QAction* MnShowMemo;
    QAction* MnHideMemo;
    QAction* MnClearMemo;
    QMenu* PopupBG;
    QAction* MnBGFromFile;
    QAction* MnBGFromClipboard;
    // The edit fields' markup insertion menu.
    TMarkupMenu* pmMemo;
    QMenu* pmHideAutoCtrlPalette;
    QAction* MnAutoHidePalette;
    QAction* MnAlwaysShowPalette;
    QMenu* pmBGStretch;

    // The pixel where the graph's popup menu was last opened or the mouse
    // last moved over the graph.
    QPoint LastMousePixel;

    // The eleven stickers, numbered 1..11 at indexes 0..10.
    static constexpr int StickerCount = 11;
    std::array<QLabel*, StickerCount> Stickers{};
    // Stickers take no mouse input while the graph is being dragged; a
    // sticker on the graph loses its transparency until then.
    void SetStickersEnabled(bool enabled);
    bool IsStickerImage(const QObject* control) const;
    // The sticker's picture, its size with it.
    void SetStickerPicture(int number, const QImage& picture);
    // Sticker k shows its picture at its stored place: on the graph, or on
    // the data panel's notes. While the data panel holds the stickers
    // hidden (a parameter is being stepped), one on the graph stays hidden.
    void ShowSticker(int k, const QImage& picture);
    // Sticker k hidden and cleared; one on the data panel comes back to
    // the graph.
    void HideSticker(int k);
    bool StickersHeldHidden = false;

    // The picture behind the graph; null while none is loaded.
    QImage BImage;
    // Never shown: the clean picture of the free pen's marks, of the
    // graph's size. (The background picture goes straight into the graph
    // picture, so the area picture copies that.)
    TBitmap PenOverlay;
    // The free pen's marks on the graph picture.
    TfreePen FreePen;

    // The window's size follows its client area; not while it is being laid out.
    void FormResize();
    // The graph panel and the layer images brought to the axes' pixel
    // lengths, then the window laid out around them.
    void ResizeGraphArea();
    // Strips, palette and client size; the data panel follows on the right.
    void ArrangePanels();
    // The tool palette back to its start.
    void ResetTools();
    // The caption with the current project's name; without one the default.
    void SetFileCaption(const QString& fileName);
    void SetDefaultCaption();
    // The palette's height, which the graph leaves free unless it hides itself.
    int PageControlHeight() const;
    // The client height left for the graph when the window is as high as
    // the screen's work area: without the palette, the status bar and the
    // panel's margins, at most 1200 pixels.
    int AvailableGraphHeight(int workAreaHeight) const;
    // The visible graph picture is shown anew.
    void RepaintGraph();
    // Called after each repaint of the graph picture.
    void SetAfterGraphPaint(std::function<void()> action) { afterGraphPaint_ = std::move(action); }
    // The strips, graph and palette as they are on screen, into a picture
    // the size of the graph picture.
    QImage CaptureGraphImage();
    // This window and the data panel side by side, as they are on screen;
    // nothing moves.
    QImage CaptureBothWindows();
    // The back and forward buttons follow the view history.
    void UpdateViewButtons();
    // The value table and integral windows that sbYvalue and sbIvalue open.
    TToolWindowHost& ToolWindows() { return *toolWindows_; }

    // Background picture: SbbImgepast repeats the source last chosen.
    enum TBackgroundSource { BackgroundFromFile = 0, BackgroundFromClipboard = 1 };
    void SetBackgroundSource(TBackgroundSource source);
    TBackgroundSource BackgroundSource() const { return backgroundSource_; }
    void LoadBackgroundFile(const QString& fileName);
    void UpdateStretchButton();
    void PasteBackgroundFromFile();
    void PasteBackgroundFromClipboard();
    void ClearBackground();
    void SetStretchMode(int mode);
    void ToggleStretch();
    // Which of the palette's pictures a button shows (its "imageIndex").
    static void SetButtonImage(QToolButton* button, int image);
    static int ButtonImage(const QToolButton* button);

    // Tool buttons, with the keyboard's modifiers of the click.
    void SquareClick();
    void DisplayLevelClick(Qt::KeyboardModifiers modifiers);
    void LabelSizeClick(Qt::KeyboardModifiers modifiers);
    void DivisionsClick(bool yAxis, bool more, Qt::KeyboardModifiers modifiers);
    void CalcClick();
    // The palette hides itself over the graph and comes back near its top.
    void SetControlPalette(bool autoHide);
    void ControlPaletteMouseAt(QPoint graphPixel);

    // Sticker menu and drops. "Esconder Anotação" and "Mostrar Anotação".
    void ShowMemoMenuItems();
    void HideStickers();
    void ShowStickers();
    void ClearAllMemos();
    void DropSticker(TStickerImage& sticker, QPoint graphPixel);
    void EndStickerDrag(TStickerImage& sticker, Qt::DropAction action);
    // Each sticker to its stored place: on the graph at its place, or on the
    // data panel's notes when it has a picture. Whether it shows is left as
    // it is.
    void PlaceStickers();

    // Whether the close may go ahead; the settings are written either way.
    bool FormCloseQuery();
    // The window has closed: the program is ending.
    bool IsClosed() const { return closed_; }
    // Called once the window has closed (the program's entry ends the
    // program there).
    void SetAfterClose(std::function<void()> action) { afterClose_ = std::move(action); }
    // Set from a Ctrl shortcut's press until one of its keys is released, a
    // modal window closes or the window is activated or deactivated, so that
    // a held key runs its command once.
    bool KeyLatch = false;

    // From this client width on the scale and tool sheets share their tabs.
    static constexpr int JoinedSheetsWidth = 430;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A project file dropped on the window is opened as on the data panel.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class TGraphImage;
    friend class TStickerImage;

    void CreateGraphPanels();
    void CreateStatusBar();
    void CreatePalette();
    void CreatePaletteButtons();
    void CreateGraphMenu();
    void CreateMemoMenu();
    void CreateBackgroundMenus();
    void CreateStickers();
    void SetHintsAndCaptions();
    void ShowGraphPopup(QPoint pixel, QPoint globalPos);
    // The Shift and Ctrl state of the last click on a tool button.
    Qt::KeyboardModifiers TakeClickModifiers();
    void NoteClickModifiers(QObject* watched, QEvent* event);
    void PageChanged();
    void JoinSheets(bool joined);
    void PlaceStrips();
    bool RunCtrlShortcut(int key);
    // Notes the user moved or resized the window, to dock the data panel.
    void UserMovedOrResized();

    const QString defaultCaption_;
    QSize graphSize_{100, 100};
    QSize arrangedSize_;
    Qt::KeyboardModifiers clickModifiers_;
    TBackgroundSource backgroundSource_ = BackgroundFromFile;
    bool Resizing = false;
    bool closed_ = false;
    bool sheetsJoined_ = false;
    int lastClientWidth_ = -1;
    std::function<void()> afterGraphPaint_;
    std::function<void()> afterClose_;
    std::unique_ptr<TToolWindowHost> toolWindows_;
    TGraphRedrawWindow redrawWindow_;
    TWindowProjectHost projectHost_;
    TWindowAxisPanelsHost axisPanelsHost_;
    TGraphStickerWindow stickerWindow_;
    TGraphPictureWindows pictureWindows_;
    ScopedRedrawWindow useRedrawWindow_{redrawWindow_};
    ScopedProjectHost useProjectHost_{projectHost_};
    ScopedAxisPanelsHost useAxisPanelsHost_{axisPanelsHost_};
    ScopedPictureWindows usePictureWindows_{pictureWindows_};
    ScopedStickerWindow useStickerWindow_{stickerWindow_};
    std::unique_ptr<ScopedMarkupMenu> useMarkupMenu_;
};
