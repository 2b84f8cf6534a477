#pragma once

// The figure dialog, modal: opens on figure n.
void ShowSegProperty(int n);
