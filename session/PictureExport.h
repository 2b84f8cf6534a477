#pragma once

// The graph leaving the program: as a picture file, as a numbered series of
// pictures written after every redraw, on the clipboard and on the printer.
#include "platform/ServiceSlot.h"
#include "render/scene/Printing.h"
#include "render/view/Scale.h"

#include <QImage>
#include <QSize>
#include <QString>

// What pictures need of the windows: the graph as it is on screen.
class TPictureWindows {
public:
    virtual ~TPictureWindows() = default;
    // The graph picture with its axis strips, as on screen, the size of the
    // graph picture (mode 0), or both main windows side by side (mode 3); a
    // null image when there are no windows to capture.
    virtual QImage CaptureWindows(int mode) = 0;
    // The graph window's caption, which names print jobs.
    virtual QString GraphCaption() = 0;
};

// Without windows: nothing to capture.
class TNoPictureWindows final : public TPictureWindows {
public:
    QImage CaptureWindows(int) override { return {}; }
    QString GraphCaption() override { return QStringLiteral("KAVIRO"); }
};

TPictureWindows& CurrentPictureWindows();
using ScopedPictureWindows = platform::ScopedService<TPictureWindows>;

// What is copied or printed: the captured graph, both windows, or the graph
// drawn anew (PrintColorGraph 10, PrintMonochromeGraph 11).
constexpr int CaptureGraph = 0;
constexpr int CaptureBothWindows = 3;

// The save chooser's picture types by filter index 1..6.
inline const QString PictureFilter = QStringLiteral(
    "Bitmap (*.bmp);;Gif(*.gif);;Jpeg(*.jpg);;PNG(*.png);;EnhancedMetafile (*.emf);;WindowsMetafile (*.wmf)");
// The extension of filter index 1..6 (".bmp" .. ".wmf"); empty for others.
QString PictureExtension(int filterIndex);
// The name with its extension replaced by extension (which has its dot),
// or given it when it has none.
QString ChangeFileExt(const QString& name, const QString& extension);

// The state of picture saving.
struct TPictureExportState {
    bool ExportState = false; // a numbered series is being saved
    int SeriesCounter = 0;    // the number of the series' next picture
    QString SeriesBase;       // the series' name, without extension
    // The save chooser's picture type, kept from one save to the next.
    int FilterIndex = 4;
    QString LastFolder;       // where the save chooser opens

    void Reset() { *this = TPictureExportState{}; }
};
extern TPictureExportState PictureExport;

struct TPictureSaveResult {
    enum TOutcome { Written, NotAPicture, Failed } Outcome = NotAPicture;
    QString FileName; // the file written, or not written
    QString Error;    // when it failed: what to tell the user
};

// Writes the graph to a picture file by the name's extension in lower case,
// or, when the name has none, by the filter index's: BMP of 24 bits, GIF,
// JPEG at quality 100 and PNG of the graph as captured on screen; EMF and
// WMF of the scene drawn at magnification 4, at the screen's resolution.
// Any other extension writes nothing. The file is replaced only when the
// new one is whole.
TPictureSaveResult SaveGraphImage(ScaleT& view, const QString& name, int filterIndex);

// "Salvar Imagem": a name and a type chosen in the save chooser, the type's
// extension taking the place of a typed one, then the picture; a running
// series stops. A failure is shown. Whether a picture was written.
bool nsaveBmpClick();
// "Salvar Imagens Sucessivas": a running series stops; otherwise a name
// and a type are chosen (no question about replacing files) and the series
// starts at 000, which a message says. Whether a series runs now.
bool nsavemovieClick();
// When a series runs: writes its next picture (the name, the number in at
// least three digits, the type's extension). A failure is shown once and
// stops the series. Called after every full redraw and by scripts.
void SaveNextImage();
// The series stops, and the windows show it.
void StopPictureSeries();
// The series takes part in every redraw; called once at start-up.
void InstallPictureSeries();

// Puts the graph on the clipboard: 0 the graph as captured, 3 both
// windows, 10 and above the scene drawn at magnification 4 in colour (11:
// black and white) as an enhanced metafile at the screen's resolution (four
// times it with ctrl) with a PNG of it, or, with shift, as a picture 2000
// pixels wide (4000 with ctrl). The colours come back on every way out.
// Whether something was put there.
bool CopyGraphToClipboard(ScaleT& view, int mode, bool ctrl, bool shift);
// The same with the program's view and the keys held now.
bool CopyGraphToClipboard(int mode);
// A copy menu item: its mode becomes the stored copy mode, then the copy.
bool CopyGraphInMode(int mode);

// The size in pixels of what the mode prints.
QSize PrintSourceSize(ScaleT& view, int mode);
// Prints a captured picture (modes below 10) stretched across the page as
// the graph is printed.
TPrintResult PrintGraphBitmap(int mode, const TPrintRequest& request, platform::Printing& printer);
// Prints in the stored mode, size and aspect on the installed printer,
// titled with the graph window's caption.
TPrintResult PrintGraph(ScaleT& view);
// What to tell the user when printing failed; empty when it printed.
QString PrintFailureMessage(TPrintResult result);
// The document prints at a whole multiple of its size on screen.
void SetPrintKeepAspect(bool keep);
