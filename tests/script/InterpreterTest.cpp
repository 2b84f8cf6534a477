// Scripts run: loops and branches, calls, what assignments write, the
// redraws a run makes, its messages, waiting on the clock, stopping with
// Esc or a close request, and scripts that a change starts.
#include "ScriptRunKit.h"

#include "engine/NumberFields.h"
#include "engine/TokenTable.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "render/view/RedrawState.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include <functional>

namespace {

// Object k as a point at a position text «(x, y)».
void PlacePoint(int k, const QString& position)
{
    TPointFunction& p = DocumentTables.Points[k];
    p = DefaultPoint;
    p.Kind = ObjectPoint;
    p.Pos.Text = position;
    JoinPointTexts(p, PointTextDirection::Split);
    for (TKavirofunction* f : {&p.Pos, &p.X, &p.Y, &p.R})
        PrepareExpression(*f, k);
    RefreshPntRows();
}

void UseFunction(int n, const QString& text)
{
    TEquationFunction f = DefaultEquation;
    f.Func.Text = text;
    PrepareExpression(f.Func, ModeFunction);
    DocumentTables.Functions[n] = f;
}

long double Param(char16_t letter)
{
    for (int j = 1; j <= ParamCount; ++j)
        if (ParamLetters[j] == letter)
            return DocumentTables.Params[j].Value;
    return -1.0L;
}

// A clock one millisecond later at every reading: time passes while
// commands run.
class RunningClock final : public platform::Clock {
public:
    std::int64_t tickCount() const override { return now_++; }

private:
    mutable std::int64_t now_ = 0;
};

class InterpreterTest : public ScriptRunTest {
protected:
    void SetUp() override
    {
        ScriptRunTest::SetUp();
        PlacePoint(1, QStringLiteral("(0, 0)"));
        ProgramState.Modified = 0;
    }
    // Scripts separated by blank lines, each line's "#" put in front.
    void CompileScriptsOf(const QStringList& lines)
    {
        QStringList note;
        for (const QString& line : lines)
            note.append(line.isEmpty() ? line : u'#' + line);
        CompileNote(note);
    }
};

TEST_F(InterpreterTest, LoopsAndBranches)
{
    struct Case {
        QStringList Lines;
        long double A, B;
    };
    const Case cases[] = {
        {{u"a := 0"_s, u"For x := 1 to 3"_s, u"a := a + x"_s, u"Next"_s, u"b := x"_s}, 6.0L, 3.0L},
        {{u"a := 0"_s, u"For x := 3 to 1"_s, u"a := a + x"_s, u"Next"_s, u"b := x"_s}, 0.0L, 2.0L},
        {{u"a := 0"_s, u"For x := 0 to 1 Step 0.5"_s, u"a := a + 1"_s, u"Next"_s, u"b := x"_s}, 3.0L, 1.0L},
        {{u"a := 0"_s, u"While 1/0"_s, u"a := 1"_s, u"Wend"_s, u"b := 2"_s}, 0.0L, 2.0L},
        {{u"a := 0"_s, u"While a < 5"_s, u"Inc(a)"_s, u"Wend"_s, u"b := a"_s}, 5.0L, 5.0L},
        {{u"If 1 > 2 Then a := 5 Else a := 7"_s, u"If 2 > 1 Then b := 4"_s}, 7.0L, 4.0L},
        {{u"If 0 Then"_s, u"a := 3"_s, u"Else"_s, u"a := 4"_s, u"Endif"_s}, 3.0L, 1.0L}, // 0 is defined: true
        {{u"a := 5"_s, u"End"_s, u"a := 6"_s, u"b := 6"_s}, 5.0L, 1.0L},
        {{u"a := 0.1"_s, u"Inc(a, 0.9)"_s, u"Dec(b, 0.25)"_s}, 1.0L, 0.75L},
        {{u"X := (3, 4)"_s, u"a := x"_s, u"b := y"_s}, 3.0L, 4.0L},
        {{u"Y := 1/0"_s, u"a := z"_s, u"b := 1/0"_s}, 1.0L, 1.0L}, // undefined writes no parameter
        {{u"x := 2"_s, u"Inc(x, 3)"_s, u"a := x"_s, u"X := (1, 2)"_s, u"Inc(X, (1, 1))"_s, u"b := y"_s}, 5.0L, 3.0L},
    };
    for (const Case& c : cases) {
        ResetDocument();
        RunLines(c.Lines);
        const std::string what = c.Lines.join(u" / ").toStdString();
        EXPECT_EQ(Param(u'a'), c.A) << what;
        EXPECT_EQ(Param(u'b'), c.B) << what;
    }
}

TEST_F(InterpreterTest, CallsPassTheirValuesAndEndEndsOnlyTheCalledScript)
{
    PlacePoint(1, QStringLiteral("(3, 4)"));
    struct Case {
        const char16_t* Call;
        long double A, B, C, D;
    };
    const Case cases[] = {
        {u"Call(S2, P)", 3.0L, 4.0L, 1.0L, 1.0L},          // z, w undefined: c, d stay
        {u"Sub(S2, 1, 2, (5, 6))", 1.0L, 2.0L, 5.0L, 6.0L}, // a pair third gives z and w
        {u"Call(S2, (1, 2), 3, (4, 5))", 1.0L, 2.0L, 3.0L, 4.0L},
        {u"Call(S2, 7, 8, 9, 10)", 7.0L, 8.0L, 9.0L, 10.0L},
    };
    for (const Case& c : cases) {
        ResetDocument();
        PlacePoint(1, QStringLiteral("(3, 4)"));
        CompileScriptsOf({u"//S1"_s, QString::fromUtf16(c.Call), u"k := 9"_s, QString(), u"//S2"_s, u"a := x"_s,
                          u"b := y"_s, u"c := z"_s, u"d := w"_s, u"End"_s, u"k := 5"_s});
        RunScript(0);
        const std::string what = QString::fromUtf16(c.Call).toStdString();
        EXPECT_EQ(Param(u'a'), c.A) << what;
        EXPECT_EQ(Param(u'b'), c.B) << what;
        EXPECT_EQ(Param(u'c'), c.C) << what;
        EXPECT_EQ(Param(u'd'), c.D) << what;
        EXPECT_EQ(Param(u'k'), 9.0L) << what << ": the caller goes on after End in the called script";
    }
    // A call keeps the caller's caption.
    EXPECT_EQ(window.Captions.count(u"S1 : Parar com tecla F1"_s), 4);
    EXPECT_EQ(window.Captions.count(u"KAVIRO"_s), 4);
    EXPECT_EQ(window.Captions.size(), 8);
}

TEST_F(InterpreterTest, AParameterLoopIsNotHeldByASynchronisedCurve)
{
    TPointFunction& curve = DocumentTables.Points[2];
    curve = DefaultPoint;
    curve.Kind = ObjectParametric;
    curve.ParamChar = u'k';
    curve.Sync = 1;
    curve.X.Text = QStringLiteral("k");
    curve.Y.Text = QStringLiteral("1");
    curve.Low.Text = QStringLiteral("0");
    curve.High.Text = QStringLiteral("5");
    for (TKavirofunction* f : {&curve.X, &curve.Y})
        PrepareExpression(*f, 2);
    for (TKavirofunction* f : {&curve.Low, &curve.High})
        PrepareExpression(*f, ModePlain);
    RunLines({u"For k := 0 to 10"_s, u"Next"_s});
    EXPECT_EQ(Param(u'k'), 10.0L);
}

TEST_F(InterpreterTest, ARunDrawsWhatItLeavesMarkedOnce)
{
    UseFunction(1, QStringLiteral("x"));
    struct Case {
        QStringList Lines;
        int Redraws;
        int Modified; // -1: either
    };
    const Case cases[] = {
        {{u"P.x := 1"_s, u"P.y := 2"_s, u"Draw"_s}, 1, 1},
        {{u"a := 2"_s}, 1, 1},
        {{u"x := 2"_s, u"y := x"_s, u"Wait(0)"_s}, 0, 0},
        {{u"Draw"_s, u"Draw:"_s}, 2, 0},
        {{u"a := 2"_s, u"Draw"_s, u"b := 3"_s}, 2, 1},
        {{u"ShowObj(P)"_s}, 1, 0}, // shown already
        {{u"HideObj(P, y1)"_s}, 1, 1},
        {{u"InvShowObj(y1)"_s, u"InvShowObj(y1)"_s}, 2, 1},
        {{u"SetArea(-2, 3, 2, -3)"_s}, 1, -1},
        {{u"ClrAImg"_s}, 1, -1},
        {{u"ClrAImg(P, y1)"_s}, 1, -1},
        {{u"Calc"_s, u"OverDraw"_s}, 0, 0},
        {{u"SetColor(P, 255)"_s}, 1, 1},
        {{u"Cells(1, 1) := 2"_s}, 1, 1},
        {{u"ClrAllCells"_s}, 1, 1},
        {{u"Refresh"_s}, 1, 0}, // the layers anew, nothing marked
        {{u"a := 2"_s, u"Refresh"_s}, 1, 1},
        {{u"a := 3"_s, u"Pause"_s}, 1, 1},
        {{u"SetAImg"_s}, 0, 0},
        // Each draws at once, before the next command.
        {{u"ClrAImg"_s, u"a := 2"_s}, 2, 1},
        {{u"ClrAImg(P)"_s, u"a := 2"_s}, 2, 1},
        {{u"SetArea(-1, -1, 1, 1)"_s, u"a := 2"_s}, 2, 1},
        {{u"InvShowObj(P)"_s, u"a := 2"_s}, 2, 1},
    };
    for (const Case& c : cases) {
        ResetEditScopes();
        ProgramState.Modified = 0;
        const std::string what = c.Lines.join(u" / ").toStdString();
        EXPECT_EQ(RunLines(c.Lines), c.Redraws) << what;
        if (c.Modified >= 0) {
            EXPECT_EQ(ProgramState.Modified, c.Modified) << what;
        }
        EXPECT_FALSE(IsAnythingToRedraw()) << what;
    }
}

TEST_F(InterpreterTest, WhatTheCommandsChange)
{
    UseFunction(1, QStringLiteral("x"));
    RunLines({u"P.x := 1.5"_s, u"P.y := -2"_s, u"HideObj(y1)"_s, u"SetColor(P, 255)"_s, u"SetLineColor(P, 65280)"_s,
              u"SetInsideColor(P, 16711680)"_s, u"SetColor(y1, 16777216)"_s, u"SetColor(y1, -1)"_s, u"AimgOff"_s});
    const TPointFunction& p = DocumentTables.Points[1];
    EXPECT_EQ(p.Pos.Text, QStringLiteral("(1.5,-2)"));
    EXPECT_EQ(p.ColorNo1, 255u);
    EXPECT_EQ(p.RColorNo1, 65280u);
    EXPECT_EQ(p.InsideColor, 16711680u);
    EXPECT_EQ(DocumentTables.Functions[1].Color, DefaultEquation.Color) << "colours beyond 0..16777215 do nothing";
    EXPECT_EQ(DocumentTables.Functions[1].Visible, 0);
    EXPECT_EQ(Options.CanAImg, 0);
    EXPECT_EQ(window.TraceButtons, std::vector<bool>{false});
    // The moved object's row is shown again at the next frame.
    EXPECT_GE((rows_.RowShows[{TRowKind::Objects, 1}]), 1);

    // Calc and OverDraw draw the scene alone, marking the stickers first.
    const int paints = window.GraphPaints;
    RunLines({u"AimgOn"_s, u"Calc"_s, u"OverDraw:"_s});
    EXPECT_EQ(Options.CanAImg, 1);
    EXPECT_EQ(window.StickerMarks, 2);
    EXPECT_GE(window.GraphPaints, paints + 1);
    // RefreshSticker renders every sticker.
    RunLines({u"RefreshSticker"_s});
    EXPECT_EQ(window.StickerRefreshes.back(), true);
}

TEST_F(InterpreterTest, ObjectCoordinatesAreWrittenAsNumberTexts)
{
    struct Case {
        const char16_t* Line;
        const char16_t* X; // the texts after it; P starts at (0, 0)
        const char16_t* Y;
        bool Complex = false;
    };
    const Case cases[] = {
        {u"P.x := 0.0000001", u"0", u"0"},
        {u"P.x := 10^20", u"1·10^(20)", u"0"}, // in canonical spelling
        {u"P.y := 1/3", u"0", u"0.333333333333333"},
        {u"P := (2, -1.25)", u"2", u"-1.25"},
        {u"Px := 3", u"3", u"0"},
        {u"P.x := (1, 2)", u"0", u"0"}, // a pair for a coordinate: refused
        {u"P := 5", u"0", u"0"},        // a real for a position: refused
        {u"P := 5", u"5", u"0", true},  // complex mode: the point (5, 0)
        {u"P.y := 2 + 3i", u"0", u"2", true},
        {u"P.r := 2 + 3i", u"0", u"0", true},
        {u"P(1).y := 7", u"0", u"7"},
        {u"P(1.4).x := 8", u"8", u"0"},
        {u"P(0.5).x := 1", u"0", u"0"}, // 0.5 rounds to 0: no object
        {u"P.x := ln(0)", u"0", u"0"},
    };
    for (const Case& c : cases) {
        PlacePoint(1, QStringLiteral("(0, 0)"));
        Options.ComplexMode = c.Complex ? 1 : 0;
        const QString line = QString::fromUtf16(c.Line);
        RunLines({line});
        EXPECT_EQ(DocumentTables.Points[1].X.Text, QString::fromUtf16(c.X)) << line.toStdString();
        EXPECT_EQ(DocumentTables.Points[1].Y.Text, QString::fromUtf16(c.Y)) << line.toStdString();
    }
    Options.ComplexMode = 0;
    // The position formula compiles with the object's mode and reads back.
    RunLines({u"P := (2, 3)"_s, u"a := P.x + P.y"_s});
    EXPECT_EQ(Param(u'a'), 5.0L);
    EXPECT_FALSE(DocumentTables.Points[1].Pos.Code.isEmpty());
}

TEST_F(InterpreterTest, CellsTakeValuesPairsAndSteps)
{
    RunLines({u"Cells(1, 2) := 5"_s, u"Cells(2, 10) := (1, 2)"_s, u"Cells(0.5, 3) := 7"_s, u"Cells(200.5, 1) := 8"_s,
              u"Cells(201, 1) := 9"_s, u"CellsP(3, 1) := (7, 8)"_s, u"CellsP(4, 1) := 7"_s, u"Inc(Cells(1, 2), 1)"_s,
              u"Dec(CellsP(3, 1), (1, 2))"_s, u"Cells(5, 5) := 1/0"_s});
    auto cell = [](int r, int c) {
        const TCell& cell = DocumentTables.Cells[r][c];
        return cell.Defined ? cell.Value : -999.0L;
    };
    EXPECT_EQ(cell(1, 2), 6.0L);
    EXPECT_EQ(cell(2, 10), 1.0L) << "a pair into column 10 drops its y";
    EXPECT_EQ(cell(0, 3), 7.0L) << "0.5 rounds to row 0";
    EXPECT_EQ(cell(200, 1), 8.0L) << "200.5 rounds to row 200";
    EXPECT_EQ(cell(3, 1), 6.0L);
    EXPECT_EQ(cell(3, 2), 6.0L);
    EXPECT_EQ(cell(4, 1), -999.0L) << "CellsP takes only a pair";
    EXPECT_EQ(cell(4, 2), -999.0L);
    EXPECT_EQ(cell(5, 5), -999.0L);
    EXPECT_TRUE(DocumentTables.Cells[5][5].Text.isEmpty());
    EXPECT_EQ(DocumentTables.Cells[1][2].Text, QStringLiteral("6"));
    EXPECT_FALSE(std::find(window.TableCells.begin(), window.TableCells.end(), std::pair{1, 2}) ==
                 window.TableCells.end());

    // ClrAllCells empties the data; the header row and column stay.
    const QString header = DocumentTables.Cells[0][1].Text;
    const QString rowHeader = DocumentTables.Cells[1][0].Text;
    RunLines({u"ClrAllCells"_s});
    EXPECT_EQ(cell(1, 2), -999.0L);
    EXPECT_TRUE(DocumentTables.Cells[1][2].Text.isEmpty());
    EXPECT_EQ(cell(0, 3), 7.0L) << "row 0 is the header";
    EXPECT_EQ(DocumentTables.Cells[0][1].Text, header);
    EXPECT_EQ(DocumentTables.Cells[1][0].Text, rowHeader);
    EXPECT_EQ(window.TableClears, 1);
}

TEST_F(InterpreterTest, FaultsStopTheRunWithTheirLine)
{
    struct Case {
        QStringList Lines;
        QStringList Messages;
    };
    const Case cases[] = {
        {{u"SetArea(0,0,0,1)"_s, u"a := 5"_s}, {u"Intervalo inválido : SetArea(0,0,0,1)"_s}},
        {{u"SetArea(1/0, 0, 1, 1)"_s, u"a := 5"_s}, {}}, // undefined: nothing, the run goes on
        {{u"Pause(Olá)"_s, u"a := 5"_s}, {u"Olá\r    Continuar com [OK]"_s}},
    };
    for (const Case& c : cases) {
        ResetDocument();
        sink_.clear();
        sink_.scriptAnswers({false});
        RunLines(c.Lines);
        const std::string what = c.Lines.join(u" / ").toStdString();
        EXPECT_EQ(Messages(sink_), c.Messages) << what;
        EXPECT_EQ(Param(u'a'), c.Messages.isEmpty() ? 5.0L : 1.0L) << what;
        EXPECT_FALSE(IsScriptRunning()) << what;
        EXPECT_EQ(ProgramState.ScriptDrawState, 0) << what;
        EXPECT_EQ(window.CurrentCaption, QStringLiteral("KAVIRO")) << what;
    }
    EXPECT_EQ(sink_.messages().empty() ? -1 : sink_.last().kind, MsgInfo) << "Pause informs";
}

TEST_F(InterpreterTest, ACallTooDeepOrAnInvalidScriptIsRefused)
{
    CompileScriptsOf({u"//Eu"_s, u"k := k + 1"_s, u"Call(Eu)"_s});
    RunScript(0);
    EXPECT_EQ(Messages(sink_), QStringList{NestingTooDeepText});
    EXPECT_EQ(Param(u'k'), 22.0L) << "the first run and twenty nested calls";
    EXPECT_EQ(ProgramState.ScriptDrawState, 0);
    EXPECT_EQ(window.CurrentCaption, QStringLiteral("KAVIRO"));

    sink_.clear();
    CompileScripts({u"#//Falha"_s, u"#Draw x"_s}, THeaderErrors::Keep);
    RunScript(0);
    EXPECT_EQ(Messages(sink_), QStringList{InvalidScriptText});
    EXPECT_TRUE(window.Captions.filter(u"Falha"_s).isEmpty()) << "an invalid script does not start";
    // Nothing outside the store runs.
    sink_.clear();
    RunScript(-1);
    RunScript(1);
    EXPECT_TRUE(sink_.empty());
}

TEST_F(InterpreterTest, WaitingGoesByTheClock)
{
    struct Case {
        QStringList Lines;
        std::int64_t Tick;
    };
    const Case cases[] = {
        {{u"Wait(10000)"_s}, 0},
        {{u"Wait(-1)"_s}, 0},
        {{u"Wait(0)"_s}, 0},
        {{u"Wait(100)"_s}, 100},
        {{u"Wait(9999.4)"_s}, 9999},
        {{u"SetTime(40)"_s, u"Draw"_s, u"Wait"_s}, 40},
        {{u"SetTime(40)"_s, u"Wait"_s, u"Wait"_s}, 40},
        {{u"Wait"_s}, 0}, // the deadline starts at the run's start
        {{u"SetTime(10000)"_s, u"Wait"_s}, 0},
    };
    for (const Case& c : cases) {
        platform::FakeClock fresh;
        const platform::ScopedClock useFresh(fresh);
        input.onProcessEvents([&](int maxWaitMs) { fresh.advance(maxWaitMs); });
        RunLines(c.Lines);
        EXPECT_EQ(fresh.tickCount(), c.Tick) << c.Lines.join(u" / ").toStdString();
    }
}

TEST_F(InterpreterTest, EscStopsARunAfterAsking)
{
    // Esc held: the question comes after every command (the name line is
    // one), a long wait returns at once; Cancel goes on, OK stops.
    input.setKeyDown(platform::VkEscape);
    sink_.scriptAnswers({false, false, true});
    RunLines({u"Wait(5000)"_s, u"a := 3"_s, u"b := 4"_s});
    EXPECT_EQ(clock.tickCount(), 0);
    EXPECT_EQ(Messages(sink_), (QStringList{StopQuestion, StopQuestion, StopQuestion}));
    EXPECT_EQ(sink_.last().buttons, MsgOkCancel);
    EXPECT_EQ(Param(u'a'), 3.0L);
    EXPECT_EQ(Param(u'b'), 1.0L);
    input.releaseAll();

    // An endless loop on a clock that moves as it is read: the events are
    // handled every 20 ms so the windows repaint, and F1 pressed in one of
    // those rounds stops it.
    RunningClock running;
    const platform::ScopedClock useRunning(running);
    int rounds = 0;
    input.onProcessEvents([&](int) {
        if (++rounds == 5)
            input.setKeyDown(platform::VkF1);
    });
    sink_.clear();
    window.Captions.clear();
    const int paints = window.GraphPaints;
    RunLines({u"While 1"_s, u"Inc(a)"_s, u"Wend"_s});
    EXPECT_EQ(Messages(sink_), QStringList{StopQuestion});
    EXPECT_EQ(rounds, 5);
    EXPECT_GT(window.GraphPaints, paints) << "the view is shown before the question";
    EXPECT_EQ(window.Captions, (QStringList{u"Teste : Parar com tecla F1"_s, u"KAVIRO"_s}));
    EXPECT_FALSE(IsScriptRunning());
}

TEST_F(InterpreterTest, ACloseRequestStopsTheRunWithoutAQuestion)
{
    int rounds = 0;
    input.onProcessEvents([&](int maxWaitMs) {
        clock.advance(std::min(maxWaitMs, 10));
        if (++rounds == 3)
            StopRunningScript();
    });
    RunLines({u"Wait(5000)"_s, u"a := 3"_s});
    EXPECT_LT(clock.tickCount(), 100);
    EXPECT_EQ(Param(u'a'), 1.0L);
    EXPECT_TRUE(sink_.empty());
    EXPECT_FALSE(IsScriptRunning());
    // With no run, a close request stops nothing later.
    StopRunningScript();
    RunLines({u"a := 3"_s});
    EXPECT_EQ(Param(u'a'), 3.0L);
}

TEST_F(InterpreterTest, AButtonPressedWhileAScriptWaitsDoesNothing)
{
    CompileScriptsOf({u"//Longo"_s, u"Wait(100)"_s, u"a := 2"_s, QString(), u"//Outro"_s, u"b := 7"_s});
    input.onProcessEvents([&](int maxWaitMs) {
        clock.advance(maxWaitMs);
        RunScript(1);
    });
    RunScript(0);
    EXPECT_EQ(Param(u'a'), 2.0L);
    EXPECT_EQ(Param(u'b'), 1.0L);
    RunScript(1);
    EXPECT_EQ(Param(u'b'), 7.0L);
}

TEST_F(InterpreterTest, AChangeRunsItsScriptOnceInsideTheRedraw)
{
    CompileScriptsOf({u"On a Change"_s, u"b := a"_s, u"c := c + 1"_s, u"Draw"_s, QString(), u"//Outro"_s,
                      u"On d Change"_s, u"k := 7"_s});
    StepParameter(1, StepUp);
    EXPECT_EQ(Param(u'a'), Param(u'b'));
    EXPECT_EQ(Param(u'c'), 2.0L) << "the Draw's redraw starts it no second time";
    EXPECT_EQ(Param(u'k'), 1.0L) << "d did not change";
    EXPECT_FALSE(IsScriptRunning());
    // A button's run that changes a starts no triggered run.
    CompileScriptsOf({u"On a Change"_s, u"c := c + 1"_s, QString(), u"//Passo"_s, u"a := a + 1"_s, u"Draw"_s});
    RunScript(1);
    EXPECT_EQ(Param(u'c'), 2.0L);
}

TEST_F(InterpreterTest, AToneAfterPlayAfterOfAnEarlierRunStartsAnew)
{
    RunLines({u"PlayAfter(x, 0, 0.001, 1)"_s});
    RunLines({u"Play(x, 0, 0.001, 1)"_s});
    EXPECT_EQ(Sound.FrameCount(), 23);
}

} // namespace
