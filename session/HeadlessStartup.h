#pragma once

// The program without its windows, for tools that open and draw projects:
// the units below the windows started in the program's order, and a project
// host whose only window work is sizing the graph pictures.
#include "session/ProjectHost.h"

// The units below the windows in their order: the document with the stored
// settings, the view, the vocabulary and the redraw pipeline, every
// library's resets registered. The program and the headless tools share it.
void StartUnitsBelowWindows();

// The document with the stored settings, the view with its pictures, the
// vocabulary and the redraw pipeline, every library's resets registered;
// then the stored options, the standard view and empty histories, as the
// data panel's first show leaves them. The caller installs the settings
// store, the message sink and the project host it wants first.
void StartWithoutWindows();

// Brings the graph pictures to the axes' pixel lengths (each picture one
// pixel larger, as the graph window keeps them); nothing else has a window.
class THeadlessProjectHost final : public TNoProjectHost {
public:
    void ResizeGraphArea() override;
};
