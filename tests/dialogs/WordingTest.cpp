// The words of every window as the user reads them: captions, hints, menu
// items and window titles, looked up by the controls' object names (which
// are case-sensitive). One table per window; texts other tests already pin
// are left to them.
#include "PropertyDialogTestKit.h"

#include "dialogs/CalcForm.h"
#include "dialogs/CfxProperty.h"
#include "dialogs/DetailForm.h"
#include "dialogs/FormIvalue.h"
#include "dialogs/FormYValue.h"
#include "dialogs/PntProperty.h"
#include "dialogs/SegProperty.h"
#include "model/Figures.h"
#include "windows/GraphAreaForm.h"
#include "windows/MainConsole.h"

#include <QAction>
#include <QGuiApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

// One control's words: its shown caption and its hint (empty: not checked).
struct TWording {
    const char* Name;
    const char16_t* Caption;
    const char16_t* Hint = nullptr;
};

QString CaptionOf(const QObject& o)
{
    if (auto* b = qobject_cast<const QAbstractButton*>(&o))
        return b->text();
    if (auto* l = qobject_cast<const QLabel*>(&o))
        return l->text();
    if (auto* g = qobject_cast<const QGroupBox*>(&o))
        return g->title();
    if (auto* a = qobject_cast<const QAction*>(&o))
        return a->text();
    if (auto* m = qobject_cast<const QMenu*>(&o))
        return m->title();
    return QStringLiteral("<no caption>");
}

QString ToolTipOf(const QObject& o)
{
    if (auto* a = qobject_cast<const QAction*>(&o))
        return a->toolTip();
    return static_cast<const QWidget&>(o).toolTip();
}

// Hints are tool tips, or in the calculator status-line texts only.
enum class HintKind { ToolTip, StatusLine };

void ExpectWording(const QObject& root, std::initializer_list<TWording> table, HintKind hints = HintKind::ToolTip)
{
    for (const TWording& w : table) {
        const QObject* o = root.findChild<QObject*>(QString::fromLatin1(w.Name));
        ASSERT_NE(o, nullptr) << "no " << w.Name << " in " << root.objectName().toStdString();
        if (w.Caption) {
            EXPECT_EQ(CaptionOf(*o).toStdString(), QString::fromUtf16(w.Caption).toStdString()) << w.Name;
        }
        if (!w.Hint)
            continue;
        if (hints == HintKind::ToolTip) {
            EXPECT_EQ(ToolTipOf(*o).toStdString(), QString::fromUtf16(w.Hint).toStdString()) << w.Name;
        } else {
            const auto& widget = static_cast<const QWidget&>(*o);
            EXPECT_EQ(widget.statusTip().toStdString(), QString::fromUtf16(w.Hint).toStdString()) << w.Name;
            EXPECT_TRUE(widget.toolTip().isEmpty()) << w.Name << ": a long hint only";
        }
    }
}

QStringList ItemTexts(const QMenu& menu)
{
    QStringList texts;
    for (const QAction* a : menu.actions())
        if (!a->isSeparator())
            texts << a->text();
    return texts;
}

// The captions of every control of that type, for controls without a name.
template <class W>
QStringList ShownTexts(const QWidget& root)
{
    QStringList texts;
    for (const W* w : root.findChildren<W*>())
        texts << CaptionOf(*w);
    return texts;
}

void ExpectAmong(const QStringList& shown, std::initializer_list<const char16_t*> words)
{
    for (const char16_t* word : words)
        EXPECT_TRUE(shown.contains(QString::fromUtf16(word))) << QString::fromUtf16(word).toStdString();
}

QStringList TabTexts(const QTabWidget& tabs)
{
    QStringList texts;
    for (int i = 0; i < tabs.count(); ++i)
        texts << tabs.tabText(i);
    return texts;
}

class WordingTest : public PropertyDialogTest {};

