#include "render/markup/TypesetLayout.h"

#include "engine/TokenCode.h"
#include "engine/TokenEdit.h"
#include "engine/TokenTable.h"
#include "model/Numeric.h"
#include "model/Settings.h"
#include "render/markup/TextAdvance.h"
#include "render/markup/TypesetDisplay.h"

#include <algorithm>
#include <cstdlib>

namespace {

using namespace DisplayCode;

constexpr TColor UnscannedColor = 0x0000FF; // red
constexpr TColor FunctionAreaFrameColor = MakeColor(160, 255, 160);

// Token classes of the layout, built once with the vocabulary.
struct LayoutSets {
    TWideCharSet radicals;       // Sqrt, Cbrt, conj
    TWideCharSet radicalEnd;     // κ
    TWideCharSet groupOpen;      // δ
    TWideCharSet groupClose;     // ε κ λ
    TWideCharSet parenOpen, parenClose, bracketOpen, bracketClose;
    TWideCharSet exponentOpen;   // δ "^"
    TWideCharSet exponentClose;  // ε λ
    TWideCharSet italicNames;    // variables, user functions, graphs
    TWideCharSet spacedAfter;    // comparisons, function names, postfix operators
};

const LayoutSets& Sets()
{
    static LayoutSets sets;
    if (TokenCodes.Sqrt != 0 && sets.radicals.has(TokenCodes.Sqrt))
        return sets;
    const TTokenVocabulary& v = Vocabulary;
    const TNamedTokens& t = TokenCodes;
    sets.radicals = SetOf({t.Sqrt, t.Cbrt, t.Conj});
    sets.radicalEnd = SetOf({RadicandEnd});
    sets.groupOpen = SetOf({GroupStart});
    sets.groupClose = SetOf({GroupEnd, RadicandEnd, ExponentEnd});
    sets.parenOpen = SetOf({t.OpenParen});
    sets.parenClose = SetOf({t.CloseParen});
    sets.bracketOpen = SetOf({t.OpenBracket});
    sets.bracketClose = SetOf({t.CloseBracket});
    sets.exponentOpen = SetOf({GroupStart, t.Power});
    sets.exponentClose = SetOf({GroupEnd, ExponentEnd});
    sets.italicNames = v.VariableTokens | v.UserFunctionTokenClass | v.GraphTokens;
    sets.spacedAfter = v.LogicCompareTokens | v.FunctionNameTokens | v.PostfixTokens;
    return sets;
}

// The look of one text run.
struct RunStyle {
    QString Text;
    bool Bold = false;
    bool Italic = false;
    int Height = 0;      // character height; the layout's size unless enlarged
    int Lower = 0;       // how far the run sits below the line's top
    int Space = 0;       // space on both sides
};

// Whether a run's top counts from 0.35 of its height (no ascender, capital
// or digit in it) rather than 0.2.
bool HasNoAscender(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9'))
            return false;
        if (QStringView(u"bdfhijklt").contains(c))
            return false;
    }
    return true;
}

bool HasDescender(const QString& text)
{
    for (const QChar c : text) {
        if (QStringView(u"gjpqyzQ_").contains(c))
            return true;
    }
    return false;
}

// One layout call: its position, extents and the state of its text runs.
struct LayoutCall {
    int X0 = 0, Y0 = 0;
    int X = 0, Y = 0;
    int Size = 0;
    int Sp = 0; // spacing unit
    int Pw = 0; // line unit
    int Top = 0, Bottom = 0, FullBottom = 0;
    int InkLeft = 0; // the leftmost x the call draws at
    int H = 0;  // the run height
    int H8 = 0; // cell height of "8" at the layout's size
    bool Draw = true;
    bool Italic = false;
    bool PreviousItalic = false;
    int VectorStart = 0;

    TTypesetExtent Result() const
    {
        return {X - X0, Top - Y0, Bottom - Y0, FullBottom - Y0, std::min(0, InkLeft - X0)};
    }
    // A nested layout started at x reached that far left.
    void Reach(int x, const TTypesetExtent& nested) { InkLeft = std::min(InkLeft, x + nested.Left); }
};

class Typesetter {
public:
    Typesetter(TCanvas& canvas, const TTypesetOptions& options)
        : canvas_(canvas)
        , options_(options)
        , sets_(Sets())
        , frameGroups_(options.CalculatorStyle && ProgramSettings.FunctionArea != 0)
    {
    }

