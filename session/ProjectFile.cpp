#include "session/ProjectFile.h"

#include "session/EditScope.h"
#include "session/PanelLayout.h"
#include "session/RowModels.h"
#include "session/ProjectEncoding.h"
#include "session/ProjectHost.h"
#include "session/TraceFile.h"
#include "session/UndoPoints.h"

#include "model/DocumentState.h"
#include "model/History.h"
#include "model/MessageBox.h"
#include "model/Numeric.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <vector>

TProjectFileState ProjectFile;

namespace {

const QString ProjectExtension = QStringLiteral(".kvf");
const QString TraceExtension = QStringLiteral(".kvp");
// Far beyond any project (a full document is well under a megabyte).
constexpr qint64 MaxProjectBytes = 64LL * 1024 * 1024;

const QString LoadErrorMessage = QStringLiteral("Erro ao carregar arquivo");
const QString SaveErrorMessage = QStringLiteral("Erro ao salvar arquivo");
const QString BadVersionMessage = QStringLiteral("Versão Inválida");
const QString NoFileMessage = QStringLiteral("Sem arquivo");
const QString ReplaceFileQuestion = QStringLiteral("Substituir o arquivo existente?");

QString ProjectPath()
{
    return ProjectFile.FileName + ProjectFile.Extension;
}

bool IsSupportedHeader(const QString& header)
{
    return header >= OldestProjectHeader && header <= ProjectHeader;
}

void RefuseFile(const QString& message, int kind)
{
    ShowMsgBox(message, kind, MsgOk);
}

// A graph area: the pixel lengths of its x and y axes.
struct TAreaSize {
    int Width = 0;
    int Height = 0;
    auto operator<=>(const TAreaSize&) const = default;
};

// The area fitted to this screen's height, keeping its shape, in lengths
// the axes can have.
TAreaSize FittedToScreen(TAreaSize area, int available)
{
    const long double q = static_cast<long double>(area.Height) / area.Width;
    int h = NearestInt(ProgramState.GraphPixelHeight * q);
    if (h > available)
        h = available;
    else if (h < MinAxisPixels)
        h = MinAxisPixels;
    return {ClampAxisPixels(NearestInt(h / q)), ClampAxisPixels(h)};
}

// Fitting a fitted area again may move it a pixel by rounding, even back and
// forth. So the area is fitted until a size comes again, and of the sizes
// that then repeat the smallest is taken: fitting it gives it again, so a
// project saved and opened again keeps its size.
TAreaSize SettledOnScreen(TAreaSize area, int available)
{
    std::vector<TAreaSize> sizes{area};
    for (;;) {
        const TAreaSize next = FittedToScreen(sizes.back(), available);
        const auto again = std::find(sizes.begin(), sizes.end(), next);
        if (again != sizes.end())
            return *std::min_element(again, sizes.end());
        sizes.push_back(next);
    }
}

// The stored graph area fitted to this screen's height, keeping its shape;
// the stickers move with it.
void FitStoredAreaToScreen()
{
    ScaleSubT& x = GraphScale.XAxis;
    ScaleSubT& y = GraphScale.YAxis;
    x.Vlow = y.Vlow = 0;
    // A stored length of 0 or less is none: the shortest axis.
    const auto length = [](int stored) { return stored > 0 ? stored : MinAxisPixels; };
    TAreaSize area{length(x.VHigh), length(y.VHigh)};
    if (!ProgramSettings.AreaSizeByFile) {
        int available = ProgramState.GraphMaxHeight;
        if (!ProgramSettings.ControlPalette)
            available -= CurrentProjectHost().PageControlHeight();
        area = SettledOnScreen(area, available);
        for (TStickerPlace& s : PanelLayout.StickerPlaces) {
            if (x.VHigh > 0)
                s.Left = NearestInt(static_cast<long double>(s.Left) * area.Width / x.VHigh);
            if (y.VHigh > 0)
                s.Top = NearestInt(static_cast<long double>(s.Top) * area.Height / y.VHigh);
        }
    }
    x.VHigh = ClampAxisPixels(area.Width);
    y.VHigh = ClampAxisPixels(area.Height);
}

bool EndsWithIgnoringCase(const QString& name, const QString& extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive);
}

// The project file a name given to open stands for. A project named with
// its extension in other letters is opened under its own name: the file
// system tells "A.KVF" from "A.kvf".
QString ProjectFileOf(const QString& name)
{
    const bool spelled = EndsWithIgnoringCase(name, ProjectExtension) && QFileInfo(name).isFile();
    return spelled ? name : ProjectBaseName(name) + ProjectExtension;
}

// The project file a name chosen in the save chooser names.
QString ProjectFileForChosenName(const QString& chosenName)
{
    return EndsWithIgnoringCase(chosenName, ProjectExtension) ? chosenName : chosenName + ProjectExtension;
}

// A checked text into ProjectData and the document.
bool ReadCheckedProject(const TCheckedProject& project)
{
    ProjectData.Assign(project.Lines);
    // The text was checked as it is read here: this refusal is only a guard.
    if (!ReadProjectText(ProjectData, project.LastLineEnded)) {
        RefuseFile(LoadErrorMessage, MsgError);
        return false;
    }
    ProjectFile.FileKind = project.Kind;
    FitStoredAreaToScreen();
    return true;
}

// The closure over references that the last redraw remembered: after a
// load nothing of it holds. The change set just marked stays.
void ClearRedrawClosure()
{
    CharSetClear(RedrawState.LastChangedNames);
    CharSetClear(RedrawState.RedrawNames);
}

} // namespace

