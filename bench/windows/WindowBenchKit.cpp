#include "bench/windows/WindowBenchKit.h"

#include "bench/BenchSupport.h"

#include "model/Options.h"
#include "model/Settings.h"
#include "render/gfx/Fonts.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/SessionServices.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QApplication>
#include <memory>

namespace {

std::unique_ptr<TWindowBench> SharedBench;

} // namespace

TWindowBench::TWindowBench(const QStringList& arguments)
{
    ReleaseSharedWindowBench();
    StartEngineOnce();
    InstallFontSubstitutions();
    LoadSettings();
    GraphScale.Startup();
    InstallSceneRedrawer();
    InstallSessionServices();
    forms_ = CreateForms(arguments);
    forms_.GraphAreaForm->show();
    forms_.MainConsole->show();
    ProcessEvents();
}

TWindowBench::~TWindowBench()
{
    forms_ = {};
}

void TWindowBench::ProcessEvents()
{
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

TWindowBench& SharedWindowBench()
{
    if (!SharedBench)
        SharedBench = std::make_unique<TWindowBench>();
    return *SharedBench;
}

void ReleaseSharedWindowBench()
{
    SharedBench.reset();
}

void SetGraphTo800By600()
{
    ScaleT& view = GraphScale;
    Options.AreaRectify = 0;
    view.XAxis.VHigh = 800;
    view.YAxis.VHigh = 600;
    SharedWindowBench().Forms().GraphAreaForm->ResizeGraphArea();
    view.SetRange(view.GraphImages, {{-10.0L, -7.5L}, {10.0L, 7.5L}});
}
