// The note editor's texts without its widgets: the sheets filled from the
// note text and assembled back, the sticker size box, and what the script
// menu inserts.
#include "SessionTest.h"

#include "session/NoteSheets.h"

#include "model/DocumentState.h"

namespace {

using namespace Qt::Literals::StringLiterals;

using NoteSheetsTest = SessionTest;

QStringList Twelve()
{
    QStringList lines;
    for (int i = 1; i <= 12; ++i)
        lines << QStringLiteral("bloco %1").arg(i) << QString() << QString();
    return lines;
}

TEST_F(NoteSheetsTest, TheSheetsAreFilledFromTheNoteText)
{
    struct Case {
        const char* What;
        QStringList Note;
        QStringList Stickers;
        QStringList Scripts;
    };
    const Case cases[] = {
        {"stickers, then two scripts",
         Lines({u"A", u"", u"", u"B", u"", u"#//S", u"#a:=1", u"", u"#//T", u"#b:=2"}),
         Lines({u"A", u"", u"", u"B"}), Lines({u"//S", u"a:=1", u"", u"//T", u"b:=2"})},
        {"comments stay in the sticker sheet", Lines({u"A", u"// nota", u"B"}), Lines({u"A", u"// nota", u"B"}), {}},
        {"scripts among the notes", Lines({u"#//S", u"#x:=1", u"nota", u"#//T"}), Lines({u"nota"}),
         Lines({u"//S", u"x:=1", u"", u"//T"})},
        {"one blank line however many stood between", Lines({u"#//S", u"", u"", u"", u"#//T"}), {},
         Lines({u"//S", u"", u"//T"})},
        {"no blank line before the first script", Lines({u"A", u"", u"#//S"}), Lines({u"A"}), Lines({u"//S"})},
        {"blank lines at the end of the notes go", Lines({u"A", u" ", u"", u"#//S"}), Lines({u"A"}),
         Lines({u"//S"})},
        {"nothing", {}, {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StickerSheetLines(c.Note), c.Stickers) << c.What;
        EXPECT_EQ(ScriptSheetLines(c.Note), c.Scripts) << c.What;
    }
    EXPECT_EQ(StickerSheetLines(Twelve()).size(), Twelve().size() - 2) << "every block is shown";
}

TEST_F(NoteSheetsTest, TheSheetsAreAssembledIntoTheNoteText)
{
    EXPECT_EQ(AssembleNoteLines(Lines({u"A", u"", u"B"}), Lines({u"//S", u"a:=1", u"", u"  ", u"#b:=2", u"\tc:=3"})),
              Lines({u"A", u"", u"B", u"#//S", u"#a:=1", u"", u"  ", u"#b:=2", u"#\tc:=3"}));
    EXPECT_EQ(AssembleNoteLines({}, {}), QStringList());
}

// Opening the editor and applying what it shows leaves the note text as it
// is, whatever it holds; a sheet that was changed is assembled, and
// applying again adds no blank lines.
TEST_F(NoteSheetsTest, UnchangedSheetsKeepTheNoteText)
{
    const QStringList notes[] = {
        Lines({u"A", u"", u"", u"#//S", u"#a:=1", u"", u"", u"#//T", u"#b:=2"}),
        Lines({u"// comentário", u"A", u"//", u"B", u"#---"}),
        Twelve(),
        Lines({u"#//S", u"#foo bar", u"A", u"#Draw", u"#x:=1"}),
        Lines({u"", u"", u"A", u" "}),
    };
    for (const QStringList& note : notes) {
        DocumentTables.PetaMemoLines = note;
        TNoteSheetTexts sheets = FillNoteSheets();
        EXPECT_EQ(NoteLinesFromSheets(sheets), note) << note.join(u'|').toStdString();

        sheets.Stickers += u"\nmais"_s;
        const QStringList once = NoteLinesFromSheets(sheets);
        EXPECT_TRUE(once.contains(u"mais"_s)) << note.join(u'|').toStdString();
        DocumentTables.PetaMemoLines = once;
        EXPECT_EQ(NoteLinesFromSheets(FillNoteSheets()), once);
        EXPECT_EQ(AssembleNoteLines(SheetLines(FillNoteSheets().Stickers), SheetLines(FillNoteSheets().Scripts)), once)
            << "a second apply adds no blank lines: " << note.join(u'|').toStdString();
    }
}

// A new sticker begun ("Anexar Anotação") and left empty changes nothing;
// blank lines at the sticker sheet's end are never stored.
TEST_F(NoteSheetsTest, BlankLinesAtTheStickerSheetsEndAreNothing)
{
    DocumentTables.PetaMemoLines = Lines({u"A", u"#//S", u"#Draw"});
    TNoteSheetTexts sheets = FillNoteSheets();
    sheets.Stickers += u"\n\n\n"_s;
    EXPECT_EQ(NoteLinesFromSheets(sheets), DocumentTables.PetaMemoLines);
    sheets.Stickers = u"A\n\n\nB\n \n"_s;
    EXPECT_EQ(NoteLinesFromSheets(sheets), Lines({u"A", u"", u"", u"B", u"#//S", u"#Draw"}));
}

TEST_F(NoteSheetsTest, SheetTextsAndLines)
{
    struct Case {
        QString Text;
        QStringList Lines;
    };
    const Case cases[] = {
        {u""_s, {}},
        {u"a"_s, {u"a"_s}},
        {u"a\nb"_s, {u"a"_s, u"b"_s}},
        {u"a\n"_s, {u"a"_s, u""_s}},
        {u"\n"_s, {u""_s, u""_s}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SheetLines(c.Text), c.Lines) << c.Text.toStdString();
        EXPECT_EQ(SheetText(c.Lines), c.Text) << c.Text.toStdString();
    }
    DocumentTables.SimpleMemoLines = Lines({u"uma", u"duas"});
    EXPECT_EQ(FillNoteSheets().Nota, u"uma\nduas"_s);
}

TEST_F(NoteSheetsTest, TheSizeBoxTakesWholeNumbersAboveFour)
{
    struct Case {
        const char* Text;
        int Size;
    };
    const Case cases[] = {{"12", 12}, {" 16 ", 16}, {"5", 5}, {"4", 9}, {"0", 9}, {"-3", 9},
                          {"12.5", 9}, {"abc", 9}, {"", 9}};
    for (const Case& c : cases)
        EXPECT_EQ(StickerSizeFromText(QString::fromUtf8(c.Text), 9), c.Size) << c.Text;
}

TEST_F(NoteSheetsTest, FillTemplateShowsTheArgumentWords)
{
    EXPECT_EQ(FillTemplate(u"Call(*,*)"_s, {u"nome subscrito"_s, u"argumento"_s}),
              u"Call(<nome subscrito>,<argumento>)"_s);
    EXPECT_EQ(FillTemplate(u"Draw"_s, {}), u"Draw"_s);
    EXPECT_EQ(FillTemplate(u"* := *"_s, {u"objeto"_s}), u"<objeto> := *"_s) << "a star without a word stays";
}

// Every item of the script menu, in the menu's order, and what it inserts.
TEST_F(NoteSheetsTest, EveryScriptMenuItemInsertsItsText)
{
    struct Item {
        const char16_t* Caption;
        const char16_t* Inserted;
    };
    struct Submenu {
        const char16_t* Caption;
        std::vector<Item> Items;
    };
    const Submenu expected[] = {
        {u"Assinalar",
         {{u"<Parâmetro> := <Expressão>", u" := \n"},
          {u"<objeto> := <Expressão>", u" := \n"},
          {u"Inc(<Parâmetro>,<Expressão>)", u"Inc( , )\n"},
          {u"Dec(<Parâmetro>,<Expressão>)", u"Dec( , )\n"}}},
        {u"Condição",
         {{u"If then", u"If  then \n"},
          {u"If then / endif", u"If  then  \n\nendif\n"},
          {u"If then else", u"If  then  else\n"},
          {u"If then / else / endif", u"If  then  \n\nelse \n\nendif\n"}}},
        {u"Loop", {{u"For / next", u"For   :=   to    step \n\nnext\n"}, {u"While / wend", u"While \n\nwend\n"}}},
        {u"Calcular&&Desenhar",
         {{u"Draw", u"Draw\n"},
          {u"OverDraw", u"OverDraw\n"},
          {u"Calc", u"Calc\n"},
          {u"Refresh", u"Refresh\n"},
          {u"RefreshSticker", u"RefreshSticker\n"},
          {u"SetArea(<esquerda>,<acima>,<direita>,<abaixo>)", u"SetArea( , , , )\n"}}},
        {u"Traço",
         {{u"ClrAImg", u"ClrAImg\n"},
          {u"ClrAImg(<objetos>)", u"ClrAImg( )\n"},
          {u"SetAImg", u"SetAImg\n"},
          {u"AImgOn", u"AImgOn\n"},
          {u"AImgOff", u"AImgOff\n"}}},
        {u"Mostrar&&Côr",
         {{u"ShowObj(<objetos>)", u"ShowObj( )\n"},
          {u"HideObj(<objetos>)", u"HideObj( )\n"},
          {u"InvShowObj(<objetos>)", u"InvShowObj( )\n"},
          {u"SetColor(<objeto>,<côr>)", u"SetColor( , )\n"},
          {u"SetLineColor(<objeto>,<côr>)", u"SetLineColor( , )\n"},
          {u"SetInsideColor(<objeto>,<côr>)", u"SetInsideColor( , )\n"}}},
        {u"Função de Côr",
         {{u"rgb(<Vermelho>,<Verde>,<Azul>)", u"rgb( , , )\n"},
          {u"hsl(<hue>,<saturação>,<claridade>)", u"hsl( , , )\n"}}},
        {u"Executar",
         {{u"on <elementos> change", u"on  change\n"},
          {u"Call(<nome subscrito>,<argumento>,<argumento>,<argumento>,<argumento>)", u"Call( , , , , )\n"},
          {u"Settime(<mili segundo>) / wait", u"Settime( ) \n\nwait\n"},
          {u"Wait(<mili segundo>)", u"Wait( )\n"},
          {u"Pause", u"Pause\n"},
          {u"Pause(<mensagem>)", u"Pause( )\n"},
          {u"End", u"End\n"}}},
        {u"Fazer Som",
         {{u"Play", u"Play\n"},
          {u"Play(<Parâmetro>,<tempo do início>,<tempo do término>,<Expressão>)", u"Play( , , , )\n"},
          {u"PlayAfter(<Parâmetro>,<tempo do início>,<tempo do término>,<Expressão>)", u"PlayAfter( , , , )\n"},
          {u"PlaySync(<Parâmetro>,<tempo do início>,<tempo do término>,<Expressão>)", u"PlaySync( , , , )\n"},
          {u"SetSampleRate(<taxa do exemplo>)", u"SetSampleRate( )\n"}}},
        {u"Table",
         {{u"Cells(<reta>,<coluna>) := <Expressão>", u"Cells( , ) := \n"},
          {u"CellsP(<reta>,<coluna>) := <Expressão>", u"CellsP( , ) := \n"},
          {u"ClrAllCells", u"ClrAllCells\n"}}},
        {u"mais", {{u"// <Anotação>", u"// \n"}}},
    };
    const std::vector<TScriptSubmenu>& menu = ScriptMenuEntries();
    ASSERT_EQ(menu.size(), std::size(expected));
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].Caption, QString::fromUtf16(expected[i].Caption));
        ASSERT_EQ(menu[i].Items.size(), expected[i].Items.size()) << menu[i].Caption.toStdString();
        for (std::size_t j = 0; j < menu[i].Items.size(); ++j) {
            const QString caption = menu[i].Items[j].Caption;
            EXPECT_EQ(caption, QString::fromUtf16(expected[i].Items[j].Caption));
            EXPECT_EQ(ScriptInsertText(caption), QString::fromUtf16(expected[i].Items[j].Inserted))
                << caption.toStdString();
        }
    }
    // A caption's first "&" is a shortcut's mark.
    EXPECT_EQ(ScriptInsertText(u"&Draw"_s), u"Draw\n"_s);
}

} // namespace
