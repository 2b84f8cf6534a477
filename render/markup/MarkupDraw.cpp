#include "render/markup/MarkupDraw.h"

#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "model/Numeric.h"
#include "model/ProgramState.h"
#include "render/markup/MarkupTranslate.h"
#include "render/markup/TextAdvance.h"
#include "render/markup/TypesetDisplay.h"
#include "render/markup/TypesetImage.h"
#include "render/markup/TypesetLayout.h"

#include <algorithm>

namespace {

using namespace MarkupControl;

enum class FontMode { Wide, Ordinary, Symbol };

// The state that control characters change.
struct RunState {
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TColor Color = ColorBlack;
    int Em = 16;    // character height in pixels
    int Raise = 0;  // base line above the line's own
    bool SymbolMode = false;
    int VectorStart = 0;
};

// Where a closing "}" of a group that starts at from is; nested braces
// (and fractions, which close with "}") count. The end of the text when
// there is none.
qsizetype MatchingBrace(QStringView text, qsizetype from)
{
    int depth = 1;
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'{' || c == QChar(Fraction))
            ++depth;
        else if (c == u'}' && --depth == 0)
            return i;
    }
    return text.size();
}

// The first "/" that no brace encloses, or -1.
qsizetype TopLevelSlash(QStringView text)
{
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'{' || c == QChar(Fraction))
            ++depth;
        else if (c == u'}')
            --depth;
        else if (c == u'/' && depth == 0)
            return i;
    }
    return -1;
}

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Six hexadecimal digits rrggbb as a colour.
bool ParseHexColor(QStringView digits, TColor& color)
{
    if (digits.size() < 6)
        return false;
    int rgb[3];
    for (int k = 0; k < 3; ++k) {
        const int high = HexValue(digits[2 * k]);
        const int low = HexValue(digits[2 * k + 1]);
        if (high < 0 || low < 0)
            return false;
        rgb[k] = high * 16 + low;
    }
    color = MakeColor(rgb[0], rgb[1], rgb[2]);
    return true;
}

class MarkupWriter {
public:
    MarkupWriter(TCanvas& canvas, const TMarkupOptions& options)
        : canvas_(canvas)
        , options_(options)
        , base_(canvas.Font)
    {
        base_.Color = options.BaseColor;
        baseEm_ = std::max(1, base_.Height < 0 ? -base_.Height : base_.Height);
        heightA_ = CellHeight(base_);
    }

    TMarkupExtent Write(QStringView text, int x, int baseLine, bool draw)
    {
        RunState state;
        state.Bold = base_.Bold;
        state.Italic = base_.Italic;
        state.Underline = base_.Underline;
        state.Color = options_.BaseColor;
        state.Em = baseEm_;
        return Layout(text, x, baseLine, draw, state);
    }

private:
    struct Line {
        int X = 0;
        int BaseLine = 0;
        bool Draw = true;
        int Top = 0;
        int Bottom = 0;
        QString Pending;
        FontMode PendingMode = FontMode::Ordinary;
    };

    TMarkupExtent Layout(QStringView text, int x, int baseLine, bool draw, RunState& s);
    void Control(Line& line, RunState& s, char16_t c, QStringView text, qsizetype& i);
    void Flush(Line& line, const RunState& s);
    void FormulaGroup(Line& line, const RunState& s, QStringView content);
    void FractionGroup(Line& line, const RunState& s, QStringView content);
    void VectorArrow(Line& line, const RunState& s);
    TFont RunFont(const RunState& s, FontMode mode) const;
    void Reach(Line& line, int top, int bottom) const
    {
        line.Top = std::min(line.Top, top);
        line.Bottom = std::max(line.Bottom, bottom);
    }

    TCanvas& canvas_;
    const TMarkupOptions& options_;
    TFont base_;
    int baseEm_ = 16;
    int heightA_ = 0;
};

