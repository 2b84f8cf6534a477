#include "script/ScriptCompiler.h"

#include "session/RowHost.h"
#include "session/RowModels.h"

#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/MessageBox.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/StringUtils.h"

#include <array>

namespace {

const QString SyntaxErrorText = QStringLiteral("Erro de sintaxe: ");
const QString LoopMismatchText = QStringLiteral("Má Correspondência entre \"Para\" & \"Seguinte\"");
const QString WrongPlaceText = QStringLiteral("Posição errada");
const QString InvalidCommandText = QStringLiteral("Comando Inválido");
const QString InvalidParameterText = QStringLiteral("Parâmetro Inválido");
const QString NoClosingParenText = QStringLiteral("\")\" não encontrado");
const QString BadFigureText = QStringLiteral("Nome inválido da figura");
const QString BadTargetText = QStringLiteral("Nome de parâmetro inválido");
const QString BadScriptText = QStringLiteral("Nome inválido de script");
const QString TooFewArgumentsText = QStringLiteral("O argumento é insuficiente.");
const QString NotCompiledText = QStringLiteral("Não calculado");
const QString PauseContinueText = QStringLiteral("    Continuar com [OK]");

// Loops nest at most this deep.
constexpr std::size_t MaxForDepth = 10;
// Call and Sub pass at most four values; SetArea takes four.
constexpr qsizetype CallArgumentCount = 4;
constexpr qsizetype AreaArgumentCount = 4;
// Play takes two or three expressions after its sweep variable.
constexpr qsizetype MinPlayExpressions = 2;
constexpr qsizetype MaxPlayExpressions = 3;

// ------------------------------------------------------------ classifying

// One keyword of the language. A keyword that ends in a blank is a word: it
// matches only before a blank, the end or a "//" comment; the others match
// any line that begins with them. Some also need a second word anywhere.
struct ScriptKeyword {
    QLatin1StringView Text;
    int Code;
    QLatin1StringView Requires;
};

using namespace Qt::Literals::StringLiterals;

// In the order they are tried: "Wait(" before "Wait", "PlayRepeat" before
// "Play".
const std::array<ScriptKeyword, 51> Keywords{{
    {"HideScript"_L1, ScriptHideScript, {}},
    {"//"_L1, ScriptComment, {}},
    {"For "_L1, ScriptFor, " to "_L1},
    {"While "_L1, ScriptWhile, {}},
    {"If "_L1, ScriptIf, "Then"_L1},
    {"Endif "_L1, ScriptEndif, {}},
    {"Else "_L1, ScriptElse, {}},
    {"---"_L1, ScriptSeparator, {}},
    {"End "_L1, ScriptEnd, {}},
    {"Inc("_L1, ScriptInc, {}},
    {"Dec("_L1, ScriptDec, {}},
    {"Wait("_L1, ScriptWait, {}},
    {"Wait"_L1, ScriptWaitDeadline, {}},
    {"SetTime("_L1, ScriptSetTime, {}},
    {"ClrAImg("_L1, ScriptClearTraces, {}},
    {"ClrAImg "_L1, ScriptClearAllTraces, {}},
    {"SetAImg "_L1, ScriptSetAImg, {}},
    {"AimgOn "_L1, ScriptTracesOn, {}},
    {"AimgOff "_L1, ScriptTracesOff, {}},
    {"Draw "_L1, ScriptDraw, {}},
    {"Calc "_L1, ScriptCalc, {}},
    {"OverDraw "_L1, ScriptOverDraw, {}},
    {"Draw: "_L1, ScriptDraw, {}},
    {"Calc: "_L1, ScriptCalc, {}},
    {"OverDraw: "_L1, ScriptOverDraw, {}},
    {"RefreshSticker "_L1, ScriptRefreshStickers, {}},
    {"RefreshMemo "_L1, ScriptRefreshStickers, {}},
    {"ShowMemo "_L1, ScriptRefreshStickers, {}},
    {"ShowAImg "_L1, ScriptRefresh, {}},
    {"Refresh "_L1, ScriptRefresh, {}},
    {"On "_L1, ScriptTrigger, " Change"_L1},
    {"Wend "_L1, ScriptWend, {}},
    {"Next "_L1, ScriptNext, {}},
    {"SetArea("_L1, ScriptSetArea, {}},
    {"Pause "_L1, ScriptPause, {}},
    {"Pause("_L1, ScriptPause, {}},
    {"ShowObj("_L1, ScriptShowObj, {}},
    {"HideObj("_L1, ScriptHideObj, {}},
    {"InvShowObj("_L1, ScriptInvShowObj, {}},
    {"Sub("_L1, ScriptSub, {}},
    {"Call("_L1, ScriptCall, {}},
    {"PlayRepeat"_L1, ScriptPlayRepeat, {}},
    {"PlaySync("_L1, ScriptPlaySync, {}},
    {"PlayAfter"_L1, ScriptPlayAfter, {}},
    {"Play("_L1, ScriptPlay, {}},
    {"Play"_L1, ScriptPlayGenerated, {}},
    {"SetSampleRate("_L1, ScriptSetSampleRate, {}},
    {"SetColor("_L1, ScriptSetColor, {}},
    {"SetLineColor("_L1, ScriptSetLineColor, {}},
    {"SetInsideColor("_L1, ScriptSetInsideColor, {}},
    {"ClrAllCells"_L1, ScriptClearAllCells, {}},
}};

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == QChar(0x3000);
}

