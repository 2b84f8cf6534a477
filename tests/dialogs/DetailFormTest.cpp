// The options dialog, opened through the modal runner: pages switched,
// presets clicked, values typed and OK pressed.
#include "../windows/WindowTestKit.h"

#include "dialogs/DetailForm.h"
#include "dialogs/QtSystemErrorBox.h"
#include "tests/render/GoldenFiles.h"

#include "model/History.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "render/view/Scale.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

constexpr TImageTolerance TextTolerance{48, 0.02};

class DetailFormTest : public WindowTest {
protected:
    void SetUp() override { StartProgram(); }

    // Opens the options on a page, lets work run on the open dialog and
    // returns whether it was still open afterwards.
    bool Open(int page, std::function<void(TDetailForm&)> work)
    {
        bool open = false;
        modal.queueAnswer(QStringLiteral("DetailForm"), [&](QObject& object) {
            auto& dialog = dynamic_cast<TDetailForm&>(object);
            work(dialog);
            open = dialog.isVisible();
            return dialog.result();
        });
        ShowOptions(page);
        EXPECT_EQ(modal.pendingAnswers(), 0);
        return open;
    }

    static void SetText(TDetailForm& d, const char* name, const QString& text)
    {
        QLineEdit* edit = d.Control<QLineEdit>(name);
        ASSERT_NE(edit, nullptr) << name;
        edit->setText(text);
    }
    static QString Text(TDetailForm& d, const char* name) { return d.Control<QLineEdit>(name)->text(); }
    static void ClickButton(TDetailForm& d, const char* name) { Click(d.Control<QAbstractButton>(name)); }
};

TEST_F(DetailFormTest, ShowOptionsSelectsItsPageOrKeepsTheLastOne)
{
    struct Case {
        int page;
        const char* sheet;
    };
    for (const Case c : {Case{1, "RegularSheet"}, Case{2, "AreaSheet"}, Case{3, "ScaleSheet"}, Case{4, "graphsheet"},
                         Case{5, "FuncSheet"}, Case{0, "FuncSheet"}, Case{7, "FuncSheet"}}) {
        Open(c.page, [&c](TDetailForm& d) {
            EXPECT_EQ(d.PageControl->currentWidget()->objectName(), QString::fromLatin1(c.sheet)) << c.page;
            EXPECT_EQ(d.PageControl->count(), 6);
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Opções"));
        });
    }
}

TEST_F(DetailFormTest, SizesAndRangesAreRefusedInTheSystemBoxBeforeAnythingChanges)
{
    struct Case {
        const char* edit;
        const char16_t* text;
        QString error;
    };
    const Case cases[] = {
        {"Edit3", u"149", QStringLiteral("Tamanho da janela é 150 * 1600")},
        {"Edit3", u"1601", QStringLiteral("Tamanho da janela é 150 * 1600")},
        {"Edit4", u"1601", QStringLiteral("Tamanho da janela é 150 * 1600")},
        {"Xedit2", u"-5", QStringLiteral("Tamanho da janela inválido")},
    };
    for (const Case& c : cases) {
        errorBoxes.clear();
        const int points = BackUp.Count();
        const TWorldRect range = GraphScale.Range();
        const bool open = Open(2, [&c](TDetailForm& d) {
            SetText(d, c.edit, QString::fromUtf16(c.text));
            ClickButton(d, "SBDeg"); // would change the angle unit
            Click(d.btnOK);
        });
        EXPECT_TRUE(open) << c.edit;
        ASSERT_EQ(errorBoxes.errors().size(), 1u);
        EXPECT_EQ(errorBoxes.errors().front(), c.error);
        EXPECT_EQ(BackUp.Count(), points);
        EXPECT_EQ(GraphScale.Range(), range);
        EXPECT_EQ(Options.AngleMode, 1);
    }
    for (auto [w, h] : {std::pair{u"150", u"1600"}, std::pair{u"1600", u"150"}}) {
        errorBoxes.clear();
        EXPECT_FALSE(Open(2, [&](TDetailForm& d) {
            SetText(d, "Edit3", QString::fromUtf16(w));
            SetText(d, "Edit4", QString::fromUtf16(h));
            Click(d.btnOK);
        }));
        EXPECT_TRUE(errorBoxes.empty());
        EXPECT_EQ(GraphScale.XAxis.VHigh, QString::fromUtf16(w).toInt());
        EXPECT_EQ(GraphScale.YAxis.VHigh, QString::fromUtf16(h).toInt());
    }
}

