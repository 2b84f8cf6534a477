#include "engine/References.h"

#include "engine/Brackets.h"
#include "engine/TokenCode.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/MessageBox.h"
#include "model/ObjectNames.h"
#include "model/Options.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

const QString CircularReferenceMessage = QStringLiteral("Refere à circulação da função");

// A record referenced by one token of a compiled string.
struct TReference {
    bool badObject = false;                 // P(n, c) with n outside 1..22
    int object = 0;                         // object slot of a letter or P(n, c)
    bool userFunction = false;
    const TKavirofunction* record = nullptr; // null: nothing to walk
};

const TKavirofunction* ComponentFormula(const TPointFunction& p, int component)
{
    switch (component) {
    case 0: return &p.Pos;
    case 1: return &p.X;
    case 2: return &p.Y;
    case 3: return &p.R;
    default: return nullptr;
    }
}

// The reference made by the token at index i of code, if any.
bool ReferenceAt(QStringView code, qsizetype i, TReference& ref)
{
    const TTokenCode t = code[i].unicode();
    const TTokenVocabulary& v = Vocabulary;
    const TDocumentTables& doc = DocumentTables;
    ref = TReference{};
    if (CharSetHas(v.PointTokenClass, t)) {
        ref.object = t - v.PointTokens[1] + 1;
        ref.record = &doc.Points[ref.object].Pos;
    } else if (t == TokenCodes.PointFunc) {
        // Object and component are the two constants just before P.
        const int n = i >= 2 ? ConstantSlot(code[i - 2].unicode()) : 0;
        const int c = i >= 1 ? ConstantSlot(code[i - 1].unicode()) : -1;
        if (n < 1 || n > PointCount) {
            ref.badObject = true;
        } else {
            ref.object = n;
            ref.record = ComponentFormula(doc.Points[n], c);
        }
    } else if (CharSetHas(v.GraphTokens, t)) {
        ref.record = &doc.Functions[v.FunctionIndexOfToken[t]].Func;
    } else if (CharSetHas(v.RelationNameTokens, t)) {
        ref.record = &doc.Relations[v.RelationIndexOfToken[t]].Func;
    } else if (CharSetHas(v.UserFunctionTokenClass, t)) {
        const int index = UserFunctionIndex(v.TokenTable[t].Name.toLower());
        if (index == 0)
            return false;
        ref.userFunction = true;
        ref.record = &doc.UserFunctions[index];
    } else {
        return false;
    }
    return true;
}

// The scanned tokens of a record, without a raw text after a scanning error.
QStringView ScannedTokens(const TKavirofunction& record)
{
    const qsizetype error = record.NormText.indexOf(QChar(TokenCodes.Error));
    return QStringView(record.NormText).left(error < 0 ? record.NormText.size() : error);
}

// The records a walk has met. A walk meets only a few records, and a search
// runs for every traced object at every trace record, so the first ones are
// kept inline and searched linearly instead of hashed on the heap.
class VisitedRecords {
public:
    // True when record had not been met before.
    bool insert(const TKavirofunction* record)
    {
        const auto inlineEnd = inline_.begin() + std::min(count_, inline_.size());
        if (std::find(inline_.begin(), inlineEnd, record) != inlineEnd
            || std::find(overflow_.begin(), overflow_.end(), record) != overflow_.end())
            return false;
        if (count_ < inline_.size())
            inline_[count_] = record;
        else
            overflow_.push_back(record);
        ++count_;
        return true;
    }

private:
    std::array<const TKavirofunction*, 24> inline_{};
    std::size_t count_ = 0;
    std::vector<const TKavirofunction*> overflow_;
};

// Each record is walked at most once: whether it leads to the tokens does not
// depend on the path that reached it.
class TokenSearch {
public:
    explicit TokenSearch(TTokenCode token)
    {
        tokens_.Flags[token] = true;
        const TNamedTokens& t = TokenCodes;
        // A user function's x, y and θ are its own arguments.
        skipUserFunctions_ = token == t.VarX || token == t.VarY || (token == t.Theta && Options.ThetaMode == 1);
    }
    // Any of tokens, which holds no variable.
    explicit TokenSearch(const TWideCharSet& tokens)
        : tokens_(tokens)
    {
    }

    bool walk(const TKavirofunction& record)
    {
        if (found_ || !visited_.insert(&record))
            return found_;
        if (FirstFound(ScannedTokens(record)) != 0)
            return found_ = true;
        return walkCode(record.Code);
    }

    bool walkCode(QStringView code)
    {
        if (found_)
            return true;
        if (FirstFound(code) != 0)
            return found_ = true;
        TReference ref;
        for (qsizetype i = 0; i < code.size() && !found_; ++i) {
            if (!ReferenceAt(code, i, ref))
                continue;
            if (ref.badObject
                || (code[i] == QChar(TokenCodes.PointFunc) && CharSetHas(tokens_, Vocabulary.PointTokens[ref.object])))
                return found_ = true;
            if (ref.record && !(ref.userFunction && skipUserFunctions_))
                walk(*ref.record);
        }
        return found_;
    }

private:
    // The first of the tokens in code, 0 when there is none.
    TTokenCode FirstFound(QStringView code) const
    {
        for (const QChar c : code)
            if (CharSetHas(tokens_, c.unicode()))
                return c.unicode();
        return 0;
    }

