// A teacher's sticker on the demonstration project: written in the note
// editor with a value field, followed as the parameter steps, dragged to
// the data panel and back, renamed without jumping, saved and opened again
// where it was left.
#include "../windows/WindowTestKit.h"

#include "model/DocumentState.h"
#include "notes/DocForm.h"
#include "session/PanelLayout.h"
#include "session/ProjectFile.h"
#include "windows/ConsoleDrag.h"
#include "windows/ParamPanel.h"
#include "windows/RowsList.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

namespace {

using namespace Qt::Literals::StringLiterals;

class StickerLessonTest : public WindowTest {
protected:
    void SetUp() override { StartProgram({QStringLiteral(KAVIRO_SOURCE_DIR "/demo.kvf")}); }

    QLabel* Sticker(int k) { return Graph().Stickers[static_cast<std::size_t>(k - 1)]; }
    void Trigger(const char* name)
    {
        QAction* action = Find<QAction>(Console(), name);
        ASSERT_NE(action, nullptr);
        action->trigger();
        ProcessEvents();
    }
    // The note editor's sticker sheet given that text, then OK.
    void WriteStickers(const QString& text)
    {
        Trigger("nEditMemo");
        TdocForm* editor = OpenDocForm();
        ASSERT_NE(editor, nullptr);
        editor->MemoSticker->selectAll();
        editor->MemoSticker->insertPlainText(text);
        editor->btnOK->click();
        ProcessEvents();
        EXPECT_EQ(OpenDocForm(), nullptr);
    }
    // Sticker k dropped where a drag of it would end.
    static void DropStickerOn(QWidget* target, int k, QPoint at)
    {
        QMimeData data;
        data.setData(StickerDragMimeType, QByteArray::number(k));
        QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        ProcessEvents();
    }
    // The sticker's top-left in the graph picture.
    QPoint OnGraph(int k) { return Sticker(k)->pos() - Graph().GImage->pos(); }
};

TEST_F(StickerLessonTest, AStickerFollowsItsParameterAndKeepsItsPlace)
{
    ASSERT_TRUE(messages.empty());
    WriteStickers(u"a = !{a}\n\n\nNota"_s);
    ASSERT_EQ(DocumentTables.Stickers.Count, 2);
    ASSERT_TRUE(Sticker(1)->isVisible());
    ASSERT_TRUE(Sticker(2)->isVisible());

    // A step of a renders the sticker that shows it, not the other one.
    const QImage first = Sticker(1)->pixmap().toImage();
    const QImage second = Sticker(2)->pixmap().toImage();
    QToolButton* up = Console().Params->Rows[1].Up;
    QTest::mousePress(up, Qt::LeftButton, {}, up->rect().center());
    QTest::mouseRelease(up, Qt::LeftButton, {}, up->rect().center());
    ProcessEvents();
    EXPECT_NE(Sticker(1)->pixmap().toImage(), first) << "a's new value is shown";
    EXPECT_EQ(Sticker(2)->pixmap().toImage(), second);

    // To the data panel and back onto the graph, where it is dropped.
    DropStickerOn(Console().ScrollBox1->widget(), 1, {5, 5});
    EXPECT_NE(Sticker(1)->parentWidget(), Graph().PanelGraph);
    EXPECT_EQ(PanelLayout.StickerPlaces[1].OnConsole, 1);
    const QPoint centre(200, 150);
    DropStickerOn(Graph().GImage, 1, centre);
    EXPECT_EQ(Sticker(1)->parentWidget(), Graph().PanelGraph);
    EXPECT_TRUE(Sticker(1)->isVisible());
    const QPoint place = OnGraph(1);
    EXPECT_EQ(place, centre - QPoint(Sticker(1)->width() / 2, Sticker(1)->height() / 2));
    EXPECT_EQ(PanelLayout.StickerPlaces[1], (TStickerPlace{place.x(), place.y(), 0}));

    // The stickers reordered, then a typo mended in a first line: each
    // keeps its place.
    const QPoint other = OnGraph(2);
    WriteStickers(u"Nota\n\n\na = !{a}"_s);
    EXPECT_EQ(OnGraph(1), other);
    EXPECT_EQ(OnGraph(2), place);
    WriteStickers(u"Nota\n\n\na =  !{a}"_s);
    EXPECT_EQ(OnGraph(1), other);
    EXPECT_EQ(OnGraph(2), place);

    // The second sticker parked on the data panel; saved and opened again,
    // both are where they were left.
    DropStickerOn(Console().ScrollBox1->widget(), 1, {5, 5});
    QTemporaryDir dir;
    const QString saved = dir.filePath(u"aula.kvf"_s);
    ASSERT_TRUE(SaveProjectAs(saved));
    Trigger("Init1");
    EXPECT_FALSE(Sticker(2)->isVisible());
    files.queueAnswer(saved);
    Trigger("OpenFile");
    ASSERT_EQ(DocumentTables.Stickers.Count, 2);
    EXPECT_TRUE(Sticker(2)->isVisible());
    EXPECT_EQ(OnGraph(2), place);
    EXPECT_EQ(PanelLayout.StickerPlaces[1].OnConsole, 1);
    EXPECT_NE(Sticker(1)->parentWidget(), Graph().PanelGraph);
}

} // namespace
