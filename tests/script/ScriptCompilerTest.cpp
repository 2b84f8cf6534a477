#include "ScriptTest.h"

#include "engine/TokenTable.h"

namespace {

using ClassifyTest = ScriptTest;

TEST_F(ClassifyTest, EachLineGetsTheCodeOfTheFirstKeywordItBeginsWith)
{
    struct Case {
        const char16_t* line;
        int code;
    };
    const Case cases[] = {
        // "#" and the blanks after it go; a "#" line that is nothing is an error.
        {u"#", ScriptSyntaxError},
        {u"#foo bar", ScriptSyntaxError},
        {u"foo bar", ScriptIgnored},
        {u"", ScriptIgnored},
        {u"#   Draw", ScriptDraw},
        {u"#\u3000Draw", ScriptDraw},
        {u"Draw", ScriptDraw},
        // Case is ignored; a word matches before a blank, the end or "//".
        {u"#WAIT(100)", ScriptWait},
        {u"#Waiting", ScriptWaitDeadline},
        {u"#Wait (100)", ScriptWaitDeadline},
        {u"#Draw", ScriptDraw},
        {u"#Draw // x", ScriptDraw},
        {u"#Draw//x", ScriptDraw},
        {u"#draw x", ScriptDraw},
        {u"#Drawing", ScriptSyntaxError},
        {u"#Draw:", ScriptDraw},
        {u"#Calc: // c", ScriptCalc},
        {u"#OverDraw", ScriptOverDraw},
        {u"#OverDraw:", ScriptOverDraw},
        {u"#Calc", ScriptCalc},
        {u"#End", ScriptEnd},
        {u"#Ending", ScriptSyntaxError},
        {u"#Endif", ScriptEndif},
        {u"#ENDIF // fim", ScriptEndif},
        {u"#Else", ScriptElse},
        {u"#Wend", ScriptWend},
        {u"#Next", ScriptNext},
        {u"#Next k", ScriptNext},
        {u"#---", ScriptSeparator},
        {u"#--- fim", ScriptSeparator},
        {u"#//Anim", ScriptComment},
        {u"#// a := 1", ScriptComment},
        {u"#HideScript", ScriptHideScript},
        // Keywords that need a second word fall through without it.
        {u"#For k := 1 to 3", ScriptFor},
        {u"#for k := 1 TO 3", ScriptFor},
        {u"#For k := 1", ScriptAssign},
        {u"#Fork := 1 to 3", ScriptAssign},
        {u"#If a > 0 Then", ScriptIf},
        {u"#if a then b := 1", ScriptIf},
        {u"#If a > 0", ScriptSyntaxError},
        {u"#On a Change", ScriptTrigger},
        {u"#On a", ScriptSyntaxError},
        {u"#While a < 3", ScriptWhile},
        {u"#While", ScriptWhile},
        {u"#while(a<3)", ScriptSyntaxError},
        // Prefix keywords in their order.
        {u"#Inc(a)", ScriptInc},
        {u"#Dec(a, 2)", ScriptDec},
        {u"#SetTime(500)", ScriptSetTime},
        {u"#ClrAImg(P)", ScriptClearTraces},
        {u"#ClrAImg", ScriptClearAllTraces},
        {u"#SetAImg", ScriptSetAImg},
        {u"#AimgOn", ScriptTracesOn},
        {u"#AimgOff", ScriptTracesOff},
        {u"#RefreshSticker", ScriptRefreshStickers},
        {u"#RefreshMemo", ScriptRefreshStickers},
        {u"#ShowMemo", ScriptRefreshStickers},
        {u"#ShowAImg", ScriptRefresh},
        {u"#Refresh", ScriptRefresh},
        {u"#SetArea(-1, -1, 1, 1)", ScriptSetArea},
        {u"#Pause", ScriptPause},
        {u"#Pause(Olá)", ScriptPause},
        {u"#Pausa", ScriptSyntaxError},
        {u"#ShowObj(P)", ScriptShowObj},
        {u"#HideObj(P)", ScriptHideObj},
        {u"#InvShowObj(P)", ScriptInvShowObj},
        {u"#Sub(S)", ScriptSub},
        {u"#Call(S)", ScriptCall},
        {u"#PlayRepeat", ScriptPlayRepeat},
        {u"#PlaySync(x, 0, 1)", ScriptPlaySync},
        {u"#PlayAfter(x, 0, 1)", ScriptPlayAfter},
        {u"#Play(x, 0, 1)", ScriptPlay},
        {u"#Play", ScriptPlayGenerated},
        {u"#Playback", ScriptPlayGenerated},
        {u"#SetSampleRate()", ScriptSetSampleRate},
        {u"#SetColor(P, 255)", ScriptSetColor},
        {u"#SetLineColor(P, 255)", ScriptSetLineColor},
        {u"#SetInsideColor(P, 255)", ScriptSetInsideColor},
        {u"#ClrAllCells", ScriptClearAllCells},
        // ":=" anywhere, tested last.
        {u"#a := 1", ScriptAssign},
        {u"#x:=1", ScriptAssign},
        {u"#P(2).x := Wait", ScriptAssign},
        {u"#Draw x := 1", ScriptDraw},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyScriptLine(QString::fromUtf16(c.line)), c.code) << QString::fromUtf16(c.line).toStdString();
}

TEST_F(ClassifyTest, NamesComeFromTheCommentOrTheWholeHeader)
{
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"#//Anim", u"Anim"},          {u"#Draw // Movimento ", u"Movimento"},
        {u"#  a := 1 ", u"a := 1"},    {u"#// x // y", u"x // y"},
        {u"#", u""},                    {u"#//", u""},
    };
    for (const auto& [header, name] : cases)
        EXPECT_EQ(ScriptNameFromHeader(QString::fromUtf16(header)), QString::fromUtf16(name));
}

