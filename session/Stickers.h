#pragma once

// The notes shown on the graph as stickers: the note text cut into at most
// ten stickers with the token codes their value fields read, the stickers
// flagged when something they read changed, their places kept by name when
// the text changes, and their pictures rendered and handed to the graph
// window. The pictures themselves and dragging them are the window's.
#include "model/CharSet.h"
#include "model/DocumentState.h"
#include "platform/ServiceSlot.h"
#include "session/PanelLayout.h"

#include <QImage>
#include <QStringList>

// What the stickers ask of the graph window's sticker images. Until the
// window installs itself, nothing is shown.
class TStickerWindow {
public:
    virtual ~TStickerWindow() = default;
    // Sticker k (1..11) shows the picture at its stored place
    // (PanelLayout.StickerPlaces): on the graph, or on the data panel's notes.
    virtual void ShowSticker(int k, const QImage& picture) = 0;
    // Sticker k is hidden and its picture cleared.
    virtual void HideSticker(int k) = 0;
    // Every sticker to its stored place and parent; whether it shows stays.
    virtual void PlaceStickers() = 0;
};

class TNoStickerWindow final : public TStickerWindow {
public:
    void ShowSticker(int, const QImage&) override {}
    void HideSticker(int) override {}
    void PlaceStickers() override {}
};

TStickerWindow& CurrentStickerWindow();
using ScopedStickerWindow = platform::ScopedService<TStickerWindow>;

using TStickerPlaces = TOffsetArray<TStickerPlace, 1, MaxStickers>;

// The note text into stickers (DocumentTables.Stickers): "#" lines are
// scripts and dropped, a "//" line counts as a blank line, a run of two or
// more blank lines separates stickers, and stickers past the tenth are not
// shown. Each sticker's name is its first line; the names and count before
// become the old ones. The references are the token codes of every value
// and polynomial field's formula; a field that does not compile adds none
// (it shows " error " or nothing).
void BuildStickerTexts(const QStringList& noteLines);

// Flags the stickers that read a name of the change set, and those that
// read a polar or parametric curve, unless the set is empty.
void MarkChangedStickers(const TWideCharSet& changedNames);
// The same with the current change set.
void MarkChangedStickers();

// Where the stickers go after the note text changed, from the places the
// images had (saved): first each sticker whose name is the old name of an
// image takes that image's place; then each remaining sticker k takes image
// k's place when image k showed a sticker and no other sticker took that
// place; the rest go home (StickerHomeLeft, StickerHomeTop) on the graph.
// Each saved place is taken once. Images without a sticker keep theirs.
TStickerPlaces ArrangeStickerPlaces(const TMemoStr& stickers, const TStickerPlaces& saved);

// The stickers' places arranged (ArrangeStickerPlaces) into
// PanelLayout.StickerPlaces and the images placed there; images without a
// sticker, and all of them when the stickers are not shown, are hidden.
// Nothing while the document is refreshed as a whole.
void ArrangeStickers();

// Renders the flagged stickers again (every one with force) and shows them
// where they lie; the flags are cleared. A sticker on the graph is kept
// inside it, and the place it takes is stored.
void RefreshStickers(bool force);

// A new document: every image cleared and hidden. The stickers' style stays.
void HideStickers();

// The stickers' part of every redraw (flag what changed, render it; draw
// them into pictures of the scene) and of every document (split and place
// the note text of a document read; hide them for a new one). Called at
// program start by InstallSessionServices; later calls change nothing.
void InstallStickerServices();
