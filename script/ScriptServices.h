#pragma once

// The scripts' part of every document: the note text of a document read
// from a file or an undo step is compiled into the script store, and a new
// document has no scripts. Called at program start; later calls change
// nothing.
void InstallScriptServices();