// ------------------------------------------------------------------ cutting

using CuttingTest = ScriptTest;

TEST_F(CuttingTest, RunsOfHashLinesEndAtBlankPlainAndSeparatorLines)
{
    const TScriptsOutcome outcome = CompileInEditor(Lines({
        u"Nota {a}", u"", u"#//Um", u"#a := 1", u"#---", u"#//Dois", u"#b := 2", u"texto", u"#//Três", u"",
        u"#\u3000//Quatro", u"#c := 3\u3000+ 1", u"# ---", u"#---", u"#//Cinco",
    }));
    EXPECT_TRUE(outcome.Compiled);
    EXPECT_TRUE(outcome.Errors.empty());
    ASSERT_EQ(MacroCommands.Count(), 5);
    const QStringList names = {u"Um"_s, u"Dois"_s, u"Três"_s, u"Quatro"_s, u"Cinco"_s};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Script(i).Name, names[i]);
        EXPECT_TRUE(Script(i).Valid) << i;
        EXPECT_TRUE(Script(i).Visible) << i;
    }
    EXPECT_EQ(Script(0).Lines, Lines({u"#//Um", u"#a := 1"}));
    // Stored with blanks for ideographic spaces.
    EXPECT_EQ(Script(3).Lines, Lines({u"# //Quatro", u"#c := 3 + 1"}));
    EXPECT_EQ(rows_.ScriptButtonShows, 1);
}

TEST_F(CuttingTest, TwentyScriptsAreKeptAndLaterOnesDroppedSilently)
{
    for (const int blocks : {21, 22}) {
        QStringList lines;
        for (int i = 1; i <= blocks; ++i)
            lines << QStringLiteral("#//S%1").arg(i) << QStringLiteral("#a := %1").arg(i) << QString();
        const TScriptsOutcome outcome = CompileInEditor(lines);
        EXPECT_TRUE(outcome.Compiled) << blocks;
        EXPECT_EQ(MacroCommands.Count(), MaxScripts) << blocks;
        EXPECT_EQ(Script(MaxScripts - 1).Name, QStringLiteral("S20"));
        EXPECT_TRUE(sink_.empty());
    }
    // A header that is no command still stops the editor's compilation,
    // though its script would be dropped.
    QStringList lines;
    for (int i = 1; i <= 20; ++i)
        lines << QStringLiteral("#//S%1").arg(i) << QString();
    lines << QStringLiteral("#foo bar");
    const TScriptsOutcome outcome = CompileInEditor(lines);
    EXPECT_FALSE(outcome.Compiled);
    EXPECT_EQ(FirstMessage(outcome), QStringLiteral("Erro de sintaxe: foo bar"));
}

TEST_F(CuttingTest, AHeaderThatIsNoCommandStopsTheEditorAndIsKeptFromAFile)
{
    const QStringList lines = Lines({u"#foo bar", u"#a := 1", u"", u"#//Dois", u"#Draw"});
    TScriptsOutcome outcome = CompileInEditor(lines);
    EXPECT_FALSE(outcome.Compiled);
    ASSERT_EQ(outcome.Errors.size(), 1u);
    EXPECT_EQ(outcome.Errors[0], (TScriptError{QStringLiteral("Erro de sintaxe: foo bar"), -1, -1}));
    EXPECT_EQ(MacroCommands.Count(), 0);
    EXPECT_EQ(rows_.ScriptButtonShows, 1) << "the buttons follow the store, also on failure";

    outcome = CompileScripts(lines, THeaderErrors::Keep);
    EXPECT_FALSE(outcome.Compiled);
    ASSERT_EQ(outcome.Errors.size(), 1u);
    EXPECT_EQ(outcome.Errors[0], (TScriptError{QStringLiteral("Erro de sintaxe:  : foo bar"), 0, 0}));
    ASSERT_EQ(MacroCommands.Count(), 2);
    EXPECT_EQ(Script(0).Name, QStringLiteral("foo bar"));
    EXPECT_EQ(Script(0).Lines, Lines({u"#foo bar", u"#a := 1"}));
    EXPECT_FALSE(Script(0).Valid);
    EXPECT_TRUE(Script(0).Visible);
    EXPECT_EQ(Script(0).LinesetCount(), 0);
    EXPECT_TRUE(Script(1).Valid);
    EXPECT_TRUE(sink_.empty()) << "the caller shows the messages";
}