TMarkupExtent MarkupWriter::Layout(QStringView text, int x, int baseLine, bool draw, RunState& s)
{
    Line line;
    line.X = x;
    line.BaseLine = baseLine;
    line.Draw = draw;
    line.Top = baseLine - CellAscent(base_);
    line.Bottom = line.Top + CellHeight(base_);

    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'{' || c == Fraction) {
            Flush(line, s);
            const qsizetype close = MatchingBrace(text, i + 1);
            const QStringView content = text.mid(i + 1, close - i - 1);
            if (c == u'{')
                FormulaGroup(line, s, content);
            else
                FractionGroup(line, s, content);
            i = close;
        } else if (c < 0x20) {
            Flush(line, s);
            Control(line, s, c, text, i);
        } else {
            const FontMode mode = s.SymbolMode ? FontMode::Symbol : (c >= 0x2000 ? FontMode::Wide : FontMode::Ordinary);
            if (!line.Pending.isEmpty() && mode != line.PendingMode)
                Flush(line, s);
            line.Pending += QChar(c);
            line.PendingMode = mode;
        }
    }
    Flush(line, s);
    return {line.X, line.Top, line.Bottom};
}

void MarkupWriter::Control(Line& line, RunState& s, char16_t c, QStringView text, qsizetype& i)
{
    switch (c) {
    case Normal:
        s.Bold = s.Italic = s.Underline = false;
        s.Color = options_.BaseColor;
        s.Em = baseEm_;
        s.Raise = 0;
        s.SymbolMode = false;
        break;
    case BoldOn: s.Bold = true; break;
    case BoldOff: s.Bold = false; break;
    case ItalicOn: s.Italic = true; break;
    case ItalicOff: s.Italic = false; break;
    case UnderlineOn: s.Underline = true; break;
    case UnderlineOff: s.Underline = false; break;
    case BaseColor: s.Color = options_.BaseColor; break;
    case Color: {
        // Up to six characters belong to the colour; an invalid colour
        // leaves the current one.
        const QStringView digits = text.mid(i + 1, 6);
        ParseHexColor(digits, s.Color);
        i += digits.size();
        break;
    }
    case Large: s.Em = NearestInt(baseEm_ * 1.3L); break;
    case Small: s.Em = NearestInt(baseEm_ * 0.7L); break;
    case BaseSize:
        s.Em = baseEm_;
        s.Raise = 0;
        break;
    case Subscript:
        s.Em = NearestInt(baseEm_ * 0.6L);
        s.Raise = -NearestInt(0.2L * heightA_);
        break;
    case Superscript:
        s.Em = NearestInt(baseEm_ * 0.6L);
        s.Raise = NearestInt(0.4L * heightA_);
        break;
    case VectorOn: s.VectorStart = line.X; break;
    case VectorOff: VectorArrow(line, s); break;
    case SymbolOn: s.SymbolMode = true; break;
    case SymbolOff: s.SymbolMode = false; break;
    default: break; // other control characters mean nothing
    }
}

TFont MarkupWriter::RunFont(const RunState& s, FontMode mode) const
{
    TFont f = base_;
    f.Bold = s.Bold;
    f.Italic = s.Italic;
    f.Underline = s.Underline;
    f.Color = s.Color;
    f.Height = -s.Em;
    if (mode == FontMode::Wide) {
        f.Name = ProgramState.SctickerLarge;
    } else if (mode == FontMode::Symbol) {
        f.Name = TypesetFontName;
        f.Height = -NearestInt(1.1L * s.Em);
    }
    return f;
}

void MarkupWriter::Flush(Line& line, const RunState& s)
{
    if (line.Pending.isEmpty())
        return;
    const TFont font = RunFont(s, line.PendingMode);
    const int top = line.BaseLine - s.Raise - CellAscent(font);
    // Blanks leave no ink unless they are underlined.
    if (line.Draw && (s.Underline || !line.Pending.trimmed().isEmpty())) {
        canvas_.Font = font;
        canvas_.TextOut(line.X, top, line.Pending);
    }
    line.X += GetTextWidth(line.Pending, font, options_.Context);
    Reach(line, top, top + CellHeight(font));
    line.Pending.clear();
}

void MarkupWriter::FormulaGroup(Line& line, const RunState& s, QStringView content)
{
    QString formula = content.toString();
    ExponentsToPowers(formula);
    QString normalised;
    int caret = 0;
    TTokenString tokens;
    NormalizeExpressionText(formula, normalised, caret, tokens);
    if (tokens.contains(QChar(TokenCodes.Error))) {
        // Not a formula: shown as the text it is.
        line.Pending = content.toString();
        line.PendingMode = FontMode::Ordinary;
        Flush(line, s);
        return;
    }
    const int size = NearestInt(1.1L * s.Em);
    TFont face;
    face.Name = TypesetFontName;
    face.Height = -size;
    const int top = line.BaseLine - s.Raise - CellAscent(face);

    TTypesetOptions o;
    o.Color = s.Color;
    o.Draw = line.Draw;
    o.NestedFractions = true;
    o.Context = options_.Context;
    canvas_.Font.Color = s.Color; // the lines of fractions and radicals take it
    const TTypesetExtent e = DrawMarkup(canvas_, line.X, top, size, ExpressionToMarkup(tokens), o);
    line.X += e.Width;
    Reach(line, top + e.Top, top + std::max(e.Bottom, e.FullBottom));
}

