#pragma once

// Golden files of the drawing tests. Display lists are compared exactly;
// pictures exactly or within a tolerance (text is rasterised by the
// platform's font engine). A failing comparison writes the actual file, and
// for pictures a diff (differing pixels red), into the build's test folder.
// With KAVIRO_UPDATE_GOLDENS=1 in the environment the goldens are written
// into the source tree instead; review them before committing.
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

struct TImageTolerance {
    int ChannelDelta = 0;       // a pixel differs when a channel differs by more
    double PixelFraction = 0.0; // share of differing pixels still accepted
};

::testing::AssertionResult MatchesTextGolden(const QString& actual, const QString& name);
::testing::AssertionResult MatchesImageGolden(const QImage& actual, const QString& name,
                                              TImageTolerance tolerance = {});
