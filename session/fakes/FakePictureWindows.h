#pragma once

#include "session/Commands.h"
#include "session/PictureExport.h"

#include <QImage>
#include <QString>

// Test fake of the windows' captures: hands out the pictures the test set
// and counts what was asked.
class FakePictureWindows final : public TPictureWindows {
public:
    QImage Graph;       // mode 0
    QImage BothWindows; // mode 3
    QString Caption = QStringLiteral("KAVIRO : aula");
    int Captures = 0;

    QImage CaptureWindows(int mode) override
    {
        ++Captures;
        return mode == CaptureBothWindows ? BothWindows : Graph;
    }
    QString GraphCaption() override { return Caption; }
};

// Test fake of the windows' side of the commands: counts every step.
class CountingCommandHost final : public TCommandHost {
public:
    int DocumentWindowsClosed = 0;
    int CalculatorClosed = 0;
    int ToolResets = 0;
    int WindowArrangements = 0;
    int SeriesStops = 0;

    void CloseDocumentWindows() override { ++DocumentWindowsClosed; }
    void CloseCalculator() override { ++CalculatorClosed; }
    void ResetTools() override { ++ToolResets; }
    void ArrangeWindowsAtTop() override { ++WindowArrangements; }
    void StopPictureSeries() override { ++SeriesStops; }
};
