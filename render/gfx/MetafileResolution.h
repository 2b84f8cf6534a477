#pragma once

#include "render/gfx/EmfRecords.h"

#include <QByteArray>
#include <QString>

// Gives an enhanced metafile the physical size its pixels have at dpiX ×
// dpiY pixels per inch, so that other programs open it at that size. Only
// the header changes (its frame, and the reference device's size in
// millimetres and micrometres); every other record is copied byte for byte,
// in order. 0 stands for the screen's resolution on that axis. Returns an
// error message, with the bytes left as they were, when they are not a sound
// enhanced metafile or a resolution is negative.
QString SetMetafileResolution(QByteArray& metafile, int dpiX, int dpiY);

// Appends one record to stream: the header rescaled to dpiX × dpiY (which
// must be positive), any other record unchanged. A header whose reference
// device has no size in millimetres is copied as it is. Always returns 1, so
// that an enumeration goes on.
int RescaleEnhMetaRecord(const TEmfRecord& record, QByteArray& stream, int dpiX, int dpiY);

// The screen's logical pixels per inch on each axis; 96 without a screen.
int ScreenDpiX();
int ScreenDpiY();
