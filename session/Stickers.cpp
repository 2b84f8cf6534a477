#include "session/Stickers.h"

#include "session/DocumentParticipants.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/markup/MarkupTranslate.h"
#include "render/scene/RedrawParticipants.h"
#include "render/scene/Stickers.h"
#include "render/view/DrawContext.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int MaxShownStickers = 10;
// What a sticker begun by a separator holds, so that it is not empty.
const QString SeparatorLine = QStringLiteral("\n");

// The note text after the filter and the blank runs: text lines, single
// blank lines, and the separators that runs of blank lines become.
struct TNoteItem {
    enum Kind { Text, Blank, Separator } What = Text;
    QString Line;
};

std::vector<TNoteItem> NoteItems(const QStringList& noteLines)
{
    std::vector<TNoteItem> items;
    int blanks = 0;
    const auto endRun = [&] {
        if (blanks == 1)
            items.push_back({TNoteItem::Blank, {}});
        else if (blanks > 1)
            items.push_back({TNoteItem::Separator, {}});
        blanks = 0;
    };
    for (const QString& line : noteLines) {
        if (line.startsWith(u'#'))
            continue;
        if (line.isEmpty() || line.startsWith(QStringLiteral("//"))) {
            ++blanks;
            continue;
        }
        endRun();
        items.push_back({TNoteItem::Text, line});
    }
    endRun();
    return items;
}

// Blanks and control characters only.
bool IsBlankLine(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.isSpace() || c.unicode() < 0x20; });
}

bool AllBlank(const QStringList& lines)
{
    return std::all_of(lines.begin(), lines.end(), IsBlankLine);
}

// The stickers' lines from the items: a separator starts the next sticker,
// unless the current one has nothing to show yet.
int SplitIntoStickers(const std::vector<TNoteItem>& items, TOffsetArray<QStringList, 1, MaxStickers>& lines)
{
    for (QStringList& l : lines)
        l.clear();
    int k = 1;
    for (const TNoteItem& item : items) {
        QStringList& current = lines[k];
        if (item.What != TNoteItem::Separator) {
            current.append(item.Line);
            continue;
        }
        if (current.isEmpty()) {
            current.append(SeparatorLine);
        } else if (AllBlank(current)) {
            current.clear();
        } else {
            if (k == MaxShownStickers)
                break;
            ++k;
        }
    }
    if (AllBlank(lines[k]))
        lines[k].clear();
    return lines[k].isEmpty() ? k - 1 : k;
}

void DropTrailingBlankLines(QStringList& lines)
{
    while (!lines.isEmpty() && IsBlankLine(lines.last()))
        lines.removeLast();
}

// The token codes of every field's formula in the lines, as scanned: the
// compiled code names an object by its number, the scanned tokens by its
// letter, which is what the change set holds.
QString FieldReferences(const QStringList& lines)
{
    QString refs;
    for (const QString& line : lines) {
        for (const QString& formula : FieldFormulas(line)) {
            TKavirofunction record;
            if (CompileFieldFormula(ModePlain, formula, record))
                refs += record.NormText;
        }
    }
    return refs;
}

bool IsCurveObjectToken(QChar code)
{
    for (int j = 1; j <= PointCount; ++j) {
        const std::uint8_t kind = DocumentTables.Points[j].Kind;
        if ((kind == ObjectPolar || kind == ObjectParametric) && Vocabulary.PointTokens[j] == code.unicode())
            return true;
    }
    return false;
}

bool ReadsChange(const QString& refs, const TWideCharSet& changed)
{
    return std::any_of(refs.begin(), refs.end(),
                       [&](QChar c) { return changed.has(c.unicode()) || IsCurveObjectToken(c); });
}

bool StickersShown()
{
    return DocumentTables.Stickers.Count > 0 && Options.PetaMemoStyle != 0;
}

QSize GraphSize()
{
    return {GraphScale.XAxis.VHigh, GraphScale.YAxis.VHigh};
}

void ShowRenderedSticker(int k)
{
    const TMemoStr& stickers = DocumentTables.Stickers;
    TStickerPlace& place = PanelLayout.StickerPlaces[k];
    const bool onGraph = place.OnConsole == 0;
    const std::optional<TStickerPicture> picture = RenderSticker(stickers.Lines[k], QPoint(place.Left, place.Top),
                                                                 onGraph, GraphSize(), CurrentStickerLook());
    if (!picture) {
        CurrentStickerWindow().HideSticker(k);
        return;
    }
    if (onGraph) {
        place.Left = picture->Place.x();
        place.Top = picture->Place.y();
    }
    CurrentStickerWindow().ShowSticker(k, picture->Image);
}

std::vector<TStickerOnGraph> StickersOnGraph()
{
    std::vector<TStickerOnGraph> shown;
    const TMemoStr& stickers = DocumentTables.Stickers;
    for (int k = 1; k <= stickers.Count; ++k) {
        const TStickerPlace& place = PanelLayout.StickerPlaces[k];
        if (place.OnConsole == 0)
            shown.push_back({stickers.Lines[k], QPoint(place.Left, place.Top)});
    }
    return shown;
}

