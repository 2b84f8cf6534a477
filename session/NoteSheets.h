#pragma once

// The note editor's texts without its widgets: its sheets filled from the
// note text and assembled back into it, the sticker sizes it offers, the
// texts its script menu inserts, and what it remembers between openings.
#include "model/Colors.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The texts of the sticker, script and plain-note sheets.
struct TNoteSheetTexts {
    QString Stickers;
    QString Scripts;
    QString Nota;
    bool operator==(const TNoteSheetTexts&) const = default;
};

// The sticker sheet: the note lines that are no script ("#"), without the
// blank lines at the end.
QStringList StickerSheetLines(const QStringList& noteLines);
// The script sheet: the "#" lines without their "#", with one blank line
// wherever other lines stood between them.
QStringList ScriptSheetLines(const QStringList& noteLines);
// The sheets as the document fills them: the note text and the plain note.
TNoteSheetTexts FillNoteSheets();

// The note text of the sheets: the sticker sheet's lines as they are, then
// the script sheet's, each line that holds something and does not begin
// with "#" given one.
QStringList AssembleNoteLines(const QStringList& stickerLines, const QStringList& scriptLines);
// What the note text becomes on Apply: unchanged while the sticker and
// script sheets still show what the document filled them with, so that
// looking at the notes changes nothing (comments, blocks past the tenth
// and scripts of any kind stay as they are); else the sheets assembled.
// Blank lines at the sticker sheet's end are left out.
QStringList NoteLinesFromSheets(const TNoteSheetTexts& sheets);

// A sheet's text as lines, split at line breaks (no lines for an empty
// text), and back.
QStringList SheetLines(const QString& text);
QString SheetText(const QStringList& lines);

// The stickers' look as the editor's controls set it: style, text colour,
// frame and fill entry, size in points.
struct TStickerStyle {
    std::uint8_t Style = 3;
    TColor Color = 0xFF0000;
    std::uint8_t BGcolor = 0;
    int Size = 12;
    bool operator==(const TStickerStyle&) const = default;
};
// The document's sticker style.
TStickerStyle CurrentStickerStyle();

// The sizes the sticker size box offers, in points.
inline constexpr std::array<int, 14> StickerSizeChoices = {8, 9, 10, 11, 12, 13, 14, 16, 18, 21, 24, 28, 32, 36};
// The size box's text as a sticker size: a whole number above 4, else the
// size it had.
int StickerSizeFromText(const QString& text, int current);

// The script menu: submenus of items, each inserting its caption's text at
// the caret. A template's "*" are shown as argument words in angle brackets.
struct TScriptMenuItem {
    QString Caption;
};
struct TScriptSubmenu {
    QString Caption; // "&&" shows one "&"
    std::vector<TScriptMenuItem> Items;
};
const std::vector<TScriptSubmenu>& ScriptMenuEntries();
// Each "*" of the template in turn replaced by the next word in angle
// brackets.
QString FillTemplate(const QString& scriptTemplate, const QStringList& words);
// What a script menu item inserts: its caption without its first "&", each
// part in angle brackets one blank and then double blanks made single; each
// "/" that does not begin a "//" with the blank after it an empty line;
// "For" followed by the gaps of its bounds, "If" and "then" by a blank; and
// a line break at the end.
QString ScriptInsertText(const QString& caption);
// What Tab inserts in the script sheet.
inline const QString ScriptTabText = QStringLiteral("    ");

// What the note editor remembers for the run, closed or not, and a new
// document keeps: its place and size, the sheet shown and the table's
// cursor.
struct TNoteEditorState {
    std::optional<QPoint> Pos;
    QSize Size{308, 449};
    int Sheet = 0;
    int TableRow = 1;
    int TableColumn = 1;
    void Reset() { *this = TNoteEditorState{}; }
};
extern TNoteEditorState NoteEditorState;
