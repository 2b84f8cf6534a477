#include "session/EditScope.h"

#include "model/ProgramState.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "render/view/ViewServices.h"

#include <exception>

namespace {

struct TEditScopes {
    int Depth = 0;            // scopes open, a running redraw among them
    bool Drawing = false;     // the next redraw asked for runs at once
    bool RedrawAsked = false; // a redraw was asked for while a scope was open
    bool Changed = false;     // the document changed in this action
    // What the waiting redraw draws.
    ScaleT* View = nullptr;
    TGraphImages* Images = nullptr;
};
TEditScopes Scopes;

// The action's marks on the document, once the last scope has closed.
void EndAction()
{
    if (Scopes.Depth > 0)
        return;
    if (Scopes.Changed)
        ProgramState.Modified = 1;
    Scopes.Changed = false;
}

// Runs the redraw that is waiting, or that the marks call for.
void DrawNow()
{
    if (!Scopes.RedrawAsked && !IsAnythingToRedraw())
        return;
    ScaleT& view = Scopes.View ? *Scopes.View : GraphScale;
    TGraphImages& images = Scopes.Images ? *Scopes.Images : GraphScale.GraphImages;
    Scopes.Drawing = true;
    view.Redraw(images);
    Scopes.Drawing = false;
    Scopes.RedrawAsked = false;
    Scopes.View = nullptr;
    Scopes.Images = nullptr;
}

class ScopedRedrawer final : public TRedrawer {
public:
    void Redraw(ScaleT& view, TGraphImages& images) override
    {
        if (Scopes.Depth > 0 && !Scopes.Drawing) {
            Scopes.RedrawAsked = true;
            Scopes.View = &view;
            Scopes.Images = &images;
            return;
        }
        const bool drawing = Scopes.Drawing;
        Scopes.Drawing = false;
        ++Scopes.Depth;
        ::Redraw(view, images);
        --Scopes.Depth;
        Scopes.Drawing = drawing;
        // What was asked for from inside is drawn.
        Scopes.RedrawAsked = false;
        Scopes.View = nullptr;
        Scopes.Images = nullptr;
        EndAction();
    }
    void PushViewHistory(const ScaleT&) override { CurrentRedrawWindow().RecordView(); }
};

} // namespace

TEditScope::TEditScope()
{
    ++Scopes.Depth;
}

TEditScope::~TEditScope()
{
    if (Scopes.Depth == 1 && std::uncaught_exceptions() == 0)
        DrawNow();
    --Scopes.Depth;
    EndAction();
}

void TEditScope::DocumentChanged()
{
    Scopes.Changed = true;
    EndAction();
}

void TEditScope::ChangesSaved()
{
    Scopes.Changed = false;
}

void TEditScope::Flush()
{
    if (Scopes.Depth > 0)
        DrawNow();
}

bool TEditScope::IsOpen()
{
    return Scopes.Depth > 0;
}

namespace {

ScopedRedrawer& ProgramRedrawer()
{
    static ScopedRedrawer redrawer;
    return redrawer;
}

} // namespace

void InstallScopedRedrawer()
{
    platform::ServiceSlot<TRedrawer>::install(&ProgramRedrawer());
}

void UninstallScopedRedrawer()
{
    // A fake a test installed stays.
    if (platform::ServiceSlot<TRedrawer>::installed() == &ProgramRedrawer())
        platform::ServiceSlot<TRedrawer>::install(nullptr);
}

void ResetEditScopes()
{
    Scopes = TEditScopes{};
}
