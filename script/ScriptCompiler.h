#pragma once

// The script language's compiler. Scripts stand in the note text as runs of
// lines beginning with "#"; the compiler cuts them out into the script store
// (MacroCommands) and turns each into a list of commands. Its messages come
// back as values for the caller to show: the note editor and a project read
// share one compiler and show them their own way.
#include "model/ScriptStore.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

// A message of the compiler.
struct TScriptError {
    QString Message; // as shown: the fault, and the source line when it has one
    int Script = -1; // the script's entry in the store; -1 when none was compiled
    int Line = -1;   // the source line in the script's Lines; -1 when the message names none
    friend bool operator==(const TScriptError&, const TScriptError&) = default;
};

// What CompileScripts does with a "#" line that would start a script and is
// no command.
enum class THeaderErrors {
    // The note editor: the message, and nothing is compiled; the editor
    // compiles the text it had before.
    Stop,
    // A project read or an undo step: the script is kept with its lines and
    // button and fails on its first command; the others compile. A script
    // of a file is never dropped for a fault.
    Keep,
};

struct TScriptsOutcome {
    bool Compiled = true; // every script compiled
    std::vector<TScriptError> Errors;
};

// Rebuilds the script store from note lines and compiles every script; then
// the parameter rows (scripts use parameters) and the script buttons are
// brought up to date, whatever the outcome. The store is kept as it stands
// on failure.
TScriptsOutcome CompileScripts(const QStringList& noteLines, THeaderErrors headerErrors);
// Compiles one script in place from its Lines and sets Valid; an invalid
// script has no trigger.
std::optional<TScriptError> CompileScript(TMacroCommandsub& script);
// Shows each message as a warning with OK.
void ShowScriptErrors(const std::vector<TScriptError>& errors);

// The command code of one line: a line beginning with "#" is a command or a
// syntax error; any other line is ignored.
int ClassifyScriptLine(QStringView line);
// The name of a script from its first line: the text after the first "//",
// else the line without its "#", trimmed.
QString ScriptNameFromHeader(const QString& line);
// The first stored script of exactly that name; NoScriptTarget when none.
int FindScriptByName(const QString& name);

// A target of an assignment, Inc, Dec or a Play sweep.
struct TScriptTarget {
    int Target = 0;
    // P(k): the object number and the selector's number; Cells(r, c) and
    // CellsP(r, c): the row and the column.
    QStringList Indexes;
};
std::optional<TScriptTarget> ParseScriptTarget(const QString& name);
// A figure's number (kind·100 + number); 0 for an unknown name.
int ParseFigureName(const QString& name);

// The index of the ")" that closes the "(" at open; -1 when none does.
qsizetype FindClosingParen(QStringView text, qsizetype open);
// The pieces of an argument list between the list separators that stand
// outside parentheses and brackets, untrimmed; one piece for a text without
// separators.
QStringList SplitScriptArgs(const QString& text);

// One command after the first pass, which expands For, Next and the
// one-line If into plain commands.
struct TExpandedCommand {
    QString Text;
    int Code = ScriptIgnored;
    int SourceLine = 0;
    friend bool operator==(const TExpandedCommand&, const TExpandedCommand&) = default;
};
struct TScriptExpansion {
    std::vector<TExpandedCommand> Commands;
    QString Error; // empty when the loops match
};
TScriptExpansion ExpandScript(const QStringList& lines);

// Block matching over expanded commands. The Wend that closes the While at
// index (one past the last command when none); the While that a Wend goes
// back to (the command after it when none); the Else or Endif an If jumps
// to, or the Endif an Else jumps to (one past the last command when none).
int FindMatchingWend(std::span<const TExpandedCommand> commands, int index);
int FindMatchingWhile(std::span<const TExpandedCommand> commands, int index);
int FindMatchingElse(std::span<const TExpandedCommand> commands, int index);