    TTypesetExtent Layout(int x, int y, int size, QStringView tokens, bool draw);

private:
    void ResetFont(LayoutCall& c);
    void LayoutRadical(LayoutCall& c, QStringView& rest);
    void LayoutFraction(LayoutCall& c, QStringView& rest);
    void LayoutGroup(LayoutCall& c, QStringView& rest);
    void LayoutExponent(LayoutCall& c, QStringView& rest);
    void LayoutVectorArrow(LayoutCall& c);
    void LayoutText(LayoutCall& c, QStringView& rest);
    RunStyle StyleOf(const LayoutCall& c, TTokenCode t, QString text, bool digits) const;
    void DrawTokenText(LayoutCall& c, const RunStyle& run, TTokenCode token, TTokenCode next, bool unscanned);
    void DrawLine(std::initializer_list<QPoint> points);
    void SetGlyphFont(int cellHeight, int averageWidth);

    TCanvas& canvas_;
    const TTypesetOptions& options_;
    const LayoutSets& sets_;
    const bool frameGroups_;
};

TTypesetExtent Typesetter::Layout(int x, int y, int size, QStringView tokens, bool draw)
{
    if (tokens.isEmpty())
        return {size / 2, 0, size, size};

    LayoutCall c;
    c.X0 = c.X = c.InkLeft = x;
    c.Y0 = c.Y = y;
    c.Size = size;
    c.Sp = size / 10;
    c.Pw = size / 15;
    c.Top = y + 100;
    c.Bottom = y - 100;
    c.FullBottom = y - 100;
    c.Draw = draw;
    c.VectorStart = x; // an arrow end without its start spans the call

    const TFont saved = canvas_.Font;
    // Lines take the font's colour: the text colour from the start, so a
    // fraction bar drawn before any text run does not keep the caller's.
    canvas_.Font.Color = options_.Color;
    canvas_.Brush.Style = TBrushStyle::Clear;
    canvas_.Pen.Style = TPenStyle::Solid;
    canvas_.Pen.Mode = options_.CalculatorStyle ? TPenMode::Mask : TPenMode::Copy;
    canvas_.Pen.Width = c.Pw;

    QStringView rest = tokens;
    const TNamedTokens& tc = TokenCodes;
    while (!rest.isEmpty()) {
        ResetFont(c);
        const TTokenCode t = rest[0].unicode();
        if (t == tc.Error) {
            RunStyle raw;
            raw.Text = rest.mid(1).toString();
            raw.Height = c.Size;
            c.Italic = false;
            DrawTokenText(c, raw, 0, 0, true);
            break;
        }
        if (sets_.radicals.has(t)) {
            LayoutRadical(c, rest);
        } else if (t == NumeratorStart) {
            LayoutFraction(c, rest);
        } else if (t == tc.OpenParen || t == tc.OpenBracket || t == GroupStart) {
            LayoutGroup(c, rest);
        } else if (t == tc.Power) {
            LayoutExponent(c, rest);
        } else if (t == VectorStart) {
            c.VectorStart = c.X;
            rest = rest.mid(1);
        } else if (t == VectorEnd) {
            LayoutVectorArrow(c);
            rest = rest.mid(1);
        } else if (IsDisplayCode(t)) {
            // A closer whose opener is missing: nothing to draw.
            rest = rest.mid(1);
        } else {
            LayoutText(c, rest);
        }
    }
    canvas_.Font = saved;
    return c.Result();
}

void Typesetter::ResetFont(LayoutCall& c)
{
    TFont& f = canvas_.Font;
    f.Name = TypesetFontName;
    f.Bold = false;
    f.Italic = false;
    f.Underline = false;
    f.Width = 0;
    f.Height = -c.Size;
    c.H = c.Size;
    // The reset font is the same for every token of the call.
    if (c.H8 == 0)
        c.H8 = CellHeight(canvas_.Font);
}

void Typesetter::DrawLine(std::initializer_list<QPoint> points)
{
    canvas_.Pen.Color = canvas_.Font.Color;
    auto p = points.begin();
    canvas_.MoveTo(p->x(), p->y());
    for (++p; p != points.end(); ++p)
        canvas_.LineTo(p->x(), p->y());
}

