#include "engine/TokenTable.h"

#include "engine/TokenDumpViewer.h"
#include "model/Options.h"
#include "platform/ServiceSlot.h"

#include <cassert>
#include <utility>
#include <vector>

TTokenVocabulary Vocabulary;
TNamedTokens TokenCodes;

namespace {

class NoTokenDumpViewer final : public TTokenDumpViewer {
public:
    void ShowTokenDump(const QString&) override {}
};

// The vocabulary in scanning order: the scanner takes the first entry whose
// name matches, so the order is part of the language.
std::vector<std::pair<QString, QString>> BuildVocabulary()
{
    std::vector<std::pair<QString, QString>> v;
    auto add = [&v](const char* name, const char* kind) {
        v.emplace_back(QString::fromUtf8(name), QString::fromUtf8(kind));
    };
    // 1..95: separators, binders, postfix and binary operators, functions.
    const char* const head[][2] = {
        {" ", "z "},         {",", "z,"},         {"Sum", "zs"},      {"Intgr", "zi"},
        {"cof", "zc"},       {"Product", "zp"},   {"Send", "Z:"},     {"!", "mf"},
        {"°", "md"},         {".x", "mx"},        {".y", "my"},       {".r", "mr"},
        {"and", "a&"},       {"or", "a\""},       {">=", "a>"},       {"<=", "a<"},
        {"<>", "a{"},        {">", "a}"},         {"<", "a="},        {"=", "a\\"},
        {"+", "a+"},         {"-", "al"},         {"×", "a?"},        {"·", "a*"},
        {"/", "a/"},         {"^", "a^"},         {"mod", "a\\"},     {"%", "a%"},
        {"arg", "rm"},       {"det", "rd"},       {"rot", "rr"},      {"mid", "rd"},
        {"max", "ra"},       {"min", "ri"},       {"polygon", "rp"},  {"len", "rn"},
        {"path", "rs"},      {"solut4", "rl"},    {"projz", "rr"},    {"proj", "rj"},
        {"bezier", "rz"},    {"rgb", "rg"},       {"hsl", "rh"},      {"intr", "rt"},
        {"perpL", "re"},     {"perp", "re"},      {"Ccentr", "rc"},   {"Icentr", "rc"},
        {"Hcentr", "rc"},    {"Gcentr", "rg"},    {"Ecentr", "re"},   {"Crad", "rr"},
        {"Irad", "rr"},      {"Ptan", "rv"},      {"nCr", "qm"},      {"P", "qg"},
        {"CPS", "qc"},       {"VEC", "qv"},       {"NORM", "qn"},     {"Beta", "qb"},
        {"gcd", "qg"},       {"lcm", "ql"},       {"CellsP", "qc"},   {"Cells", "qc"},
        {"Asin", "oa"},      {"Acos", "ob"},      {"Atan", "oc"},     {"not", "oc"},
        {"cosh", "nh"},      {"sinh", "nh"},      {"tanh", "nh"},     {"conj", "nj"},
        {"sin", "ns"},       {"cos", "ns"},       {"tan", "ns"},      {"Sqrt", "nq"},
        {"Cbrt", "nr"},      {"log", "nl"},       {"ln", "ne"},       {"_", "ny"},
        {"exp", "nz"},       {"abs", "nz"},       {"int", "nz"},      {"round", "nz"},
        {"frc", "nz"},       {"sign", "nz"},      {"unit", "nz"},     {"rnd", "nz"},
        {"Gamma", "nz"},     {"Stepsize", "nz"},  {"area", "nz"},     {"roll", "nz"},
        {"Pressed", "nz"},   {"log", "ql"},       {"sol", "zs"},
    };
    for (const auto& e : head)
        add(e[0], e[1]);

    // 96..115: graph names y1..y20, kinds y1..y9 then ya..yk.
    for (int i = 1; i <= 20; ++i) {
        const QChar sub = i <= 9 ? QChar(u'0' + i) : QChar(u'a' + (i - 10));
        v.emplace_back(QStringLiteral("y%1").arg(i), QString(u'y') + sub);
    }

    // 116..157: variables, parameters, constants, primes, user functions.
    const char* const middle[][2] = {
        {"w", "kw"},   {"z", "kz"},     {"x", "kx"},     {"y", "ky"},  {"a", "k1"},
        {"b", "k2"},   {"c", "k3"},     {"d", "k4"},     {"m", "k5"},  {"n", "k6"},
        {"p", "k7"},   {"q", "k8"},     {"s", "k9"},     {"t", "k0"},  {"u", "ka"},
        {"v", "kb"},   {"@", "kq"},     {"k", "kd"},     {"Pi", "ke"}, {"e", "kf"},
        {"r", "kr"},   {"SZERO", "k0"}, {"i", "ki"},     {"MouseIs", "kM"},
        {"''", "gs"},  {"'", "gt"},     {"f1", "fa"},    {"f2", "fb"}, {"f3", "fa"},
        {"f4", "fb"},  {"f5", "fa"},    {"f", "fc"},     {"g", "fd"},  {"h", "fe"},
        {"F1", "Ff"},  {"F2", "Fg"},    {"F3", "Ff"},    {"F4", "Fg"}, {"F5", "Ff"},
        {"F", "Fh"},   {"G", "Fi"},     {"H", "Fj"},
    };
    for (const auto& e : middle)
        add(e[0], e[1]);

    // 158..166: relation names C1..C9, each its own kind.
    for (int i = 1; i <= 9; ++i) {
        const QString name = QStringLiteral("C%1").arg(i);
        v.emplace_back(name, name);
    }
    // 167..188: the object letters, kind 'p' + the letter in lower case.
    for (QChar letter : QStringLiteral("PQRSTUVABCDEFGHIJKLMNO"))
        v.emplace_back(QString(letter), QString(u'p') + letter.toLower());

    // 189..196: axes, brackets, decimal point, error.
    const char* const tail[][2] = {
        {"X", "px"}, {"Y", "py"}, {"(", "c("}, {")", "c)"},
        {"[", "c["}, {"]", "c]"}, {".", "b."}, {"error", "!r"},
    };
    for (const auto& e : tail)
        add(e[0], e[1]);

    // 197..206: the digits.
    for (int d = 0; d <= 9; ++d)
        v.emplace_back(QString(QChar(u'0' + d)), QString(u'b') + QChar(u'0' + d));

    assert(v.size() == VocabularySize);
    return v;
}

// First code whose name is `name` and whose class letter is `cls`.
TTokenCode FindTokenOfClass(const TTokenVocabulary& voc, const QString& name, QChar cls)
{
    for (int code = 1; code <= VocabularySize; ++code) {
        const TTokenEntry& e = voc.TokenTable[code];
        if (e.Name == name && e.classLetter() == cls)
            return static_cast<TTokenCode>(code);
    }
    return 0;
}

void ResolveNamedTokens(const TTokenVocabulary& voc, TNamedTokens& named)
{
#define KAVIRO_RESOLVE_TOKEN(field, name, cls)                                                     \
    named.field = FindTokenOfClass(voc, QString::fromUtf8(name), QChar(u##cls));                   \
    assert(named.field != 0);
    KAVIRO_NAMED_TOKENS(KAVIRO_RESOLVE_TOKEN)
#undef KAVIRO_RESOLVE_TOKEN
}

void BuildClasses(TTokenVocabulary& voc, const TNamedTokens& t)
{
    auto byLetter = [&voc](TWideCharSet& set, QStringView letters) {
        for (int code = 1; code <= VocabularySize; ++code) {
            if (letters.contains(voc.TokenTable[code].classLetter()))
                set.Flags.set(code);
        }
    };
    auto byKind = [&voc](TWideCharSet& set, QStringView kind) {
        for (int code = 1; code <= VocabularySize; ++code) {
            if (voc.TokenTable[code].Kind == kind)
                set.Flags.set(code);
        }
    };

    CharSetIncludeRange(voc.ConstantTokens, FirstConstantCode, LastConstantCode);
    byLetter(voc.GraphTokens, u"y");
    byLetter(voc.BinaryOperatorTokens, u"a");
    byLetter(voc.VariableTokens, u"k");
    CharSetIncludeRange(voc.ParameterTokens, t.ParamA, t.ParamK);
    byLetter(voc.PointAndAxisTokens, u"p");
    voc.PointTokenClass = voc.PointAndAxisTokens;
    voc.PointTokenClass.Flags.reset(t.AxisX);
    voc.PointTokenClass.Flags.reset(t.AxisY);
    byLetter(voc.FunctionNameTokens, u"noFfqr");
    byLetter(voc.OneArgumentTokens, u"n");
    byKind(voc.PlainFunctionTokens, u"nz");
    byLetter(voc.TwoArgumentTokens, u"q");
    byLetter(voc.MultiArgumentTokens, u"r");
    for (TTokenCode c : {t.Sum, t.Product, t.Cof, t.Intgr, t.Sol})
        voc.BinderTokens.Flags.set(c);
    byLetter(voc.PostfixTokens, u"m");
    byLetter(voc.UserFunctionTokenClass, u"fF");
    byLetter(voc.PrimeTokens, u"g");
    byLetter(voc.UpperUserFunctionTokens, u"F");
    byLetter(voc.InverseTrigTokens, u"o");
    byLetter(voc.DigitTokens, u"b");
    byKind(voc.TrigTokens, u"ns");
    CharSetIncludeRange(voc.LogicCompareTokens, t.And, t.Equal);
    voc.AndOrTokens.Flags.set(t.And);
    voc.AndOrTokens.Flags.set(t.Or);
    byLetter(voc.RelationNameTokens, u"C");
}

void BuildIndexTables(TTokenVocabulary& voc, const TNamedTokens& t)
{
    for (int i = 1; i <= 14; ++i)
        voc.ParamTokens[i] = static_cast<TTokenCode>(t.ParamA + i - 1);

    const TTokenCode firstGraph = FindTokenByName(u"y1");
    for (int i = 1; i <= 20; ++i) {
        voc.FunctionTokens[i] = static_cast<TTokenCode>(firstGraph + i - 1);
        voc.FunctionIndexOfToken[voc.FunctionTokens[i]] = i;
    }
    const TTokenCode firstRelation = FindTokenByName(u"C1");
    for (int i = 1; i <= 9; ++i) {
        voc.RelationTokens[i] = static_cast<TTokenCode>(firstRelation + i - 1);
        voc.RelationIndexOfToken[voc.RelationTokens[i]] = i;
    }
    // The object letters, then the axes X and Y.
    const TTokenCode firstPoint = FindTokenOfClass(voc, QStringLiteral("P"), u'p');
    for (int i = 1; i <= 22; ++i)
        voc.PointTokens[i] = static_cast<TTokenCode>(firstPoint + i - 1);
    voc.PointTokens[23] = t.AxisX;
    voc.PointTokens[24] = t.AxisY;

    const char* const userNames[] = {"f", "g", "h", "f1", "f2", "f3", "f4", "f5"};
    for (int i = 1; i <= 8; ++i)
        voc.UserFunctionTokens[i] = FindTokenOfClass(voc, QString::fromUtf8(userNames[i - 1]), u'f');

    for (int k = -1; k <= 22; ++k)
        voc.ConstTokens[k] = ConstantCode(k);
}

} // namespace

void InitTokenTables()
{
    Vocabulary = TTokenVocabulary{};
    TokenCodes = TNamedTokens{};

    const auto entries = BuildVocabulary();
    for (std::size_t i = 0; i < entries.size(); ++i)
        Vocabulary.TokenTable[i + 1] = TTokenEntry{entries[i].first, entries[i].second};

    // Codes are looked up by their fixed names before the separators are renamed.
    ResolveNamedTokens(Vocabulary, TokenCodes);
    BuildClasses(Vocabulary, TokenCodes);
    BuildIndexTables(Vocabulary, TokenCodes);

    Vocabulary.TokenTable[TokenCodes.DecimalPoint].Name = QString(Separators.DecimalChar);
    Vocabulary.TokenTable[TokenCodes.Comma].Name = QString(Separators.ListSepChar);

    for (int code = 1; code <= VocabularySize; ++code) {
        const QString& name = Vocabulary.TokenTable[code].Name;
        Vocabulary.EntriesByFirstChar[name.at(0).unicode()].push_back(static_cast<TTokenCode>(code));
    }
}

TTokenCode FindTokenByName(QStringView name)
{
    for (int code = 1; code <= VocabularySize; ++code) {
        if (Vocabulary.TokenTable[code].Name == name)
            return static_cast<TTokenCode>(code);
    }
    return 0;
}

int ParamIndexOfToken(TTokenCode code)
{
    return static_cast<int>(code) - TokenCodes.ParamA + 1;
}

namespace {

// The name of a code; U+FFFD for a code with no name.
void AppendTokenName(QString& text, char16_t code)
{
    if (code >= 1 && code <= VocabularySize)
        text += Vocabulary.TokenTable[code].Name;
    else
        text += QChar(0xFFFD);
}

} // namespace

QString TokensToText(QStringView tokens)
{
    QString text;
    for (QChar c : tokens)
        AppendTokenName(text, c.unicode());
    return text;
}

QString DumpTokens(QStringView tokens)
{
    QString text;
    for (QChar c : tokens) {
        const char16_t code = c.unicode();
        if (IsConstantCode(code))
            text += u'0';
        else
            AppendTokenName(text, code);
    }
    platform::InstalledOr<TTokenDumpViewer, NoTokenDumpViewer>().ShowTokenDump(text);
    return text;
}
