#pragma once

// The scripts' part of every document and every redraw: the note text of a
// document read from a file or an undo step is compiled into the script
// store, a new document has no scripts, and the sound stops with either;
// the scripts whose trigger names a changed name run in each redraw.
// Registers the scripts' resets too. Called at program start; later calls
// change nothing.
void InstallScriptServices();