// The fonts of radical signs and brackets: a cell height and an average
// character width, normal weight.
void Typesetter::SetGlyphFont(int cellHeight, int averageWidth)
{
    TFont& f = canvas_.Font;
    f.Name = TypesetFontName;
    f.Bold = false;
    f.Italic = false;
    f.Height = std::max(1, cellHeight);
    f.Width = averageWidth;
}

void Typesetter::LayoutRadical(LayoutCall& c, QStringView& rest)
{
    const TTokenCode t = rest[0].unicode();
    const int x0 = c.X;
    const int x1 = t == TokenCodes.Conj ? x0 + c.Sp : x0 + c.Size / 2;
    bool unclosed = false;
    const QStringView content = ExtractGroupView(sets_.radicals, sets_.radicalEnd, rest, unclosed);
    const TTypesetExtent m = Layout(x1, c.Y, c.Size, content, c.Draw);
    c.Reach(x1, m);
    c.X = x1 + m.Width;
    const int ybar = c.Y + m.Top - 2 * c.Pw;
    const int hc = c.Y + m.Bottom - ybar;
    if (c.Draw) {
        DrawLine({QPoint(x1 - NearestInt(c.Size / 20.0L), ybar), QPoint(c.X, ybar)});
        if (t == TokenCodes.Cbrt) {
            canvas_.Font.Height = NearestInt(0.6L * c.Size);
            canvas_.TextOut(x0 + NearestInt(0.1L * c.Size), ybar, QStringLiteral("3"));
        }
        if (t != TokenCodes.Conj) {
            const int r = NearestInt(1.214L * hc);
            SetGlyphFont(r, c.Size / 2);
            canvas_.TextOut(x0 - c.Size / 5, ybar - NearestInt(0.01L * r), QStringLiteral("√"));
        }
    }
    // The sign's hook starts at its cell's left edge, measured or drawn.
    if (t != TokenCodes.Conj)
        c.InkLeft = std::min(c.InkLeft, x0 - c.Size / 5);
    c.Top = std::min(c.Top, ybar);
    c.Bottom = std::max(c.Bottom, c.Y + m.Bottom);
    c.FullBottom = std::max(c.FullBottom, c.Y + m.Bottom);
}

void Typesetter::LayoutFraction(LayoutCall& c, QStringView& rest)
{
    c.X += c.Sp;
    const int x1 = c.X;
    TTokenString numerator, denominator;
    SplitFractionView(rest, numerator, denominator, options_.NestedFractions);
    const int d = NearestInt(0.55L * c.Size);
    c.Y += d;
    const TTypesetExtent n = Layout(x1, c.Y, c.Size, numerator, false);
    const TTypesetExtent m = Layout(x1, c.Y, c.Size, denominator, false);
    const int w = std::max(n.Width, m.Width);
    // Both lines are drawn at x1 + sp or right of it.
    c.Reach(x1 + c.Sp, n);
    c.Reach(x1 + c.Sp, m);
    c.X += 2 * c.Sp + w;
    c.Top = std::min(c.Top, c.Y - n.Bottom + n.Top);
    c.Bottom = std::max(c.Bottom, c.Y - m.Top + m.Bottom + 2 * c.Pw);
    c.FullBottom = c.Bottom;
    if (c.Draw) {
        const int centred = x1 + c.Sp + std::abs(n.Width - m.Width) / 2;
        const int flush = x1 + c.Sp;
        Layout(n.Width < m.Width ? centred : flush, c.Y - n.Bottom, c.Size, numerator, true);
        Layout(m.Width < n.Width ? centred : flush, c.Y - m.Top + 2 * c.Pw, c.Size, denominator, true);
        DrawLine({QPoint(x1, c.Y), QPoint(c.X, c.Y)});
    }
    c.Y -= d;
}