// The keywords that can match a text by its first character, in order: a
// keyword matches only a text that begins with its own first letter.
struct KeywordsByFirstChar {
    std::array<std::vector<const ScriptKeyword*>, 128> Lists;
    KeywordsByFirstChar()
    {
        for (const ScriptKeyword& k : Keywords) {
            const QChar first = k.Text.front();
            Lists[first.toLower().unicode()].push_back(&k);
            if (first.toUpper() != first.toLower())
                Lists[first.toUpper().unicode()].push_back(&k);
        }
    }
    std::span<const ScriptKeyword* const> For(QChar c) const
    {
        if (c.unicode() >= Lists.size())
            return {};
        return Lists[c.unicode()];
    }
};

bool MatchesKeyword(QStringView text, const ScriptKeyword& k)
{
    const bool word = k.Text.back() == ' ';
    const QLatin1StringView head = word ? k.Text.chopped(1) : k.Text;
    if (!text.startsWith(head, Qt::CaseInsensitive))
        return false;
    if (word) {
        const QStringView after = text.mid(head.size());
        if (!after.isEmpty() && !IsBlank(after.front()) && !after.startsWith(u"//"))
            return false;
    }
    return k.Requires.isEmpty() || text.contains(k.Requires, Qt::CaseInsensitive);
}

int ClassifyStatement(const QString& statement)
{
    return ClassifyScriptLine(QString(u'#' + statement));
}

// ------------------------------------------------------------ names

QStringView WithoutHash(QStringView line)
{
    return line.startsWith(u'#') ? line.mid(1) : line;
}

int ParamTarget(QChar c)
{
    const int j = PrmIndex(QStringView(&c, 1));
    return j >= FirstParamTarget ? j : 0;
}

// "x", "y", "r" after an object letter; 0 for anything else.
int SelectorOf(QStringView suffix)
{
    if (suffix.startsWith(u'.'))
        suffix = suffix.mid(1);
    if (suffix.size() != 1)
        return 0;
    switch (suffix.front().unicode()) {
    case u'x':
        return SelectorX;
    case u'y':
        return SelectorY;
    case u'r':
        return SelectorR;
    default:
        return 0;
    }
}

// "Cells(r, c)" or "CellsP(r, c)", the whole name.
std::optional<TScriptTarget> ParseCellsTarget(const QString& name)
{
    const bool pair = name.startsWith(u"CellsP(");
    if (!pair && !name.startsWith(u"Cells("))
        return std::nullopt;
    const qsizetype open = name.indexOf(u'(');
    if (FindClosingParen(name, open) != name.size() - 1)
        return std::nullopt;
    const QStringList indexes = SplitScriptArgs(name.mid(open + 1, name.size() - open - 2));
    if (indexes.size() != 2 || indexes[0].trimmed().isEmpty() || indexes[1].trimmed().isEmpty())
        return std::nullopt;
    return TScriptTarget{pair ? TargetCellsPair : TargetCells, {indexes[0].trimmed(), indexes[1].trimmed()}};
}