TEST_F(WordingTest, GraphWindow)
{
    TGraphAreaForm& g = Graph();
    EXPECT_EQ(g.windowTitle(), QStringLiteral("KAVIRO"));
    ExpectWording(g, {
                         {"sbtnzoom", nullptr, u"Expandir(Zoom in)"},
                         {"sbtnwide", nullptr, u"Encolher(Zoom out)"},
                         {"tbRedo", nullptr, u"Refazer Domínio"},
                         {"btnSon", nullptr, u"Graduações"},
                         {"btnYn", nullptr, u"Estreito ; Ctrl: Intervalo da Letra"},
                         {"btnXW", nullptr, u"Largo ; Ctrl: Intervalo da Letra"},
                         {"sbStretch", nullptr, u"Esticar Imagem de Fundo"},
                         {"sbShowEquation", nullptr, u"Mostrar Expressão"},
                         {"sbIvalue", nullptr, u"Mostrar Valor da Integral Definida"},
                         {"tbFreePen", nullptr, u"Marcando com Caneta"},
                     });
    const std::pair<const char*, QStringList> menus[] = {
        {"PopupMenuMemo",
         {QStringLiteral("&Editar Anotação"), QStringLiteral("Mostrar Anotação"), QStringLiteral("Esconder Anotação"),
          QStringLiteral("Apagar Todas as Anotações")}},
        {"PopupBG", {QStringLiteral("do Arquivo"), QStringLiteral("do Clipboard")}},
        {"pmBGStretch",
         {QStringLiteral("Ajustar Largura"), QStringLiteral("Ajustar Altura"),
          QStringLiteral("Esticar para Janela de Gráfico")}},
        {"pmHideAutoCtrlPalette",
         {QStringLiteral("Tabela de Controle Auto-Ocultante"), QStringLiteral("Tabela de Controle Sempre-Visível")}},
    };
    for (const auto& [name, items] : menus) {
        auto* menu = g.findChild<QMenu*>(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr) << name;
        EXPECT_EQ(ItemTexts(*menu), items) << name;
    }
}

// Qt appends an application display name to the shown caption of every
// window; the file's name belongs in the graph window's caption alone.
TEST_F(WordingTest, OnlyTheGraphWindowsCaptionNamesTheFile)
{
    const QString appName = QGuiApplication::applicationDisplayName();
    Graph().SetFileCaption(QStringLiteral("/tmp/aulas/parabola.kvf"));
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO : parabola.kvf"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), appName);
    EXPECT_EQ(Console().windowTitle(), QStringLiteral("Painel de Dados"));
    Graph().SetDefaultCaption();
    EXPECT_EQ(Graph().windowTitle(), QStringLiteral("KAVIRO"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), appName);
}

TEST_F(WordingTest, DataPanel)
{
    TMainConsole& c = Console();
    // A title label shows "&" as it is; menu items need "&&" for one "&".
    auto* figures = c.findChild<QLabel*>(QStringLiteral("PanelSegTitle"));
    ASSERT_NE(figures, nullptr);
    EXPECT_EQ(figures->buddy(), nullptr);
    ExpectWording(c, {
                         {"panelyfxTitle", u"Função"},
                         {"panelCrvTitle", u"Curva Parametrizada"},
                         {"PanelUsrTitle", u"Função usr"},
                         {"PanelSegTitle", u"Reta & Polígono"},
                         {"fileMenu1", u"&Arquivo"},
                         {"Show1", u"&Ver"},
                         {"help", u"A&juda"},
                         {"NewWrite", u"Salvar &Como"},
                         {"nsaveBmp", u"Salvar I&magem"},
                         {"nprintoption", u"Prop.Impressora"},
                         {"nEditMemo", u"&Editar Anotação"},
                         {"menuoption", u"&Opções"},
                         {"Nenv", u"Am&biente"},
                         {"SetInit", u"&Iniciar Padrão"},
                         {"InitPrm", u"Iniciar &parâmetros"},
                         {"NshowArea", u"Mostrar &Área"},
                         {"NSeg", u"[Reta && Polígono]"},
                         {"NShowData7", u"Reta && Polígono"},
                         {"NShowHint", u"Mostrar &Sugestão"},
                         {"Npresentation", u"&Modo de Apresentação"},
                         {"HTML1", u"&manual em HTML"},
                         {"version1", u"&Versão"},
                         {"nErase", u"Apagar"},
                         {"nHideData", u"Esconder Dados"},
                         {"sbPrmFix1", nullptr, u"Fixar/não Fixar"},
                     });
}