void ClearViewHistory()
{
    BackUpArea.Clear();
    CurrentProjectHost().UpdateViewHistoryControls();
}

QString ProjectBaseName(const QString& name)
{
    if (EndsWithIgnoringCase(name, ProjectExtension) || EndsWithIgnoringCase(name, TraceExtension))
        return name.chopped(ProjectExtension.size());
    return name;
}

std::optional<TCheckedProject> ReadProjectFile(const QString& name)
{
    const QString path = ProjectFileOf(name);
    if (!QFileInfo(path).isFile()) {
        ShowMsgBox(NoFileMessage + path, MsgError, MsgOk);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxProjectBytes) {
        RefuseFile(LoadErrorMessage, MsgError);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    // An empty file and a picture or other binary file are no text at all;
    // a text of another kind has no version to name.
    if (!IsTextBytes(bytes)) {
        RefuseFile(LoadErrorMessage, MsgError);
        return std::nullopt;
    }
    const TDecodedText text = DecodeProjectBytes(bytes);
    if (text.Lines.isEmpty() || !IsSupportedHeader(text.Lines.first())) {
        RefuseFile(BadVersionMessage, MsgWarning);
        return std::nullopt;
    }
    TstringData lines;
    lines.Assign(text.Lines);
    if (!IsPlainText(text.Lines) || !IsReadableProjectText(lines, text.LastLineEnded)) {
        RefuseFile(LoadErrorMessage, MsgError);
        return std::nullopt;
    }
    return TCheckedProject{path, text.Lines, text.Kind, text.LastLineEnded};
}

bool LoadKvf()
{
    const std::optional<TCheckedProject> project = ReadProjectFile(ProjectPath());
    return project && ReadCheckedProject(*project);
}

bool SaveKvf()
{
    ProjectFile.FileKind = TFileKind::Utf16LE;
    WriteProject(ProjectData);
    const QString path = ProjectPath();
    QSaveFile file(path);
    const QByteArray bytes = EncodeProjectLines(ProjectData.Lines());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        ShowSaveError(path);
        return false;
    }
    return true;
}

void ShowSaveError(const QString& path)
{
    ShowMsgBox(SaveErrorText(path), MsgError, MsgOk);
}

QString SaveErrorText(const QString& path)
{
    return SaveErrorMessage + u'\n' + path;
}

bool OpenProject(const QString& name)
{
    const std::optional<TCheckedProject> project = ReadProjectFile(name);
    return project && OpenCheckedProject(*project);
}

bool OpenCheckedProject(const TCheckedProject& project)
{
    const TEditScope open;
    const TProjectFileState before = ProjectFile;
    // The reader finds the background picture in the project's folder.
    ProjectFile.FileName = project.Path.chopped(ProjectExtension.size());
    ProjectFile.Extension = project.Path.right(ProjectExtension.size());
    if (!ReadCheckedProject(project)) {
        ProjectFile = before;
        return false;
    }
    CurrentProjectHost().SetFileCaption(ProjectFile.FileName);
    ClearUndo();
    ClearViewHistory();
    LoadKvp(ProjectFile.FileName);
    RefreshAll();
    return true;
}

void RefreshAll()
{
    const TEditScope refresh;
    TProjectHost& host = CurrentProjectHost();
    ProgramState.InRefreshAll = true;
    RefreshAllRows();
    host.RefreshRows();
    SetNormalColorScheme();
    SetDirtyView();
    SetDirtyObjects();
    SetDirtyScale();
    MarkNameRangeChanged(0, TWideCharSet::Size - 1);
    host.ResizeGraphArea();
    ClearRedrawClosure();
    host.SetAxisOnButton(GraphScale.AxisOn != 0);
    const QString& background = ProjectFile.BGfile;
    Options.BGshown = !background.isEmpty() && QFileInfo(background).isFile() ? 1 : 0;
    if (Options.BGshown)
        host.LoadBackgroundFile(background);
    // A range no view can show (stored bounds equal or reversed) gives way
    // to the start view.
    if (!GraphScale.SetRange(GraphScale.GraphImages, GraphScale.Range())) {
        const TStoredSettings& s = ProgramSettings;
        GraphScale.SetRange(GraphScale.GraphImages, {{s.ScaleXLow, s.ScaleYLow}, {s.ScaleXHigh, s.ScaleYHigh}});
    }
    // Drawn while the windows count as rebuilt: no scripts run, every
    // sticker is rendered.
    TEditScope::Flush();
    ProgramState.InRefreshAll = false;
    ProgramState.Modified = 0;
    TEditScope::ChangesSaved();
}

bool SaveProject()
{
    // The traces are part of the work: a project saved without them is
    // still modified.
    if (ProjectFile.FileName.isEmpty() || !SaveKvf() || !SaveKvp(ProjectFile.FileName))
        return false;
    ProgramState.Modified = 0;
    TEditScope::ChangesSaved();
    return true;
}

bool SaveProjectAs(const QString& chosenName)
{
    const QString path = ProjectFileForChosenName(chosenName);
    if (path != chosenName && QFileInfo::exists(path) && !ShowMsgBox(ReplaceFileQuestion, MsgWarning, MsgOkCancel))
        return false;
    ProjectFile.FileName = path.chopped(ProjectExtension.size());
    ProjectFile.Extension = path.right(ProjectExtension.size());
    CurrentProjectHost().SetFileCaption(ProjectFile.FileName);
    return SaveProject();
}

void ResetProjectGlobals()
{
    ProjectFile.Reset();
    PanelLayout.Reset();
}