// "P(k)" with an optional ".x", ".y" or ".r".
std::optional<TScriptTarget> ParseObjectNumberTarget(const QString& name)
{
    if (!name.startsWith(u"P("))
        return std::nullopt;
    const qsizetype close = FindClosingParen(name, 1);
    if (close < 0)
        return std::nullopt;
    const QString number = name.mid(2, close - 2).trimmed();
    const QStringView suffix = QStringView(name).mid(close + 1).trimmed();
    const int selector = suffix.isEmpty() ? SelectorWhole : SelectorOf(suffix);
    if (number.isEmpty() || selector == 0 || (!suffix.isEmpty() && !suffix.startsWith(u'.')))
        return std::nullopt;
    return TScriptTarget{TargetObjectByNumber, {number, QString::number(selector)}};
}

// "x", "y", "z", "w", "X", "Y", "X.x", "X.y", "Y.x", "Y.y".
int VariableTarget(QStringView name)
{
    static const QString variables = QStringLiteral("xyzw");
    if (name.size() == 1) {
        if (const qsizetype v = variables.indexOf(name.front()); v >= 0)
            return TargetVariableX + static_cast<int>(v);
        if (name.front() == u'X')
            return TargetPairXY;
        if (name.front() == u'Y')
            return TargetPairZW;
        return 0;
    }
    if (name.size() == 3 && (name[0] == u'X' || name[0] == u'Y') && name[1] == u'.'
        && (name[2] == u'x' || name[2] == u'y'))
        return TargetVariableX + (name[0] == u'Y' ? 2 : 0) + (name[2] == u'y' ? 1 : 0);
    return 0;
}

bool IsDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The first list separator outside parentheses and brackets; -1 when none.
qsizetype FindScriptArgSeparator(QStringView text)
{
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'(' || c == u'[')
            ++depth;
        else if ((c == u')' || c == u']') && depth > 0)
            --depth;
        else if (c == Separators.ListSepChar && depth == 0)
            return i;
    }
    return -1;
}

// -------------------------------------------------------------- first pass

class ScriptExpander {
public:
    TScriptExpansion Run(const QStringList& lines)
    {
        for (int i = 0; i < lines.size() && result_.Error.isEmpty(); ++i) {
            const QString& line = lines[i];
            if (!StartsWithHash(line))
                continue;
            const int code = ClassifyScriptLine(line);
            const QString text = TextBefore(QStringLiteral("//"), line.mid(1).trimmed()).trimmed();
            switch (code) {
            case ScriptIf:
                ExpandIf(text, i);
                break;
            case ScriptFor:
                ExpandFor(text, i);
                break;
            case ScriptNext:
                ExpandNext(i);
                break;
            default:
                Add(text, code, i);
                break;
            }
        }
        if (!loops_.empty())
            result_.Error = LoopMismatchText;
        if (!result_.Error.isEmpty())
            result_.Commands.clear();
        return std::move(result_);
    }

private:
    struct OpenLoop {
        QString Variable;
        QString Step;
    };

    void Add(const QString& text, int code, int line) { result_.Commands.push_back({text, code, line}); }
    // Statements the expansion makes are commands of their own: one that is
    // none is a syntax error, never silently ignored.
    void AddStatement(const QString& statement, int line) { Add(statement, ClassifyStatement(statement), line); }

    // "If c Then" opens a block; "If c Then s Else t" is a block of its own.
    void ExpandIf(const QString& text, int line)
    {
        const QString then = QStringLiteral("Then");
        Add(TextBefore(then, text).trimmed(), ScriptIf, line);
        const QString rest = TextAfter(then, text).trimmed();
        if (rest.isEmpty())
            return;
        const QString otherwise = QStringLiteral("Else ");
        AddStatement(TextBefore(otherwise, rest).trimmed(), line);
        const QString elseStatement = TextAfter(otherwise, rest).trimmed();
        if (!elseStatement.isEmpty()) {
            Add(otherwise, ScriptElse, line);
            AddStatement(elseStatement, line);
        }
        Add(QStringLiteral("Endif "), ScriptEndif, line);
    }

