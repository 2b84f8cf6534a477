#pragma once

// Edits of the notes that come from the graph window's sticker menu; the
// sticker images themselves are the window's.

// "Apagar Todas as Anotações" once confirmed: an undo point, then the note
// text and the stickers' texts emptied (scripts stay in the note text) and
// every sticker hidden.
void ClearAllNotes();
// The stickers shown (style 3) and rendered anew, or hidden (style 0).
void SetStickersShown(bool shown);