TEST_F(WordingTest, Calculator)
{
    TCalcForm* calc = Forms.CalcForm;
    ASSERT_NE(calc, nullptr);
    // The keys take their texts when the calculator shows.
    Click(Graph().findChild<QWidget*>(QStringLiteral("sbcalc")));
    ProcessEvents();
    ASSERT_TRUE(calc->isVisible());
    EXPECT_EQ(calc->windowTitle(), QStringLiteral("Calculadora"));
    ExpectWording(*calc,
                  {
                      {"BtnEqual", u"=", u"calcular"},
                      {"SBP13", u"k", u"parâmetro"},
                      {"SBDegree", u"°", u"grau -> radiano : Ex 45°"},
                      {"SBInner", u"·", u"produto interno : P·Q"},
                      {"SBGreaterEq", u"≥", nullptr},
                      {"SBAbsBars", u"[]", u"absoluto"},
                      {"SBCross", u"×", nullptr},
                      {"SBcof", nullptr, u"coeficiente : cof(dimensão, equação) , Ex: cof(1,(x+3)^2)=6"},
                      {"SBEcentr", nullptr, u"excenter：Ecentr(A,B,C)"},
                      {"SBperp", nullptr, u"ponto de interseção(BC e perpendicular(A à reta BC)) : perp(A,B,C)"},
                      {"SBrot", nullptr,
                       u"rotacionar: rot(P, angle), rotacionar(ângulo reto): rot(P), rotacionar(A como centro): "
                       u"rot(P,A,angle)"},
                      // "&" shows as it is on a status line.
                      {"SBintr", nullptr,
                       u"2retas AB&CD: intr(A,B,C,D); AB&circuloC,r: intr(A,B,C,r); 2cirC,r1,D,r2: intr(C,r1,D,r2)"},
                  },
                  HintKind::StatusLine);
    for (int group = 1; group <= 4; ++group)
        EXPECT_NE(calc->findChild<QWidget*>(QStringLiteral("Grupo%1").arg(group)), nullptr) << group;
    calc->close();
}

// The palette's buttons keep the family table's spelling even where a hint
// list writes the name with other capitals.
TEST_F(WordingTest, PaletteNamesFollowTheFamilies)
{
    QWidget* palette = Forms.FmSetColor;
    ASSERT_NE(palette, nullptr);
    ExpectWording(*palette, {
                                {"sbc0", nullptr, u"Limpar"},
                                {"SBmemo0", nullptr, u"não Mostrar"},
                                {"SBPstyle1", nullptr, u"somente fronteira"},
                                {"SBAL0", nullptr, u"não Desenhar"},
                            });
    for (const char* other : {"SBC0", "SBMemo0", "sbPstyle1"})
        EXPECT_EQ(palette->findChild<QObject*>(QString::fromLatin1(other)), nullptr) << other;
}

TEST_F(WordingTest, FunctionAndRelationDialogs)
{
    QueueFormula(QStringLiteral("x^2"));
    ShowYfxProperty(3);
    ProcessEvents();
    QWidget* function = FindOpenDialog(QStringLiteral("CfxProperty"));
    ASSERT_NE(function, nullptr);
    // The name label " y3= " without its "=", then the word.
    EXPECT_EQ(function->windowTitle(), QStringLiteral(" y3 Propriedades"));
    ExpectWording(*function, {
                                 {"ImgFunction", nullptr, u"editar função"},
                                 {"lblColor", u"Côr"},
                                 {"lblwidth", u"Gross"},
                                 {"lblLStyle", u"Estilo"},
                                 {"lblInside", u"Interior"},
                                 {"lblBorder", u"Fronteira"},
                                 {"CBAI", u"Traço"},
                                 {"CboxAutoCalc", u"Desenho Rápido"},
                                 {"BtnOK", u"&O K"},
                                 {"btnDelete", u"&Apagar"},
                                 {"btncancel", u"&Cancelar"},
                             });
    delete function;
    QueueFormula(QStringLiteral("x^2+y^2<4"));
    ShowCfnProperty(2);
    ProcessEvents();
    QWidget* relation = FindOpenDialog(QStringLiteral("CfxProperty"));
    ASSERT_NE(relation, nullptr);
    EXPECT_EQ(relation->windowTitle(), QStringLiteral(" C2 Propriedades"));
}

