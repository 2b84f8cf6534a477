#pragma once

// Project files ("*.kvf", "KAVIRO Project File") open with this program from
// the user's desktop.

// Records the association with the running program. On failure shows an
// error message and returns false.
bool RegisterFileAssociation();
// When an association is recorded, asks "Liberar associação de arquivo com
// [OK]" and on OK removes it; with none recorded it does nothing.
void UnregisterFileAssociation();