    TWideCharSet tokens_;
    bool skipUserFunctions_ = false;
    bool found_ = false;
    VisitedRecords visited_;
};

// Records of the document and what stands in for them during one check: a
// record about to be stored is walked where the stored one would be.
using TStandIns = std::vector<std::pair<const TKavirofunction*, const TKavirofunction*>>;

// Longest chain of references below each record, with cycles detected on the
// current path; each record is measured once.
class ChainMeasure {
public:
    static constexpr int Limit = 101; // a chain reaching depth 101 is circular

    ChainMeasure() = default;
    explicit ChainMeasure(TStandIns standIns)
        : standIns_(std::move(standIns))
    {
    }

    // Number of records on the longest chain starting at record, counting
    // it; Limit + 1 for a cycle or a bad object number.
    int height(const TKavirofunction& record)
    {
        if (const auto known = heights_.find(&record); known != heights_.end())
            return known->second;
        if (!onPath_.insert(&record).second)
            return Limit + 1;
        int below = 0;
        const QStringView code(record.Code);
        TReference ref;
        for (qsizetype i = 0; i < code.size() && below <= Limit; ++i) {
            if (!ReferenceAt(code, i, ref))
                continue;
            if (ref.badObject)
                below = Limit + 1;
            else if (ref.record)
                below = std::max(below, height(StandInFor(*ref.record)));
        }
        onPath_.erase(&record);
        const int h = std::min(below + 1, Limit + 1);
        heights_.emplace(&record, h);
        return h;
    }

private:
    const TKavirofunction& StandInFor(const TKavirofunction& record) const
    {
        for (const auto& [stored, standIn] : standIns_)
            if (stored == &record)
                return *standIn;
        return record;
    }

    TStandIns standIns_;
    std::unordered_map<const TKavirofunction*, int> heights_;
    std::unordered_set<const TKavirofunction*> onPath_;
};

} // namespace

void ShowCircularReferenceMessage()
{
    ShowMsgBox(CircularReferenceMessage, MsgError, MsgOk);
}

bool RefersToToken(TTokenCode token, const TKavirofunction& record)
{
    return TokenSearch(token).walk(record);
}

bool CodeRefersToAnyOf(const TWideCharSet& tokens, QStringView code)
{
    return TokenSearch(tokens).walkCode(code);
}

bool ReadsChanceOrKeys(QStringView code)
{
    const TNamedTokens& t = TokenCodes;
    TWideCharSet tokens;
    for (const TTokenCode c : {t.Rnd, t.Pressed})
        tokens.Flags[c] = true;
    return CodeRefersToAnyOf(tokens, code);
}

bool ReadsGraphColumns(QStringView code)
{
    return CodeRefersToAnyOf(Vocabulary.GraphTokens, code);
}

bool PointRefersToToken(TTokenCode token, const TPointFunction& object)
{
    for (const TKavirofunction* f : {&object.X, &object.Y, &object.R, &object.Low, &object.High}) {
        if (RefersToToken(token, *f))
            return true;
    }
    return false;
}

namespace {

bool IsCircular(const TKavirofunction& record, const TStandIns& standIns = {})
{
    // The record itself stands at depth 0, so 102 records on one chain reach
    // depth 101, which is "deeper than 100".
    return ChainMeasure(standIns).height(record) > ChainMeasure::Limit;
}

// Shows the message when circular.
bool Circular(const TKavirofunction& record, const TStandIns& standIns)
{
    if (!IsCircular(record, standIns))
        return false;
    ShowCircularReferenceMessage();
    return true;
}

const TKavirofunction* StoredFormula(TFormulaTable table, int n)
{
    const TDocumentTables& doc = DocumentTables;
    switch (table) {
    case TFormulaTable::Functions:
        return n >= 1 && n <= FunctionCount ? &doc.Functions[n].Func : nullptr;
    case TFormulaTable::Relations:
        return n >= 1 && n <= RelationCount ? &doc.Relations[n].Func : nullptr;
    case TFormulaTable::UserFunctions:
        return n >= 1 && n <= UserFunctionCount ? &doc.UserFunctions[n] : nullptr;
    }
    return nullptr;
}

} // namespace

bool CheckCircularity(const TKavirofunction& record)
{
    return Circular(record, {});
}

bool CheckCircularityAs(TFormulaTable table, int n, const TKavirofunction& candidate)
{
    TStandIns standIns;
    if (const TKavirofunction* stored = StoredFormula(table, n))
        standIns.emplace_back(stored, &candidate);
    return Circular(candidate, standIns);
}

