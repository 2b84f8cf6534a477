#pragma once

#include "script/ScriptCompiler.h"

#include "model/MessageBox.h"
#include "platform/fakes/RecordingMessageSink.h"
#include "session/fakes/CountingRowHost.h"
#include "tests/QtPrinters.h"
#include "tests/Separators.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

using namespace Qt::Literals::StringLiterals;

inline std::vector<int> Codes(const TMacroCommandsub& script)
{
    std::vector<int> codes;
    for (const Tlineset& set : script.Sets)
        codes.push_back(set.Code);
    return codes;
}

inline QStringList ArgTexts(const Tlineset& set)
{
    QStringList texts;
    for (const TKavirofunction& f : set.Args)
        texts.append(f.Text);
    return texts;
}

inline const TMacroCommandsub& Script(int i)
{
    return MacroCommands.Items[static_cast<std::size_t>(i)];
}

// Each test starts from the reset tables (the test main resets them) with
// counting row widgets and a message recorder; the separators come back to
// '.' and ',' after a test that changed them.
class ScriptTest : public ::testing::Test {
protected:
    void TearDown() override { UsePointLocale(); }

    // As the note editor compiles.
    static TScriptsOutcome CompileInEditor(const QStringList& lines)
    {
        return CompileScripts(lines, THeaderErrors::Stop);
    }
    // The first message of a compilation, empty when there is none.
    static QString FirstMessage(const TScriptsOutcome& outcome)
    {
        return outcome.Errors.empty() ? QString() : outcome.Errors.front().Message;
    }

    CountingRowHost rows_;
    ScopedRowHost scopedRows_{rows_};
    platform::RecordingMessageSink sink_;
    platform::ScopedMessageSink scopedSink_{sink_};
};
