#pragma once

// The program's start: the units' start-up in their order, the four windows
// that live for the whole run, and the work done at the data panel's first
// show.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QTranslator;
class TGraphAreaForm;
class TFmSetColor;
class TMainConsole;
class TCalcForm;

// The start-up of the units below the windows, in their order: the message
// box, the fonts' substitutes, the document with the stored settings, the
// view, the vocabulary and the integration tables; then the redraw pipeline
// and the dialog services. Registers every library's resets.
void InitializeUnits();

// Qt's own windows and buttons (the file and colour choosers, OK, Cancel)
// in Portuguese like the rest, from the translations installed with Qt: the
// translator is loaded and installed. False, and nothing installed, when
// they are not there.
bool InstallQtTranslations(QTranslator& translator);

// The four permanent windows, destroyed in the reverse order of creation.
struct TProgramWindows {
    std::unique_ptr<TGraphAreaForm> GraphAreaForm;
    std::unique_ptr<TFmSetColor> FmSetColor;
    std::unique_ptr<TMainConsole> MainConsole;
    std::unique_ptr<TCalcForm> CalcForm;

    TProgramWindows();
    ~TProgramWindows();
    TProgramWindows(TProgramWindows&&) noexcept;
    TProgramWindows& operator=(TProgramWindows&&) noexcept;

private:
    void DestroyInReverseOrder();
};

// The steps of the start-up work: the options and the standard view, then
// the project (the last step, also when no project is named).
enum class TStartUpStep { View, Project };
const char* StartUpStepName(TStartUpStep step);
// Told when a step ends.
using TStartUpProgress = std::function<void(TStartUpStep step)>;

// Installs the windows' palette and creates the windows in their order (the
// graph window first: it is the main window); the data panel's first show
// runs StartUp with the arguments.
TProgramWindows CreateForms(const QStringList& arguments, TStartUpProgress progress = {});

// The program's arguments, those Qt took for itself removed.
QStringList ProgramArguments();

// The work of the data panel's first show: the stored options, the
// standard view, empty histories, the program's folder, and the project the
// arguments name (all of them joined by blanks, so that a path with blanks
// that arrived in pieces is whole again).
void StartUp(const QStringList& arguments, const TStartUpProgress& progress = {});

// The folder of the program's file, with a trailing '/'.
QString ProgramFolder();
