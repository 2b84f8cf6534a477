#pragma once

// A canvas that records what the plotting routines draw, read back as the
// display list's lines.
#include "render/gfx/Metafile.h"
#include "render/plot/Pens.h"

#include <QStringList>

#include <string>
#include <vector>

// The picture's display list, one call a line, without its size line.
inline std::vector<std::string> MetafileLines(const TMetafile& picture)
{
    std::vector<std::string> lines;
    const QStringList dump = DumpMetafile(picture).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < dump.size(); ++i)
        lines.push_back(dump[i].toStdString());
    return lines;
}

struct TRecorder {
    TMetafile Picture;
    TCanvas Canvas = MakeMetafileCanvas(Picture);

    TRecorder() = default;
    TRecorder(const TRecorder&) = delete;
    TRecorder& operator=(const TRecorder&) = delete;

    // The calls, one line each, without the picture's size line.
    std::vector<std::string> Lines() const { return MetafileLines(Picture); }
};

inline TPenSettings PenSettings(std::uint8_t capStyle, int magnification = 1, std::uint8_t aimgOfArea = 0)
{
    TPenSettings s;
    s.CapStyle = capStyle;
    s.Context.Magnification = magnification;
    s.AimgOfArea = aimgOfArea;
    return s;
}