TEST_F(DetailFormTest, PartitionsAreCheckedOnLeavingTheEditAndOnOk)
{
    Open(5, [this](TDetailForm& d) {
        QLineEdit* edit = d.Control<QLineEdit>("edSliceno");
        for (const char16_t* text : {u"0", u"201"}) {
            messages.clear();
            edit->setText(QString::fromUtf16(text));
            Q_EMIT edit->editingFinished();
            ASSERT_EQ(messages.messages().size(), 1u);
            EXPECT_EQ(messages.last().text, QStringLiteral("Número de partições será par, de 2 a 200."));
            EXPECT_EQ(messages.last().kind, 1);
            EXPECT_EQ(edit->text(), QStringLiteral("10"));
        }
        for (const char16_t* text : {u"1", u"199"}) {
            messages.clear();
            edit->setText(QString::fromUtf16(text));
            EXPECT_TRUE(d.CheckSliceNo());
            EXPECT_TRUE(messages.empty());
        }
        Click(d.btnOK);
    });
    EXPECT_EQ(DocumentTables.IntegralInterval.sliceNo, 199);
}

TEST_F(DetailFormTest, ThePresetOfDegreesFillsThePagesAndOkAppliesIt)
{
    Options.AreaRectify = 0;
    const int points = BackUp.Count();
    Open(1, [](TDetailForm& d) {
        ClickButton(d, "SB3");
        EXPECT_TRUE(d.Control<QToolButton>("SB3")->isChecked());
        EXPECT_EQ(Text(d, "xEdit1"), QStringLiteral("-100"));
        EXPECT_EQ(Text(d, "Xedit2"), QStringLiteral("380"));
        EXPECT_EQ(d.Control<QComboBox>("EditX")->currentText(), QStringLiteral("90"));
        EXPECT_TRUE(d.Control<QCheckBox>("cbDegree")->isChecked());
        EXPECT_TRUE(d.Control<QToolButton>("SBDeg")->isChecked());
        d.Control<QCheckBox>("cbRectOn")->setChecked(false);
        Click(d.btnOK);
    });
    EXPECT_EQ(BackUp.Count(), points + 1);
    EXPECT_EQ(Options.AngleMode, 2);
    EXPECT_EQ(Options.DegreeFont, 1);
    EXPECT_EQ(GraphScale.XAxis.Base, 90.0L);
    EXPECT_EQ(GraphScale.XAxis.Low, -100.0L);
    EXPECT_EQ(GraphScale.XAxis.High, 380.0L);

    // Cancel applies nothing and takes no undo point.
    Open(5, [](TDetailForm& d) {
        ClickButton(d, "SBRad");
        Click(d.btnCancel);
    });
    EXPECT_EQ(Options.AngleMode, 2);
    EXPECT_EQ(BackUp.Count(), points + 1);
}

TEST_F(DetailFormTest, DegreesAndComplexModeExcludeEachOther)
{
    Open(5, [this](TDetailForm& d) {
        const QString message = QStringLiteral("\"Grau\" não pode ser usado no ModoComplexo");
        auto* complex = d.Control<QCheckBox>("cbComplex");
        auto* iunit = d.Control<QCheckBox>("cbIunit");
        EXPECT_FALSE(iunit->isEnabled());
        Click(complex);
        EXPECT_TRUE(iunit->isEnabled());
        EXPECT_TRUE(messages.empty());
        ClickButton(d, "SBDeg");
        ASSERT_EQ(messages.messages().size(), 1u);
        EXPECT_EQ(messages.last().text, message);
        EXPECT_EQ(messages.last().kind, 0);
        EXPECT_FALSE(complex->isChecked());
        EXPECT_FALSE(iunit->isEnabled());
        // Complex while degrees are pressed: back to radians.
        Click(complex);
        EXPECT_EQ(messages.messages().size(), 2u);
        EXPECT_TRUE(d.Control<QToolButton>("SBRad")->isChecked());
        // A preset in degrees is refused the same way.
        ClickButton(d, "SB3");
        EXPECT_EQ(messages.messages().size(), 3u);
        EXPECT_FALSE(complex->isChecked());
        Click(d.btnOK);
    });
    EXPECT_EQ(Options.ComplexMode, 0);
    EXPECT_EQ(Options.AngleMode, 2);
}