TEST_F(CuttingTest, AnAssignmentHeaderNamesItsScriptAndIsItsFirstCommand)
{
    CompileInEditor(Lines({u"#a := 1", u"#Draw", u"", u"#//S", u"#a := 2", u"", u"#//S", u"#Call(S)"}));
    ASSERT_EQ(MacroCommands.Count(), 3);
    EXPECT_EQ(Script(0).Name, QStringLiteral("a := 1"));
    EXPECT_EQ(Codes(Script(0)), (std::vector<int>{ScriptAssign, ScriptDraw}));
    // Names are found exactly, the first of two alike.
    EXPECT_EQ(FindScriptByName(QStringLiteral("S")), 1);
    EXPECT_EQ(FindScriptByName(QStringLiteral("s")), NoScriptTarget);
    EXPECT_EQ(Script(2).Sets[1].Target, 1);
}

// --------------------------------------------------------------- expansion

using ExpansionTest = ScriptTest;

TEST_F(ExpansionTest, ForNextAndTheOneLineIfBecomePlainCommands)
{
    struct Case {
        QStringList lines;
        std::vector<TExpandedCommand> commands;
    };
    const Case cases[] = {
        {Lines({u"#//Anim", u"#For k := 1 to 3", u"#a := a + k", u"#Next"}),
         {{u""_s, ScriptComment, 0},
          {u"k := 1"_s, ScriptAssign, 1},
          {u"while (k - (3 )) * (sign(1)) <= 0 "_s, ScriptWhile, 1},
          {u"a := a + k"_s, ScriptAssign, 2},
          {u"Inc(k,1)"_s, ScriptInc, 3},
          {u"Wend "_s, ScriptWend, 3},
          {u"Dec(k,1)"_s, ScriptDec, 3}}},
        // The end as typed before "Step", the step trimmed.
        {Lines({u"#For x := 0 to 1 Step  0.5 // meio", u"#Next x"}),
         {{u"x := 0"_s, ScriptAssign, 0},
          {u"while (x - (1  )) * (sign(0.5)) <= 0 "_s, ScriptWhile, 0},
          {u"Inc(x,0.5)"_s, ScriptInc, 1},
          {u"Wend "_s, ScriptWend, 1},
          {u"Dec(x,0.5)"_s, ScriptDec, 1}}},
        {Lines({u"#If a > 0 Then b := 1 Else b := 2"}),
         {{u"If a > 0"_s, ScriptIf, 0},
          {u"b := 1"_s, ScriptAssign, 0},
          {u"Else "_s, ScriptElse, 0},
          {u"b := 2"_s, ScriptAssign, 0},
          {u"Endif "_s, ScriptEndif, 0}}},
        {Lines({u"#if a > 0 then Draw"}),
         {{u"if a > 0"_s, ScriptIf, 0}, {u"Draw"_s, ScriptDraw, 0}, {u"Endif "_s, ScriptEndif, 0}}},
        // Expanded statements that are no command are errors, not ignored.
        {Lines({u"#If a > 0 Then Drw"}),
         {{u"If a > 0"_s, ScriptIf, 0}, {u"Drw"_s, ScriptSyntaxError, 0}, {u"Endif "_s, ScriptEndif, 0}}},
        {Lines({u"#For k = 1 to 3", u"#Next"}),
         {{u"k = 1"_s, ScriptSyntaxError, 0},
          {u"while (k = 1 to 3 - (3 )) * (sign(1)) <= 0 "_s, ScriptWhile, 0},
          {u"Inc(k = 1 to 3,1)"_s, ScriptInc, 1},
          {u"Wend "_s, ScriptWend, 1},
          {u"Dec(k = 1 to 3,1)"_s, ScriptDec, 1}}},
    };
    for (const Case& c : cases) {
        const TScriptExpansion expansion = ExpandScript(c.lines);
        EXPECT_TRUE(expansion.Error.isEmpty());
        EXPECT_EQ(expansion.Commands, c.commands) << c.lines.join(u'|').toStdString();
    }
}