// Renders what a change reaches after every redraw that changed objects,
// and draws the stickers into pictures of the scene.
class StickerRedrawSteps final : public TRedrawParticipant {
public:
    void AfterObjects(TGraphImages&, bool force) override
    {
        if (!force)
            MarkChangedStickers();
        RefreshStickers(force);
    }
    void ComposeScene(TCanvas& canvas) override
    {
        if (!StickersShown())
            return;
        const std::vector<TStickerOnGraph> stickers = StickersOnGraph();
        DrawStickersTo(canvas, stickers, CurrentStickerLook(), CurrentDrawContext());
    }
};

// A document read keeps its stickers where the file put them; a new one
// has none.
class StickerDocumentSteps final : public TDocumentParticipant {
public:
    std::optional<TDocumentError> DocumentReplaced(const QStringList& noteLines) override
    {
        BuildStickerTexts(noteLines);
        TMemoStr& stickers = DocumentTables.Stickers;
        stickers.OldNames = stickers.Names;
        stickers.OldCount = stickers.Count;
        ArrangeStickers();
        return std::nullopt;
    }
    void DocumentCleared() override
    {
        HideStickers();
        CurrentStickerWindow().PlaceStickers();
    }
};

} // namespace

TStickerWindow& CurrentStickerWindow()
{
    return platform::InstalledOr<TStickerWindow, TNoStickerWindow>();
}

void BuildStickerTexts(const QStringList& noteLines)
{
    TMemoStr& stickers = DocumentTables.Stickers;
    const int oldCount = stickers.Count;
    stickers.Count = SplitIntoStickers(NoteItems(noteLines), stickers.Lines);
    stickers.OldNames = stickers.Names;
    stickers.OldCount = oldCount;
    for (int k = 1; k <= MaxStickers; ++k) {
        QStringList& lines = stickers.Lines[k];
        stickers.Names[k] = lines.value(0);
        DropTrailingBlankLines(lines);
        stickers.Refs[k] = FieldReferences(lines);
        stickers.Changed[k] = 0;
    }
}

void MarkChangedStickers(const TWideCharSet& changedNames)
{
    if (CharSetIsEmpty(changedNames))
        return;
    TMemoStr& stickers = DocumentTables.Stickers;
    for (int k = 1; k <= stickers.Count; ++k)
        if (ReadsChange(stickers.Refs[k], changedNames))
            stickers.Changed[k] = 1;
}

void MarkChangedStickers()
{
    MarkChangedStickers(RedrawState.ChangedNames);
}

TStickerPlaces ArrangeStickerPlaces(const TMemoStr& stickers, const TStickerPlaces& saved)
{
    TStickerPlaces places = saved;
    std::array<bool, MaxStickers + 1> taken{};
    std::array<bool, MaxStickers + 1> placed{};
    for (int k = 1; k <= stickers.Count; ++k) {
        for (int image = 1; image <= stickers.OldCount && !stickers.Names[k].isEmpty(); ++image) {
            if (!taken[image] && stickers.OldNames[image] == stickers.Names[k]) {
                places[k] = saved[image];
                taken[image] = placed[k] = true;
                break;
            }
        }
    }
    for (int k = 1; k <= stickers.Count; ++k) {
        if (placed[k])
            continue;
        if (k <= stickers.OldCount && !taken[k]) {
            places[k] = saved[k];
            taken[k] = true;
        } else {
            places[k] = {StickerHomeLeft, StickerHomeTop, 0};
        }
    }
    return places;
}

void ArrangeStickers()
{
    if (ProgramState.InRefreshAll)
        return;
    PanelLayout.StickerPlaces = ArrangeStickerPlaces(DocumentTables.Stickers, PanelLayout.StickerPlaces);
    TStickerWindow& window = CurrentStickerWindow();
    window.PlaceStickers();
    const int shown = StickersShown() ? DocumentTables.Stickers.Count : 0;
    for (int k = shown + 1; k <= MaxStickers; ++k)
        window.HideSticker(k);
}

void RefreshStickers(bool force)
{
    TMemoStr& stickers = DocumentTables.Stickers;
    if (!StickersShown()) {
        for (int k = 1; k <= MaxStickers; ++k)
            CurrentStickerWindow().HideSticker(k);
        std::fill(stickers.Changed.begin(), stickers.Changed.end(), std::uint8_t{0});
        return;
    }
    for (int k = 1; k <= stickers.Count; ++k) {
        if (force || stickers.Changed[k])
            ShowRenderedSticker(k);
        stickers.Changed[k] = 0;
    }
}

void HideStickers()
{
    for (int k = 1; k <= MaxStickers; ++k)
        CurrentStickerWindow().HideSticker(k);
}

void InstallStickerServices()
{
    static StickerRedrawSteps redrawSteps;
    static const TRedrawParticipation drawsStickers(redrawSteps, TRedrawOrder::Notes);
    static StickerDocumentSteps documentSteps;
    static const TDocumentParticipation placesStickers(documentSteps, TDocumentOrder::Notes);
}
