#pragma once

// The compiled scripts of the document: at most 20 named scripts, in the
// order in which they stand in the note text, each with its source lines,
// its trigger, two flags and its commands. The compiler fills the store; the
// interpreter, the data panel's buttons and the redraw's trigger test read
// it.
#include "model/Formula.h"
#include "model/ScriptCodes.h"
#include "model/TokenString.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

// One compiled command.
struct Tlineset {
    int SourceLine = 0; // index of the line in the script's Lines, for messages
    int Code = ScriptIgnored;
    // By command: the jump target (While, Wend, If, Else), the written
    // target (assignment, Inc, Dec, Play family), the figure (SetColor
    // family), the called script (Call, Sub; NoScriptTarget when none).
    int Target = 0;
    QString Text; // the command's text after expansion, trimmed
    std::vector<TKavirofunction> Args;
    std::vector<int> Figures; // ClrAImg(, ShowObj(, HideObj(, InvShowObj(
};

// One script.
class TMacroCommandsub {
public:
    QString Name;       // shown on its button
    QStringList Lines;  // the source lines, each with its "#"
    TTokenString Trigger; // one code per token named by its On .. Change line
    bool Valid = false;   // compiled without error
    bool Visible = false; // has a button (HideScript clears it)
    std::vector<Tlineset> Sets;

    // Empty: no name, lines, commands or trigger; neither valid nor visible.
    void Clear();
    int LinesetCount() const { return static_cast<int>(Sets.size()); }
    // Stores command `index`, growing the list with empty commands when it
    // is not inside it; the arguments are copied.
    Tlineset& SetLineset(int index, int sourceLine, const std::vector<TKavirofunction>& args, const QString& text,
                         int target, int code);
};

// The document's scripts: entries 0..Last in use.
class Tmacrocommand {
public:
    std::array<TMacroCommandsub, MaxScripts> Items;
    int Last = -1;

    // No script in use; every entry empty.
    void Reset();
    int Count() const { return Last + 1; }
    // A new script, visible and not yet compiled. Once 20 are stored a
    // further one is dropped.
    void Add(const QString& name, const QStringList& lines);
};

extern Tmacrocommand MacroCommands;