void MarkupWriter::FractionGroup(Line& line, const RunState& s, QStringView content)
{
    // "numerator|denominator" with exactly one "|", else split at the first
    // "/" outside formula groups.
    const qsizetype split = content.count(u'|') == 1 ? content.indexOf(u'|') : TopLevelSlash(content);
    const QStringView numerator = split < 0 ? content : content.left(split);
    const QStringView denominator = split < 0 ? QStringView() : content.mid(split + 1);

    TFont font = RunFont(s, FontMode::Ordinary);
    const int h8 = CellHeight(font);
    const int gap = NearestInt(0.1L * s.Em);
    const int bar = line.BaseLine - s.Raise - NearestInt(0.45L * h8);

    RunState inner = s;
    inner.Raise = 0;
    RunState measureState = inner;
    const TMarkupExtent n = Layout(numerator, 0, 0, false, measureState);
    measureState = inner;
    const TMarkupExtent d = Layout(denominator, 0, 0, false, measureState);
    const int wn = n.Right;
    const int wd = d.Right;
    const int wide = std::max(wn, wd);
    const int left = line.X + gap;
    // Measured at base line 0: the numerator's bottom sits on the bar, the
    // denominator's top just under it.
    const int numeratorBase = bar - 1 - n.Bottom;
    const int denominatorBase = bar + 1 - d.Top;
    if (line.Draw) {
        RunState drawState = inner;
        Layout(numerator, left + (wide - wn) / 2, numeratorBase, true, drawState);
        drawState = inner;
        Layout(denominator, left + (wide - wd) / 2, denominatorBase, true, drawState);
        canvas_.Pen.Color = s.Color;
        canvas_.Pen.Style = TPenStyle::Solid;
        canvas_.Pen.Width = std::max(1, h8 / 20);
        canvas_.MoveTo(left, bar);
        canvas_.LineTo(left + wide + 1, bar);
    }
    Reach(line, numeratorBase + n.Top, denominatorBase + d.Bottom);
    line.X = left + wide + gap;
}

void MarkupWriter::VectorArrow(Line& line, const RunState& s)
{
    const int ay = line.BaseLine - s.Raise - NearestInt(0.9L * s.Em);
    const int head = std::max(2, s.Em / 6);
    if (line.Draw && line.X > s.VectorStart) {
        canvas_.Pen.Color = s.Color;
        canvas_.Pen.Style = TPenStyle::Solid;
        canvas_.Pen.Width = std::max(1, s.Em / 20);
        const QPoint shaft[2] = {QPoint(s.VectorStart, ay), QPoint(line.X, ay)};
        canvas_.Polyline(shaft);
        const QPoint tip[3] = {QPoint(line.X - 2 * head, ay - head), QPoint(line.X, ay),
                               QPoint(line.X - 2 * head, ay + head)};
        canvas_.Polyline(tip);
    }
    Reach(line, ay - head, ay + head);
}

} // namespace

TMarkupExtent DrawTranslatedMarkup(TCanvas& canvas, QStringView translated, int x, int baseLine,
                                   const TMarkupOptions& options)
{
    const TFont saved = canvas.Font;
    MarkupWriter writer(canvas, options);
    const TMarkupExtent e = writer.Write(translated, x, baseLine, options.Draw);
    canvas.Font = saved;
    return e;
}

TMarkupExtent DrawMarkupText(TCanvas& canvas, const QString& text, int x, int baseLine,
                             const TMarkupOptions& options)
{
    if (text.startsWith(QStringLiteral("//")))
        return {x, baseLine, baseLine};
    return DrawTranslatedMarkup(canvas, TranslateMarkup(options.CompileMode, text), x, baseLine, options);
}

TMarkupExtent DrawMarkupLine(TCanvas& canvas, const QString& text, int x, int top, const TMarkupOptions& options)
{
    return DrawMarkupText(canvas, text, x, top + CellAscent(canvas.Font), options);
}
