#include "app/ProgramStart.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FmSetColor.h"
#include "dialogs/FormLook.h"
#include "dialogs/MsgForm.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/QtDialogServices.h"
#include "model/History.h"
#include "model/ProgramState.h"
#include "model/StringUtils.h"
#include "notes/TableSheet.h"
#include "render/gfx/Fonts.h"
#include "render/view/Scale.h"
#include "script/ScriptServices.h"
#include "session/HeadlessStartup.h"
#include "session/OptionsStore.h"
#include "session/Presentation.h"
#include "session/ProjectFile.h"
#include "session/ToolWindows.h"
#include "session/UndoPoints.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Each axis's start range and pixel extent, for returning to the start
// view; nothing reads them before the view history does.
void RecordStartRanges() {}

} // namespace

void InitializeUnits()
{
    InstallMessageBox();
    // The fonts the windows name, on this system's families.
    InstallFontSubstitutions();
    StartUnitsBelowWindows();
    InstallScriptServices();
    InstallDialogServices();
    InstallTableSheet();
}

bool InstallQtTranslations(QTranslator& translator)
{
    // Brazilian Portuguese, else Portuguese: the locale's fallbacks.
    const QLocale portuguese(QLocale::Portuguese, QLocale::Brazil);
    if (!translator.load(portuguese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

TProgramWindows::TProgramWindows() = default;
TProgramWindows::~TProgramWindows()
{
    DestroyInReverseOrder();
}
TProgramWindows::TProgramWindows(TProgramWindows&&) noexcept = default;

// A member-wise move would free the graph window first, while the windows
// made after it still point at it.
TProgramWindows& TProgramWindows::operator=(TProgramWindows&& other) noexcept
{
    if (this != &other) {
        DestroyInReverseOrder();
        GraphAreaForm = std::move(other.GraphAreaForm);
        FmSetColor = std::move(other.FmSetColor);
        MainConsole = std::move(other.MainConsole);
        CalcForm = std::move(other.CalcForm);
    }
    return *this;
}

void TProgramWindows::DestroyInReverseOrder()
{
    CalcForm.reset();
    MainConsole.reset();
    FmSetColor.reset();
    GraphAreaForm.reset();
}

TProgramWindows CreateForms(const QStringList& arguments, TStartUpProgress progress)
{
    InstallFormPalette();
    TProgramWindows forms;
    forms.GraphAreaForm = std::make_unique<TGraphAreaForm>();
    forms.FmSetColor = std::make_unique<TFmSetColor>();
    forms.MainConsole = std::make_unique<TMainConsole>();
    forms.CalcForm = std::make_unique<TCalcForm>();
    forms.MainConsole->SetStartUp([arguments, progress = std::move(progress)] { StartUp(arguments, progress); });
    return forms;
}

const char* StartUpStepName(TStartUpStep step)
{
    return step == TStartUpStep::View ? "options and view" : "project";
}

QStringList ProgramArguments()
{
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    return arguments;
}

QString ProgramFolder()
{
    QString folder = QCoreApplication::applicationDirPath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

void StartUp(const QStringList& arguments, const TStartUpProgress& progress)
{
    LoadOptions();
    SetLargeDisplay(GraphScale);
    if (Forms.GraphAreaForm)
        Forms.GraphAreaForm->ResetTools();
    GraphScale.SetNormalView(GraphScale.GraphImages);
    RecordStartRanges();
    ClearUndo();
    ClearViewHistory();
    // The first document has its origin object O and its tools' formulas
    // compiled, as every new one has.
    SetOriginObject();
    CompileToolFormulas();
    ProgramState.ProgramDir = ProgramFolder();
    if (progress)
        progress(TStartUpStep::View);
    if (!arguments.isEmpty())
        OpenProject(ExpandLongPath(arguments.join(u' ')));
    if (progress)
        progress(TStartUpStep::Project);
}
