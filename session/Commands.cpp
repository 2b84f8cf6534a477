#include "session/Commands.h"
#include "session/DocumentParticipants.h"
#include "session/EditScope.h"
#include "session/FigureEdit.h"

#include "render/view/RedrawState.h"
#include "session/OptionsStore.h"
#include "session/PanelLayout.h"
#include "session/PictureExport.h"
#include "session/Presentation.h"
#include "session/ProjectFile.h"
#include "session/ProjectHost.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"

#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/FileAssociation.h"
#include "model/Figures.h"
#include "model/History.h"
#include "model/MessageBox.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "platform/Choosers.h"
#include "platform/Desktop.h"
#include "render/plot/Figures.h"
#include "render/scene/TraceStore.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <QFileInfo>

#include <optional>
#include <span>

namespace {

const QString ProjectSuffix = QStringLiteral("kvf");

bool Ask(const QString& question)
{
    return ShowMsgBox(question, MsgWarning, MsgOkCancel);
}

void Refuse(const QString& message)
{
    ShowMsgBox(message, MsgError, MsgOk);
}

void Redraw()
{
    GraphScale.Redraw(GraphScale.GraphImages);
}

// The panels of a new document: every panel in its standard place and
// shown but the figures', the stickers home on the graph.
void RestorePanelLayout()
{
    PanelLayout.Reset();
    PanelLayout.Panels[PanelFigures].Visible = 0;
    for (TStickerPlace& s : PanelLayout.StickerPlaces)
        s = {StickerHomeLeft, StickerHomeTop, 0};
}

bool InSlot(int slot, int count)
{
    return slot >= 1 && slot <= count;
}

void ShowRowsOf(std::span<TRowState> rows)
{
    for (TRowState& r : rows)
        r.Shown = 1;
}

void ShowObjectRows(bool curves)
{
    for (int k = 1; k <= PointCount; ++k)
        if (IsCurveKind(DocumentTables.Points[k].Kind) == curves)
            PanelLayout.PointRows[k].Shown = 1;
}

} // namespace

TCommandHost& CurrentCommandHost()
{
    return platform::InstalledOr<TCommandHost, TNoCommandHost>();
}

void InitAllData()
{
    const TEditScope clear;
    TCommandHost& host = CurrentCommandHost();
    TProjectHost& project = CurrentProjectHost();
    host.CloseDocumentWindows();

    ProjectFile.Reset();
    Options.BGshown = 0;
    project.SetFileCaption(ProjectFile.FileName);

    ResetDocument();
    ApplyDefaultWidths();
    RowModels.Reset();
    RestorePanelLayout();
    host.CloseCalculator();

    TraceStore.Clear();
    ClearChangedNames();
    Segments.Clear();
    SetDirtyView();
    SetDirtyObjects();
    SetDirtyScale();
    SetOriginObject();
    CompileToolFormulas();

    LoadOptions();
    host.ResetTools();
    GraphScale.Layout(project.PageControlHeight(), true);
    // The layout reset the label font; the options may set it again.
    LoadOptions();
    SetLargeDisplay(GraphScale);
    project.ResizeGraphArea();
    GraphScale.SetNormalView(GraphScale.GraphImages);

    host.ArrangeWindowsAtTop();
    ShowAllRows(0);
    RefreshAllRows();
    project.ArrangePanels();
    project.RefreshRows();
    ClearDocumentInParticipants();

    StopPictureSeries();
    ProgramState.Modified = 0;
    TEditScope::ChangesSaved();
}

bool Init1Click()
{
    if (Modified() && !Ask(ClearDocumentQuestion))
        return false;
    InitAllData();
    ClearUndo();
    ClearViewHistory();
    return true;
}

