#pragma once

// The graph on the printer: the whole scene drawn at magnification 16 and
// printed in raster bands, since printer engines drop raster operations.
#include "platform/Printing.h"
#include "render/view/Scale.h"

#include <QString>
#include <cstdint>

// Print modes of the graph as a picture: in colour, or in black and white.
constexpr int PrintColorGraph = 10;
constexpr int PrintMonochromeGraph = 11;

struct TPrintRequest {
    int Mode = PrintColorGraph;
    QString Title;     // the job's name: the graph window's caption
    int PrintSize = 75; // printed width in percent of the page width
    bool KeepAspect = false;
};

enum class TPrintResult : std::uint8_t {
    Printed,
    NoPrinter,  // the printer has no page
    Refused,    // the printer did not start the job
    Unfinished, // the printer could not finish the job
};

// The colours of a picture printed or copied in a mode: the monochrome
// scheme in mode 11, else the darker grid colour. The normal scheme comes
// back on every way out.
class TOutputColours {
public:
    explicit TOutputColours(int mode);
    ~TOutputColours();
    TOutputColours(const TOutputColours&) = delete;
    TOutputColours& operator=(const TOutputColours&) = delete;
};

// Draws the scene at magnification 16 (monochrome in mode 11, else with the
// darker grid colour) and prints it centred across the page, 1/30 of the
// page from its top when it fits. The normal colour scheme, the grid pen
// width 1 and the program's magnification are back on every way out.
TPrintResult PrintGraphMetafile(ScaleT& view, const TPrintRequest& request, platform::Printing& printer);
// The same with the stored print size, the document's keep-aspect option
// and the installed printer.
TPrintResult PrintGraphMetafile(ScaleT& view, int mode, const QString& title);
