// Cutting a relation into pieces at "and" and "or", and the masks that say
// which pieces must hold together.
#include "engine/Compiler.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "render/plot/Relations.h"

#include <QString>

namespace {

// How deep references may expand before a relation counts as circular.
constexpr int MaxDepth = 50;

bool IsOpen(TTokenCode t)
{
    return t == TokenCodes.OpenParen || t == TokenCodes.OpenBracket;
}

bool IsClose(TTokenCode t)
{
    return t == TokenCodes.CloseParen || t == TokenCodes.CloseBracket;
}

bool IsComparison(TTokenCode t)
{
    return CharSetHas(Vocabulary.LogicCompareTokens, t) && !CharSetHas(Vocabulary.AndOrTokens, t);
}

TTokenCode At(QStringView tokens, qsizetype i)
{
    return tokens[i].unicode();
}

// Blanks carry no meaning for the cutting; leaving them out makes bracket
// matching exact.
TTokenString WithoutBlanks(QStringView tokens)
{
    TTokenString out;
    out.reserve(tokens.size());
    for (const QChar t : tokens)
        if (t.unicode() != TokenCodes.Blank)
            out += t;
    return out;
}

// Strips brackets that enclose the whole string, again and again.
QStringView StripEnclosing(QStringView tokens)
{
    while (tokens.size() >= 2 && IsOpen(At(tokens, 0)) && IsClose(At(tokens, tokens.size() - 1))) {
        int depth = 0;
        qsizetype closing = -1;
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            if (IsOpen(At(tokens, i)))
                ++depth;
            else if (IsClose(At(tokens, i)) && --depth == 0) {
                closing = i;
                break;
            }
        }
        if (closing != tokens.size() - 1)
            break;
        tokens = tokens.sliced(1, tokens.size() - 2);
    }
    return tokens;
}

// The parts of tokens between the separators that pass the test at bracket
// depth 0.
template <class IsSeparator>
std::vector<QStringView> SplitAtDepthZero(QStringView tokens, IsSeparator isSeparator, std::vector<TTokenCode>* seps)
{
    std::vector<QStringView> parts;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const TTokenCode t = At(tokens, i);
        if (IsOpen(t))
            ++depth;
        else if (IsClose(t))
            --depth;
        else if (depth == 0 && isSeparator(t)) {
            parts.push_back(tokens.sliced(start, i - start));
            if (seps)
                seps->push_back(t);
            start = i + 1;
        }
    }
    parts.push_back(tokens.sliced(start));
    return parts;
}

// The relation as alternatives ("or") of conjunctions ("and") of pieces,
// bits of the pieces numbered in the order of the text.
class Splitter {
public:
    TRelationPieces Result;

    // The masks of tokens, each the OR of the bits of one conjunction.
    std::vector<std::uint8_t> Alternatives(QStringView tokens, int depth)
    {
        std::vector<std::uint8_t> masks;
        const auto isOr = [](TTokenCode t) { return t == TokenCodes.Or; };
        for (const QStringView alternative : SplitAtDepthZero(tokens, isOr, nullptr)) {
            if (stopped_)
                break;
            std::vector<std::uint8_t> conjunction{0};
            const auto isAnd = [](TTokenCode t) { return t == TokenCodes.And; };
            for (const QStringView factor : SplitAtDepthZero(alternative, isAnd, nullptr)) {
                if (stopped_)
                    break;
                conjunction = Combine(conjunction, Factor(StripEnclosing(factor), depth));
            }
            for (const std::uint8_t m : conjunction)
                if (m != 0)
                    masks.push_back(m);
        }
        return masks;
    }

private:
    // Every mask of one side with every mask of the other: "and" over
    // alternatives.
    static std::vector<std::uint8_t> Combine(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b)
    {
        if (b.empty())
            return a;
        std::vector<std::uint8_t> out;
        for (const std::uint8_t x : a)
            for (const std::uint8_t y : b)
                out.push_back(static_cast<std::uint8_t>(x | y));
        return out;
    }

