#include "windows/MainConsole.h"
#include "windows/ConsoleCommands.h"

#include "dialogs/PermanentForms.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "render/gfx/ColorConvert.h"
#include "render/view/Scale.h"
#include "windows/GraphAreaForm.h"
#include "windows/WindowHosts.h"

#include <QFont>
#include <QLabel>
#include <QScrollArea>
#include <QShowEvent>
#include <algorithm>

namespace {

constexpr TColor FormColor = 0xC0C0C0;
constexpr int TitleHeight = 22;
constexpr int EmptyPanelHeight = 26;

struct TPanelTitle {
    const char16_t* Name;
    const char16_t* Title;
};
// "Reta && Polígono" in the designer's notation: a label shows one '&'.
constexpr TPanelTitle PanelTitles[TMainConsole::PanelCount] = {
    {u"panelyfx", u"Função"},
    {u"panelcfn", u"Relação"},
    {u"panelCrv", u"Curva Parametrizada"},
    {u"panelPnt", u"Objeto Elementar"},
    {u"PanelPrm", u"Parâmetro"},
    {u"PanelUsr", u"Função usr"},
    {u"PanelMem", u"Anotação"},
    {u"PanelSeg", u"Reta & Polígono"},
};
constexpr int FigurePanel = 7;

QFont FormFont()
{
    return QFont(QString::fromUtf16(FormFontName));
}

} // namespace

TMainConsole::TMainConsole()
{
    setObjectName(QStringLiteral("MainConsole"));
    setWindowTitle(QStringLiteral("Painel de Dados"));
    setFont(FormFont());
    QPalette silver = palette();
    silver.setColor(QPalette::Window, ToQColor(FormColor));
    setPalette(silver);
    setAutoFillBackground(true);
    Forms.MainConsole = this;
    Forms.DataPanel = this;

    BuildPanels();
    resize(NormalWidth, height());
    MeasureGraphHeight();
    if (TGraphAreaForm* graph = Forms.GraphAreaForm) {
        GraphScale.Layout(graph->PageControlHeight(), true);
        graph->ResizeGraphArea();
    }
    ArrangeWindows();
    InstallConsoleCommands(*this);
}

TMainConsole::~TMainConsole()
{
    if (Forms.MainConsole == this) {
        Forms.MainConsole = nullptr;
        Forms.DataPanel = nullptr;
    }
}

void TMainConsole::BuildPanels()
{
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(true);
    auto* content = new QWidget;
    int top = 0;
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QFrame(content);
        panel->setObjectName(QString::fromUtf16(PanelTitles[i].Name));
        panel->setFrameShape(QFrame::StyledPanel);
        auto* title = new QLabel(QString::fromUtf16(PanelTitles[i].Title), panel);
        title->setGeometry(4, 2, NormalWidth - 16, TitleHeight - 4);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        panel->setGeometry(0, top, NormalWidth - 4, EmptyPanelHeight);
        // A new document shows every panel but the figures'.
        if (i == FigurePanel)
            panel->hide();
        else
            top += EmptyPanelHeight;
        Panels[i] = panel;
    }
    content->setMinimumSize(NormalWidth - 4, top);
    ScrollBox1->setWidget(content);
}

void TMainConsole::MeasureGraphHeight()
{
    TProgramState& state = ProgramState;
    const TGraphAreaForm* graph = Forms.GraphAreaForm;
    if (!graph)
        return;
    state.GraphMaxHeight = graph->AvailableGraphHeight(WorkArea().height());
    // A size stored on a larger screen would run off this one.
    state.GraphPixelHeight =
        std::min(RegReadIntDef(RegKeyScaleX, QStringLiteral("VHigh"), state.GraphMaxHeight), state.GraphMaxHeight);
}

void TMainConsole::ArrangeWindows()
{
    TGraphAreaForm* graph = Forms.GraphAreaForm;
    if (!graph)
        return;
    const QRect screen = WorkArea();
    resize(width(), graph->height());
    const int graphWidth = graph->frameGeometry().width();
    const int panelWidth = frameGeometry().width();
    const int both = std::min(graphWidth + panelWidth, screen.width());
    const int start = screen.left() + (screen.width() - both) / 3;
    const bool graphIsLeft = ProgramState.GraphIsLeft != 0;
    QWidget* left = graphIsLeft ? static_cast<QWidget*>(graph) : this;
    QWidget* right = graphIsLeft ? static_cast<QWidget*>(this) : graph;
    left->move(start, screen.top());
    right->move(start + left->frameGeometry().width(), screen.top());
    // A window that would pass the screen's right edge comes back inside.
    for (QWidget* window : {left, right}) {
        const int overrun = window->frameGeometry().right() - screen.right();
        if (overrun > 0)
            window->move(std::max(screen.left(), window->x() - overrun), window->y());
    }
}

void TMainConsole::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Qt sends a show event at every show; the start-up work runs once.
    if (startedUp_)
        return;
    startedUp_ = true;
    // The windows' frames are known once they are shown.
    ArrangeWindows();
    if (startUp_)
        startUp_();
}

void TMainConsole::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ScrollBox1->setGeometry(0, 0, width(), height());
}
