// The About window: what it names and how it closes.
#include "../windows/WindowTestKit.h"

#include "dialogs/Version.h"
#include "tests/render/GoldenFiles.h"

#include <QFrame>
#include <QLabel>

namespace {

using VersionTest = WindowTest;

// The name line and the date come from the build's release, never from
// the moment of the build.
TEST_F(VersionTest, ItNamesTheReleaseAndWhatItIsBuiltOn)
{
    Tversion window;
    EXPECT_EQ(window.Label4->text(), QStringLiteral("KAVIRO " KAVIRO_VERSION " pt"));
    EXPECT_EQ(window.Label2->text(), QStringLiteral(KAVIRO_RELEASE_DATE));
    EXPECT_NE(window.Label2->text(), QString::fromLatin1(__DATE__));
    EXPECT_FALSE(window.Label3->text().isEmpty());
    EXPECT_EQ(window.lblSupported->text(), QStringLiteral("Com apoio de"));
    for (QLabel* credit : {window.lblname1, window.lblname2, window.lblname3})
        EXPECT_FALSE(credit->text().isEmpty()) << credit->objectName().toStdString();
    EXPECT_TRUE(window.lblname4->text().isEmpty());
    EXPECT_FALSE(window.ImgKaviro->pixmap().isNull());
    // The name line ends 10 pixels before the panel's inside does; the
    // window ends 24
    // pixels below the last credit.
    EXPECT_EQ(window.Label4->width(), window.Panel1->contentsRect().width() - window.Label4->x() - 10);
    EXPECT_EQ(window.height(), window.lblname3->geometry().bottom() + 1 + 24);
    EXPECT_EQ(window.Panel1->size(), window.size());
    EXPECT_TRUE(MatchesImageGolden(window.grab().toImage(), QStringLiteral("windows/about.png"), {48, 0.02}));
}

TEST_F(VersionTest, AClickAnywhereClosesIt)
{
    const char* const places[] = {"Panel1", "Label4", "Label2", "ImgKaviro", "lblname2", "Label5"};
    for (const char* place : places) {
        bool closed = false;
        modal.queueAnswer(QStringLiteral("version"), [&](QObject& object) {
            auto& window = static_cast<Tversion&>(object);
            window.show();
            Click(Find<QWidget>(window, place));
            closed = !window.isVisible() && window.result() == QDialog::Accepted;
            return window.result();
        });
        ShowVersionWindow();
        EXPECT_TRUE(closed) << place;
    }
}

} // namespace