    // "For v := a to b Step s": the start assignment and a While that holds
    // while v has not passed b in the direction of s.
    void ExpandFor(const QString& text, int line)
    {
        if (loops_.size() == MaxForDepth) {
            result_.Error = LoopMismatchText;
            return;
        }
        const QString body = text.mid(4).trimmed();
        const QString to = QStringLiteral(" to ");
        const QString step = QStringLiteral("Step ");
        const QString bounds = TextAfter(to, body);
        OpenLoop loop{TextBefore(QStringLiteral(":="), body).trimmed(), TextAfter(step, bounds).trimmed()};
        if (loop.Step.isEmpty())
            loop.Step = QStringLiteral("1");
        AddStatement(TextBefore(to, body), line);
        const QString test = QStringLiteral("while (") + loop.Variable + QStringLiteral(" - (") + TextBefore(step, bounds)
            + QStringLiteral(" )) * (sign(") + loop.Step + QStringLiteral(")) <= 0 ");
        AddStatement(test, line);
        loops_.push_back(std::move(loop));
    }

    // Next steps the variable, closes the While, and steps back once the
    // test fails, so the variable keeps the last value the body ran with.
    void ExpandNext(int line)
    {
        if (loops_.empty()) {
            result_.Error = LoopMismatchText;
            return;
        }
        const OpenLoop& loop = loops_.back();
        const QString step = loop.Variable + Separators.ListSepChar + loop.Step + u')';
        Add(QStringLiteral("Inc(") + step, ScriptInc, line);
        Add(QStringLiteral("Wend "), ScriptWend, line);
        Add(QStringLiteral("Dec(") + step, ScriptDec, line);
        loops_.pop_back();
    }

    TScriptExpansion result_;
    std::vector<OpenLoop> loops_;
};

// ------------------------------------------------------------- second pass

// Compiles the expanded commands of one script into its command list; stops
// at the first fault, keeping the commands before it.
class CommandCompiler {
public:
    CommandCompiler(TMacroCommandsub& script, std::span<const TExpandedCommand> commands)
        : script_(script)
        , commands_(commands)
    {
    }

    // The fault, with its source line; none when every command compiled.
    std::optional<TScriptError> Run(TTokenString& trigger)
    {
        for (int n = 0; n < static_cast<int>(commands_.size()); ++n) {
            const TExpandedCommand& command = commands_[static_cast<std::size_t>(n)];
            set_ = Tlineset{};
            Compile(n, command);
            if (!error_.isEmpty()) {
                const QString line = script_.Lines.value(command.SourceLine).mid(1);
                return TScriptError{error_ + QStringLiteral(" : ") + line, -1, command.SourceLine};
            }
            // The arguments are the compiler's own: moved, not copied.
            Tlineset& stored = script_.SetLineset(n, command.SourceLine, {}, command.Text.trimmed(), set_.Target,
                                                  command.Code);
            stored.Args = std::move(set_.Args);
            stored.Figures = std::move(set_.Figures);
            if (!set_.Text.isEmpty())
                stored.Text = set_.Text;
        }
        trigger = trigger_;
        return std::nullopt;
    }

private:
    void Compile(int n, const TExpandedCommand& command)
    {
        const QString& text = command.Text;
        switch (command.Code) {
        case ScriptIgnored:
        case ScriptComment:
            return;
        case ScriptHideScript:
            if (n != 0)
                return Fail(WrongPlaceText);
            script_.Visible = false;
            return;
        case ScriptTrigger:
            return n > 1 ? Fail(WrongPlaceText) : CompileTrigger(text);
        case ScriptAssign:
            return CompileAssignment(text);
        case ScriptInc:
        case ScriptDec:
            return CompileStep(text);
        case ScriptDraw:
        case ScriptCalc:
        case ScriptOverDraw:
            return CompileDrawing(text);
        case ScriptWait:
        case ScriptSetTime:
        case ScriptSetSampleRate:
            return CompileParenthesised(text);
        case ScriptClearTraces:
        case ScriptShowObj:
        case ScriptHideObj:
        case ScriptInvShowObj:
            return CompileFigureList(text);
        case ScriptWhile:
            set_.Target = FindMatchingWend(commands_, n);
            return AddArgument(text.mid(5).trimmed(), true);
        case ScriptWend:
            set_.Target = FindMatchingWhile(commands_, n);
            return;
        case ScriptIf:
            set_.Target = FindMatchingElse(commands_, n);
            return AddArgument(text.mid(3).trimmed(), true);
        case ScriptElse:
            set_.Target = FindMatchingElse(commands_, n);
            return;
        case ScriptSetArea:
            return CompileArea(text);
        case ScriptPause:
            return CompilePause(text);
        case ScriptSetColor:
        case ScriptSetLineColor:
        case ScriptSetInsideColor:
            return CompileColor(text);
        case ScriptCall:
        case ScriptSub:
            return CompileCall(text);
        case ScriptPlay:
        case ScriptPlaySync:
        case ScriptPlayAfter:
            return CompilePlay(text, command.Code);
        case ScriptSyntaxError:
            return Fail(SyntaxErrorText);
        default:
            return;
        }
    }