void Typesetter::LayoutGroup(LayoutCall& c, QStringView& rest)
{
    const TNamedTokens& tc = TokenCodes;
    const TTokenCode t = rest[0].unicode();
    const bool paren = t == tc.OpenParen;
    const bool bracket = t == tc.OpenBracket;
    const bool framed = t == GroupStart && frameGroups_;
    const int x0 = c.X;
    const int indent = paren || bracket ? c.Size / 2 : (frameGroups_ ? 4 : 0);
    const int x1 = x0 + indent;

    bool unclosed = false;
    const QStringView group = paren     ? ExtractGroupView(sets_.parenOpen, sets_.parenClose, rest, unclosed)
                              : bracket ? ExtractGroupView(sets_.bracketOpen, sets_.bracketClose, rest, unclosed)
                                        : ExtractGroupView(sets_.groupOpen, sets_.groupClose, rest, unclosed);
    const TTypesetExtent m = Layout(x1, c.Y, c.Size, group, c.Draw);
    c.Reach(x1, m);
    const int f = t == GroupStart ? m.Bottom : m.FullBottom;
    c.X = x1 + m.Width;
    const int gt = c.Y + m.Top;
    const int hg = c.Y + f - gt;
    const int marginAbove = paren || bracket ? c.Sp : (frameGroups_ ? 3 : 0);
    const int marginBelow = paren || bracket ? 2 * c.Sp : (frameGroups_ ? 3 : 0);

    if (c.Draw) {
        if (framed) {
            canvas_.Pen.Width = 2;
            canvas_.Pen.Color = FunctionAreaFrameColor;
            canvas_.Rectangle(x1, gt - 2, c.X + 2, c.Y + m.Bottom + 2);
            canvas_.Pen.Width = c.Size / 20;
        }
        if (paren || bracket) {
            const int cell = std::max(c.Size, NearestInt(1.214L * hg) + 2 * c.Sp);
            SetGlyphFont(cell, c.Size / 2);
            const int inset = bracket ? c.Size / 4 : 0;
            const int gy = gt - marginAbove - NearestInt(0.14L * cell);
            canvas_.TextOut(x0 + inset, gy, paren ? QStringLiteral("(") : QStringLiteral("|"));
            if (!unclosed)
                canvas_.TextOut(c.X + inset, gy, paren ? QStringLiteral(")") : QStringLiteral("|"));
        }
    }
    c.X += indent;
    c.Top = std::min(c.Top, gt - marginAbove);
    c.Bottom = std::max(c.Bottom, c.Y + f + marginBelow);
    c.FullBottom = c.Bottom;
}

void Typesetter::LayoutExponent(LayoutCall& c, QStringView& rest)
{
    c.Y -= c.Pw;
    c.X += c.Pw;
    bool unclosed = false;
    const QStringView exponent = ExtractGroupView(sets_.exponentOpen, sets_.exponentClose, rest, unclosed);
    const TTypesetExtent m = Layout(c.X, c.Y, NearestInt(0.65L * c.Size), exponent, c.Draw);
    c.Reach(c.X, m);
    c.X += m.Width + 2 * c.Sp;
    c.Top = std::min(c.Top, c.Y + m.Top);
    c.Bottom = std::max(c.Bottom, c.Y + m.Bottom);
    c.FullBottom = c.Bottom;
    c.Y += c.Pw;
}

void Typesetter::LayoutVectorArrow(LayoutCall& c)
{
    const int ay = c.Y + NearestInt(1.5L * c.Sp);
    const int hd = c.Size / 6;
    if (c.Draw) {
        const int tip = c.X - c.Sp;
        DrawLine({QPoint(c.VectorStart + c.Sp, ay), QPoint(tip, ay), QPoint(tip - 2 * hd, ay - hd)});
    }
    c.Top = std::min(c.Top, ay - hd);
}

RunStyle Typesetter::StyleOf(const LayoutCall& c, TTokenCode t, QString text, bool digits) const
{
    const TNamedTokens& tc = TokenCodes;
    RunStyle run;
    run.Height = c.Size;
    if (t == tc.Pi) {
        text = QStringLiteral("π");
    } else if (t == tc.Theta) {
        text = QStringLiteral("θ");
        run.Italic = true;
    } else if (sets_.italicNames.has(t)) {
        run.Bold = true;
        run.Italic = true;
    } else if (!digits && Vocabulary.BinaryOperatorTokens.has(t)) {
        run.Space = 3 * c.Sp;
        if (t == tc.Minus)
            text = QStringLiteral("\u2212");
    }
    if (t == tc.LessEqual)
        text = QStringLiteral("≤");
    else if (t == tc.GreaterEqual)
        text = QStringLiteral("≥");
    else if (t == tc.NotEqual)
        text = QStringLiteral("≠");
    else if (t == tc.Gamma)
        text = QStringLiteral("Γ");
    else if (t == tc.Beta)
        text = QStringLiteral("Β");
    else if (t == tc.Sum || t == tc.Product || t == tc.Intgr) {
        text = t == tc.Sum ? QStringLiteral("Σ") : t == tc.Product ? QStringLiteral("Π") : QStringLiteral("∫");
        run.Height = NearestInt(1.3L * c.Size);
        run.Lower = NearestInt(0.15L * c.Size);
    }
    run.Text = std::move(text);
    return run;
}