    // A bracketed group of "and" and "or", a chain of comparisons, or a piece.
    std::vector<std::uint8_t> Factor(QStringView tokens, int depth)
    {
        const auto isAndOr = [](TTokenCode t) { return t == TokenCodes.And || t == TokenCodes.Or; };
        if (SplitAtDepthZero(tokens, isAndOr, nullptr).size() > 1)
            return depth < MaxDepth ? Alternatives(tokens, depth + 1) : std::vector<std::uint8_t>{};
        std::vector<TTokenCode> ops;
        const std::vector<QStringView> terms = SplitAtDepthZero(tokens, IsComparison, &ops);
        if (terms.size() <= 2)
            return {Piece(tokens)};
        // A op1 B op2 C: (A op1 B) and (B op2 C).
        std::uint8_t mask = 0;
        for (size_t k = 0; k + 1 < terms.size() && !stopped_; ++k) {
            TTokenString piece = terms[k].toString();
            piece += QChar(ops[k]);
            piece += terms[k + 1];
            mask |= Piece(piece);
        }
        return {mask};
    }

    // The bit of a new piece, or 0 when no more pieces are made.
    std::uint8_t Piece(QStringView tokens)
    {
        if (stopped_ || Result.Pieces.size() >= MaxRelationPieces)
            return 0;
        TRelationPiece piece;
        piece.Func.NormText = StripEnclosing(tokens).toString();
        piece.Func.Text = TokensToText(piece.Func.NormText);
        CompileFormula(piece.Func, ModeRelation);
        if (piece.Func.Code.isEmpty()) {
            stopped_ = true;
            return 0;
        }
        piece.Operator = ComparisonOf(piece.Func.Code);
        piece.Bit = static_cast<std::uint8_t>(1u << Result.Pieces.size());
        Result.Pieces.push_back(std::move(piece));
        return Result.Pieces.back().Bit;
    }

    // The comparison of code that ends "0 op 1 -".
    static TTokenCode ComparisonOf(QStringView code)
    {
        const TTokenCode op = FindRelationOperator(code);
        if (op == 0 || !IsComparison(op) || code.size() < 4)
            return 0;
        const qsizetype n = code.size();
        const bool tail = At(code, n - 4) == Vocabulary.ConstTokens[0] && At(code, n - 2) == Vocabulary.ConstTokens[1] &&
                          At(code, n - 1) == TokenCodes.Minus;
        return tail ? op : TTokenCode(0);
    }

    bool stopped_ = false;
};

} // namespace

TFormulaView TRelationPiece::Difference() const
{
    const QStringView code = Func.Code;
    return TFormulaView{Operator != 0 ? code.chopped(4) : code, &Func.ConstValues};
}

bool TRelationPiece::IsEquation() const
{
    return Operator == 0 || Operator == TokenCodes.Equal;
}

bool TRelationPiece::IsStrict() const
{
    return Operator == TokenCodes.Greater || Operator == TokenCodes.Less || Operator == TokenCodes.NotEqual;
}

TRelationPieces SplitRelation(const TEquationFunction& record)
{
    TTokenString tokens = record.Func.NormText;
    QString message;
    if (tokens.isEmpty() || !CheckObjectRefs(tokens, message))
        return {};
    const TTokenString clean = WithoutBlanks(tokens);
    Splitter splitter;
    std::vector<std::uint8_t> masks = splitter.Alternatives(StripEnclosing(clean), 0);
    splitter.Result.Masks = std::move(masks);
    return std::move(splitter.Result);
}

bool IsExplicitRelation(const TKavirofunction& piece)
{
    QString text = piece.Text;
    text.remove(u' ');
    if (text.size() < 3 || text[0] != u'y' || !QStringView(u"+-><=").contains(text[1]))
        return false;
    const QStringView code = piece.Code;
    return !code.isEmpty() && !code.sliced(1).contains(QChar(TokenCodes.VarY));
}