TEST_F(ExpansionTest, LoopsThatDoNotMatchOrNestTooDeepAreRefused)
{
    const QString mismatch = QStringLiteral("Má Correspondência entre \"Para\" & \"Seguinte\"");
    QStringList deep;
    for (int depth = 1; depth <= 11; ++depth)
        deep << QStringLiteral("#For k := 1 to %1").arg(depth);
    for (int depth = 1; depth <= 11; ++depth)
        deep << QStringLiteral("#Next");
    QStringList ten = deep;
    ten.removeAt(10);
    ten.removeLast();
    const std::pair<QStringList, QString> cases[] = {
        {Lines({u"#Next"}), mismatch},
        {Lines({u"#//S", u"#For k := 1 to 3", u"#a := k"}), mismatch},
        {Lines({u"#For k := 1 to 3", u"#Next", u"#Next"}), mismatch},
        {deep, mismatch},
        {ten, QString()},
    };
    for (const auto& [lines, error] : cases) {
        const TScriptExpansion expansion = ExpandScript(lines);
        EXPECT_EQ(expansion.Error, error) << lines.join(u'|').toStdString();
        if (!error.isEmpty()) {
            EXPECT_TRUE(expansion.Commands.empty());
        }
    }
    // Shown alone, without a line, and the script has no commands.
    const TScriptsOutcome outcome = CompileInEditor(Lines({u"#Next"}));
    ASSERT_EQ(outcome.Errors.size(), 1u);
    EXPECT_EQ(outcome.Errors[0], (TScriptError{mismatch, 0, -1}));
    EXPECT_EQ(Script(0).LinesetCount(), 0);
    EXPECT_FALSE(Script(0).Valid);
}

// ------------------------------------------------------------- second pass

using CommandsTest = ScriptTest;