    void Fail(const QString& message)
    {
        if (error_.isEmpty())
            error_ = message;
    }

    // Compiles one argument as a plain expression. A blank text is an empty
    // expression, refused where the command needs a value.
    void AddArgument(const QString& text, bool required)
    {
        TKavirofunction& f = set_.Args.emplace_back();
        f.Text = text;
        if ((required && text.trimmed().isEmpty()) || !PrepareExpression(f, ModePlain)) {
            Fail(NotCompiledText);
            f = TKavirofunction{};
        }
    }

    // The inside of the parentheses that follow a keyword: the text after
    // the first "(" up to the ")" that closes it.
    std::optional<QString> Parenthesised(const QString& text, qsizetype open)
    {
        const qsizetype close = open < 0 ? -1 : FindClosingParen(text, open);
        if (close < 0) {
            Fail(NoClosingParenText);
            return std::nullopt;
        }
        return text.mid(open + 1, close - open - 1);
    }

    // The inside of "Keyword(…)" when the text ends with ")".
    std::optional<QString> InsideFinalParen(const QString& text)
    {
        const qsizetype open = text.indexOf(u'(');
        if (!text.endsWith(u')')) {
            Fail(InvalidParameterText);
            return std::nullopt;
        }
        return text.mid(open + 1, text.size() - open - 2);
    }

    void AddTarget(const QString& name)
    {
        const std::optional<TScriptTarget> target = ParseScriptTarget(name.trimmed());
        if (!target)
            return Fail(BadTargetText);
        set_.Target = target->Target;
        for (const QString& index : target->Indexes)
            AddArgument(index, true);
    }

    // "On a, P Change": every token named, by its exact name.
    void CompileTrigger(const QString& text)
    {
        const QString change = QStringLiteral(" Change");
        if (!TextAfter(change, text).trimmed().isEmpty())
            return Fail(InvalidCommandText);
        const QString names = RemoveSpaces(TextBefore(change, text.mid(2)));
        for (const QString& name : names.split(Separators.ListSepChar, Qt::SkipEmptyParts))
            for (TTokenCode code = 1; code <= VocabularySize; ++code)
                if (Vocabulary.TokenTable[code].Name == name)
                    trigger_ += QChar(code);
    }

    void CompileAssignment(const QString& text)
    {
        const QString assign = QStringLiteral(":=");
        const QString value = TextAfter(assign, text).trimmed();
        AddArgument(value, true);
        AddTarget(TextBefore(assign, text));
    }

    // Inc(target, step) and Dec(target, step): the step 1 when left out.
    void CompileStep(const QString& text)
    {
        const std::optional<QString> inside = InsideFinalParen(text);
        if (!inside)
            return;
        const qsizetype separator = FindScriptArgSeparator(*inside);
        QString step = separator < 0 ? QString() : inside->mid(separator + 1).trimmed();
        if (step.isEmpty())
            step = QStringLiteral("1");
        AddArgument(step, true);
        AddTarget(separator < 0 ? *inside : inside->left(separator));
    }

    // Draw, Calc and OverDraw, alone or with a colon.
    void CompileDrawing(const QString& text)
    {
        qsizetype word = 0;
        while (word < text.size() && text[word].isLetter())
            ++word;
        const QStringView rest = QStringView(text).mid(word).trimmed();
        if (!rest.isEmpty() && rest != u":")
            Fail(InvalidCommandText);
    }

    // Wait(ms), SetTime(ms), SetSampleRate(rate): the text from "(" on is
    // the expression; blanks alone inside leave it empty.
    void CompileParenthesised(const QString& text)
    {
        const QString argument = text.mid(text.indexOf(u'('));
        const bool blankInside = argument.endsWith(u')') && argument.size() >= 2
            && QStringView(argument).mid(1, argument.size() - 2).trimmed().isEmpty();
        AddArgument(blankInside ? QString() : argument, !blankInside);
    }

