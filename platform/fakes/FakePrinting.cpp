#include "platform/fakes/FakePrinting.h"

#include <QImage>

namespace platform {

bool FakePrinting::beginJob()
{
    if (refuse_)
        return false;
    ++begun_;
    return true;
}

void FakePrinting::drawBand(int left, int top, const QImage& band)
{
    bands_.emplace_back(left, top, band.width(), band.height());
    if (action_)
        action_(left, top, band);
}

bool FakePrinting::endJob()
{
    ++ended_;
    return true;
}

QRect FakePrinting::printedBox() const
{
    QRect box;
    for (const QRect& band : bands_)
        box = box.united(band);
    return box;
}

} // namespace platform
