#include "script/ScriptServices.h"

#include "script/ScriptCompiler.h"

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
        MacroCommands.Reset();
        CurrentRowHost().ShowScriptButtons();
    }
};

} // namespace

void InstallScriptServices()
{
    static ScriptDocumentSteps documentSteps;
    static const TDocumentParticipation takesPart(documentSteps, TDocumentOrder::Scripts);
}
