#include "dialogs/MsgForm.h"
#include "model/MessageBox.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Shows the form without blocking and answers through a test's action.
class ScriptedMsgFormSink final : public MsgFormSink {
public:
    std::function<void(TMsgForm&)> answer = [](TMsgForm& form) { form.Button1->click(); };
    int beeps = 0;
    std::vector<QPoint> shownAt;
    std::vector<QString> titles;

protected:
    void beep() override { ++beeps; }
    int runModal(TMsgForm& form) override
    {
        shownAt.push_back(form.pos());
        titles.push_back(form.windowTitle());
        form.open();
        answer(form);
        return form.result();
    }
};

TEST(MsgFormTest, KindSetsTitleAndPicture)
{
    struct Case {
        int kind;
        QString title;
        bool image1, image2;
    };
    const Case cases[] = {
        {MsgWarning, QStringLiteral("AVISO"), true, false},
        {MsgError, QStringLiteral("ERRO"), false, true},
        {MsgInfo, QStringLiteral("Informação"), true, false},
    };
    for (const Case& c : cases) {
        TMsgForm form;
        form.Prepare(QStringLiteral("texto"), c.kind, MsgOk);
        EXPECT_EQ(form.windowTitle(), c.title);
        EXPECT_EQ(!form.Image1->isHidden(), c.image1) << c.kind;
        EXPECT_EQ(!form.Image2->isHidden(), c.image2) << c.kind;
    }
    TMsgForm form;
    EXPECT_EQ(form.font().family(), QStringLiteral("Arial Unicode MS"));
    EXPECT_EQ(form.Label1->font().family(), QStringLiteral("Arial Unicode MS"));
    EXPECT_EQ(form.Button1->text(), QStringLiteral("&O K"));
    EXPECT_EQ(form.Button2->text(), QStringLiteral("&Cancelar"));
}

TEST(MsgFormTest, ButtonCodesTwoAndEightAskForCancel)
{
    const std::pair<int, bool> cases[] = {{4, false}, {0, false}, {1, false}, {12, true}, {8, true}, {2, true}};
    for (const auto& [buttons, twoButtons] : cases) {
        TMsgForm form;
        form.Prepare(QStringLiteral("x"), MsgInfo, buttons);
        EXPECT_EQ(!form.Button2->isHidden(), twoButtons) << buttons;
        const int centre = form.width() / 2;
        if (twoButtons) {
            EXPECT_EQ(form.width(), 2 * form.Button1->width() + 50) << buttons;
            EXPECT_EQ(form.Button1->x(), centre - form.Button1->width() - 8);
            EXPECT_EQ(form.Button2->x(), centre + 8);
        } else {
            EXPECT_EQ(form.width(), form.Button1->width() + 40) << buttons;
            EXPECT_EQ(form.Button1->x(), (form.width() - form.Button1->width()) / 2);
        }
    }
}

TEST(MsgFormTest, LongTextWidensAndManyLinesHeightenTheForm)
{
    TMsgForm shortForm;
    shortForm.Prepare(QStringLiteral("ok"), MsgWarning, MsgOkCancel);
    TMsgForm wide;
    wide.Prepare(QString(120, u'W'), MsgWarning, MsgOkCancel);
    EXPECT_EQ(wide.width(), wide.Label1->x() + wide.Label1->width() + 20);
    EXPECT_GT(wide.width(), shortForm.width());
    EXPECT_EQ(wide.height(), shortForm.height());

    TMsgForm tall;
    tall.Prepare(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8"), MsgWarning, MsgOkCancel);
    EXPECT_GT(tall.height(), shortForm.height());
    EXPECT_LE(tall.Label1->geometry().bottom(), tall.Button1->y());
    EXPECT_LE(tall.Button1->geometry().bottom(), tall.height());
}

TEST(MsgFormTest, CarriageReturnsBreakLines)
{
    TMsgForm oneLine;
    oneLine.Prepare(QStringLiteral("abc"), MsgInfo, MsgOkCancel);
    TMsgForm lineFeed;
    lineFeed.Prepare(QStringLiteral("abc\ndef"), MsgInfo, MsgOkCancel);
    ASSERT_GT(lineFeed.Label1->height(), oneLine.Label1->height());
    // A script's Pause breaks its message with CR; files may bring CR LF.
    for (const QString& text : {QStringLiteral("abc\rdef"), QStringLiteral("abc\r\ndef")}) {
        TMsgForm form;
        form.Prepare(text, MsgInfo, MsgOkCancel);
        EXPECT_EQ(form.Label1->text(), QStringLiteral("abc\ndef"));
        EXPECT_EQ(form.Label1->height(), lineFeed.Label1->height());
        EXPECT_EQ(form.height(), lineFeed.height());
    }
}

TEST(MsgFormTest, ButtonsCloseWithTheirResults)
{
    const std::pair<std::function<void(TMsgForm&)>, int> cases[] = {
        {[](TMsgForm& f) { f.Button1->click(); }, MsgResultOk},
        {[](TMsgForm& f) { f.Button2->click(); }, MsgResultCancel},
        {[](TMsgForm& f) { f.reject(); }, MsgResultNone},
    };
    for (const auto& [press, result] : cases) {
        TMsgForm form;
        form.Prepare(QStringLiteral("Apagar com [OK]"), MsgWarning, MsgOkCancel);
        form.open();
        EXPECT_TRUE(form.isVisible());
        press(form);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), result);
    }
}

TEST(MsgFormSinkTest, AnswersTrueOnlyForOk)
{
    ScriptedMsgFormSink sink;
    EXPECT_TRUE(sink.show(QStringLiteral("a"), MsgInfo, MsgOk));
    sink.answer = [](TMsgForm& f) { f.Button2->click(); };
    EXPECT_FALSE(sink.show(QStringLiteral("b"), MsgInfo, MsgOkCancel));
    sink.answer = [](TMsgForm& f) { f.reject(); };
    EXPECT_FALSE(sink.show(QStringLiteral("c"), MsgInfo, MsgOk));
}

TEST(MsgFormSinkTest, BeepsForWarningsAndErrorsOnly)
{
    ScriptedMsgFormSink sink;
    sink.show(QStringLiteral("i"), MsgInfo, MsgOk);
    EXPECT_EQ(sink.beeps, 0);
    sink.show(QStringLiteral("w"), MsgWarning, MsgOk);
    sink.show(QStringLiteral("e"), MsgError, MsgOk);
    EXPECT_EQ(sink.beeps, 2);
}

TEST(MsgFormSinkTest, NextMessageAppearsWhereTheLastWasLeft)
{
    ScriptedMsgFormSink sink;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint start((screen.width() - 150) / 2, (screen.height() - 300) / 2);
    sink.answer = [](TMsgForm& f) {
        f.move(123, 45);
        f.Button1->click();
    };
    sink.show(QStringLiteral("first"), MsgInfo, MsgOk);
    sink.show(QStringLiteral("second"), MsgInfo, MsgOk);
    ASSERT_EQ(sink.shownAt.size(), 2u);
    EXPECT_EQ(sink.shownAt[0], start);
    EXPECT_EQ(sink.shownAt[1], QPoint(123, 45));
}

TEST(MsgFormSinkTest, ShowMsgBoxReachesTheInstalledForm)
{
    ScriptedMsgFormSink sink;
    platform::ScopedMessageSink scope(sink);
    EXPECT_TRUE(ShowMsgBox(QStringLiteral("Informe"), MsgInfo, MsgOkCancel));
    ASSERT_EQ(sink.titles.size(), 1u);
    EXPECT_EQ(sink.titles[0], QStringLiteral("Informação"));
}

} // namespace