TEST_F(DetailFormTest, ScalePageRulesAndTickBases)
{
    Open(3, [](TDetailForm& d) {
        auto* grid = d.Control<QCheckBox>("cbXscale");
        ASSERT_TRUE(grid->isChecked());
        Click(grid);
        EXPECT_FALSE(d.Control<QCheckBox>("CheckXScale")->isChecked());
        EXPECT_FALSE(d.Control<QCheckBox>("CheckXValue")->isChecked());
        EXPECT_FALSE(d.Control<QCheckBox>("cbDegree")->isEnabled()) << "radians, and no values";
        ClickButton(d, "sbAtPolor");
        EXPECT_FALSE(d.Control<QToolButton>("sbfrc")->isEnabled());
        ClickButton(d, "sbAtRect");
        EXPECT_TRUE(d.Control<QToolButton>("sbfrc")->isEnabled());
        ClickButton(d, "sbVLT");
        EXPECT_EQ(d.Control<QLineEdit>("EditLx")->text(), QStringLiteral("{@}"));
        ClickButton(d, "sbVLX");
        EXPECT_EQ(d.Control<QLineEdit>("EditLx")->text(), QStringLiteral("x"));
        d.Control<QComboBox>("EditX")->setEditText(QStringLiteral("-2"));
        d.Control<QComboBox>("Edity")->setEditText(QStringLiteral("0"));
        Click(d.btnOK);
    });
    EXPECT_EQ(GraphScale.XAxis.Base, 2.0L);
    EXPECT_EQ(GraphScale.YAxis.Base, 1.0L);
    EXPECT_EQ(GraphScale.XAxis.ScaleVisible, 0);
}

TEST_F(DetailFormTest, DefaultsButtonsOfTheGraphAndFunctionPages)
{
    Options.DrawMode = 3;
    Options.ScanWidth = 8;
    Options.DrawOnDrag = 1;
    Options.ShowSync = 1;
    Options.LogMode = 1;
    Options.ComplexMode = 1;
    Open(4, [](TDetailForm& d) {
        EXPECT_TRUE(d.Control<QToolButton>("sbDrawF2")->isChecked());
        ClickButton(d, "btnInit3");
        EXPECT_TRUE(d.Control<QToolButton>("sbDrawF0")->isChecked());
        EXPECT_TRUE(d.Control<QToolButton>("sbSwidth2")->isChecked());
        EXPECT_TRUE(d.Control<QToolButton>("sbAimg2")->isChecked());
        EXPECT_TRUE(d.Control<QToolButton>("sbEs0")->isChecked());
        EXPECT_FALSE(d.Control<QCheckBox>("cbDrawOnDrag")->isChecked());
        EXPECT_TRUE(d.Control<QCheckBox>("cbShowSync")->isChecked());
        d.PageControl->setCurrentIndex(4);
        ClickButton(d, "btnInit4");
        EXPECT_TRUE(d.Control<QToolButton>("SBLmNature")->isChecked());
        EXPECT_FALSE(d.Control<QCheckBox>("cbComplex")->isChecked());
        Click(d.btnOK);
    });
    EXPECT_EQ(Options.DrawMode, 1);
    EXPECT_EQ(Options.ScanWidth, 4);
    EXPECT_EQ(Options.LogMode, 2);
    EXPECT_EQ(Options.ComplexMode, 0);
    EXPECT_EQ(Options.ShowSync, 1);
}