void Typesetter::LayoutText(LayoutCall& c, QStringView& rest)
{
    const TTokenVocabulary& v = Vocabulary;
    const TTokenCode t = rest[0].unicode();
    QString text;
    bool digits = false;
    if (v.DigitTokens.has(t)) {
        digits = true;
        qsizetype n = 0;
        while (n < rest.size() && v.DigitTokens.has(rest[n].unicode()))
            text += v.TokenTable[rest[n++].unicode()].Name;
        rest = rest.mid(n);
    } else {
        rest = rest.mid(1);
        if (t < 1 || t > VocabularySize)
            return; // no name, nothing to show
        text = v.TokenTable[t].Name;
    }
    const TTokenCode next = rest.isEmpty() ? 0 : rest[0].unicode();
    const RunStyle run = StyleOf(c, digits ? TTokenCode(0) : t, std::move(text), digits);
    if (v.FunctionNameTokens.has(t))
        c.X += c.Sp;
    c.Italic = run.Italic;
    c.X += run.Space;
    c.Y += run.Lower;
    DrawTokenText(c, run, digits ? 0 : t, next, false);
    c.Y -= run.Lower;
    c.X += run.Space;
    c.PreviousItalic = c.Italic;
}

void Typesetter::DrawTokenText(LayoutCall& c, const RunStyle& run, TTokenCode token, TTokenCode next,
                               bool unscanned)
{
    TFont& f = canvas_.Font;
    f.Bold = run.Bold;
    f.Italic = run.Italic;
    f.Height = -run.Height;
    const int h = run.Height;
    const bool integral = run.Text == u"∫";

    int ch = c.H8;
    int dv = 0;
    if (h != c.Size) {
        ch = CellHeight(canvas_.Font);
        if (integral)
            ch = NearestInt(ch * 554.0L / 613.0L);
        dv = NearestInt((c.H8 - ch) * 0.8L);
    }
    f.Color = unscanned && options_.CalculatorStyle ? UnscannedColor : options_.Color;

    if (run.Text.startsWith(u'.'))
        c.X -= h / 6;
    c.Y += dv;
    const bool letterF = run.Text == u"f";
    if (letterF)
        c.X += h / 8;
    if ((unscanned || c.Italic) && c.PreviousItalic)
        c.X += h / 15;
    // A blank leaves no ink (text keeps the background): only its advance counts.
    if (c.Draw && !run.Text.trimmed().isEmpty())
        canvas_.TextOut(c.X, c.Y, run.Text);
    c.X += GetTextWidth(run.Text, f, options_.Context);
    if (letterF)
        c.X += h / 8;

    int o = NearestInt(0.2L * h);
    if (integral)
        o = NearestInt(0.1L * h);
    else if (!letterF && HasNoAscender(run.Text))
        o = NearestInt(0.35L * h);
    c.Top = std::min(c.Top, c.Y + o);

    if (token != 0) {
        const bool trigPower = Vocabulary.TrigTokens.has(token) && next == TokenCodes.Power;
        if (sets_.spacedAfter.has(token) && !trigPower)
            c.X += 2 * c.Sp;
        if (token == TokenCodes.Comma)
            c.X += 4 * c.Sp;
    }

    c.FullBottom = std::max(c.FullBottom, c.Y + ch);
    if (!HasDescender(run.Text))
        ch = NearestInt(0.87L * ch);
    c.Bottom = std::max(c.Bottom, c.Y + ch);
    c.Y -= dv;
}

} // namespace

TTypesetExtent DrawMarkup(TCanvas& canvas, int x, int y, int size, QStringView tokens,
                          const TTypesetOptions& options)
{
    Typesetter typesetter(canvas, options);
    return typesetter.Layout(x, y, size, tokens, options.Draw);
}

TTypesetExtent DrawExpression(TCanvas& canvas, int x, int y, int fontSize, const TTokenString& tokens,
                              const TTypesetOptions& options)
{
    const TTokenString display = ExpressionToMarkup(tokens);
    TTypesetExtent e = DrawMarkup(canvas, x, y, NearestInt(fontSize * 4.0L / 3.0L), display, options);
    e.FullBottom = 0;
    return e;
}