    void CompileFigureList(const QString& text)
    {
        const std::optional<QString> inside = Parenthesised(text, text.indexOf(u'('));
        if (!inside || inside->trimmed().isEmpty())
            return;
        for (const QString& name : SplitScriptArgs(*inside)) {
            const int figure = ParseFigureName(name.trimmed());
            if (figure == 0)
                return Fail(BadFigureText);
            set_.Figures.push_back(figure);
        }
    }

    void CompileArea(const QString& text)
    {
        const std::optional<QString> inside = Parenthesised(text, text.indexOf(u'('));
        if (!inside)
            return;
        const QStringList corners = SplitScriptArgs(*inside);
        if (corners.size() > AreaArgumentCount)
            return Fail(InvalidCommandText);
        if (corners.size() < AreaArgumentCount)
            return Fail(TooFewArgumentsText);
        for (const QString& corner : corners)
            AddArgument(corner, true);
    }

    // Pause, or Pause(message): the text the message box shows.
    void CompilePause(const QString& text)
    {
        QString message;
        QStringView rest = QStringView(text).mid(5);
        if (rest.startsWith(u'(')) {
            const qsizetype close = FindClosingParen(text, 5);
            if (close < 0)
                return Fail(NoClosingParenText);
            message = text.mid(6, close - 6);
            rest = QStringView(text).mid(close + 1);
        }
        if (!rest.trimmed().isEmpty())
            return Fail(InvalidCommandText);
        set_.Text = message + (message.isEmpty() ? QString() : QStringLiteral("\r")) + PauseContinueText;
    }

    // SetColor(figure, colour) and its kin: colour -1 when left out.
    void CompileColor(const QString& text)
    {
        const std::optional<QString> inside = InsideFinalParen(text);
        if (!inside)
            return;
        const qsizetype separator = FindScriptArgSeparator(*inside);
        set_.Target = ParseFigureName((separator < 0 ? *inside : inside->left(separator)).trimmed());
        if (set_.Target == 0)
            return Fail(BadFigureText);
        QString color = separator < 0 ? QString() : inside->mid(separator + 1).trimmed();
        if (color.isEmpty())
            color = QStringLiteral("-1");
        AddArgument(color, true);
    }

    // Call(name, a1, a2, a3, a4) and Sub(…): a missing final ")" is supplied.
    void CompileCall(const QString& text)
    {
        QString inside = text.mid(text.indexOf(u'(') + 1);
        if (inside.endsWith(u')'))
            inside.chop(1);
        const QStringList pieces = SplitScriptArgs(inside);
        if (pieces.size() - 1 > CallArgumentCount)
            return Fail(InvalidCommandText);
        set_.Target = FindScriptByName(pieces.front().trimmed());
        if (set_.Target == NoScriptTarget)
            return Fail(BadScriptText);
        for (qsizetype i = 1; i < pieces.size(); ++i)
            AddArgument(pieces[i], false);
    }

    // Play(v, e1, e2, e3), PlaySync(…), PlayAfter(…): the sweep variable is
    // x or a parameter, and two or three expressions follow.
    void CompilePlay(const QString& text, int code)
    {
        const qsizetype word = code == ScriptPlay ? 4 : code == ScriptPlaySync ? 8 : 9;
        const qsizetype open = text.indexOf(u'(', word);
        if (open < 0 || !QStringView(text).mid(word, open - word).trimmed().isEmpty())
            return Fail(TooFewArgumentsText);
        const std::optional<QString> inside = Parenthesised(text, open);
        if (!inside)
            return;
        QStringList pieces = SplitScriptArgs(*inside);
        const QString variable = pieces.takeFirst().trimmed();
        const std::optional<TScriptTarget> target = ParseScriptTarget(variable);
        const bool sweeps = target && (target->Target == TargetVariableX
                                       || (target->Target >= FirstParamTarget && target->Target <= LastParamTarget));
        if (!sweeps)
            return Fail(BadTargetText);
        set_.Target = target->Target;
        pieces.removeIf([](const QString& piece) { return piece.trimmed().isEmpty(); });
        if (pieces.size() > MaxPlayExpressions)
            return Fail(InvalidCommandText);
        if (pieces.size() < MinPlayExpressions)
            return Fail(TooFewArgumentsText);
        for (const QString& piece : pieces)
            AddArgument(piece, true);
    }

