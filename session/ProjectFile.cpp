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
#include "model/StringUtils.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

// The stored graph area fitted to this screen's height, keeping its shape;
// the stickers move with it.
void FitStoredAreaToScreen()
{
    ScaleSubT& x = GraphScale.XAxis;
    ScaleSubT& y = GraphScale.YAxis;
    x.Vlow = y.Vlow = 0;
    // A stored length of 0 or less has no shape to keep.
    if (!ProgramSettings.AreaSizeByFile && x.VHigh > 0 && y.VHigh > 0) {
        int available = ProgramState.GraphMaxHeight;
        if (!ProgramSettings.ControlPalette)
            available -= CurrentProjectHost().PageControlHeight();
        const long double q = static_cast<long double>(y.VHigh) / x.VHigh;
        int h = NearestInt(ProgramState.GraphPixelHeight * q);
        if (h > available)
            h = available;
        else if (h < MinAxisPixels)
            h = MinAxisPixels;
        const int w = NearestInt(h / q);
        for (TStickerPlace& s : PanelLayout.StickerPlaces) {
            s.Left = NearestInt(static_cast<long double>(s.Left) * w / x.VHigh);
            s.Top = NearestInt(static_cast<long double>(s.Top) * h / y.VHigh);
        }
        x.VHigh = w;
        y.VHigh = h;
    }
    x.VHigh = ClampAxisPixels(x.VHigh);
    y.VHigh = ClampAxisPixels(y.VHigh);
}

bool EndsWithIgnoringCase(const QString& name, const QString& extension)
{
    return name.endsWith(extension, Qt::CaseInsensitive);
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

bool LoadKvf()
{
    QFile file(ProjectPath());
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxProjectBytes) {
        RefuseFile(LoadErrorMessage, MsgError);
        return false;
    }
    const QByteArray bytes = file.readAll();
    const TDecodedText text = DecodeProjectBytes(bytes);
    ProjectFile.FileKind = text.Kind;
    if (text.Lines.isEmpty() || !IsSupportedHeader(text.Lines.first())) {
        RefuseFile(BadVersionMessage, MsgWarning);
        return false;
    }
    ProjectData.Assign(text.Lines);
    if (!IsPlainText(text.Lines) || !ReadProjectText(ProjectData, text.LastLineEnded)) {
        RefuseFile(LoadErrorMessage, MsgError);
        return false;
    }
    FitStoredAreaToScreen();
    return true;
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
    ShowMsgBox(SaveErrorMessage + u'\n' + path, MsgError, MsgOk);
}

bool OpenProject(const QString& name)
{
    const TEditScope open;
    TProjectHost& host = CurrentProjectHost();
    // A project named with its extension in other letters is opened under
    // its own name: the file system tells "A.KVF" from "A.kvf".
    const bool spelled = EndsWithIgnoringCase(name, ProjectExtension) && QFileInfo(name).isFile();
    const QString path = spelled ? name : ProjectBaseName(name) + ProjectExtension;
    if (!QFileInfo(path).isFile()) {
        ShowMsgBox(NoFileMessage + path, MsgError, MsgOk);
        return false;
    }
    ProjectFile.FileName = path.chopped(ProjectExtension.size());
    ProjectFile.Extension = path.right(ProjectExtension.size());
    host.SetFileCaption(ProjectFile.FileName);
    if (!LoadKvf()) {
        ProjectFile.FileName.clear();
        ProjectFile.Extension = ProjectExtension;
        ProjectFile.FileKind = TFileKind::Utf16LE;
        host.SetFileCaption(ProjectFile.FileName);
        return false;
    }
    host.SetFileCaption(ProjectFile.FileName);
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
    if (ProjectFile.FileName.isEmpty() || !SaveKvf())
        return false;
    SaveKvp(ProjectFile.FileName);
    ProgramState.Modified = 0;
    TEditScope::ChangesSaved();
    return true;
}

bool SaveProjectAs(const QString& chosenName)
{
    TProjectHost& host = CurrentProjectHost();
    ProjectFile.FileName = RemoveFileExt(chosenName);
    ProjectFile.Extension = ProjectExtension;
    host.SetFileCaption(ProjectFile.FileName);
    const bool saved = SaveProject();
    host.SetFileCaption(ProjectFile.FileName);
    return saved;
}

void ResetProjectGlobals()
{
    ProjectFile.Reset();
    PanelLayout.Reset();
}
