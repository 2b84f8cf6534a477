// "&Iniciar" puts the windows back as a new document has them: the panels in
// their standard order, the figures' hidden, the stickers home on the graph
// and hidden, the data panel at its standard size.
#include "WindowTestKit.h"

#include "model/ProgramState.h"
#include "session/PanelLayout.h"
#include "session/ProjectHost.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QTest>

namespace {

class NewDocumentLayoutTest : public WindowTest {
protected:
    void Trigger(const char* name)
    {
        QAction* action = Find<QAction>(Console(), name);
        ASSERT_NE(action, nullptr);
        action->trigger();
        ProcessEvents();
    }

    // Panels out of order and two of them hidden; stickers shown, one moved
    // on the graph, one lying on the data panel; the panel resized.
    void DisarrangeWindows()
    {
        PanelLayout.Panels[PanelFunctions].Top = PanelCount; // last
        Trigger("Ncfn");                                    // relations hidden
        Trigger("NSeg");                                    // figures shown
        Console().ArrangePanels();
        ShowNotes({QStringLiteral("A"), QString(), QString(), QStringLiteral("B")});
        Graph().Stickers[0]->move(100, 90);
        Console().DropStickerOnPanel(Graph().Stickers[1]);
        Console().resize(Console().width() + 123, Console().height() / 2);
        ProcessEvents();
    }
};

TEST_F(NewDocumentLayoutTest, NewPutsPanelsStickersAndSizeBack)
{
    StartProgram();
    for (bool presentation : {false, true}) {
        if (presentation)
            Trigger("Npresentation");
        DisarrangeWindows();
        ASSERT_GT(Console().Panels[PanelFunctions - 1]->y(), Console().Panels[PanelNotes - 1]->y());
        ASSERT_NE(Graph().Stickers[1]->parentWidget(), Graph().PanelGraph);
        messages.scriptAnswers({true});
        Trigger("Init1");

        int lastTop = -1;
        for (int panel = 1; panel <= PanelCount; ++panel) {
            QWidget* w = Console().Panels[static_cast<std::size_t>(panel - 1)];
            EXPECT_EQ(w->isVisible(), panel != PanelFigures) << panel;
            if (panel == PanelFigures)
                continue;
            EXPECT_GT(w->y(), lastTop) << "panel " << panel << " out of order";
            lastTop = w->y();
        }
        for (QLabel* sticker : Graph().Stickers) {
            EXPECT_EQ(sticker->parentWidget(), Graph().PanelGraph) << sticker->objectName().toStdString();
            EXPECT_EQ(sticker->pos(), Graph().GImage->pos() + QPoint(StickerHomeLeft, StickerHomeTop))
                << sticker->objectName().toStdString();
            EXPECT_TRUE(sticker->isHidden()) << sticker->objectName().toStdString();
        }
        EXPECT_TRUE(Console().MemoStickers.empty());
        EXPECT_EQ(Console().width(), presentation ? TMainConsole::PresentationWidth : TMainConsole::NormalWidth);
        EXPECT_EQ(Console().height(), Graph().height());
    }
}

// Where a sticker is dragged to is what the project keeps, so that laying
// the stickers out again from it (an undo, a save and reopen) leaves each
// where the user put it.
TEST_F(NewDocumentLayoutTest, StickerPlacesFollowTheStickers)
{
    StartProgram();
    ShowNotes({QStringLiteral("A"), QString(), QString(), QStringLiteral("B")});
    for (int n = 1; n <= 2; ++n)
        Graph().Stickers[static_cast<std::size_t>(n - 1)]->move(Graph().GImage->pos() + QPoint(50 * n, 50));
    auto* onGraph = static_cast<TStickerImage*>(Graph().Stickers[0]);
    QTest::mousePress(onGraph, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(onGraph, QPoint(25, 15));
    QTest::mouseRelease(onGraph, Qt::LeftButton, {}, QPoint(25, 15));
    auto* handedOn = static_cast<TStickerImage*>(Graph().Stickers[1]);
    QTest::mousePress(handedOn, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(handedOn, QPoint(5 - handedOn->x() - 40, 5)); // dropped nowhere
    ASSERT_EQ(handedOn->parentWidget(), Console().Panels[PanelNotes - 1]);

    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{70, 60, 0}));
    EXPECT_EQ(PanelLayout.StickerPlaces[2].OnConsole, 1);
    Graph().PlaceStickers();
    EXPECT_EQ(onGraph->pos(), Graph().GImage->pos() + QPoint(70, 60));
    EXPECT_EQ(onGraph->parentWidget(), Graph().PanelGraph);
    EXPECT_EQ(handedOn->parentWidget(), Console().Panels[PanelNotes - 1]);
    EXPECT_TRUE(handedOn->isVisible());
}

} // namespace
