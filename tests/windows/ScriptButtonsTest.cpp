// Scripts run from their buttons in the program's windows: the caption
// while one runs, Esc or F1 asking to stop it, a point moving frame by
// frame, a close request stopping it instead of closing, the trace button following the script, and "Salvar
// Sons" once a script has made a sound.
#include "WindowTestKit.h"

#include "model/DocumentState.h"
#include "model/LineCodec.h"
#include "model/Options.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/RecordingSoundDevice.h"
#include "render/view/Scale.h"
#include "script/ScriptRun.h"
#include "session/ProjectFile.h"
#include "session/fakes/CountingStickerWindow.h"
#include "windows/ParamPanel.h"

#include <QAction>
#include <QCloseEvent>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::Literals::StringLiterals;

namespace {

// Every caption a window is given.
class CaptionRecorder final : public QObject {
public:
    explicit CaptionRecorder(QWidget& window)
        : window_(window)
    {
        window.installEventFilter(this);
    }
    ~CaptionRecorder() override { window_.removeEventFilter(this); }
    QStringList Captions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &window_ && event->type() == QEvent::WindowTitleChange)
            Captions.append(window_.windowTitle());
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& window_;
};

class ScriptButtonsTest : public WindowTest {
protected:
    void SetUp() override { StartProgram(); }
    void TearDown() override
    {
        // The key state is the application's: Esc and F1 go up again.
        PostKey(QEvent::KeyRelease, Qt::Key_Escape);
        PostKey(QEvent::KeyRelease, Qt::Key_F1);
        ProcessEvents();
    }

    // A project whose notes hold these scripts ("#" put in front of each
    // line, a blank line between scripts), read as a file is read.
    void OpenScripts(const QStringList& lines)
    {
        QStringList note{u"Aula"_s, QString()};
        for (const QString& line : lines)
            note.append(line.isEmpty() ? line : u'#' + line);
        DocumentTables.PetaMemoLines = note;
        TstringData text;
        WriteProject(text);
        ASSERT_TRUE(ReadProject(text));
        ProcessEvents();
    }
    QToolButton* Button(int i)
    {
        EXPECT_GT(Console().ScriptButtons.size(), static_cast<std::size_t>(i));
        return Console().ScriptButtons[static_cast<std::size_t>(i)];
    }
    void PostKey(QEvent::Type type, int key) { QCoreApplication::postEvent(&Graph(), new QKeyEvent(type, key, {})); }
    static long double Param(int j) { return DocumentTables.Params[j].Value; }

    platform::RecordingSoundDevice sound;
    platform::ScopedSoundDevice useSound_{sound};
};

TEST_F(ScriptButtonsTest, AButtonRunsItsScriptUnderItsCaptionUntilEsc)
{
    OpenScripts({u"//Anima"_s, u"While 1"_s, u"Inc(a, 0.5)"_s, u"Draw"_s, u"Wend"_s});
    ASSERT_TRUE(Button(0)->isVisible());
    EXPECT_EQ(Button(0)->text(), u"Anima"_s);
    const QString caption = Graph().windowTitle();
    CaptionRecorder captions(Graph());
    // Esc is down from the first round of events on: the question comes
    // after every command; Cancel three times (the name line, While and
    // Inc), then OK.
    PostKey(QEvent::KeyPress, Qt::Key_Escape);
    messages.scriptAnswers({false, false, false, true});
    Click(Button(0));
    ASSERT_EQ(messages.messages().size(), 4u);
    for (const auto& m : messages.messages()) {
        EXPECT_EQ(m.text, StopQuestion);
        EXPECT_EQ(m.buttons, MsgOkCancel);
    }
    EXPECT_EQ(Param(1), 1.5L);
    EXPECT_EQ(captions.Captions, (QStringList{u"Anima : Parar com tecla F1"_s, caption}));
    EXPECT_FALSE(IsScriptRunning());
    EXPECT_TRUE(Graph().isVisible());
}