bool CheckCircularityAs(int n, const TPointFunction& candidate)
{
    TStandIns standIns;
    if (n >= 1 && n <= PointCount) {
        const TPointFunction& stored = DocumentTables.Points[n];
        for (auto [from, to] : {std::pair{&stored.Pos, &candidate.Pos}, std::pair{&stored.X, &candidate.X},
                                std::pair{&stored.Y, &candidate.Y}, std::pair{&stored.R, &candidate.R},
                                std::pair{&stored.Low, &candidate.Low}, std::pair{&stored.High, &candidate.High}})
            standIns.emplace_back(from, to);
    }
    return Circular(candidate.X, standIns) || Circular(candidate.Y, standIns) || Circular(candidate.R, standIns);
}

int GiveCircularRecordsNoCode()
{
    int cleared = 0;
    const auto check = [&cleared](TKavirofunction& f) {
        if (!f.Code.isEmpty() && IsCircular(f)) {
            f.Code.clear();
            ++cleared;
        }
    };
    TDocumentTables& t = DocumentTables;
    for (TKavirofunction& f : t.UserFunctions)
        check(f);
    for (TEquationFunction& f : t.Functions)
        check(f.Func);
    for (TEquationFunction& f : t.Relations)
        check(f.Func);
    for (TPointFunction& p : t.Points) {
        for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R, &p.Low, &p.High})
            check(*f);
    }
    return cleared;
}

namespace {

// A constant, negated or not, at code[i]: where it ends, or -1.
qsizetype SignedConstantEnd(QStringView code, qsizetype i)
{
    if (i >= code.size() || !IsConstantCode(code[i].unicode()))
        return -1;
    ++i;
    if (i < code.size() && code[i].unicode() == TokenCodes.Underscore)
        ++i;
    return i;
}

// The compiled form of a number written as mantissa*10^(exponent), as the
// mouse writes very small numbers into formulas: a signed constant, the
// constant 10, a signed constant, a power and a product.
bool IsPowerOfTenForm(QStringView code)
{
    const qsizetype afterMantissa = SignedConstantEnd(code, 0);
    if (afterMantissa < 0 || afterMantissa >= code.size() || code[afterMantissa].unicode() != ConstantCode(10))
        return false;
    const qsizetype afterExponent = SignedConstantEnd(code, afterMantissa + 1);
    return afterExponent >= 0 && code.size() == afterExponent + 2 &&
           code[afterExponent].unicode() == TokenCodes.Power && code[afterExponent + 1].unicode() == TokenCodes.Dot;
}

} // namespace

bool IsConstantExpression(const TKavirofunction& record)
{
    if (record.Code.isEmpty())
        return false;
    if (IsPowerOfTenForm(record.Code))
        return true;
    const TNamedTokens& t = TokenCodes;
    return std::all_of(record.Code.begin(), record.Code.end(), [&t](QChar ch) {
        const TTokenCode c = ch.unicode();
        return IsConstantCode(c) || c == t.Blank || c == t.Underscore
               || c == t.Comma || c == t.OpenParen || c == t.CloseParen;
    });
}

namespace {

bool HasTopLevelAnd(QStringView tokens)
{
    int depth = 0;
    for (QChar c : tokens) {
        depth += BracketDelta(c.unicode());
        if (depth == 0 && c == QChar(TokenCodes.And))
            return true;
    }
    return false;
}

// Expansion stops being plausible long before these: stored formulas are
// short and free of cycles.
constexpr int MaxExpansions = 10000;
constexpr qsizetype MaxExpandedLength = 100000;

enum class Expansion { Done, EmptySlot, Runaway };

// Replaces every name of the class by its slot's scanned tokens until none is left.
Expansion ExpandNames(TTokenString& tokens, const TWideCharSet& names, bool relations)
{
    int expansions = 0;
    for (qsizetype i = 0; i < tokens.size();) {
        const TTokenCode t = tokens[i].unicode();
        if (!CharSetHas(names, t)) {
            ++i;
            continue;
        }
        const TKavirofunction& f = relations ? DocumentTables.Relations[Vocabulary.RelationIndexOfToken[t]].Func
                                             : DocumentTables.Functions[Vocabulary.FunctionIndexOfToken[t]].Func;
        if (f.NormText.isEmpty())
            return Expansion::EmptySlot;
        if (++expansions > MaxExpansions || tokens.size() + f.NormText.size() + 2 > MaxExpandedLength)
            return Expansion::Runaway;
        TTokenString inserted = f.NormText;
        if (!relations || !HasTopLevelAnd(inserted))
            inserted = QChar(TokenCodes.OpenParen) + inserted + QChar(TokenCodes.CloseParen);
        tokens.replace(i, 1, inserted);
        // Scan the inserted tokens too: they may name further slots.
    }
    return Expansion::Done;
}

} // namespace

bool CheckObjectRefs(TTokenString& tokens, QString& message)
{
    for (bool relations : {true, false}) {
        const Expansion e = ExpandNames(tokens, relations ? Vocabulary.RelationNameTokens : Vocabulary.GraphTokens, relations);
        if (e == Expansion::Done)
            continue;
        tokens.clear();
        message = e == Expansion::EmptySlot ? QStringLiteral("Refira a objeto não definido")
                                            : CircularReferenceMessage;
        return false;
    }
    return true;
}
