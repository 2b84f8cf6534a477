#pragma once

// The object dialog: opens on object n; flags bit 0 enables the kinds 1..4,
// bit 1 the kinds 5..7.
void ShowPntProperty(int n, int flags);
