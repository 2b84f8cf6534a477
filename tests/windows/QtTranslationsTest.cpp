// Qt's own windows (the file and colour choosers, the system error box and
// the standard buttons) speak Portuguese like the program's, once the
// start-up has loaded Qt's translations.
#include "WindowTestKit.h"

#include "dialogs/QtDialogServices.h"
#include "dialogs/QtSystemErrorBox.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTranslator>
#include <functional>

namespace {

// Every caption of the window's labels and buttons.
QStringList Captions(QObject& window)
{
    QStringList captions;
    for (QLabel* label : window.findChildren<QLabel*>())
        captions << label->text();
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
        captions << button->text();
    return captions;
}

class QtTranslationsTest : public WindowTest {
protected:
    struct Case {
        const char* dialog;
        std::function<void()> open;
        QStringList portuguese;
        QStringList english;
    };

    // Opens each window and returns what it showed, by window.
    std::map<QString, QStringList> CaptionsShown(const std::vector<Case>& cases)
    {
        std::map<QString, QStringList> shown;
        for (const Case& c : cases) {
            const QString name = QString::fromLatin1(c.dialog);
            modal.queueAnswer(name, [&shown, name](QObject& dialog) {
                shown[name] = Captions(dialog);
                return 0;
            });
            c.open();
        }
        return shown;
    }

    QtFileChooser files_;
    QtColorChooser colors_;
    QtSystemErrorBox errorBox_;
};

TEST_F(QtTranslationsTest, QtsOwnWindowsSpeakPortuguese)
{
    const std::vector<Case> cases = {
        {"DlgOpen",
         [this] { files_.chooseOpenFile({QStringLiteral("Abrir Arquivo"), {}, {}, QStringLiteral("(*.kvf)"), {}}); },
         {QStringLiteral("Procurar em:"), QStringLiteral("Arquivos do tipo:"), QStringLiteral("&Abrir"),
          QStringLiteral("Cancelar")},
         {QStringLiteral("Look in:"), QStringLiteral("Cancel")}},
        {"DlgSave",
         [this] { files_.chooseSaveFile({QStringLiteral("Salvar Como"), {}, {}, QStringLiteral("(*.kvf)"), {}}); },
         {QStringLiteral("&Nome do arquivo:"), QStringLiteral("Cancelar")},
         {QStringLiteral("File &name:"), QStringLiteral("Cancel")}},
        {"DlgColor", [this] { colors_.chooseColor(0x0000FF); },
         {QStringLiteral("Cores &básicas"), QStringLiteral("Ve&rmelho:"), QStringLiteral("Cancelar")},
         {QStringLiteral("&Basic colors"), QStringLiteral("Cancel")}},
        {"SystemErrorBox", [this] { errorBox_.showError(QStringLiteral("Tamanho da janela inválido")); },
         {QStringLiteral("OK")},
         {}},
    };
    {
        QTranslator qtTexts;
        ASSERT_TRUE(InstallQtTranslations(qtTexts)) << "Qt's translations are not installed";
        const auto shown = CaptionsShown(cases);
        for (const Case& c : cases) {
            const QStringList& captions = shown.at(QString::fromLatin1(c.dialog));
            for (const QString& text : c.portuguese)
                EXPECT_TRUE(captions.contains(text)) << c.dialog << ": " << text.toStdString();
            for (const QString& text : c.english)
                EXPECT_FALSE(captions.contains(text)) << c.dialog << ": " << text.toStdString();
        }
    }
    // The translator gone, Qt speaks English again: the Portuguese was its doing.
    const auto shown = CaptionsShown(cases);
    EXPECT_TRUE(shown.at(QStringLiteral("DlgOpen")).contains(QStringLiteral("Look in:")));
    EXPECT_EQ(modal.pendingAnswers(), 0);
}

} // namespace