TEST_F(DetailFormTest, GoldenPictureOfEachPage)
{
    const char* pages[] = {"regular", "area", "scale", "graph", "function", "font"};
    // The editors' default font is the machine's screen font.
    ProgramState.SctickerEdit = ProgramState.ScriptEdit = QStringLiteral("DejaVu Sans");
    for (int i = 0; i < 6; ++i) {
        Open(1, [&](TDetailForm& d) {
            d.PageControl->setCurrentIndex(i);
            ProcessEvents();
            EXPECT_TRUE(MatchesImageGolden(d.grab().toImage(),
                                           QStringLiteral("windows/options-%1.png").arg(QString::fromLatin1(pages[i])),
                                           TextTolerance));
        });
    }
}

// A double click on a range edit or a tick base opens the calculator on it;
// what is sent from there comes back as the edit's number.
TEST_F(DetailFormTest, DoubleClicksEditTheFieldOnTheCalculator)
{
    for (const bool base : {false, true}) {
        Open(2, [&](TDetailForm& d) {
            QLineEdit* edit = base ? d.Control<QComboBox>("EditX")->lineEdit() : d.Control<QLineEdit>("xEdit1");
            ASSERT_NE(edit, nullptr);
            edit->setText(QStringLiteral("-7"));
            QueueCalculatorSend(modal, QStringLiteral("2*3"));
            QTest::mouseDClick(edit, Qt::LeftButton);
            ProcessEvents();
            EXPECT_EQ(modal.dialogsRun().back(), QStringLiteral("CalcForm")) << base;
            EXPECT_EQ(edit->text(), QStringLiteral("6")) << base;
        });
    }
}

// Opened from a range edit or a tick base, the calculator has the windows'
// silver face and its white preview, not the colours of the field.
TEST_F(DetailFormTest, TheCalculatorOfAFieldKeepsItsOwnColours)
{
    for (const bool base : {false, true}) {
        Open(3, [&](TDetailForm& d) {
            QLineEdit* edit = base ? d.Control<QComboBox>("EditX")->lineEdit() : d.Control<QLineEdit>("xEdit1");
            ASSERT_NE(edit, nullptr);
            modal.queueAnswer(QStringLiteral("CalcForm"), [base](QObject& object) {
                auto& calc = static_cast<QWidget&>(object);
                ProcessEvents();
                auto* preview = calc.findChild<QWidget*>(QStringLiteral("PanelView"));
                EXPECT_EQ(calc.palette().color(calc.backgroundRole()), QColor(0xC0, 0xC0, 0xC0)) << base;
                EXPECT_EQ(preview->palette().color(preview->backgroundRole()), QColor(Qt::white)) << base;
                const QImage shown = calc.grab().toImage();
                // Left of the keys and right of the preview: the face.
                EXPECT_EQ(shown.pixelColor(2, shown.height() / 2), QColor(0xC0, 0xC0, 0xC0)) << base;
                if (!base) {
                    EXPECT_TRUE(MatchesImageGolden(shown, QStringLiteral("windows/calculator-options-field.png"),
                                                   TextTolerance));
                }
                return 0;
            });
            QTest::mouseDClick(edit, Qt::LeftButton);
            ProcessEvents();
        });
    }
}

TEST_F(DetailFormTest, TheSystemErrorBoxIsACriticalBoxWithOneOk)
{
    QtSystemErrorBox box;
    modal.queueAnswer(QStringLiteral("SystemErrorBox"), [](QObject& object) {
        auto& shown = dynamic_cast<QMessageBox&>(object);
        EXPECT_EQ(shown.icon(), QMessageBox::Critical);
        EXPECT_EQ(shown.text(), QStringLiteral("Tamanho da janela inválido"));
        EXPECT_EQ(shown.standardButtons(), QMessageBox::Ok);
        return int(QMessageBox::Ok);
    });
    box.showError(QStringLiteral("Tamanho da janela inválido"));
    EXPECT_EQ(modal.dialogsRun().back(), QStringLiteral("SystemErrorBox"));
    EXPECT_EQ(modal.pendingAnswers(), 0);
}

} // namespace