TEST_F(CommandsTest, ScriptsCompileToTheirCodesOrStopAtTheirFirstFault)
{
    struct Case {
        QStringList lines;
        std::vector<int> codes; // when it compiles
        const char16_t* message;
    };
    using C = std::vector<int>;
    const Case cases[] = {
        {Lines({u"#//Anim", u"#For k := 1 to 3", u"#a := a + k", u"#Next"}), C{100, 1, 10, 1, 5, 11, 6}, u""},
        {Lines({u"#//S", u"#While a < 3", u"#a := a + 1", u"#Wend"}), C{100, 10, 1, 11}, u""},
        {Lines({u"#//S", u"#If a > 0 Then b := 1 Else b := 2"}), C{100, 16, 1, 18, 1, 17}, u""},
        {Lines({u"#HideScript", u"#On a Change", u"#Draw:", u"#Calc", u"#OverDraw: // c", u"#End"}),
         C{95, 7, 12, 14, 27, 99}, u""},
        {Lines({u"#//S", u"#Wait(100)", u"#Wait()", u"#Wait ( )", u"#SetTime(a*10)", u"#SetSampleRate()", u"#Wait"}),
         C{100, 2, 2, 36, 37, 35, 36}, u""},
        {Lines({u"#//S", u"#ClrAImg", u"#ClrAImg()", u"#ShowObj(P, y3, L1)", u"#HideObj(c2)", u"#InvShowObj(O)"}),
         C{100, 3, 4, 24, 25, 26}, u""},
        {Lines({u"#//S", u"#SetArea(-1, -2, max(1, 2), 2)", u"#Pause", u"#Pause(Olá)", u"#ClrAllCells"}),
         C{100, 21, 96, 96, 41}, u""},
        {Lines({u"#//S", u"#Call(S, 1, 2, 3, 4)", u"#Sub(S", u"#AimgOn", u"#AimgOff", u"#SetAImg", u"#Refresh"}),
         C{100, 90, 91, 22, 23, 13, 19}, u""},
        {Lines({u"#//S", u"#Play(a, 0, 1, 2)", u"#PlaySync(x, 0, 1)", u"#PlayAfter(k, 1, 2)", u"#Play",
                u"#PlayRepeat"}),
         C{100, 30, 31, 33, 34, 32}, u""},
        {Lines({u"#//S", u"#SetColor(P, 255)", u"#SetLineColor(L30)", u"#SetInsideColor(c9, rgb(1, 2, 3))"}),
         C{100, 38, 39, 40}, u""},
        {Lines({u"#//S", u"#foo bar"}), {}, u"Erro de sintaxe:  : foo bar"},
        {Lines({u"#//S", u"#If a > 0 Then Drw"}), {}, u"Erro de sintaxe:  : If a > 0 Then Drw"},
        {Lines({u"#//S", u"#For k = 1 to 3", u"#Next"}), {}, u"Erro de sintaxe:  : For k = 1 to 3"},
        {Lines({u"#//S", u"#For i := 1 to 3", u"#Next"}), {}, u"Nome de parâmetro inválido : For i := 1 to 3"},
        {Lines({u"#//S", u"#Draw", u"#HideScript"}), {}, u"Posição errada : HideScript"},
        {Lines({u"#//S", u"#Draw", u"#On a Change"}), {}, u"Posição errada : On a Change"},
        {Lines({u"#//S", u"#On a Change now"}), {}, u"Comando Inválido : On a Change now"},
        {Lines({u"#//S", u"#Draw x"}), {}, u"Comando Inválido : Draw x"},
        {Lines({u"#//S", u"#Calc: x"}), {}, u"Comando Inválido : Calc: x"},
        {Lines({u"#//S", u"#Pause(oi) x"}), {}, u"Comando Inválido : Pause(oi) x"},
        {Lines({u"#//S", u"#Pause x"}), {}, u"Comando Inválido : Pause x"},
        {Lines({u"#//S", u"#Pause(oi"}), {}, u"\")\" não encontrado : Pause(oi"},
        {Lines({u"#//S", u"#Inc(a"}), {}, u"Parâmetro Inválido : Inc(a"},
        {Lines({u"#//S", u"#Dec(a, 1) // x", u"#Dec(a, 1) x"}), {}, u"Parâmetro Inválido : Dec(a, 1) x"},
        {Lines({u"#//S", u"#SetColor(P, 255"}), {}, u"Parâmetro Inválido : SetColor(P, 255"},
        {Lines({u"#//S", u"#ShowObj(P, Q"}), {}, u"\")\" não encontrado : ShowObj(P, Q"},
        {Lines({u"#//S", u"#SetArea(1, 2, 3, 4"}), {}, u"\")\" não encontrado : SetArea(1, 2, 3, 4"},
        {Lines({u"#//S", u"#SetArea(1, 2, 3)"}), {}, u"O argumento é insuficiente. : SetArea(1, 2, 3)"},
        {Lines({u"#//S", u"#SetArea(1, 2, 3, 4, 5)"}), {}, u"Comando Inválido : SetArea(1, 2, 3, 4, 5)"},
        {Lines({u"#//S", u"#ShowObj(P, y21)"}), {}, u"Nome inválido da figura : ShowObj(P, y21)"},
        {Lines({u"#//S", u"#SetColor(y21, 255)"}), {}, u"Nome inválido da figura : SetColor(y21, 255)"},
        {Lines({u"#//S", u"#foo := 1"}), {}, u"Nome de parâmetro inválido : foo := 1"},
        {Lines({u"#//S", u"#Inc(P(2).z)"}), {}, u"Nome de parâmetro inválido : Inc(P(2).z)"},
        {Lines({u"#//S", u"#Call(Nope)"}), {}, u"Nome inválido de script : Call(Nope)"},
        {Lines({u"#//S", u"#Call(S, 1, 2, 3, 4, 5)"}), {}, u"Comando Inválido : Call(S, 1, 2, 3, 4, 5)"},
        {Lines({u"#//S", u"#Play(x, 1)"}), {}, u"O argumento é insuficiente. : Play(x, 1)"},
        {Lines({u"#//S", u"#Play(x, 1, )"}), {}, u"O argumento é insuficiente. : Play(x, 1, )"},
        {Lines({u"#//S", u"#PlayAfter"}), {}, u"O argumento é insuficiente. : PlayAfter"},
        {Lines({u"#//S", u"#Play(x, 0, 1, 2, 3)"}), {}, u"Comando Inválido : Play(x, 0, 1, 2, 3)"},
        {Lines({u"#//S", u"#Play(P, 0, 1, x)"}), {}, u"Nome de parâmetro inválido : Play(P, 0, 1, x)"},
        {Lines({u"#//S", u"#Play(y, 0, 1)"}), {}, u"Nome de parâmetro inválido : Play(y, 0, 1)"},
        {Lines({u"#//S", u"#Play(x, 0, 1"}), {}, u"\")\" não encontrado : Play(x, 0, 1"},
        {Lines({u"#//S", u"#q := 1 +"}), {}, u"Não calculado : q := 1 +"},
        {Lines({u"#//S", u"#q :="}), {}, u"Não calculado : q :="},
        {Lines({u"#//S", u"#While"}), {}, u"Não calculado : While"},
        {Lines({u"#//S", u"#Wait(1 +)"}), {}, u"Não calculado : Wait(1 +)"},
        {Lines({u"#//S", u"#Wait(100))"}), {}, u"Não calculado : Wait(100))"},
        {Lines({u"#//S", u"#Cells(k, 2) := 1 +"}), {}, u"Não calculado : Cells(k, 2) := 1 +"},
        {Lines({u"#//S", u"#If a > 0 Then If b > 0 Then c := 1"}), {}, u"Não calculado : If a > 0 Then If b > 0 Then c := 1"},
    };
    for (const Case& c : cases) {
        const TScriptsOutcome outcome = CompileInEditor(c.lines);
        const QString trace = c.lines.join(u'|');
        EXPECT_EQ(FirstMessage(outcome), QString::fromUtf16(c.message)) << trace.toStdString();
        EXPECT_EQ(outcome.Compiled, c.codes.size() > 0) << trace.toStdString();
        EXPECT_EQ(Script(0).Valid, outcome.Compiled) << trace.toStdString();
        if (outcome.Compiled) {
            EXPECT_EQ(Codes(Script(0)), c.codes) << trace.toStdString();
        }
    }
}

