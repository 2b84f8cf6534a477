#pragma once

// What the interpreter's and the sound's tests share: the redraw pipeline
// with one redraw per action, the scripts' participants, a fake clock whose
// event rounds the test drives, a recording sound device and script window.
#include "ScriptTest.h"

#include "script/ScriptRun.h"
#include "script/ScriptServices.h"
#include "script/Sound.h"
#include "script/fakes/RecordingScriptWindow.h"

#include "engine/Compiler.h"
#include "engine/EngineStartup.h"
#include "model/DocumentState.h"
#include "model/LineCodec.h"
#include "model/ProgramState.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeInputState.h"
#include "platform/fakes/RecordingSoundDevice.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/EditScope.h"
#include "session/ProjectFile.h"
#include "session/SessionServices.h"

#include <QByteArray>
#include <QStringList>

class ScriptRunTest : public ScriptTest {
protected:
    void SetUp() override
    {
        InitializeEngine();
        SetOriginObject();
        InstallSceneRedrawer();
        InstallSessionServices();
        InstallScriptServices();
        GraphScale.XAxis.VHigh = GraphScale.YAxis.VHigh = 200;
        for (TBitmap& image : GraphScale.GraphImages)
            image.SetSize(201, 201);
        ASSERT_TRUE(GraphScale.SetRange(GraphScale.GraphImages, {{-5.0L, -5.0L}, {5.0L, 5.0L}}));
        ResetEditScopes();
        // Every event round lets the time it may wait pass.
        input.onProcessEvents([this](int maxWaitMs) { clock.advance(maxWaitMs); });
    }
    void TearDown() override
    {
        UninstallScopedRedrawer();
        UninstallSceneRedrawer();
        ScriptTest::TearDown();
    }

    // The note text's scripts compiled as a project read compiles them; no
    // fault expected.
    void CompileNote(const QStringList& lines)
    {
        const TScriptsOutcome outcome = CompileScripts(lines, THeaderErrors::Keep);
        ASSERT_TRUE(outcome.Errors.empty()) << outcome.Errors.front().Message.toStdString();
    }
    // One script of these lines ("#" put in front), compiled and run from
    // its button; the redraws it made.
    int RunLines(const QStringList& lines)
    {
        QStringList note{QStringLiteral("#//Teste")};
        for (const QString& line : lines)
            note.append(u'#' + line);
        CompileNote(note);
        return RunAndCountRedraws(0);
    }
    static int RunAndCountRedraws(int script)
    {
        const int before = RedrawCounters.Redraws;
        RunScript(script);
        return RedrawCounters.Redraws - before;
    }
    // A new sound and no run state, between the cases of a table.
    static void StartAfresh()
    {
        Sound = TSound{};
        ScriptRunState.Reset();
    }
    static QStringList Messages(const platform::RecordingMessageSink& sink)
    {
        QStringList texts;
        for (const auto& m : sink.messages())
            texts.append(m.text);
        return texts;
    }

    platform::FakeClock clock;
    platform::ScopedClock useClock_{clock};
    platform::FakeInputState input;
    platform::ScopedInputState useInput_{input};
    platform::RecordingSoundDevice device;
    platform::ScopedSoundDevice useDevice_{device};
    RecordingScriptWindow window;
    ScopedScriptWindow useWindow_{window};
};

// The project text of the current document.
inline QStringList ProjectLines()
{
    TstringData text;
    WriteProject(text);
    return text.Lines();
}

// The bytes of a hex text, blanks ignored.
inline QByteArray HexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}
