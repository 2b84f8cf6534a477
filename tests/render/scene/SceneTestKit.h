#pragma once

// The scene tests' view: GraphScale over −5..5 × −5..5 on 400 × 400 pixels,
// its layer pictures sized as the graph window sizes them, the pipeline
// installed as the redrawer, and counting fakes for the window and a participant.
#include "engine/Compiler.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "render/gfx/Metafile.h"
#include "render/gfx/TextMetrics.h"
#include "render/plot/fakes/CountingAxisPanelsHost.h"
#include "render/scene/Redraw.h"
#include "render/view/RedrawState.h"
#include "render/view/Scale.h"
#include "render/scene/fakes/CountingRedrawParticipant.h"
#include "render/view/fakes/CountingViewServices.h"
#include "tests/render/ViewTestKit.h"
#include "tests/render/plot/PlotTestKit.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <string>
#include <vector>

class SceneTest : public ::testing::Test {
protected:
    FakeTextMetrics fakeMetrics;
    ScopedTextMetrics useFakeMetrics{fakeMetrics};
    CountingAxisPanelsHost axesHost;
    ScopedAxisPanelsHost useAxesHost{axesHost};
    CountingRedrawWindow window;
    ScopedRedrawWindow useWindow{window};
    CountingRedrawParticipant participant;
    TRedrawParticipation takesPart{participant, TRedrawOrder::Session};
    TSceneRedrawer redrawer;
    ScopedRedrawer useRedrawer{redrawer};
    ScaleT& view = GraphScale;
    TGraphImages& images = GraphScale.GraphImages;

    void SetUp() override { SetView(-5.0L, 5.0L, -5.0L, 5.0L, 400, 400); }

    void SetView(long double xLow, long double xHigh, long double yLow, long double yHigh, int width, int height)
    {
        SetTestView(xLow, xHigh, yLow, yHigh, width, height);
    }

    static void SetFunction(int i, const char* text)
    {
        TEquationFunction& f = DocumentTables.Functions[i];
        f.Func = BlankFunction;
        f.Func.Text = QString::fromUtf8(text);
        PrepareExpression(f.Func, ModeFunction);
    }
    static void SetRelation(int j, const char* text)
    {
        TEquationFunction& r = DocumentTables.Relations[j];
        r.Func = BlankFunction;
        r.Func.Text = QString::fromUtf8(text);
        PrepareExpression(r.Func, ModeRelation);
    }
    static void SetUserFunction(int u, const char* text)
    {
        TKavirofunction& f = DocumentTables.UserFunctions[u];
        f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, ModeUserFunction);
    }
    static void SetFormula(int k, TKavirofunction& f, const char* text)
    {
        f = BlankFunction;
        f.Text = QString::fromUtf8(text);
        PrepareExpression(f, k);
    }

    static TTokenCode Token(const char* name) { return FindTokenByName(QString::fromUtf8(name)); }
    static TTokenCode FunctionToken(int i) { return Vocabulary.FunctionTokens[i]; }
    static void MarkChanged(TTokenCode name)
    {
        const QChar c(name);
        MarkNamesChanged(QStringView(&c, 1));
    }
    // A parameter stepped as the data panel does it: objects dirty, its name changed.
    static void StepParameter(const char* name, long double value)
    {
        DocumentTables.Params[ParamIndexOfToken(Token(name))].Value = value;
        SetDirtyObjects();
        MarkChanged(Token(name));
    }

    // The display list's lines without its size line.
    static std::vector<std::string> Lines(const TMetafile& picture) { return MetafileLines(picture); }
};