TEST_F(WordingTest, ObjectDialog)
{
    ShowPntProperty(1, 3);
    ProcessEvents();
    QWidget* d = FindOpenDialog(QStringLiteral("PntProperty"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Figura P Propriedades"));
    ExpectWording(*d, {
                          {"lblV", u" P ="},
                          {"GBFigure", u"Figura"},
                          {"GBCurve", u"Curva"},
                          {"GBLabel", u"Rótulo"},
                          {"GBLocus", u"Lugar Geométrico"},
                          {"GBInterval", u"Intervalo"},
                          {"GBStep", u"Incremento"},
                          {"RBHline", u"Reta Horizontal", u"Reta Horizontal"},
                          {"RBLocus", u"Curva Parametrizada", u"Curva Parametrizada"},
                          {"rbSequence", u"Sequência de Pontos", u"Sequência de Pontos"},
                          {"ImgX", nullptr, u"editar Coordenadas"},
                          {"imgY", nullptr, u"editar Coordenadas"},
                          {"IMGV", nullptr, u"editar figura"},
                          {"CBVector", u"Usar Vetores"},
                          {"CBDrag", u"Arrastável"},
                          {"cbSync", u"Sincronizar", u"sincronizada com gloval parâmetro"},
                          {"SBLB1", nullptr, u"Posição do rótulo"},
                          {"lblLow", u"≤"},
                          {"BtnOK", u"&O K"},
                          {"btncancel", u"&Cancelar"},
                          {"btnDelete", u"&Apagar"},
                      });
    ExpectAmong(ShownTexts<QLabel>(*d), {u"Côr", u"Gross", u"Largura", u"Estilo", u"Dentro"});
}

TEST_F(WordingTest, FigureDialog)
{
    for (int k = 1; k <= 2; ++k) {
        DocumentTables.Points[k].Kind = ObjectPoint;
        DocumentTables.Points[k].Pos.Text = QStringLiteral("(%1,0)").arg(k);
    }
    ASSERT_TRUE(Segments.Append(1, 2, 0xFF0000, 2, 1));
    bool ran = false;
    modal.queueAnswer(QStringLiteral("SegProperty"), [&ran](QObject& object) {
        auto& d = dynamic_cast<TSegProperty&>(object);
        ran = true;
        // A window title shows "&" as it is.
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Reta&Polígono"));
        ExpectWording(d, {
                             {"RB1", nullptr, u"Segmento"},
                             {"RB5", nullptr, u"Retângulo"},
                             {"RB8", nullptr, u"Ângulo"},
                             {"RB9", nullptr, u"Semi-reta"},
                             {"RB12", nullptr, u"Curva de Bezier"},
                             {"lblInside", u"Dentro"},
                             {"CBAI", u"Traço"},
                             {"SBLB9", nullptr, u"Posição do rótulo"},
                             {"BtnOk", u"&O K"},
                             {"btnCancel", u"&Cancelar"},
                             {"Btndelete", u"&Apagar"},
                         });
        ExpectAmong(ShownTexts<QGroupBox>(d), {u"Vértice", u"Figura", u"Rótulo"});
        d.Edit2->clear();
        d.PopupMenuPointPopup();
        QStringList shown;
        for (const QAction* a : d.PopupMenuPoint->actions())
            if (a->isVisible() && !a->isSeparator())
                shown << a->text();
        for (const char* item : {"x(eixo x)", "y(eixo y)", "O(Origem)"})
            EXPECT_TRUE(shown.contains(QString::fromLatin1(item))) << item;
        return 0;
    });
    ShowSegProperty(1);
    EXPECT_TRUE(ran);
}

TEST_F(WordingTest, ToolWindows)
{
    Graph().sbYvalue->click();
    ProcessEvents();
    TFormYValue* table = Graph().ToolWindows().FormYValue();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->windowTitle(), QStringLiteral("Valores da Função"));
    ExpectWording(*table, {
                              {"Image1", nullptr, u"Adicionar/ Editar da função"},
                              {"Image9", nullptr, u"Adicionar/ Editar da função"},
                          });
    Graph().sbIvalue->click();
    ProcessEvents();
    TFormIvalue* integral = Graph().ToolWindows().FormIvalue();
    ASSERT_NE(integral, nullptr);
    EXPECT_EQ(integral->windowTitle(), QStringLiteral("Integral Definida"));
    ExpectWording(*integral, {
                                 {"SBExUpper", u"Limite Superior"},
                                 {"SBExLower", u"Limite Inferior"},
                                 {"LabelShow", u"Mostrar", u"Mostrar a Função Especificada"},
                                 {"LabelDiff", u"Diff", u"Integrar a Diferença entre 2 Funções"},
                                 {"LabelValue", u"Valor"},
                                 {"LabelSlice", u"Divisão", u"Dividir o Intervalo do integral definido"},
                                 {"Btnarea1", nullptr, u"Integral Definida"},
                                 {"Btnarea2", nullptr, u"Area"},
                                 {"Edit10", nullptr, u"Dividir o Intervalo do integral definido"},
                                 {"Label0", u" 0"},
                                 {"Label10", u" y10"},
                                 {"RB3", nullptr, u"Mostrar a Função Especificada"},
                                 {"Rc3", nullptr, u"Integrar a Diferença entre 2 Funções"},
                             });
}

TEST_F(WordingTest, OptionsDialog)
{
    bool ran = false;
    modal.queueAnswer(QStringLiteral("DetailForm"), [&ran](QObject& object) {
        auto& d = dynamic_cast<TDetailForm&>(object);
        ran = true;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Opções"));
        auto* pages = d.findChild<QTabWidget*>();
        if (!pages) {
            ADD_FAILURE() << "no pages";
            return 0;
        }
        ExpectAmong(TabTexts(*pages), {u"Área", u"Escala", u"Gráfico", u"Função", u"Font"});
        ExpectWording(d, {
                             {"cbArea", u"Ajustar com Janela"},
                             {"cbRectOn", u"Ajustar Graduação"},
                             {"cbScreensize", u"Ao abrir o arquivo lê-se também o tamanho da tela"},
                             {"btnInit1", u"Iniciar"},
                             {"cbShowSync", u"Mostrar/Esconder retas depende do objeto"},
                             {"cbShowProperty", u"Mostra propriedades durante arrasto"},
                             {"cbAimgOfPaint", u"Permite desenhar traço do interior"},
                             {"sbDrawF0", u"Auto"},
                             {"sbDrawF1", u"Conectar"},
                             {"sbDrawF2", u"Plotar"},
                             {"SBLmDecimal", u"Comum"},
                             {"SBLmNature", u"Natural"},
                             {"SBRad", u"Radiano"},
                             {"SBDeg", u"Grau"},
                             {"cbNRadius", u"Permite raio negativo"},
                             {"cbComplex", u"Trata vetor como número complexo"},
                             {"cbIunit", u"permite √(-1)=i"},
                             {"cbTheta", u"theta como argumento"},
                             {"btnOK", u"&O K"},
                             {"btnCancel", u"&Cancelar"},
                         });
        ExpectAmong(ShownTexts<QLabel>(d), {u"Padrão de Escalas", u"Escalas em C. Polares", u"Larg.", u"Altura",
                                            u"pixels", u"Integral Definida Divisão"});
        return 0;
    });
    ShowOptions(0);
    EXPECT_TRUE(ran);
}

} // namespace
