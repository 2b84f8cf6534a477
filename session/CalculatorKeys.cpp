#include "session/CalculatorKeys.h"

#include "engine/TokenTable.h"
#include "engine/Tokenizer.h"
#include "model/Options.h"

#include <algorithm>

namespace {

using K = TCalcKeyKind;

// The keys of one group, added in order.
class TKeyBuilder {
public:
    explicit TKeyBuilder(std::vector<TCalcKey>& keys)
        : keys_(keys)
    {
    }
    void SetGroup(int group) { group_ = group; }

    TCalcKey& Add(const QString& name, K kind, const QString& caption, const QString& insert = {}, int tag = 0,
                  const QString& hint = {})
    {
        TCalcKey key;
        key.Name = name;
        key.Group = group_;
        key.Kind = kind;
        key.Caption = caption;
        key.Insert = insert;
        key.Tag = tag;
        key.Hint = hint.isEmpty() ? QString() : LocaliseHint(hint);
        keys_.push_back(key);
        return keys_.back();
    }
    // A function called with n arguments; its caption is its name.
    TCalcKey& Named(const QString& name, int n, const QString& hint = {})
    {
        return Add(QStringLiteral("SB") + name, K::Named, name, name, n, hint);
    }
    TCalcKey& Text(const QString& name, const QString& caption, const QString& text, const QString& hint = {})
    {
        return Add(name, K::Text, caption, text, 0, hint);
    }
    // A letter or symbol inserted as shown.
    TCalcKey& Point(const QString& name, const QString& caption, const QString& hint = {})
    {
        return Add(name, K::Point, caption, {}, 0, hint);
    }
    TCalcKey& Symbol(const QString& name, const QString& caption, const QString& hint = {})
    {
        return Add(name, K::Symbol, caption, {}, 0, hint);
    }

private:
    std::vector<TCalcKey>& keys_;
    int group_ = 0;
};

QString S(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// Digits, separators, the four operations, brackets, the parameters and
// the editing keys: enough for any number field.
void AddKeypad(TKeyBuilder& b)
{
    b.SetGroup(0);
    const QString decimal(Separators.DecimalChar);
    const QString listSep(Separators.ListSepChar);
    for (const char* digit : {"7", "8", "9", "4", "5", "6", "1", "2", "3", "0"})
        b.Symbol(QStringLiteral("SBDigit") + S(digit), S(digit));
    b.Symbol(QStringLiteral("SBDecimal"), decimal, S("ponto decimal"));
    b.Symbol(QStringLiteral("SBListSep"), listSep);
    for (const auto& [name, caption] : {std::pair{"SBPlus", "+"}, {"SBMinus", "-"}, {"SBTimes", "*"},
                                        {"SBDivide", "/"}, {"SBOpen", "("}, {"SBClose", ")"}})
        b.Symbol(S(name), S(caption));
    b.Text(QStringLiteral("SBPower"), QStringLiteral("^"), QStringLiteral("^"), S("potência"));
    b.Text(QStringLiteral("SBSquare"), QStringLiteral("x²"), QStringLiteral("^2 "), S("quadrado"));
    b.Text(QStringLiteral("SBSqrt"), QStringLiteral("√"), QStringLiteral("Sqrt"), S("raiz quadrada"));
    b.Text(QStringLiteral("SBPi"), QStringLiteral("π"), QStringLiteral("Pi"));
    b.Text(QStringLiteral("SBSpace"), QStringLiteral("␣"), QStringLiteral(" "), S("espaço"));
    b.Point(QStringLiteral("SBx"), QStringLiteral("x"), S("variável"));
    const char* params = "abcdmnpqstuvk";
    for (int i = 0; i < 13; ++i)
        b.Point(QStringLiteral("SBP%1").arg(i + 1), QString(QChar::fromLatin1(params[i])), S("parâmetro"));
    b.Add(QStringLiteral("SBLeft"), K::CaretLeft, QStringLiteral("←"));
    b.Add(QStringLiteral("SBRight"), K::CaretRight, QStringLiteral("→"));
    b.Add(QStringLiteral("SBBack"), K::Backspace, QStringLiteral("⌫"));
    b.Add(QStringLiteral("SBDel"), K::Delete, QStringLiteral("Del"));
    // Square brackets are absolute value bars; the caret lands between them.
    b.Add(QStringLiteral("SBAbsBars"), K::CallForm, QStringLiteral("[]"), {}, 1, S("absoluto"));
}

void AddFunctions(TKeyBuilder& b)
{
    b.SetGroup(1);
    for (const char* name : {"sin", "cos", "tan", "Asin", "Acos", "Atan", "sinh", "cosh", "tanh", "ln", "exp"})
        b.Named(S(name), 1);
    b.Named(QStringLiteral("log"), 1).Name = QString::fromLatin1(CalcLogKeyName);
    const QString listSep(Separators.ListSepChar);
    b.Add(QStringLiteral("SBlogBase"), K::CallForm, QStringLiteral("log( ") + listSep + QStringLiteral(" )"), {}, 4,
          S("(base,x)"));
    b.Text(QStringLiteral("SBCbrt"), QStringLiteral("∛"), QStringLiteral("Cbrt"), S("raiz cúbica"));
    b.Text(QStringLiteral("SBCube"), QStringLiteral("x³"), QStringLiteral("^3 "), S("cubo"));
    b.Text(QStringLiteral("SBFourth"), QStringLiteral("x⁴"), QStringLiteral("^4 "));
    b.Text(QStringLiteral("SBInverse"), QStringLiteral("x⁻¹"), QStringLiteral("^(-1) "));
    b.Symbol(QStringLiteral("SBDegree"), QStringLiteral("°"), S("grau -> radiano : Ex 45°"));
    b.Symbol(QStringLiteral("SBFactorial"), QStringLiteral("!"), S("fatorial : Ex 3 !")).Use = TCalcKeyUse::RealOnly;
    b.Point(QStringLiteral("SBe"), QStringLiteral("e"));
    b.Point(QStringLiteral("SBi"), QStringLiteral("i")).Use = TCalcKeyUse::ComplexOnly;
    b.Symbol(QStringLiteral("SBmod"), QStringLiteral(" mod "), S("x mod y"));
    b.Named(QStringLiteral("abs"), 1, S("absoluto : abs(x)"));
    b.Named(QStringLiteral("sign"), 1, S("sinal : sign(3)=1 , sign(-2)=-1 , sign(0)=0"));
    b.Named(QStringLiteral("int"), 1, S("inteiro : int(3.2)=3 , int(-3.2)=-4")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("round"), 1, S("redondo")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("frc"), 1, S("fração : frc(3.2)=0.2 , frc(-3.2)=0.8")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("nCr"), 2, S("combinação : nCr(6,2)=15")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("max"), 2, S("máximo : max(x1,x2,...,...)")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("min"), 2, S("mínimo : min(x1,x2,...,...)")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("gcd"), 2, S("M.D.C. : gcm(6,9)=3")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("lcm"), 2, S("M.M.C. : lcm(6,9)=18")).Use = TCalcKeyUse::RealOnly;
    b.Named(QStringLiteral("rnd"), 1,
            S("rnd(1)=(número real randômico em [0.1] , rnd(n)=(número inteiro randômico entre [0..n-1])"));
    b.Named(QStringLiteral("Gamma"), 1, S("Função Gama: Gamma(x)"));
    b.Named(QStringLiteral("Beta"), 2, S("Função Beta: Beta(x,y)"));
    b.Named(QStringLiteral("Sum"), 4,
            S("Sum(parâmetro, número inicial, último número, equação) , Ex : Sum(k,1,n,k^2)"));
    b.Named(QStringLiteral("Product"), 4,
            S("Product(parâmetro, número inicial, último número, equação) , Ex : Product(k,1,n,k^2)"));
    b.Named(QStringLiteral("Intgr"), 4, S("Igr(parâmetro, inferior, superior, equação)"));
    b.Named(QStringLiteral("sol"), 2,
            S("solução de equação cúbica : sol(f(x)=g(x),ordem), Ex : sol(x^2=4,1)=-2,sol(x^2=4,2)=2"));
    b.Named(QStringLiteral("cof"), 2, S("coeficiente : cof(dimensão, equação) , Ex: cof(1,(x+3)^2)=6"));
}

// Variables and names of relations and user functions, comparisons and logic.
void AddRelationKeys(TKeyBuilder& b)
{
    b.SetGroup(2);
    b.Point(QStringLiteral("SBy"), QStringLiteral("y"), S("variável"));
    b.Point(QStringLiteral("SBz"), QStringLiteral("z"), S("variável"));
    b.Point(QStringLiteral("SBw"), QStringLiteral("w"), S("variável"));
    b.Point(QStringLiteral("SBr"), QStringLiteral("r"),
            S("variável / distância da origem em Relação ou FunçãoUsr"));
    b.Text(QStringLiteral("SBTheta"), QStringLiteral("θ"), QStringLiteral("@"),
           S("parâmetro / argumento em Relação ou FunçãoUsr"));
    for (const char* name : {"f", "g", "h", "f1", "f2", "f3", "f4", "f5"})
        b.Named(S(name), 1, S("função do usuário"));
    b.Point(QStringLiteral("SBPrime"), QStringLiteral("'"), S("derivada"));
    b.Point(QStringLiteral("SBPrime2"), QStringLiteral("''"), S("segunda derivada"));
    b.Point(QStringLiteral("SBAnti"), QStringLiteral("_"), S("antiderivada"));
    b.Symbol(QStringLiteral("SBEqual"), QStringLiteral("="));
    b.Symbol(QStringLiteral("SBLess"), QStringLiteral("<")).Use = TCalcKeyUse::RealOnly;
    b.Symbol(QStringLiteral("SBGreater"), QStringLiteral(">")).Use = TCalcKeyUse::RealOnly;
    b.Text(QStringLiteral("SBLessEq"), QStringLiteral("≤"), QStringLiteral("<=")).Use = TCalcKeyUse::RealOnly;
    b.Text(QStringLiteral("SBGreaterEq"), QStringLiteral("≥"), QStringLiteral(">=")).Use = TCalcKeyUse::RealOnly;
    b.Text(QStringLiteral("SBNotEqual"), QStringLiteral("≠"), QStringLiteral("<>"));
    b.Symbol(QStringLiteral("SBand"), QStringLiteral(" and "), S("interseção"));
    b.Symbol(QStringLiteral("SBor"), QStringLiteral(" or "), S("união"));
    b.Named(QStringLiteral("not"), 1);
    b.Named(QStringLiteral("area"), 1, S("Domínio : area(0)<x<area(2) : area(1)<y<area(3)"));
    b.Named(QStringLiteral("Cells"), 2, S("Células da Tabela FCelulas(linha Ccol)"));
}

// Points, vectors and the geometry of points.
void AddPointKeys(TKeyBuilder& b)
{
    b.SetGroup(3);
    const QString letters = QStringLiteral("PQRSTUVABCDEFGHIJKLMN");
    for (QChar letter : letters)
        b.Point(QStringLiteral("SBPt") + letter, QString(letter), S("ponto (coordenadas)"));
    b.Point(QStringLiteral("SBPtO"), QStringLiteral("O"), S("Origem"));
    const QString listSep(Separators.ListSepChar);
    b.Add(QStringLiteral("SBPair"), K::CallForm, QStringLiteral("(") + listSep + QStringLiteral(")"), {}, 2,
          S("ponto (x,y)"));
    b.Point(QStringLiteral("SBDotX"), QStringLiteral(".x"), S("x-componente"));
    b.Point(QStringLiteral("SBDotY"), QStringLiteral(".y"), S("y-componente"));
    b.Point(QStringLiteral("SBDotR"), QStringLiteral(".r"), S("raio"));
    b.Add(QStringLiteral("SBLength"), K::CallForm, QStringLiteral("[]"), {}, 1,
          S("comprimento de vetor : [P] , [PQ] , [Q-P]"));
    b.Named(QStringLiteral("arg"), 1, S("argumento : arg(P),arg(x,y), angle : arg(A,B,C)"));
    b.Named(QStringLiteral("conj"), 1, S("conjugado complexo : conj(P)")).Use = TCalcKeyUse::ComplexOnly;
    b.Named(QStringLiteral("unit"), 1, S("vetor unitário : unit(P)=P/norm(P)"));
    b.Text(QStringLiteral("SBInner"), QStringLiteral("·"), QStringLiteral("*"), S("produto interno : P·Q"));
    b.Symbol(QStringLiteral("SBCross"), QStringLiteral("×"));
    b.Named(QStringLiteral("det"), 2, S("determinante : det(P1,P2) . det(x1,y1,x2,y2)"));
    b.Named(QStringLiteral("rot"), 2,
            S("rotacionar: rot(P, angle), rotacionar(ângulo reto): rot(P), rotacionar(A como centro): "
              "rot(P,A,angle)"));
    b.Named(QStringLiteral("roll"), 1, S("roll(t) = (cos t,sin t)"));
    b.Named(QStringLiteral("mid"), 2, S("ponto médio : mid(A,B), ponto divisor : mid(A,B,m,n)"));
    b.Named(QStringLiteral("intr"), 4,
            S("2retas AB&CD: intr(A,B,C,D); AB&circuloC,r: intr(A,B,C,r); 2cirC,r1,D,r2: intr(C,r1,D,r2)"));
    b.Named(QStringLiteral("perp"), 3, S("ponto de interseção(BC e perpendicular(A à reta BC)) : perp(A,B,C)"));
    b.Named(QStringLiteral("Ptan"), 3, S("ponto de contato (P ao círculo(C,r)) : Ptan(P,C,r),Ptan(P,C,-r)"));
    b.Named(QStringLiteral("Ccentr"), 3, S("circuncentro : Ccentr(A,B,C)"));
    b.Named(QStringLiteral("Gcentr"), 3, S("centro de gravidade : Gcentr(A,B,C)"));
    b.Named(QStringLiteral("Hcentr"), 3, S("ortocentro : Hcentr(A,B,C)"));
    b.Named(QStringLiteral("Icentr"), 3, S("incentro : Icentr(A,B,C)"));
    b.Named(QStringLiteral("Ecentr"), 3, S("excenter：Ecentr(A,B,C)"));
    b.Named(QStringLiteral("perpL"), 3, S("distância de A para reta BC：perpL(A,B,C)"));
    b.Named(QStringLiteral("Crad"), 3, S("raio do círculo circunscrito : Crad(A,B,C)"));
    b.Named(QStringLiteral("Irad"), 3, S("raio do círculo inscrito : Irad(A,B,C)"));
    b.Named(QStringLiteral("polygon"), 3, S("Ponto sobre Polígono:poligono(t,P1,P2,...,Pn)"));
    b.Named(QStringLiteral("path"), 3, S("curva n-dim através de vários pontos : path(x,P1,P2,...)"));
    b.Named(QStringLiteral("bezier"), 5, S("curva de Bezier com 4 pontos : bezier(t,P,Q,R,S)"));
    b.Named(QStringLiteral("proj"), 6, S("projeção : proj(x,y,z,xy-ângulo,z-ângulo,distância da origem)"));
}

} // namespace

std::vector<TCalcKey> CalculatorKeys()
{
    std::vector<TCalcKey> keys;
    keys.reserve(160);
    TKeyBuilder builder(keys);
    AddKeypad(builder);
    AddFunctions(builder);
    AddRelationKeys(builder);
    AddPointKeys(builder);
    return keys;
}

QString LocaliseHint(const QString& hint)
{
    QString out = hint;
    for (qsizetype i = 0; i < out.size(); ++i) {
        if (out[i] == u',' && i + 1 < out.size())
            out[i] = Separators.ListSepChar;
        else if (out[i] == u'.')
            out[i] = Separators.DecimalChar;
    }
    return out;
}

QString LogKeyHint(int logMode)
{
    return logMode == 2 ? QStringLiteral("logaritmo natural") : QStringLiteral("logaritmo comum");
}

TCalcInsertion InsertionOf(const TCalcKey& key)
{
    switch (key.Kind) {
    case K::Symbol:
        return {QString(key.Caption).remove(u' '), 0};
    case K::Point:
        return {key.Caption, 0};
    case K::CallForm:
        return {key.Caption, key.Tag};
    case K::Named: {
        const int n = std::max(key.Tag, 1);
        const QString separators(n - 1, Separators.ListSepChar);
        return {key.Insert + u'(' + separators + u')', n};
    }
    case K::Text:
        return {key.Insert, 0};
    default:
        return {};
    }
}

TEditLine InsertText(TEditLine line, const QString& text, int caretBack)
{
    int at = line.Caret;
    if (line.SelLength > 0) {
        line.Text.remove(line.SelStart, line.SelLength);
        at = line.SelStart;
    }
    at = std::clamp(at, 0, static_cast<int>(line.Text.size()));
    line.Text.insert(at, text);
    line.Caret = std::max(at, at + static_cast<int>(text.size()) - caretBack);
    line.SelStart = line.Caret;
    line.SelLength = 0;
    return line;
}

namespace {

TEditLine DeleteAround(TEditLine line, bool before)
{
    if (line.SelLength > 0) {
        line.Text.remove(line.SelStart, line.SelLength);
        line.Caret = line.SelStart;
    } else if (before && line.Caret > 0) {
        line.Text.remove(--line.Caret, 1);
    } else if (!before && line.Caret < line.Text.size()) {
        line.Text.remove(line.Caret, 1);
    }
    line.SelStart = line.Caret;
    line.SelLength = 0;
    return line;
}

TEditLine MoveCaret(TEditLine line, int by)
{
    line.Caret = std::clamp(line.Caret + by, 0, static_cast<int>(line.Text.size()));
    line.SelStart = line.Caret;
    line.SelLength = 0;
    return line;
}

} // namespace

TEditLine PressCalcKey(const TEditLine& line, const TCalcKey& key)
{
    switch (key.Kind) {
    case K::CaretLeft:
        return MoveCaret(line, -1);
    case K::CaretRight:
        return MoveCaret(line, 1);
    case K::Backspace:
        return DeleteAround(line, true);
    case K::Delete:
        return DeleteAround(line, false);
    default: {
        const TCalcInsertion insertion = InsertionOf(key);
        return InsertText(line, insertion.Text, insertion.CaretBack);
    }
    }
}

TEditLine NormalizeEditLine(const TEditLine& typed, TTokenString& tokens)
{
    QString text = typed.Text;
    int caret = typed.Caret;
    QString normalised;
    NormalizeExpressionText(text, normalised, caret, tokens);
    const bool typingWord =
        typed.Caret > 0 && typed.Caret <= typed.Text.size() && typed.Text[typed.Caret - 1].isLetter();
    if (typingWord) {
        // The display follows the respelled text; the line keeps the letters.
        return TEditLine{typed.Text, typed.Caret, typed.Caret, 0};
    }
    // The caret the normaliser gives stops at the end of what it scanned;
    // beyond that it keeps its distance from the end.
    if (caret >= text.size())
        caret = static_cast<int>(normalised.size()) - static_cast<int>(typed.Text.size() - typed.Caret);
    caret = std::clamp(caret, 0, static_cast<int>(normalised.size()));
    return TEditLine{normalised, caret, caret, 0};
}

int UnscannedLength(const TTokenString& tokens)
{
    const qsizetype error = tokens.indexOf(QChar(TokenCodes.Error));
    return error < 0 ? 0 : static_cast<int>(tokens.size() - error - 1);
}

void TNoiseCounter::AfterChange(const TTokenString& tokens)
{
    if (UnscannedLength(tokens) > 4)
        ++count_;
    else
        count_ = 0;
}

bool TNoiseCounter::DropKey(QChar key)
{
    const bool printable = key.unicode() >= 32 && key.unicode() <= 127;
    if (!printable || count_ % 4 != 3)
        return false;
    ++count_;
    return true;
}