TEST_F(CommandsTest, AFaultKeepsTheCommandsBeforeItAndTheOtherScripts)
{
    const TScriptsOutcome outcome = CompileInEditor(
        Lines({u"#//Um", u"#a := 1", u"#Draw x", u"#b := 2", u"", u"#//Dois", u"#foo", u"", u"#//Três", u"#Draw"}));
    EXPECT_FALSE(outcome.Compiled);
    ASSERT_EQ(outcome.Errors.size(), 2u);
    EXPECT_EQ(outcome.Errors[0], (TScriptError{QStringLiteral("Comando Inválido : Draw x"), 0, 2}));
    EXPECT_EQ(outcome.Errors[1], (TScriptError{QStringLiteral("Erro de sintaxe:  : foo"), 1, 1}));
    EXPECT_EQ(Codes(Script(0)), (std::vector<int>{ScriptComment, ScriptAssign}));
    EXPECT_EQ(Script(1).LinesetCount(), 1);
    EXPECT_TRUE(Script(2).Valid);
    EXPECT_EQ(rows_.ScriptButtonShows, 1);
    EXPECT_TRUE(sink_.empty());
    ShowScriptErrors(outcome.Errors);
    ASSERT_EQ(sink_.messages().size(), 2u);
    EXPECT_EQ(sink_.last().text, QStringLiteral("Erro de sintaxe:  : foo"));
    EXPECT_EQ(sink_.last().kind, MsgWarning);
    EXPECT_EQ(sink_.last().buttons, MsgOk);
}

TEST_F(CommandsTest, CommandsKeepTheirTargetsArgumentsAndTexts)
{
    struct Case {
        const char16_t* line;
        int code;
        int target;
        QStringList args;
    };
    const Case cases[] = {
        {u"a := 1", ScriptAssign, 1, {u"1"_s}},
        {u"k := 2", ScriptAssign, 14, {u"2"_s}},
        {u"x := 1", ScriptAssign, TargetVariableX, {u"1"_s}},
        {u"X := (1, 2)", ScriptAssign, TargetPairXY, {u"(1, 2)"_s}},
        {u"Px := 1", ScriptAssign, 101, {u"1"_s}},
        {u"P := (1, 2)", ScriptAssign, 401, {u"(1, 2)"_s}},
        {u"P(k).y := 5", ScriptAssign, TargetObjectByNumber, {u"5"_s, u"k"_s, u"2"_s}},
        {u"Cells(k, 2) := 5", ScriptAssign, TargetCells, {u"5"_s, u"k"_s, u"2"_s}},
        {u"CellsP(1, 2) := (3, 4)", ScriptAssign, TargetCellsPair, {u"(3, 4)"_s, u"1"_s, u"2"_s}},
        {u"Inc(Cells(k, 2), 1)", ScriptInc, TargetCells, {u"1"_s, u"k"_s, u"2"_s}},
        {u"Inc(a)", ScriptInc, 1, {u"1"_s}},
        {u"Dec(P.x, 0.5)", ScriptDec, 101, {u"0.5"_s}},
        {u"Dec(P(2), (1, 1))", ScriptDec, TargetObjectByNumber, {u"(1, 1)"_s, u"2"_s, u"4"_s}},
        {u"SetColor(y3, 255)", ScriptSetColor, 203, {u"255"_s}},
        {u"SetLineColor(L30)", ScriptSetLineColor, 430, {u"-1"_s}},
        {u"SetInsideColor(c9, rgb(1, 2, 3))", ScriptSetInsideColor, 309, {u"rgb(1, 2, 3)"_s}},
        {u"Call(S, 1, , (2, 3))", ScriptCall, 0, {u"1"_s, u""_s, u"(2, 3)"_s}},
        {u"Play(x, 0, 1)", ScriptPlay, TargetVariableX, {u"0"_s, u"1"_s}},
        {u"PlaySync(a, 0, 1, max(2, 3))", ScriptPlaySync, 1, {u"0"_s, u"1"_s, u"max(2, 3)"_s}},
        {u"Wait(100)", ScriptWait, 0, {u"(100)"_s}},
        {u"SetSampleRate( )", ScriptSetSampleRate, 0, {u""_s}},
        {u"SetArea(-1, -2, 1, 2)", ScriptSetArea, 0, {u"-1"_s, u"-2"_s, u"1"_s, u"2"_s}},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        CompileInEditor(QStringList{u"#//S"_s, u'#' + line});
        ASSERT_TRUE(Script(0).Valid) << line.toStdString();
        const Tlineset& set = Script(0).Sets.at(1);
        EXPECT_EQ(set.Code, c.code) << line.toStdString();
        EXPECT_EQ(set.Target, c.target) << line.toStdString();
        EXPECT_EQ(ArgTexts(set), c.args) << line.toStdString();
        EXPECT_EQ(set.SourceLine, 1);
        for (const TKavirofunction& arg : set.Args)
            EXPECT_EQ(arg.Code.isEmpty(), arg.Text.isEmpty()) << line.toStdString() << " compiles its arguments";
    }
    CompileInEditor(Lines({u"#//S", u"#ShowObj(P, y3, L1) // mostra", u"#Pause(Olá)", u"#Pause"}));
    const TMacroCommandsub& s = Script(0);
    EXPECT_EQ(s.Sets[1].Figures, (std::vector<int>{101, 203, 401}));
    EXPECT_EQ(s.Sets[1].Text, QStringLiteral("ShowObj(P, y3, L1)"));
    EXPECT_EQ(s.Sets[2].Text, QStringLiteral("Olá\r    Continuar com [OK]"));
    EXPECT_EQ(s.Sets[3].Text, QStringLiteral("    Continuar com [OK]"));
}

