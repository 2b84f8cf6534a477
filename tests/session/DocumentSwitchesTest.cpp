// What the windows switch in the document through the session: the
// background picture's options, the notes cleared or hidden, the
// parameter rows' switches and the trace and vector switches.
#include "StoreTestKit.h"

#include "session/BackgroundPicture.h"
#include "session/NoteEdits.h"
#include "session/ParameterSteps.h"
#include "session/StoreOperations.h"
#include "session/UndoPoints.h"

#include "model/History.h"
#include "render/view/RedrawState.h"
#include "render/view/fakes/CountingViewServices.h"

#include <functional>

namespace {

class DocumentSwitchesTest : public StoreTest {
protected:
    CountingRedrawer redrawer;
    ScopedRedrawer useRedrawer{redrawer};
};

TEST_F(DocumentSwitchesTest, TheBackgroundPicturesOptions)
{
    struct Case {
        const char* What;
        bool ShownBefore;
        std::function<void()> Act;
        const char* File; // BGfile afterwards
        bool Shown;
        int Redraws;
    };
    const QString old = QStringLiteral("/pics/old.png");
    const Case cases[] = {
        {"a file read", false, [] { TakeBackgroundFile(QStringLiteral("/pics/new.png"), true); }, "/pics/new.png",
         true, 1},
        {"a file that could not be read", true, [] { TakeBackgroundFile(QStringLiteral("/pics/bad.xyz"), false); },
         "/pics/bad.xyz", false, 0},
        {"the project's file again", false, [] { ShowBackgroundFile(true); }, "/pics/old.png", true, 1},
        {"a picture from the clipboard", false, [] { TakeBackgroundFromClipboard(); }, "", true, 1},
        {"cleared", true, [] { EXPECT_TRUE(ClearBackgroundPicture()); }, "", false, 1},
        {"cleared when none is shown", false, [] { EXPECT_FALSE(ClearBackgroundPicture()); }, "/pics/old.png",
         false, 0},
        {"fitted while shown", true, [] { SetBackgroundStretchMode(2); }, "/pics/old.png", true, 1},
        {"fitted while none is shown", false, [] { SetBackgroundStretchMode(2); }, "/pics/old.png", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        ProjectFile.BGfile = old;
        Options.BGshown = c.ShownBefore ? 1 : 0;
        ClearRedrawState();
        const int before = redrawer.Redraws;
        c.Act();
        EXPECT_EQ(ProjectFile.BGfile, QString::fromUtf8(c.File));
        EXPECT_EQ(Options.BGshown != 0, c.Shown);
        EXPECT_EQ(redrawer.Redraws - before, c.Redraws);
        if (c.Redraws) {
            EXPECT_TRUE(IsDirtyView()) << "the whole graph is drawn again";
        }
    }
    EXPECT_EQ(Options.BGMode, 2);
    EXPECT_EQ(Options.BGstretchOn, 1);
    ToggleBackgroundStretch();
    EXPECT_EQ(Options.BGstretchOn, 0);
    ToggleBackgroundStretch();
    EXPECT_EQ(Options.BGstretchOn, 1);
}

TEST_F(DocumentSwitchesTest, ClearingTheNotesIsOneUndoStep)
{
    DocumentTables.PetaMemoLines = Lines({u"primeira nota", u"", u"", u"segunda"});
    DocumentTables.Stickers.Names[1] = QStringLiteral("primeira nota");
    ClearAllNotes();
    EXPECT_TRUE(DocumentTables.PetaMemoLines.isEmpty());
    EXPECT_TRUE(DocumentTables.Stickers.Names[1].isEmpty());
    Undo();
    EXPECT_EQ(DocumentTables.PetaMemoLines, Lines({u"primeira nota", u"", u"", u"segunda"}));

    SetStickersShown(false);
    EXPECT_EQ(Options.PetaMemoStyle, 0);
    SetStickersShown(true);
    EXPECT_EQ(Options.PetaMemoStyle, 3);
}

TEST_F(DocumentSwitchesTest, TheParameterRowsSwitches)
{
    // Fixed parameters step together; an unfixed one stays.
    SetParamFixed(1, true);
    SetParamFixed(2, true);
    StepParameter(1, StepUp);
    EXPECT_EQ(DocumentTables.Params[1].Value, 1.1L);
    EXPECT_EQ(DocumentTables.Params[2].Value, 1.1L);
    EXPECT_EQ(DocumentTables.Params[3].Value, 1.0L);
    SetParamFixed(2, false);
    StepParameter(1, StepUp);
    EXPECT_EQ(DocumentTables.Params[2].Value, 1.1L);
    SetParamFixed(0, true); // no such row
    SetParamFixed(15, true);

    const int shown = DocumentTables.Params[4].Extra;
    ToggleStepControls(4);
    EXPECT_EQ(DocumentTables.Params[4].Extra, 1 - shown);
    ToggleStepControls(4);
    EXPECT_EQ(DocumentTables.Params[4].Extra, shown);

    Options.ParamDelayUnit = 80;
    SetParamSpeed(10);
    EXPECT_EQ(Options.ParamDelay, ParamDelayForSpeed(10, 80));
    SetParamSpeed(0);
    EXPECT_EQ(Options.ParamDelay, 0);

    SetTracesRecorded(false);
    EXPECT_EQ(Options.CanAImg, 0);
    SetTracesRecorded(true);
    EXPECT_EQ(Options.CanAImg, 1);
    SetVectorEntry(true);
    EXPECT_EQ(Options.VectorOn, 1);
    EXPECT_TRUE(BackUp.IsAtStart()) << "switches take no undo point";
}

} // namespace
