#pragma once

#include "model/Formula.h"

#include <QString>
#include <QStringList>
#include <cstdint>

// Project text: a list of lines written field by field and read back token by
// token, under the project file and the undo snapshots. Fields are separated
// by one blank, text fields by a tab; numbers use the document's decimal
// character while in memory (see DelocalizeNumbers / LocalizeNumbers for the
// file form).
//
// Writers append fields to the buffer `Line` and EndLine appends it to the
// list. Readers work on the current line: LoadLine puts it into `Line`, the
// Read operations take fields off the front of `Line`, and NextLine moves on.
// Readers never fail: a missing or malformed field leaves the target as it
// was, and reading past the end gives empty lines.
class TstringData {
public:
    QString Line; // the current-line buffer

    // The lines, those already read included.
    const QStringList& Lines() const { return lines_; }
    int Count() const { return static_cast<int>(lines_.size()); }
    void Add(const QString& line) { lines_.append(line); }
    // Replaces the lines; reading starts again at the first.
    void Assign(const QStringList& lines);
    // Empties the list and the buffer.
    void Clear();

    // Writers.
    // An empty buffer takes the field as it is, so a line that starts with an
    // empty field loses it, and an empty field later leaves two blanks.
    void AddField(const QString& s);
    void AddTabField(const QString& s);
    void AddInt(int i);
    // The general format with 15 digits and the document's decimal character.
    void AddFloat(long double x);
    // The same with the given decimal character (a file's '.' whatever the locale).
    void AddFloat(long double x, QChar decimal);
    // The fewest digits that read back to exactly x (FormatShortest).
    void AddExactFloat(long double x, QChar decimal);
    void AddBool(bool b);
    void EndLine();
    void WriteInt(int i);
    void WriteFloat(long double x);
    void WriteBool(bool b);
    void WriteStr(const QString& s);
    // The formula's text with its special characters spelled out.
    void WriteFunction(const TKavirofunction& f);

    // Readers.
    // The buffer := the current line (empty past the end).
    void LoadLine();
    // Moves to the line after the current one and loads it.
    void NextLine();
    // The next blank-separated token as a number; the target is unchanged
    // when the token is no number of its type.
    void ReadInt(int& i);
    void ReadFloat(long double& x);
    void ReadFloat(long double& x, QChar decimal);
    // The token as an integer (a true b counts as 1); b := the integer is 1.
    void ReadBool(bool& b);
    void ReadBool(std::uint8_t& b);
    // A byte out of 0..255 leaves the target unchanged.
    void ReadByte(std::uint8_t& b);
    // s := the text before the first tab, blanks trimmed; the buffer keeps the
    // text after that tab (nothing when there is none).
    void ReadTabField(QString& s);
    // c := the buffer's first character, which is taken off; unchanged on an
    // empty buffer.
    void ReadChar(char16_t& c);
    void ReadIntLn(int& i);
    void ReadFloatLn(long double& x);
    void ReadBoolLn(bool& b);
    void ReadBoolLn(std::uint8_t& b);
    void ReadByteLn(std::uint8_t& b);
    void ReadTabFieldLn(QString& s);
    void ReadCharLn(char16_t& c);
    // Steps over lines until one whose text before its first tab begins with
    // caption (case and leading blanks count); the buffer then holds the line
    // after it. Stops when fewer than two lines are left.
    void SkipTo(const QString& caption);
    // The buffer begins with eight hyphens.
    bool IsSeparatorLine() const;
    // Fewer than two lines are left to read, the current one included.
    bool IsAtEnd() const;

    // Number punctuation of files: '.' and ',' whatever the locale. Both do
    // nothing while the document's decimal character is '.'.
    // Before saving: every decimal character becomes '.' and every list
    // separator ',', in all lines but the header and never in the last
    // character of a line.
    void DelocalizeNumbers();
    // After loading, unless line 1 already holds a ',' (a file kept in the
    // locale's form): from line 4 on, ',' becomes the list separator and a '.'
    // followed by a digit the decimal character (not in a line's last character).
    void LocalizeNumbers();

private:
    // The field after a separator, which an empty buffer does without.
    void AppendField(QChar separator, const QString& s);
    // Takes the next blank-separated token off the buffer.
    QString NextToken();

    QStringList lines_;
    qsizetype current_ = 0; // index of the current line
};

// The shared project text of the project reader and writer and the undo points.
extern TstringData ProjectData;

// "·" → "*", "×" → "&", "°" → "degree", which formula normalisation reads back.
QString EncodeSpecialChars(const QString& s);