TEST_F(ScriptButtonsTest, ALoopMovingAPointAnimatesUntilF1)
{
    StoreDraggablePoint(1, u"(0, 0)"_s);
    OpenScripts({u"//Anda"_s, u"k := 0"_s, u"While 1"_s, u"P := (k/4, 1)"_s, u"Inc(k)"_s, u"Draw"_s, u"Wait(40)"_s,
                 u"Wend"_s});
    const QImage before = GraphScale.GraphImages[0].Image();
    // F1 pressed while the frames go by.
    QTimer::singleShot(300, &Graph(), [this] { PostKey(QEvent::KeyPress, Qt::Key_F1); });
    Click(Button(0));
    EXPECT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.last().text, StopQuestion);
    const long double frames = Param(14);
    EXPECT_GE(frames, 3.0L) << "frames before F1";
    EXPECT_EQ(DocumentTables.Points[1].Y.Text, u"1"_s);
    EXPECT_NE(DocumentTables.Points[1].X.Text, u"0"_s);
    EXPECT_NE(GraphScale.GraphImages[0].Image(), before) << "the point was drawn where it went";
    EXPECT_FALSE(IsScriptRunning());
}

TEST_F(ScriptButtonsTest, ACloseRequestStopsTheRunAndTheWindowsStay)
{
    OpenScripts({u"//Espera"_s, u"Wait(5000)"_s, u"a := 3"_s});
    for (QWidget* window : {static_cast<QWidget*>(&Graph()), static_cast<QWidget*>(&Console())}) {
        QCoreApplication::postEvent(window, new QCloseEvent);
        Click(Button(0));
        EXPECT_EQ(Param(1), 1.0L) << window->objectName().toStdString();
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_FALSE(IsScriptRunning());
    }
}

// A sticker showing a follows the script: RefreshSticker renders it with
// the value a has then, before the run's last drawing shows the final one.
TEST_F(ScriptButtonsTest, RefreshStickerShowsTheValueOfTheMoment)
{
    class PictureRecorder final : public TStickerWindow {
    public:
        QList<QImage> Pictures;
        void ShowSticker(int k, const QImage& picture) override
        {
            if (k == 1 && (Pictures.isEmpty() || Pictures.last() != picture))
                Pictures.append(picture);
        }
        void HideSticker(int) override {}
        void PlaceStickers() override {}
    };
    OpenScripts({u"//Conta"_s, u"a := 3"_s, u"RefreshSticker"_s, u"a := 5"_s});
    DocumentTables.PetaMemoLines.prepend(u"a = !{a}"_s);
    DocumentTables.PetaMemoLines.prepend(QString());
    DocumentTables.PetaMemoLines.prepend(QString());
    TstringData text;
    WriteProject(text);
    ASSERT_TRUE(ReadProject(text));
    ProcessEvents();
    PictureRecorder stickers;
    ScopedStickerWindow useStickers(stickers);
    Click(Button(0));
    EXPECT_EQ(Param(1), 5.0L);
    EXPECT_GE(stickers.Pictures.size(), 2) << "a = 3 shown on RefreshSticker, then a = 5";
}