TEST_F(CommandsTest, TheCommaLocaleSeparatesArgumentsWithSemicolons)
{
    UseCommaLocale();
    CompileInEditor(Lines({u"#//Anim", u"#For k := 1 to 3 Step 0,5", u"#Cells(k; 2) := 0,5", u"#Next",
                           u"#SetColor(y3; rgb(1; 2; 3))", u"#Play(a; 0; 1)", u"#Inc(Cells(k; 2); 1)"}));
    const TMacroCommandsub& s = Script(0);
    ASSERT_TRUE(s.Valid);
    EXPECT_EQ(s.Sets[4].Text, QStringLiteral("Inc(k;0,5)"));
    EXPECT_EQ(s.Sets[6].Text, QStringLiteral("Dec(k;0,5)"));
    EXPECT_EQ(s.Sets[3].Target, TargetCells);
    EXPECT_EQ(ArgTexts(s.Sets[3]), Lines({u"0,5", u"k", u"2"}));
    EXPECT_EQ(s.Sets[7].Target, 203);
    EXPECT_EQ(ArgTexts(s.Sets[7]), Lines({u"rgb(1; 2; 3)"}));
    EXPECT_EQ(ArgTexts(s.Sets[8]), Lines({u"0", u"1"}));
    EXPECT_EQ(s.Sets[9].Target, TargetCells);

    CompileInEditor(Lines({u"#On a; P Change"}));
    EXPECT_EQ(Script(0).Trigger.size(), 3);
}

TEST_F(CommandsTest, BlocksJumpToTheirMatchingCommands)
{
    CompileInEditor(Lines({u"#//S", u"#While a < 3", u"#If a > 1 Then", u"#While b < 2", u"#b := b + 1", u"#Wend",
                           u"#Else", u"#a := 0", u"#Endif", u"#a := a + 1", u"#Wend"}));
    ASSERT_TRUE(Script(0).Valid);
    const std::pair<int, int> jumps[] = {{1, 10}, {2, 6}, {3, 5}, {5, 3}, {6, 8}, {10, 1}};
    for (const auto& [from, to] : jumps)
        EXPECT_EQ(Script(0).Sets[from].Target, to) << from;

    // Unmatched blocks point past the end (a Wend to the command after it).
    CompileInEditor(Lines({u"#//S", u"#If a > 0 Then", u"#b := 1"}));
    EXPECT_EQ(Script(0).Sets[1].Target, 3);
    CompileInEditor(Lines({u"#//S", u"#If a > 0 Then", u"#Else", u"#b := 1"}));
    EXPECT_EQ(Script(0).Sets[1].Target, 2);
    EXPECT_EQ(Script(0).Sets[2].Target, 4);
    CompileInEditor(Lines({u"#//S", u"#While a < 3", u"#Draw"}));
    EXPECT_EQ(Script(0).Sets[1].Target, 3);
    CompileInEditor(Lines({u"#//S", u"#Wend", u"#Draw"}));
    EXPECT_EQ(Script(0).Sets[1].Target, 2);
}

TEST_F(CommandsTest, TriggersHoldEveryTokenNamedAndOnlyValidScriptsHaveOne)
{
    CompileInEditor(Lines({u"#On a, P Change", u"#Draw"}));
    ASSERT_TRUE(Script(0).Valid);
    const TTokenString expected = MakeTokenString({Vocabulary.ParamTokens[1], Vocabulary.PointTokens[1]});
    const TTokenString& trigger = Script(0).Trigger;
    EXPECT_EQ(trigger.size(), 3) << "a, and both tokens named P";
    for (QChar code : expected)
        EXPECT_TRUE(trigger.contains(code));
    EXPECT_TRUE(trigger.contains(QChar(TokenCodes.PointFunc)));

    CompileInEditor(Lines({u"#//S", u"#On nada Change"}));
    EXPECT_TRUE(Script(0).Valid);
    EXPECT_TRUE(Script(0).Trigger.isEmpty());

    CompileInEditor(Lines({u"#On a Change", u"#Draw x"}));
    EXPECT_FALSE(Script(0).Valid);
    EXPECT_TRUE(Script(0).Trigger.isEmpty());
}

