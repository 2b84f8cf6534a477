#include "session/PictureExport.h"

#include "model/MessageBox.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "platform/Choosers.h"
#include "platform/Clipboard.h"
#include "platform/InputState.h"
#include "render/gfx/Bitmap.h"
#include "render/gfx/BandPrinting.h"
#include "render/gfx/EmfWriter.h"
#include "render/gfx/MetafileResolution.h"
#include "render/gfx/WmfWriter.h"
#include "render/scene/CalcPrintSize.h"
#include "render/scene/RedrawParticipants.h"
#include "render/scene/SceneToMetafile.h"
#include "session/Commands.h"
#include "session/PictureWriters.h"
#include "session/ProjectFile.h"

#include <QFileInfo>
#include <algorithm>

TPictureExportState PictureExport;

namespace {

// Exported and copied metafiles are drawn at this magnification.
constexpr int MetafileMagnification = 4;
// Widths of the pictures a shifted copy makes.
constexpr int CopyBitmapWidth = 2000;
constexpr int CopyBitmapWidthWithCtrl = 4000;

const QString SeriesMessage = QStringLiteral("De agora em diante, toda ação será salva no arquivo como \"%1\"");
const QString ReplaceFileQuestion = QStringLiteral("Substituir o arquivo existente?");
const QString NoPrinterMessage = QStringLiteral("Nenhuma impressora escolhida (Prop.Impressora)");
const QString PrintErrorMessage = QStringLiteral("Erro ao imprimir");

const QString PictureExtensions[] = {QStringLiteral(".bmp"), QStringLiteral(".gif"), QStringLiteral(".jpg"),
                                     QStringLiteral(".png"), QStringLiteral(".emf"), QStringLiteral(".wmf")};

// Where the name's extension starts: its last dot after the last folder
// separator; -1 when it has none.
qsizetype ExtensionStart(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > name.lastIndexOf(u'/') ? dot : -1;
}

QString WithoutExtension(const QString& name)
{
    const qsizetype dot = ExtensionStart(name);
    return dot < 0 ? name : name.left(dot);
}

// The graph as captured on screen; without windows the graph picture.
QImage CapturedGraph(const ScaleT& view)
{
    const QImage captured = CurrentPictureWindows().CaptureWindows(CaptureGraph);
    return captured.isNull() ? view.GraphImages[0].Image().copy() : captured;
}

QImage CapturedSource(const ScaleT& view, int mode)
{
    return mode == CaptureGraph ? CapturedGraph(view) : CurrentPictureWindows().CaptureWindows(mode);
}

QByteArray ScreenResolutionEmf(const TMetafile& picture, int times)
{
    QByteArray emf = WriteEmf(picture);
    SetMetafileResolution(emf, ScreenDpiX() * times, ScreenDpiY() * times);
    return emf;
}

QByteArray PictureBytes(ScaleT& view, TPictureType type)
{
    switch (type) {
    case TPictureType::Bmp:
        return EncodeBmp(CapturedGraph(view));
    case TPictureType::Gif:
        return EncodeGif(CapturedGraph(view));
    case TPictureType::Jpeg:
        return EncodeJpeg(CapturedGraph(view));
    case TPictureType::Png:
        return EncodePng(CapturedGraph(view));
    case TPictureType::Emf:
        return ScreenResolutionEmf(DrawToMetafile(view, MetafileMagnification), 1);
    case TPictureType::Wmf:
        return WriteWmf(DrawToMetafile(view, MetafileMagnification), ScreenDpiX());
    }
    return {};
}

// The metafile replayed on white into a picture of the given width, its
// height in the picture's proportion.
QImage RenderedAtWidth(const TMetafile& picture, int width)
{
    const int height = std::max(1, static_cast<int>(static_cast<long long>(width) * (picture.Height + 1) /
                                                    std::max(1, picture.Width + 1)));
    TBitmap bitmap(width, height);
    bitmap.Canvas().StretchDraw({0, 0, width, height}, picture);
    return bitmap.Image();
}

void ShowFailure(const QString& message)
{
    ShowMsgBox(message, MsgError, MsgOk);
}

// Writes the next picture of a running series after every full redraw.
class PictureSeriesStep final : public TRedrawParticipant {
public:
    void AfterRepaint() override { SaveNextImage(); }
};

} // namespace