// A step of a starts the script that follows a; the mouse is let go while
// it runs, when the windows take no input. The steps end there all the
// same, and the stickers come back.
TEST_F(ScriptButtonsTest, AStepButtonLetGoWhileItsScriptRunsStopsStepping)
{
    platform::FakeClock clock;
    const platform::ScopedClock useClock(clock);
    OpenScripts({u"//Segue"_s, u"On a Change"_s, u"b := a/2"_s, u"Wait(0)"_s});
    Options.ParamRepeatDelay = 500;
    for (const int delay : {80, 0}) {
        Options.ParamDelay = delay;
        const long double a = Param(1);
        QToolButton* up = Console().Params->Rows[1].Up;
        ASSERT_TRUE(up->isVisible());
        const QPoint centre = up->rect().center();
        // The release comes in the event round of the script's Wait.
        QCoreApplication::postEvent(up, new QMouseEvent(QEvent::MouseButtonRelease, centre, up->mapToGlobal(centre),
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        QTest::mousePress(up, Qt::LeftButton, {}, centre);
        EXPECT_EQ(Param(2), Param(1) / 2) << "the script ran";
        clock.advance(2000);
        Console().Params->PollStepRepeat();
        EXPECT_EQ(Param(1), a + 0.1L) << "one step with delay " << delay;
        EXPECT_FALSE(up->isDown()) << delay;
        EXPECT_FALSE(Graph().StickersHeldHidden) << delay;
    }
}

// The step button held while the script its step started waits: the
// repeat comes due meanwhile, but no step is taken inside the run.
TEST_F(ScriptButtonsTest, AHeldStepButtonDoesNotStepWhileItsScriptRuns)
{
    platform::FakeClock clock;
    const platform::ScopedClock useClock(clock);
    Options.ParamRepeatDelay = 500;
    Options.ParamDelay = 80;
    QToolButton* up = Console().Params->Rows[1].Up;
    const QPoint centre = up->rect().center();
    // The clock moves while the script waits, past the repeat's time.
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, &Graph(), [&] {
        clock.advance(50);
        Console().Params->PollStepRepeat();
    });
    ticks.start();
    OpenScripts({u"//Segue"_s, u"On a Change"_s, u"b := a/2"_s, u"Wait(1000)"_s});
    QTest::mousePress(up, Qt::LeftButton, {}, centre);
    ticks.stop();
    EXPECT_EQ(Param(1), 1.1L) << "one step";
    EXPECT_EQ(Param(2), Param(1) / 2);
    QTest::mouseRelease(up, Qt::LeftButton, {}, centre);
    EXPECT_FALSE(Graph().StickersHeldHidden);

    // A modal box open while the button is held (a script's Pause) takes
    // the release: the hold ends there, without a step.
    OpenScripts({});
    QTest::mousePress(up, Qt::LeftButton, {}, centre);
    const long double held = Param(1);
    QDialog box(&Graph());
    box.setModal(true);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    clock.advance(1000);
    Console().Params->PollStepRepeat();
    box.hide();
    clock.advance(1000);
    Console().Params->PollStepRepeat();
    EXPECT_EQ(Param(1), held);
    EXPECT_FALSE(up->isDown());
    EXPECT_FALSE(Graph().StickersHeldHidden);
}

TEST_F(ScriptButtonsTest, TheTraceButtonFollowsTheScript)
{
    OpenScripts({u"//Sem"_s, u"AimgOff"_s, QString(), u"//Com"_s, u"AimgOn"_s});
    QToolButton* traces = Find<QToolButton>(Console(), "SBAimg");
    ASSERT_NE(traces, nullptr);
    Click(Button(0));
    EXPECT_EQ(Options.CanAImg, 0);
    EXPECT_FALSE(traces->isChecked());
    Click(Button(1));
    EXPECT_EQ(Options.CanAImg, 1);
    EXPECT_TRUE(traces->isChecked());
}

TEST_F(ScriptButtonsTest, SalvarSonsSavesTheSoundAScriptMade)
{
    QMenu* fileMenu = Find<QMenu>(Console(), "fileMenu1");
    QAction* save = Find<QAction>(Console(), "nSaveWave");
    ASSERT_TRUE(fileMenu && save);
    auto enabledWhenOpened = [&] {
        fileMenu->popup(Console().mapToGlobal(QPoint(0, 0)));
        ProcessEvents();
        const bool enabled = save->isEnabled();
        fileMenu->hide();
        return enabled;
    };
    EXPECT_FALSE(enabledWhenOpened());
    OpenScripts({u"//Tom"_s, u"Play(x, 0, 0.001, 1)"_s});
    Click(Button(0));
    ASSERT_EQ(sound.plays().size(), 1u);
    EXPECT_EQ(sound.plays().front().samples.size(), 92);
    EXPECT_TRUE(enabledWhenOpened());

    QTemporaryDir dir;
    files.queueAnswer(dir.filePath(u"tom"_s));
    save->trigger();
    QFile saved(dir.filePath(u"tom.wav"_s));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().left(4), QByteArray("RIFF"));
    EXPECT_EQ(saved.size(), 136);
}

} // namespace