    TMacroCommandsub& script_;
    std::span<const TExpandedCommand> commands_;
    Tlineset set_;
    QString error_;
    TTokenString trigger_;
};

// Cuts the runs of "#" lines out of the note text into the store.
// Returns the message of a header that is no command when cutting stops at
// it.
std::optional<TScriptError> CutScripts(const QStringList& noteLines, THeaderErrors headerErrors)
{
    const qsizetype count = noteLines.size();
    for (qsizetype i = 0; i < count;) {
        const QString header = FullWidthSpaceToSpace(noteLines[i++]);
        const int code = ClassifyScriptLine(header);
        if (code == ScriptSyntaxError && headerErrors == THeaderErrors::Stop)
            return TScriptError{SyntaxErrorText + header.mid(1)};
        if (!StartsWithHash(header) || code == ScriptSeparator)
            continue;
        QStringList run{header};
        for (; i < count; ++i) {
            const QString line = FullWidthSpaceToSpace(noteLines[i]);
            if (!StartsWithHash(line) || ClassifyScriptLine(line) == ScriptSeparator)
                break;
            run.append(line);
        }
        ++i; // the line that ended the run starts nothing
        // Runs past the twentieth are cut too; the store drops them.
        MacroCommands.Add(ScriptNameFromHeader(header), run);
    }
    return std::nullopt;
}

void ShowScriptsOnPanel()
{
    // Scripts use parameters, and the buttons name the scripts.
    UpdatePrmPanel();
    CurrentRowHost().ShowScriptButtons();
}

} // namespace

int ClassifyScriptLine(QStringView line)
{
    static const KeywordsByFirstChar keywords;
    int fallback = ScriptIgnored;
    if (line.startsWith(u'#')) {
        line = line.mid(1);
        while (!line.isEmpty() && IsBlank(line.front()))
            line = line.mid(1);
        fallback = ScriptSyntaxError;
    }
    if (line.isEmpty())
        return fallback;
    for (const ScriptKeyword* k : keywords.For(line.front()))
        if (MatchesKeyword(line, *k))
            return k->Code;
    return line.contains(u":=") ? ScriptAssign : fallback;
}

QString ScriptNameFromHeader(const QString& line)
{
    const QString text = WithoutHash(line).toString();
    const QString comment = QStringLiteral("//");
    return (text.contains(comment) ? TextAfter(comment, text) : text).trimmed();
}

int FindScriptByName(const QString& name)
{
    for (int i = 0; i < MacroCommands.Count(); ++i)
        if (MacroCommands.Items[static_cast<std::size_t>(i)].Name == name)
            return i;
    return NoScriptTarget;
}

std::optional<TScriptTarget> ParseScriptTarget(const QString& name)
{
    if (const int variable = VariableTarget(name))
        return TScriptTarget{variable, {}};
    if (name.size() == 1 && ParamTarget(name.front()) != 0)
        return TScriptTarget{ParamTarget(name.front()), {}};
    if (std::optional<TScriptTarget> cells = ParseCellsTarget(name))
        return cells;
    if (std::optional<TScriptTarget> byNumber = ParseObjectNumberTarget(name))
        return byNumber;
    const int object = name.isEmpty() ? -1 : PointIndex(QStringView(name).left(1));
    if (object < 1)
        return std::nullopt;
    if (name.size() == 1)
        return TScriptTarget{ObjectTarget(object, SelectorWhole), {}};
    const int selector = SelectorOf(QStringView(name).mid(1));
    if (selector == 0)
        return std::nullopt;
    return TScriptTarget{ObjectTarget(object, selector), {}};
}

int ParseFigureName(const QString& name)
{
    if (name.size() == 1) {
        const int object = PointIndex(name);
        return object > 0 ? ScriptFigure(ScriptFigureObject, object) : 0;
    }
    struct Kind {
        QChar Letter;
        int Figure;
        int Count;
    };
    static const Kind kinds[] = {
        {u'y', ScriptFigureFunction, FunctionCount},
        {u'c', ScriptFigureRelation, RelationCount},
        {u'l', ScriptFigureSegment, SegmentCount},
    };
    const QStringView digits = QStringView(name).mid(1);
    if (!IsDigits(digits))
        return 0;
    const int number = digits.toInt();
    for (const Kind& k : kinds)
        if (name.front().toLower() == k.Letter && number >= 1 && number <= k.Count)
            return ScriptFigure(k.Figure, number);
    return 0;
}

