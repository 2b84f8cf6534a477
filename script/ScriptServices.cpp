#include "script/ScriptServices.h"

#include "script/ScriptCompiler.h"
#include "script/ScriptResets.h"
#include "script/ScriptRun.h"
#include "script/Sound.h"

#include "platform/InputState.h"
#include "render/scene/RedrawParticipants.h"
#include "session/DocumentParticipants.h"
#include "session/RowHost.h"

#include <QStringList>

namespace {

class ScriptDocumentSteps final : public TDocumentParticipant {
public:
    // A fault in one script loses no script of the document: each keeps its
    // lines and its button, so the note text written back keeps them all.
    // The faults are shown in one message.
    std::optional<TDocumentError> DocumentReplaced(const QStringList& noteLines) override
    {
        Sound.Stop();
        const TScriptsOutcome outcome = CompileScripts(noteLines, THeaderErrors::Keep);
        if (outcome.Errors.empty())
            return std::nullopt;
        QStringList messages;
        for (const TScriptError& e : outcome.Errors)
            messages.append(e.Message);
        return TDocumentError{messages.join(u'\n'), MsgWarning};
    }
    void DocumentCleared() override
    {
        Sound.Stop();
        MacroCommands.Reset();
        CurrentRowHost().ShowScriptButtons();
    }
};

// Scripts triggered by the names that changed run before the objects are
// drawn; the redraw takes what they change.
class ScriptRedrawSteps final : public TRedrawParticipant {
public:
    void BeforeRedraw(const TWideCharSet& changedNames) override { RunTriggeredScripts(changedNames); }
};

} // namespace

void InstallScriptServices()
{
    RegisterScriptResets();
    // The keys and mouse buttons are followed from the start: a run and the
    // step buttons read them, also when their releases come while a run
    // takes no input.
    platform::CurrentInputState();
    static ScriptDocumentSteps documentSteps;
    static const TDocumentParticipation takesPart(documentSteps, TDocumentOrder::Scripts);
    static ScriptRedrawSteps redrawSteps;
    static const TRedrawParticipation runsTriggers(redrawSteps, TRedrawOrder::Scripts);
}
