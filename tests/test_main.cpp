// Shared main of the test programs: one Qt application per process, on the
// offscreen platform, with configuration, data, cache and runtime folders of
// its own so that no test touches the user's home. Before each test the
// global tables of every library the program links are put back to their
// start-up values (the build says which libraries those are).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtGlobal>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
using TestApplication = QApplication;
#elif defined(QT_GUI_LIB)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#if defined(KAVIRO_RESETS_SCRIPT)
#include "script/ScriptResets.h"
#elif defined(KAVIRO_RESETS_SESSION)
#include "session/SessionResets.h"
#elif defined(KAVIRO_RESETS_SCENE)
#include "render/scene/SceneResets.h"
#elif defined(KAVIRO_RESETS_PLOT)
#include "render/plot/PlotResets.h"
#elif defined(KAVIRO_RESETS_VIEW)
#include "render/view/ViewResets.h"
#elif defined(KAVIRO_RESETS_ENGINE)
#include "engine/EngineResets.h"
#elif defined(KAVIRO_RESETS_MODEL)
#include "model/GlobalResets.h"
#endif

namespace {

// Each library's registration also registers the libraries below it.
void RegisterLinkedResets()
{
#if defined(KAVIRO_RESETS_SCRIPT)
    RegisterScriptResets();
#elif defined(KAVIRO_RESETS_SESSION)
    RegisterSessionResets();
#elif defined(KAVIRO_RESETS_SCENE)
    RegisterSceneResets();
#elif defined(KAVIRO_RESETS_PLOT)
    RegisterPlotResets();
#elif defined(KAVIRO_RESETS_VIEW)
    RegisterViewResets();
#elif defined(KAVIRO_RESETS_ENGINE)
    RegisterEngineResets();
#elif defined(KAVIRO_RESETS_MODEL)
    RegisterModelResets();
#endif
}

class ResetGlobalsBeforeEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
#ifdef KAVIRO_RESETS_MODEL
        ResetAllGlobals();
#endif
    }
};

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home.path() + QStringLiteral("/cache")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    RegisterLinkedResets();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetGlobalsBeforeEachTest);
    return RUN_ALL_TESTS();
}