TPictureWindows& CurrentPictureWindows()
{
    return platform::InstalledOr<TPictureWindows, TNoPictureWindows>();
}

QString PictureExtension(int filterIndex)
{
    const bool known = filterIndex >= 1 && filterIndex <= static_cast<int>(std::size(PictureExtensions));
    return known ? PictureExtensions[filterIndex - 1] : QString();
}

QString ChangeFileExt(const QString& name, const QString& extension)
{
    return WithoutExtension(name) + extension;
}

TPictureSaveResult SaveGraphImage(ScaleT& view, const QString& name, int filterIndex)
{
    const qsizetype dot = ExtensionStart(name);
    const QString extension = dot < 0 ? PictureExtension(filterIndex) : name.mid(dot).toLower();
    TPictureSaveResult result;
    result.FileName = WithoutExtension(name) + extension;
    const std::optional<TPictureType> type = PictureTypeOfExtension(extension);
    if (!type)
        return result;
    result.Error = WriteFileAtomically(result.FileName, PictureBytes(view, *type));
    result.Outcome = result.Error.isEmpty() ? TPictureSaveResult::Written : TPictureSaveResult::Failed;
    return result;
}

bool nsaveBmpClick()
{
    const std::optional<platform::SavedFileChoice> chosen = platform::CurrentFileChooser().chooseSaveFileOfType(
        {QStringLiteral("Salvar Imagem"), PictureExport.LastFolder, QString(), PictureFilter, QString(),
         PictureExport.FilterIndex});
    if (!chosen)
        return false;
    PictureExport.FilterIndex = chosen->filterIndex;
    PictureExport.LastFolder = QFileInfo(chosen->path).path();
    const QString name = ChangeFileExt(chosen->path, PictureExtension(chosen->filterIndex));
    // The chooser asked about the name typed, not about this one.
    if (name != chosen->path && QFileInfo::exists(name) && !ShowMsgBox(ReplaceFileQuestion, MsgWarning, MsgOkCancel))
        return false;
    StopPictureSeries();
    const TPictureSaveResult result = SaveGraphImage(GraphScale, name, chosen->filterIndex);
    if (result.Outcome == TPictureSaveResult::Failed)
        ShowFailure(result.Error);
    return result.Outcome == TPictureSaveResult::Written;
}

bool nsavemovieClick()
{
    if (PictureExport.ExportState) {
        StopPictureSeries();
        return false;
    }
    platform::FileChoice choice{QStringLiteral("Salvar Imagens Sucessivas"), PictureExport.LastFolder,
                                QFileInfo(PictureExport.SeriesBase).fileName(), PictureFilter, QString(),
                                PictureExport.FilterIndex};
    choice.confirmOverwrite = false;
    const std::optional<platform::SavedFileChoice> chosen = platform::CurrentFileChooser().chooseSaveFileOfType(choice);
    if (!chosen || PictureExtension(chosen->filterIndex).isEmpty()) {
        StopPictureSeries();
        return false;
    }
    PictureExport.FilterIndex = chosen->filterIndex;
    PictureExport.LastFolder = QFileInfo(chosen->path).path();
    PictureExport.SeriesBase = WithoutExtension(chosen->path);
    PictureExport.SeriesCounter = 0;
    PictureExport.ExportState = true;
    const QString pattern = PictureExport.SeriesBase + QStringLiteral("xxx") + PictureExtension(chosen->filterIndex);
    ShowMsgBox(SeriesMessage.arg(pattern), MsgInfo, MsgOk);
    return true;
}

void SaveNextImage()
{
    TPictureExportState& series = PictureExport;
    if (!series.ExportState)
        return;
    const QString name = series.SeriesBase + QStringLiteral("%1").arg(series.SeriesCounter, 3, 10, QChar(u'0')) +
                         PictureExtension(series.FilterIndex);
    const TPictureSaveResult result = SaveGraphImage(GraphScale, name, series.FilterIndex);
    ++series.SeriesCounter;
    if (result.Outcome != TPictureSaveResult::Written) {
        StopPictureSeries();
        ShowFailure(result.Error.isEmpty() ? SaveErrorText(name) : result.Error);
    }
}