namespace {

const QString ProjectFilter = QStringLiteral("KAVIRO (*.kvf);;Todos (*)");

// The current file's folder, or the working folder when there is none.
QString CurrentFileFolder()
{
    return ProjectFile.FileName.isEmpty() ? QString() : QFileInfo(ProjectFile.FileName).path();
}

// The project at the path replaces the document once the user agrees to
// lose unsaved work. The file is read and checked first: a file that is
// refused leaves everything as it was, and is refused before the question.
bool ReplaceDocumentWith(const QString& path)
{
    const std::optional<TCheckedProject> project = ReadProjectFile(path);
    if (!project || (!IsNothingToSave() && !Ask(ClearDocumentQuestion)))
        return false;
    InitAllData();
    return OpenCheckedProject(*project);
}

bool OpenChosenProject(const platform::FileChoice& choice)
{
    const std::optional<QString> chosen = platform::CurrentFileChooser().chooseOpenFile(choice);
    return chosen && ReplaceDocumentWith(*chosen);
}

} // namespace

bool OpenFileClick()
{
    const QString name = ProjectFile.FileName.isEmpty()
                             ? QString()
                             : QFileInfo(ProjectFile.FileName).fileName() + ProjectFile.Extension;
    return OpenChosenProject(
        {QStringLiteral("Abrir Arquivo"), CurrentFileFolder(), name, ProjectFilter, ProjectSuffix});
}

bool OpenSampleClick()
{
    return OpenChosenProject({QStringLiteral("Abrir Exemplo"), ProgramState.ProgramDir + QStringLiteral("sample"),
                              QString(), ProjectFilter, ProjectSuffix});
}

bool OverwriteClick()
{
    if (ProjectFile.FileName.isEmpty())
        return NewWriteClick();
    return SaveProject();
}

bool NewWriteClick()
{
    const std::optional<QString> chosen = platform::CurrentFileChooser().chooseSaveFile(
        {QStringLiteral("Salvar Como"), CurrentFileFolder(), QString(), ProjectFilter, ProjectSuffix});
    return chosen && SaveProjectAs(*chosen);
}

bool ResetParamsAsked()
{
    if (!Ask(ResetParamsQuestion))
        return false;
    ResetPrms();
    for (int j = 1; j <= ParamCount; ++j)
        MarkNameChanged(Vocabulary.ParamTokens[j]);
    ShowPrmValueTexts();
    ShowPrmValues();
    SetDirtyObjects();
    Redraw();
    return true;
}

bool SampleFolderExists()
{
    return QFileInfo(ProgramState.ProgramDir + QStringLiteral("sample")).isDir();
}

bool HelpFileExists(const QString& file)
{
    return QFileInfo(ProgramState.ProgramDir + file).isFile();
}

bool ShowHelpFile(const QString& file)
{
    if (!HelpFileExists(file)) {
        Refuse(NoHelpFileMessage);
        return false;
    }
    return platform::CurrentDesktopOpener().openLocalFile(ProgramState.ProgramDir + file);
}

