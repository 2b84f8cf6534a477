#include "render/gfx/ColorConvert.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorConvertTest, RedIsTheLowByteAndThePaletteFlagIsDropped)
{
    const std::pair<TColor, QColor> cases[] = {
        {0x0000FF, QColor(255, 0, 0)},
        {0xFF0000, QColor(0, 0, 255)},
        {0x02FF8000, QColor(0, 0x80, 255)},
        {0x02FFFFFF, QColor(Qt::white)},
        {0x123456, QColor(0x56, 0x34, 0x12)},
    };
    for (const auto& [c, q] : cases) {
        EXPECT_EQ(ToQColor(c), q) << std::hex << c;
        EXPECT_EQ(ToQColor(c).alpha(), 255);
    }
}

} // namespace
