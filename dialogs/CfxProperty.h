#pragma once

// The function and relation dialog: opens on function n or relation n
// (a free slot makes a new entry).
void ShowYfxProperty(int n);
void ShowCfnProperty(int n);
