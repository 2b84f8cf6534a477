#include "render/scene/Printing.h"

#include "model/Colors.h"
#include "model/Options.h"
#include "model/Settings.h"
#include "render/gfx/BandPrinting.h"
#include "render/scene/CalcPrintSize.h"
#include "render/scene/SceneToMetafile.h"

#include <algorithm>

namespace {

constexpr int PrintMagnification = 16;
constexpr TColor PrintGridColor = 0xA06060;

// The scheme and grid pen of the screen come back however printing ends.
class PrintColours {
public:
    explicit PrintColours(int mode)
        : colours_(mode)
    {
    }
    ~PrintColours() { Options.MeshStyle = 1; }
    PrintColours(const PrintColours&) = delete;
    PrintColours& operator=(const PrintColours&) = delete;

private:
    TOutputColours colours_;
};

QSize GraphImageSize(const ScaleT& view)
{
    return {view.XAxis.VHigh + 1, view.YAxis.VHigh + 1};
}

} // namespace

TOutputColours::TOutputColours(int mode)
{
    if (mode == PrintMonochromeGraph)
        SetMonochromeColorScheme();
    else
        ColorScheme.MeshColor = PrintGridColor;
}

TOutputColours::~TOutputColours()
{
    SetNormalColorScheme();
}

TPrintResult PrintGraphMetafile(ScaleT& view, const TPrintRequest& request, platform::Printing& printer)
{
    const QSize page = printer.pageSize();
    if (page.isEmpty())
        return TPrintResult::NoPrinter;
    TMetafile picture;
    QSize printed;
    {
        const PrintColours colours(request.Mode);
        printed = CalcPrintSize(GraphImageSize(view), page, request.PrintSize, request.KeepAspect);
        // About one printer pixel wide.
        Options.MeshStyle = static_cast<std::uint8_t>(
            std::clamp(view.XAxis.VHigh * PrintMagnification / printed.width(), 0, 255));
        picture = DrawToMetafile(view, PrintMagnification);
    }
    printer.setJobTitle(request.Title);
    const TRect box = PrintPlacement(printed, page);
    if (!printer.beginJob())
        return TPrintResult::Refused;
    ReplayMetafileInBands(picture, box,
                          [&printer](int left, int top, const QImage& band) { printer.drawBand(left, top, band); });
    return printer.endJob() ? TPrintResult::Printed : TPrintResult::Unfinished;
}

TPrintResult PrintGraphMetafile(ScaleT& view, int mode, const QString& title)
{
    const TPrintRequest request{mode, title, ProgramSettings.PrintSize, Options.PrintKeepAspect != 0};
    return PrintGraphMetafile(view, request, platform::CurrentPrinting());
}
