#pragma once

// The document's side of the picture shown behind the graph: where it came
// from, whether it is shown and how it is fitted. The picture's pixels are
// the graph window's.
#include <QString>

// A picture was chosen from path for the background (loaded: it could be
// read); the graph is redrawn when it shows.
void TakeBackgroundFile(const QString& path, bool loaded);
// The project's background file was read again (loaded: it could be).
void ShowBackgroundFile(bool loaded);
// A picture was pasted from the clipboard: it has no file.
void TakeBackgroundFromClipboard();
// No background picture; false when none was shown.
bool ClearBackgroundPicture();
// Fitted to the graph's width (1), height (2) or both (3), stretched.
void SetBackgroundStretchMode(int mode);
// Stretched or shown as it is.
void ToggleBackgroundStretch();