qsizetype FindClosingParen(QStringView text, qsizetype open)
{
    int depth = 0;
    for (qsizetype i = open; i >= 0 && i < text.size(); ++i) {
        if (text[i] == u'(')
            ++depth;
        else if (text[i] == u')' && --depth == 0)
            return i;
    }
    return -1;
}

QStringList SplitScriptArgs(const QString& text)
{
    QStringList pieces;
    QString rest = text;
    for (qsizetype at = FindScriptArgSeparator(rest); at >= 0; at = FindScriptArgSeparator(rest)) {
        pieces.append(rest.left(at));
        rest = rest.mid(at + 1);
    }
    pieces.append(rest);
    return pieces;
}

TScriptExpansion ExpandScript(const QStringList& lines)
{
    return ScriptExpander().Run(lines);
}

int FindMatchingWend(std::span<const TExpandedCommand> commands, int index)
{
    const int count = static_cast<int>(commands.size());
    int level = 0;
    for (int i = index + 1; i < count; ++i) {
        const int code = commands[static_cast<std::size_t>(i)].Code;
        if (code == ScriptWhile)
            ++level;
        else if (code == ScriptWend && level-- == 0)
            return i;
    }
    return count;
}

int FindMatchingWhile(std::span<const TExpandedCommand> commands, int index)
{
    int level = 0;
    for (int i = index - 1; i >= 0; --i) {
        const int code = commands[static_cast<std::size_t>(i)].Code;
        if (code == ScriptWend)
            ++level;
        else if (code == ScriptWhile && level-- == 0)
            return i;
    }
    return index + 1;
}

int FindMatchingElse(std::span<const TExpandedCommand> commands, int index)
{
    const int count = static_cast<int>(commands.size());
    // An If may jump to its Else; an Else only to the Endif.
    const bool fromIf = commands[static_cast<std::size_t>(index)].Code == ScriptIf;
    int level = 0;
    for (int i = index + 1; i < count; ++i) {
        const int code = commands[static_cast<std::size_t>(i)].Code;
        if (code == ScriptIf)
            ++level;
        else if (code == ScriptEndif && level-- == 0)
            return i;
        else if (code == ScriptElse && fromIf && level == 0)
            return i;
    }
    // Past the end, never onto itself: without an Endif the block is
    // skipped when its condition fails.
    return count;
}

std::optional<TScriptError> CompileScript(TMacroCommandsub& script)
{
    script.Sets.clear();
    script.Trigger.clear();
    script.Valid = false;
    script.Visible = true;
    const TScriptExpansion expansion = ExpandScript(script.Lines);
    if (!expansion.Error.isEmpty())
        return TScriptError{expansion.Error};
    TTokenString trigger;
    std::optional<TScriptError> error = CommandCompiler(script, expansion.Commands).Run(trigger);
    script.Valid = !error;
    // An invalid script is refused when it runs: a trigger would only
    // repeat the refusal at every change.
    if (script.Valid)
        script.Trigger = trigger;
    return error;
}

TScriptsOutcome CompileScripts(const QStringList& noteLines, THeaderErrors headerErrors)
{
    TScriptsOutcome outcome;
    MacroCommands.Reset();
    if (std::optional<TScriptError> header = CutScripts(noteLines, headerErrors)) {
        outcome.Compiled = false;
        outcome.Errors.push_back(*header);
    } else {
        for (int i = 0; i < MacroCommands.Count(); ++i) {
            if (std::optional<TScriptError> error = CompileScript(MacroCommands.Items[static_cast<std::size_t>(i)])) {
                error->Script = i;
                outcome.Compiled = false;
                outcome.Errors.push_back(std::move(*error));
            }
        }
    }
    ShowScriptsOnPanel();
    return outcome;
}

void ShowScriptErrors(const std::vector<TScriptError>& errors)
{
    for (const TScriptError& e : errors)
        ShowMsgBox(e.Message, MsgWarning, MsgOk);
}
