// Every modal loop goes through the modal runner, so that a test answers the
// message box, the file choosers and the colour chooser without blocking.
#include "WindowTestKit.h"

#include "dialogs/MsgForm.h"
#include "dialogs/QtDialogServices.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

using DialogServicesTest = WindowTest;

TEST_F(DialogServicesTest, TheMessageBoxIsAnsweredByItsButtons)
{
    MsgFormSink sink;
    const auto clickButton = [](QPushButton* TMsgForm::*button) {
        return [button](QObject& dialog) {
            auto& form = static_cast<TMsgForm&>(dialog);
            EXPECT_TRUE(form.isVisible());
            EXPECT_EQ(form.Label1->text(), QStringLiteral("Apagar com [OK]"));
            Click(form.*button);
            return form.result();
        };
    };
    modal.queueAnswer(QStringLiteral("MsgForm"), clickButton(&TMsgForm::Button1));
    modal.queueAnswer(QStringLiteral("MsgForm"), clickButton(&TMsgForm::Button2));
    EXPECT_TRUE(sink.show(QStringLiteral("Apagar com [OK]"), 0, 12));
    EXPECT_FALSE(sink.show(QStringLiteral("Apagar com [OK]"), 0, 12));
    EXPECT_EQ(modal.pendingAnswers(), 0);

    // A message nobody answers is refused, and the test can see that.
    EXPECT_FALSE(sink.show(QStringLiteral("Sair com [OK]"), 0, 12));
    ASSERT_EQ(modal.unanswered().size(), 1u);
    EXPECT_EQ(modal.unanswered()[0], QStringLiteral("MsgForm"));
    EXPECT_EQ(modal.dialogsRun().size(), 3u);
}

TEST_F(DialogServicesTest, TheSaveChooserAddsTheDefaultSuffix)
{
    QTemporaryDir dir;
    QtFileChooser chooser;
    const platform::FileChoice choice{QStringLiteral("Salvar"), dir.path(), {}, QStringLiteral("Kaviro (*.kvf)"),
                                      QStringLiteral("kvf")};
    modal.queueAnswer(QStringLiteral("DlgSave"), [&](QObject& dialog) {
        auto& files = static_cast<QFileDialog&>(dialog);
        files.selectFile(dir.path() + QStringLiteral("/graph"));
        QMetaObject::invokeMethod(&files, "accept");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(chooser.chooseSaveFile(choice), std::optional(dir.path() + QStringLiteral("/graph.kvf")));

    modal.queueResult(QStringLiteral("DlgOpen"), QDialog::Rejected);
    EXPECT_EQ(chooser.chooseOpenFile(choice), std::nullopt);
}

// The picture chooser starts on the type asked for and tells the one the
// user chose; a series' chooser asks nothing about replacing files.
TEST_F(DialogServicesTest, TheTypedSaveChooserTellsTheFilterChosen)
{
    QTemporaryDir dir;
    QtFileChooser chooser;
    platform::FileChoice choice{QStringLiteral("Salvar Imagem"), dir.path(), {},
                                QStringLiteral("Bitmap (*.bmp);;Gif(*.gif);;PNG(*.png)"), {}, 3};
    for (bool confirm : {true, false}) {
        choice.confirmOverwrite = confirm;
        modal.queueAnswer(QStringLiteral("DlgSave"), [&](QObject& dialog) {
            auto& files = static_cast<QFileDialog&>(dialog);
            EXPECT_EQ(files.selectedNameFilter(), QStringLiteral("PNG(*.png)"));
            EXPECT_EQ(files.testOption(QFileDialog::DontConfirmOverwrite), !confirm);
            files.selectNameFilter(QStringLiteral("Gif(*.gif)"));
            files.selectFile(dir.path() + QStringLiteral("/graph"));
            QMetaObject::invokeMethod(&files, "accept");
            return int(QDialog::Accepted);
        });
        const std::optional<platform::SavedFileChoice> chosen = chooser.chooseSaveFileOfType(choice);
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(chosen->path, dir.path() + QStringLiteral("/graph"));
        EXPECT_EQ(chosen->filterIndex, 2);
    }
}

TEST_F(DialogServicesTest, TheColourChooserSpeaksTheProgramsColours)
{
    QtColorChooser chooser;
    modal.queueAnswer(QStringLiteral("DlgColor"), [](QObject& dialog) {
        auto& colours = static_cast<QColorDialog&>(dialog);
        EXPECT_EQ(colours.currentColor(), QColor(0x10, 0x20, 0x30)); // from 0x302010
        colours.setCurrentColor(QColor(255, 128, 0));
        colours.accept();
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(chooser.chooseColor(0x302010), std::optional<std::uint32_t>(0x0080FF));
    modal.queueResult(QStringLiteral("DlgColor"), QDialog::Rejected);
    EXPECT_EQ(chooser.chooseColor(0x302010), std::nullopt);
}

} // namespace
