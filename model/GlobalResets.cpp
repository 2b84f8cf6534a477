#include "model/GlobalResets.h"

#include "model/Colors.h"
#include "model/DocumentState.h"
#include "model/Figures.h"
#include "model/History.h"
#include "model/LineCodec.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/ScriptStore.h"
#include "model/Settings.h"
#include "model/ViewRange.h"

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<QString, TResetRoutine>>& Registry()
{
    static std::vector<std::pair<QString, TResetRoutine>> registry;
    return registry;
}

void ResetDocumentTables()
{
    // Static, so the large default table is not built on the stack.
    static const TDocumentTables defaults{};
    DocumentTables = defaults;
    ResetDocument();
}

} // namespace

void RegisterReset(const QString& name, TResetRoutine reset)
{
    for (auto& [registered, routine] : Registry()) {
        if (registered == name) {
            routine = reset;
            return;
        }
    }
    Registry().emplace_back(name, reset);
}

void ResetAllGlobals()
{
    for (const auto& entry : Registry())
        entry.second();
}

QStringList RegisteredResetNames()
{
    QStringList names;
    for (const auto& entry : Registry())
        names += entry.first;
    return names;
}

void RegisterModelResets()
{
    RegisterReset(QStringLiteral("separators"), [] { Separators.Reset(); });
    RegisterReset(QStringLiteral("options"), [] { Options.Reset(); });
    RegisterReset(QStringLiteral("colour scheme"), [] { ColorScheme.Reset(); });
    RegisterReset(QStringLiteral("program state"), [] { ProgramState.Reset(); });
    RegisterReset(QStringLiteral("settings"), [] { ProgramSettings.Reset(); });
    RegisterReset(QStringLiteral("view range"), [] { ViewRange.Reset(); });
    // Before the document, whose note text a reset rebuilds from the scripts.
    RegisterReset(QStringLiteral("scripts"), [] { MacroCommands.Reset(); });
    // After options and colour scheme: a new document resets them again.
    RegisterReset(QStringLiteral("document"), ResetDocumentTables);
    RegisterReset(QStringLiteral("figures"), [] { Segments.Reset(); });
    RegisterReset(QStringLiteral("project text"), [] { ProjectData.Clear(); });
    RegisterReset(QStringLiteral("undo history"), [] { BackUp.Clear(); });
    RegisterReset(QStringLiteral("view history"), [] { BackUpArea.Clear(); });
}
