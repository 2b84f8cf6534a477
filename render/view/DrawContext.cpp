#include "render/view/DrawContext.h"

#include "model/ProgramState.h"

TDrawContext CurrentDrawContext()
{
    return {UsableMagnification(ProgramState.Magnification)};
}

TScopedMagnification::TScopedMagnification(int magnification)
    : magnification_(UsableMagnification(magnification))
    , previous_(ProgramState.Magnification)
{
    ProgramState.Magnification = magnification_;
}

TScopedMagnification::~TScopedMagnification()
{
    ProgramState.Magnification = previous_;
}

int Magnify(long double size)
{
    return CurrentDrawContext().Magnify(size);
}

int PixelLimit()
{
    return CurrentDrawContext().PixelLimit();
}

long double ClampToPixelLimit(long double v)
{
    return CurrentDrawContext().ClampToPixelLimit(v);
}