void StopPictureSeries()
{
    PictureExport.ExportState = false;
    CurrentCommandHost().StopPictureSeries();
}

void InstallPictureSeries()
{
    static PictureSeriesStep step;
    static const TRedrawParticipation takesPart(step, TRedrawOrder::Pictures);
}

bool CopyGraphToClipboard(ScaleT& view, int mode, bool ctrl, bool shift)
{
    platform::Clipboard& clipboard = platform::CurrentClipboard();
    if (mode < 4) {
        const QImage picture = CapturedSource(view, mode);
        if (picture.isNull())
            return false;
        clipboard.setImage(picture);
        return true;
    }
    TMetafile picture;
    {
        const TOutputColours colours(mode);
        picture = DrawToMetafile(view, MetafileMagnification);
    }
    if (shift) {
        clipboard.setImage(RenderedAtWidth(picture, ctrl ? CopyBitmapWidthWithCtrl : CopyBitmapWidth));
        return true;
    }
    const QByteArray emf = ScreenResolutionEmf(picture, ctrl ? MetafileMagnification : 1);
    // Programs that read no metafile take the picture at the size of the
    // graph on screen.
    const QByteArray png = EncodePng(RenderedAtWidth(picture, view.XAxis.VHigh + 1));
    clipboard.setFormats({{QStringLiteral("image/emf"), emf}, {QStringLiteral("image/x-emf"), emf},
                          {QStringLiteral("image/png"), png}});
    return true;
}

bool CopyGraphToClipboard(int mode)
{
    return CopyGraphToClipboard(GraphScale, mode, platform::IsCtrlDown(), platform::IsShiftDown());
}

bool CopyGraphInMode(int mode)
{
    ProgramSettings.CopyMode = mode;
    return CopyGraphToClipboard(mode);
}

QSize PrintSourceSize(ScaleT& view, int mode)
{
    if (mode >= PrintColorGraph)
        return {view.XAxis.VHigh + 1, view.YAxis.VHigh + 1};
    return CapturedSource(view, mode).size();
}

TPrintResult PrintGraphBitmap(int mode, const TPrintRequest& request, platform::Printing& printer)
{
    const QSize page = printer.pageSize();
    if (page.isEmpty())
        return TPrintResult::NoPrinter;
    const QImage source = CapturedSource(GraphScale, mode);
    if (source.isNull())
        return TPrintResult::NoPrinter;
    const QSize printed = CalcPrintSize(source.size(), page, request.PrintSize, request.KeepAspect);
    const TRect box = PrintPlacement(printed, page);
    // The picture spans its size exactly: its recorded size is one less.
    TMetafile picture;
    picture.Width = source.width() - 1;
    picture.Height = source.height() - 1;
    {
        TCanvas canvas = MakeMetafileCanvas(picture);
        canvas.StretchDraw({0, 0, source.width(), source.height()}, source);
    }
    printer.setJobTitle(request.Title);
    if (!printer.beginJob())
        return TPrintResult::Refused;
    ReplayMetafileInBands(picture, box,
                          [&printer](int left, int top, const QImage& band) { printer.drawBand(left, top, band); });
    return printer.endJob() ? TPrintResult::Printed : TPrintResult::Unfinished;
}

TPrintResult PrintGraph(ScaleT& view)
{
    const TPrintRequest request{ProgramSettings.PrintMode, CurrentPictureWindows().GraphCaption(),
                                ProgramSettings.PrintSize, Options.PrintKeepAspect != 0};
    platform::Printing& printer = platform::CurrentPrinting();
    if (request.Mode < PrintColorGraph)
        return PrintGraphBitmap(request.Mode, request, printer);
    return PrintGraphMetafile(view, request, printer);
}

QString PrintFailureMessage(TPrintResult result)
{
    switch (result) {
    case TPrintResult::Printed:
        return {};
    case TPrintResult::NoPrinter:
        return NoPrinterMessage;
    case TPrintResult::Refused:
    case TPrintResult::Unfinished:
        break;
    }
    return PrintErrorMessage;
}

void SetPrintKeepAspect(bool keep)
{
    Options.PrintKeepAspect = keep ? 1 : 0;
}