QString DroppedLocalFile(const QList<QUrl>& urls)
{
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

bool DropProjectFile(const QList<QUrl>& urls)
{
    const QString path = DroppedLocalFile(urls);
    if (path.isEmpty() || QFileInfo(path).suffix().toLower() != ProjectSuffix) {
        Refuse(UnusableFileMessage);
        return false;
    }
    return ReplaceDocumentWith(path);
}

bool SetAssociateAsked()
{
    return Ask(AssociateQuestion) && RegisterFileAssociation();
}

TRowMenuItems RowMenuItems(TRowItem kind)
{
    switch (kind) {
    case TRowItem::Param:
        return {false, false, false, true};
    case TRowItem::UserFunction:
        return {true, true, false, true};
    case TRowItem::Figure:
        // Figures have no row flag apart from their show button.
        return {true, true, true, false};
    default:
        return {};
    }
}

bool EraseRowItem(TRowItem kind, int slot)
{
    if (kind == TRowItem::Param || !Ask(EraseQuestion))
        return false;
    switch (kind) {
    case TRowItem::Function:
        SetYfx(slot, EmptyEquation());
        break;
    case TRowItem::Relation:
        SetCfn(slot, EmptyEquation());
        break;
    case TRowItem::Object:
        SetPnt(slot, EmptyObject(slot));
        break;
    case TRowItem::UserFunction:
        SetUsr(slot, BlankFunction);
        break;
    case TRowItem::Figure:
        DeleteFigure(slot, true);
        ShowSegRows();
        SetDirtyFlag3();
        Redraw();
        break;
    case TRowItem::Param:
        break;
    }
    return true;
}

void ClearRowTraces(TRowItem kind, int slot)
{
    switch (kind) {
    case TRowItem::Function:
        EraseItemGraph(TItemKind::Function, slot);
        break;
    case TRowItem::Relation:
        EraseItemGraph(TItemKind::Relation, slot);
        break;
    case TRowItem::Object:
        EraseItemGraph(TItemKind::Object, slot);
        break;
    case TRowItem::Figure:
        EraseItemGraph(TItemKind::Figure, slot);
        break;
    case TRowItem::Param:
    case TRowItem::UserFunction:
        return;
    }
    Redraw();
}

void ToggleItemVisible(TRowItem kind, int slot)
{
    TDocumentTables& doc = DocumentTables;
    switch (kind) {
    case TRowItem::Function:
        if (!InSlot(slot, FunctionCount))
            return;
        doc.Functions[slot].Visible ^= 1;
        MarkNameChanged(Vocabulary.FunctionTokens[slot]);
        SetDirtyObjects();
        RefreshYfxRows();
        return;
    case TRowItem::Relation:
        if (!InSlot(slot, RelationCount))
            return;
        doc.Relations[slot].Visible ^= 1;
        // The relation layer is drawn again only for a changed relation.
        MarkNameChanged(Vocabulary.RelationTokens[slot]);
        RefreshCfnRows();
        return;
    case TRowItem::Object:
        if (!InSlot(slot, PointCount))
            return;
        doc.Points[slot].Shown ^= 1;
        MarkNameChanged(Vocabulary.PointTokens[slot]);
        SetDirtyObjects();
        RefreshPntRows();
        return;
    case TRowItem::Figure:
        if (!InSlot(slot, Segments.Count()))
            return;
        Segments.Data.Items[slot].Shown ^= 1;
        SetDirtyObjects();
        ShowSegRows();
        return;
    case TRowItem::Param:
    case TRowItem::UserFunction:
        return;
    }
}

namespace {

// The stored rows of a kind and the refresh that shows them again.
struct TStoredRows {
    std::span<TRowState> Rows;
    void (*Refresh)() = nullptr;
};

std::optional<TStoredRows> RowListOf(TRowItem kind)
{
    TPanelLayout& layout = PanelLayout;
    switch (kind) {
    case TRowItem::Function:
        return TStoredRows{layout.FunctionRows, RefreshYfxRows};
    case TRowItem::Relation:
        return TStoredRows{layout.RelationRows, RefreshCfnRows};
    case TRowItem::Object:
        return TStoredRows{layout.PointRows, RefreshPntRows};
    case TRowItem::Param:
        return TStoredRows{layout.ParamRows, UpdatePrmPanel};
    case TRowItem::UserFunction:
        return TStoredRows{layout.UserFunctionRows, RefreshUsrRows};
    case TRowItem::Figure:
        break;
    }
    return std::nullopt;
}

void ShowAllRowsOf(TRowItem kind)
{
    const TStoredRows list = *RowListOf(kind);
    ShowRowsOf(list.Rows);
    list.Refresh();
}

} // namespace

void HideRow(TRowItem kind, int slot)
{
    const std::optional<TStoredRows> list = RowListOf(kind);
    if (!list || !InSlot(slot, static_cast<int>(list->Rows.size())))
        return;
    list->Rows[static_cast<std::size_t>(slot - 1)].Shown = 0;
    list->Refresh();
}

void ShowAllRows(int tag)
{
    const bool all = tag == 0;
    if (all || tag == 1)
        ShowAllRowsOf(TRowItem::Function);
    if (all || tag == 2)
        ShowAllRowsOf(TRowItem::Relation);
    if (all || tag == 3 || tag == 4) {
        if (all || tag == 3)
            ShowObjectRows(true);
        if (all || tag == 4)
            ShowObjectRows(false);
        RefreshPntRows();
    }
    if (all || tag == 5)
        ShowAllRowsOf(TRowItem::Param);
    if (all || tag == 6)
        ShowAllRowsOf(TRowItem::UserFunction);
    if (all || tag == 7)
        ShowSegRows();
}