// -------------------------------------------------------------- names

using NamesTest = ScriptTest;

TEST_F(NamesTest, TargetsAreParsedCaseCounting)
{
    struct Case {
        const char16_t* name;
        int target; // 0: refused
        QStringList indexes;
    };
    const Case cases[] = {
        {u"a", 1, {}},          {u"@", 13, {}},         {u"k", 14, {}},          {u"x", 15, {}},
        {u"y", 16, {}},         {u"z", 17, {}},         {u"w", 18, {}},          {u"X", 19, {}},
        {u"Y", 20, {}},         {u"X.x", 15, {}},       {u"X.y", 16, {}},        {u"Y.x", 17, {}},
        {u"Y.y", 18, {}},       {u"P", 401, {}},        {u"O", 422, {}},         {u"Px", 101, {}},
        {u"P.x", 101, {}},      {u"Qy", 202, {}},       {u"A.r", 308, {}},       {u"Or", 322, {}},
        {u"P(k)", 1000, {u"k"_s, u"4"_s}},               {u"P(2*k).x", 1000, {u"2*k"_s, u"1"_s}},
        {u"P(k).r", 1000, {u"k"_s, u"3"_s}},             {u"Cells(k, 2)", 2000, {u"k"_s, u"2"_s}},
        {u"CellsP(r(1), 2)", 2001, {u"r(1)"_s, u"2"_s}},
        {u"i", 0, {}},          {u"e", 0, {}},          {u"", 0, {}},            {u"foo", 0, {}},
        {u"p.x", 0, {}},        {u"Pz", 0, {}},         {u"P.X", 0, {}},         {u"P..x", 0, {}},
        {u"X.z", 0, {}},        {u"Z", 0, {}},          {u"P(", 0, {}},          {u"P(k", 0, {}},
        {u"P()", 0, {}},        {u"P(k).z", 0, {}},     {u"P(k)x", 0, {}},       {u"Cells(1)", 0, {}},
        {u"Cells(1, 2, 3)", 0, {}},                     {u"Cells(1, 2) x", 0, {}},
        {u"cells(1, 2)", 0, {}},                        {u"Cells(, 2)", 0, {}},
    };
    for (const Case& c : cases) {
        const std::optional<TScriptTarget> target = ParseScriptTarget(QString::fromUtf16(c.name));
        const std::string trace = QString::fromUtf16(c.name).toStdString();
        if (c.target == 0) {
            EXPECT_FALSE(target.has_value()) << trace;
            continue;
        }
        ASSERT_TRUE(target.has_value()) << trace;
        EXPECT_EQ(target->Target, c.target) << trace;
        EXPECT_EQ(target->Indexes, c.indexes) << trace;
    }
}

TEST_F(NamesTest, FiguresAreObjectsFunctionsRelationsAndSegments)
{
    const std::pair<const char16_t*, int> cases[] = {
        {u"P", 101},  {u"O", 122},  {u"A", 108},  {u"y1", 201}, {u"Y20", 220}, {u"c9", 309},
        {u"C1", 301}, {u"L30", 430}, {u"l1", 401}, {u"p", 0},    {u"y", 0},     {u"y0", 0},
        {u"y21", 0},  {u"c10", 0},  {u"L31", 0},  {u"x1", 0},   {u"y1a", 0},   {u"y 1", 0},
        {u"y-1", 0},  {u"", 0},     {u"PQ", 0},
    };
    for (const auto& [name, figure] : cases)
        EXPECT_EQ(ParseFigureName(QString::fromUtf16(name)), figure) << QString::fromUtf16(name).toStdString();
}

TEST_F(NamesTest, ArgumentsSplitOutsideParenthesesAndBrackets)
{
    const std::pair<const char16_t*, QStringList> cases[] = {
        {u"Cells(k, 2), 1", {u"Cells(k, 2)"_s, u" 1"_s}},
        {u"a, (1, 2), [P, Q]", {u"a"_s, u" (1, 2)"_s, u" [P, Q]"_s}},
        {u"", {u""_s}},
        {u"a,,b", {u"a"_s, u""_s, u"b"_s}},
        {u"f(1, 2", {u"f(1, 2"_s}},
    };
    for (const auto& [text, pieces] : cases)
        EXPECT_EQ(SplitScriptArgs(QString::fromUtf16(text)), pieces);

    const std::tuple<const char16_t*, qsizetype, qsizetype> parens[] = {
        {u"P(k(1))", 1, 6}, {u"P(k(1)", 1, -1}, {u"(a)(b)", 3, 5}, {u"()", 0, 1}, {u"x", -1, -1},
    };
    for (const auto& [text, open, close] : parens)
        EXPECT_EQ(FindClosingParen(QString::fromUtf16(text), open), close) << QString::fromUtf16(text).toStdString();
}

} // namespace
