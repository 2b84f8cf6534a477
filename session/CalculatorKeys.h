#pragma once

// The calculator's keyboard without its widgets: the one table its buttons
// are built from, what each button inserts into the edit line, the hints in
// the user's separators, and the counter that swallows keys while the typed
// text keeps characters that form no formula.
#include "model/TokenString.h"

#include <QString>
#include <vector>

// How a button changes the edit line.
enum class TCalcKeyKind {
    Symbol,     // its caption with the blanks removed
    Point,      // its caption as it is
    CallForm,   // its caption, the caret then moved back by Tag
    Named,      // Insert + "(" + (Tag - 1) list separators + ")", the caret after "("
    Text,       // Insert as it is
    CaretLeft,  // the caret one character left
    CaretRight, // the caret one character right
    Backspace,  // the selection, else the character before the caret, deleted
    Delete,     // the selection, else the character at the caret, deleted
};

// Which arithmetic a button belongs to.
enum class TCalcKeyUse { Always, RealOnly, ComplexOnly };

// The log button, whose hint follows the log mode.
inline constexpr char CalcLogKeyName[] = "SBlog";

struct TCalcKey {
    QString Name;    // object name of the button
    int Group = 0;   // 0..3: "Grupo1".."Grupo4"; groups 1..3 are the switchable ones
    TCalcKeyKind Kind = TCalcKeyKind::Text;
    QString Caption; // in the user's separators
    QString Insert;  // Named: the function's name; Text: the text
    int Tag = 0;     // CallForm: caret moved back; Named: argument count
    QString Hint;    // localised; empty for none
    TCalcKeyUse Use = TCalcKeyUse::Always;
};

// Every button of the four groups, in order, with captions and hints in the
// current separators.
std::vector<TCalcKey> CalculatorKeys();

// "," (except as the last character) becomes the list separator and "." the
// decimal character, so that hints show numbers as the user types them.
QString LocaliseHint(const QString& hint);

// The log button's hint for the log mode.
QString LogKeyHint(int logMode);

// The edit line: its text, the caret and the selection (start and length;
// length 0 for none).
struct TEditLine {
    QString Text;
    int Caret = 0;
    int SelStart = 0;
    int SelLength = 0;
    bool operator==(const TEditLine&) const = default;
};

// The text the button inserts and how far the caret then goes back.
struct TCalcInsertion {
    QString Text;
    int CaretBack = 0;
};
TCalcInsertion InsertionOf(const TCalcKey& key);

// The text replaces the selection (or goes in at the caret); the caret ends
// after it less caretBack.
TEditLine InsertText(TEditLine line, const QString& text, int caretBack = 0);

// What pressing the button does to the edit line.
TEditLine PressCalcKey(const TEditLine& line, const TCalcKey& key);

// The edit line after a change, in canonical spelling, with the scanned
// tokens. A word still being typed at the caret keeps its letters: «Pr» on
// its way to «Product» must not turn into «P.r» under the user's hands; it
// is respelled once the caret leaves it.
TEditLine NormalizeEditLine(const TEditLine& typed, TTokenString& tokens);

// Counts the edits after which the text keeps more than 4 characters that
// the scanner could not take, and drops every fourth printable key while it
// does. Characters that do form tokens never count, however long the
// formula.
class TNoiseCounter {
public:
    // After the text changed: tokens is the scanned token string.
    void AfterChange(const TTokenString& tokens);
    // Whether the key (a character) is swallowed; a swallowed key counts.
    bool DropKey(QChar key);
    int Count() const { return count_; }
    void Reset() { count_ = 0; }

private:
    int count_ = 0;
};

// How many characters follow the error token of a scanned token string (0
// when the whole text was scanned).
int UnscannedLength(const TTokenString& tokens);
