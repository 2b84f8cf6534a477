#include "model/ViewRange.h"

TViewRange ViewRange;

void TViewRange::Reset()
{
    *this = TViewRange{};
}
