#include "windows/MainConsole.h"
#include "windows/ConsoleCommands.h"

#include "dialogs/CalcForm.h"
#include "dialogs/CfxProperty.h"
#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/PropertyDialog.h"
#include "dialogs/PntProperty.h"
#include "dialogs/SegProperty.h"
#include "model/Figures.h"
#include "model/ProgramState.h"
#include "model/ScriptStore.h"
#include "model/Settings.h"
#include "render/gfx/ColorConvert.h"
#include "render/markup/TextAdvance.h"
#include "render/scene/RedrawParticipants.h"
#include "render/view/Scale.h"
#include "session/Commands.h"
#include "session/EditScope.h"
#include "session/PanelLayout.h"
#include "session/RowModels.h"
#include "windows/ConsoleDocking.h"
#include "windows/ConsoleDrag.h"
#include "windows/ConsoleEventHook.h"
#include "windows/ConsoleFigureIcons.h"
#include "windows/GraphAreaForm.h"
#include "windows/WindowHosts.h"

#include <QFont>
#include <QLabel>
#include <QScrollArea>
#include <QShowEvent>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int AddButtonHeight = 22;
constexpr int FigureRowHeight = 20;

struct TPanelTitle {
    const char16_t* Name;
    const char16_t* Title;
    const char16_t* AddName; // the add button, where the panel has one
};
// "Reta && Polígono" in the designer's notation: a label shows one '&'.
constexpr TPanelTitle PanelTitles[TMainConsole::PanelCount] = {
    {u"panelyfx", u"Função", u"sbAddYfx"},
    {u"panelcfn", u"Relação", u"sbAddCfn"},
    {u"panelCrv", u"Curva Parametrizada", u"sbAddCrv"},
    {u"panelPnt", u"Objeto Elementar", u"sbAddPnt"},
    {u"PanelPrm", u"Parâmetro", nullptr},
    {u"PanelUsr", u"Função usr", u"sbAddUsr"},
    {u"PanelMem", u"Anotação", nullptr},
    {u"PanelSeg", u"Reta & Polígono", u"sbAddSeg"},
};
const QString PictureHint = QStringLiteral("Clique : Editar/Deletar , Arrastar : Mover");
const QString ShowButtonHint = QStringLiteral("Mostrar/Esconder");

TConsoleRowKind RowKindOfPanel(int panel)
{
    switch (panel) {
    case PanelFunctions:
        return TConsoleRowKind::Function;
    case PanelRelations:
        return TConsoleRowKind::Relation;
    case PanelParameters:
        return TConsoleRowKind::Param;
    case PanelUserFunctions:
        return TConsoleRowKind::UserFunction;
    case PanelNotes:
        return TConsoleRowKind::Memo;
    case PanelFigures:
        return TConsoleRowKind::Figure;
    default:
        return TConsoleRowKind::Object;
    }
}

// The show button's label: the record's colour (white while down), italic,
// bold for lines wider than 1.
void ShowRowButton(QToolButton* button, const TRowModel& model)
{
    button->setText(model.Label);
    button->setChecked(model.ButtonDown);
    QFont font = button->font();
    font.setItalic(true);
    font.setBold(model.LabelBold);
    button->setFont(font);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, ToQColor(model.LabelColor));
    button->setPalette(palette);
}

// The row's picture typeset again when its formula, size or width changed.
void ShowRowPicture(TRowPicture* picture, const TRowModel& model)
{
    const QString key = model.Picture + QChar(model.PictureSize) + QChar(picture->width());
    if (picture->TypesetKey == key && !picture->Image.isNull())
        return;
    picture->TypesetKey = key;
    TBitmap image(std::max(1, picture->width()), std::max(1, picture->height()));
    DrawRowPicture(model, image);
    picture->Image = image.Image();
    picture->update();
}

// A row's show button: the record's visible flag flips and the graph is redrawn.
void ToggleRecordShown(int panel, int slot)
{
    const TEditScope action;
    const TRowItem kind = panel == PanelFunctions ? TRowItem::Function
        : panel == PanelRelations                 ? TRowItem::Relation
        : panel == PanelFigures                   ? TRowItem::Figure
                                                  : TRowItem::Object;
    ToggleItemVisible(kind, slot);
}

// A row's show button ("PanelSegButton3") and picture ("PanelSegImage3"),
// hidden until the row is shown.
void MakeRowControls(TYfxList& row, QWidget* panel, int slot)
{
    row.Button = new QToolButton(panel);
    row.Button->setObjectName(QStringLiteral("%1Button%2").arg(panel->objectName()).arg(slot));
    row.Button->setCheckable(true);
    row.Button->setToolTip(ShowButtonHint);
    row.Button->setAutoRaise(true);
    row.Image = new TRowPicture(panel);
    row.Image->setObjectName(QStringLiteral("%1Image%2").arg(panel->objectName()).arg(slot));
    row.Image->setToolTip(PictureHint);
}

} // namespace

// The session's row refreshes shown on the widgets.
class TMainConsole::RowHost final : public TRowHost {
public:
    explicit RowHost(TMainConsole& console)
        : console_(console)
    {
    }
    void ShowRows(TRowKind kind) override
    {
        console_.ShowListRows(kind);
        console_.ArrangePanels();
    }
    void ShowRow(TRowKind kind, int slot) override { console_.ShowListRow(kind, slot); }
    void ShowFigureRows() override
    {
        console_.ShowFigureRows();
        console_.ArrangePanels();
    }
    void ShowParamRows() override
    {
        console_.Params->ShowRows();
        console_.ArrangePanels();
    }
    void ShowParamValue(int j) override { console_.Params->ShowValue(j); }
    void ShowScriptButtons() override
    {
        std::vector<TScriptButtonInfo> scripts;
        for (int i = 0; i < MacroCommands.Count(); ++i) {
            const TMacroCommandsub& script = MacroCommands.Items[static_cast<std::size_t>(i)];
            scripts.push_back({script.Name, script.Visible});
        }
        console_.BuildScriptButtons(scripts);
    }

private:
    TMainConsole& console_;
};

TMainConsole::TMainConsole()
{
    setObjectName(QStringLiteral("MainConsole"));
    setWindowTitle(QStringLiteral("Painel de Dados"));
    setFont(FormFont());
    FillBackground(*this, FormColor);
    setMinimumHeight(MinimumHeight);
    Forms.MainConsole = this;
    Forms.DataPanel = this;

    BuildPanels();
    drops_ = std::make_unique<TConsoleDrops>(*this);
    rowHost_ = std::make_unique<RowHost>(*this);
    useRowHost_ = std::make_unique<ScopedRowHost>(*rowHost_);
    ApplySizes();
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
    RemoveConsoleCommands(*this);
    useRowHost_.reset();
    // The stickers lying on the notes panel are the graph window's, which
    // keeps pointing at them: they go back to it.
    if (Forms.GraphAreaForm)
        for (QWidget* sticker : MemoStickers)
            if (sticker->parentWidget() == Panels[PanelNotes - 1]) {
                sticker->hide();
                sticker->setParent(Forms.GraphAreaForm->PanelGraph);
            }
    // The panels go while the members their signals reach are whole: an
    // edit that loses the focus as it hides finishes its editing.
    delete takeCentralWidget();
    ScrollBox1 = nullptr;
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
    setCentralWidget(ScrollBox1);
    // The rows fill the view's width, which the vertical scroll bar narrows.
    TEventHook::Install(ScrollBox1->viewport(), [this](QEvent* event) {
        if (event->type() == QEvent::Resize && Params)
            FitRowsToView();
        return false;
    });
    content_ = new QWidget;
    content_->setObjectName(QStringLiteral("ScrollBoxContent"));
    for (int i = 0; i < PanelCount; ++i) {
        auto* panel = new QFrame(content_);
        panel->setObjectName(QString::fromUtf16(PanelTitles[i].Name));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAutoFillBackground(true);
        auto* title = new QLabel(QString::fromUtf16(PanelTitles[i].Title), panel);
        title->setObjectName(panel->objectName() + QStringLiteral("Title"));
        title->setGeometry(4, 2, 200, TitleHeight - 4);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        // While a dialog disables the panel only the buttons are greyed.
        KeepTextWhenDisabled(*title);
        Panels[i] = panel;
        if (PanelTitles[i].AddName) {
            auto* add = new QToolButton(panel);
            add->setObjectName(QString::fromUtf16(PanelTitles[i].AddName));
            add->setText(QStringLiteral("+"));
            add->setToolTip(QStringLiteral("Adicionar"));
            connect(add, &QToolButton::clicked, this, [this, i] { AddClicked(i + 1); });
            AddButtons[i] = add;
        }
    }
    BuildRowList(PanelFunctions, FunctionCount);
    BuildRowList(PanelRelations, RelationCount);
    BuildRowList(PanelPoints, PointCount);
    BuildRowList(PanelUserFunctions, UserFunctionCount);
    BuildFigureRows();
    sbsegment = new QToolButton(Panels[PanelFigures - 1]);
    sbsegment->setObjectName(QStringLiteral("sbsegment"));
    sbsegment->setCheckable(true);
    sbsegment->setText(QStringLiteral("/"));
    Params = std::make_unique<TParamPanel>(Panels[PanelParameters - 1]);
    Params->RowMenuRequested = [this](int j, QPoint at) {
        if (RowMenuRequested)
            RowMenuRequested(TConsoleRowKind::Param, j, at);
    };
    Params->DragStarted = [this](int j, QWidget* source) { drops_->StartRowDrag(PanelParameters, j, *source); };
    Params->SetStickersShown = [this](bool shown) { SetGraphStickersShown(shown); };
    for (int j = 1; j <= ParamCount; ++j) {
        Params->Rows[j].Letter->setProperty(RowPanelProperty, PanelParameters);
        Params->Rows[j].Letter->setProperty(RowSlotProperty, j);
    }
    ScrollBox1->setWidget(content_);
}

void TMainConsole::BuildRowList(int panel, int count)
{
    for (int slot = 1; slot <= count; ++slot) {
        TYfxList& row = panel == PanelFunctions ? YfxRows[slot]
            : panel == PanelRelations         ? CfnRows[slot]
            : panel == PanelPoints            ? PntRows[slot]
                                              : UsrRows[slot];
        QWidget* parent = Panels[panel - 1];
        MakeRowControls(row, parent, slot);
        if (panel != PanelUserFunctions)
            connect(row.Button, &QToolButton::clicked, this, [panel, slot] { ToggleRecordShown(panel, slot); });
        else
            row.Button->setEnabled(false); // user functions have no show state
        WireRowPicture(row.Image, panel, slot);
        row.Hide();
    }
}

void TMainConsole::BuildFigureRows()
{
    QWidget* parent = Panels[PanelFigures - 1];
    for (int s = 1; s <= SegmentCount; ++s) {
        TYfxList2& row = SegRows[s];
        MakeRowControls(row, parent, s);
        connect(row.Button, &QToolButton::clicked, this, [s] { ToggleRecordShown(PanelFigures, s); });
        row.Image->Clicked = [this, s] { RowClicked(PanelFigures, s); };
        row.Image->RightClicked = [this, s](QPoint at) {
            if (RowMenuRequested)
                RowMenuRequested(TConsoleRowKind::Figure, s, at);
        };
        row.Hide();
    }
}

void TMainConsole::WireRowPicture(TRowPicture* picture, int panel, int slot)
{
    picture->setProperty(RowPanelProperty, panel);
    picture->setProperty(RowSlotProperty, slot);
    picture->Clicked = [this, panel, slot] { RowClicked(panel, slot); };
    picture->RightClicked = [this, panel, slot](QPoint at) {
        if (RowMenuRequested)
            RowMenuRequested(RowKindOfPanel(panel), slot, at);
    };
    picture->DragStarted = [this, picture, slot] {
        drops_->StartRowDrag(picture->property(RowPanelProperty).toInt(), slot, *picture);
    };
    if (panel == PanelUserFunctions)
        picture->DoubleClicked = [this, slot] { RowClicked(PanelUserFunctions, slot); };
}

void TMainConsole::RowClicked(int panel, int slot)
{
    switch (panel) {
    case PanelFunctions:
        ShowYfxProperty(slot);
        return;
    case PanelRelations:
        ShowCfnProperty(slot);
        return;
    case PanelCurves:
    case PanelPoints:
        ShowPntProperty(slot, 3);
        return;
    case PanelUserFunctions:
        if (Forms.CalcForm)
            Forms.CalcForm->EditUsr(UsrRows[slot].Button, UsrRows[slot].Image, DataPanelColor("PanelUsr"), slot);
        return;
    case PanelFigures:
        ShowSegProperty(slot);
        return;
    default:
        return;
    }
}

void TMainConsole::AddClicked(int panel)
{
    switch (panel) {
    case PanelFunctions:
        if (RowModels.Functions.AddSlot)
            ShowYfxProperty(RowModels.Functions.AddSlot);
        return;
    case PanelRelations:
        if (RowModels.Relations.AddSlot)
            ShowCfnProperty(RowModels.Relations.AddSlot);
        return;
    case PanelCurves:
    case PanelPoints:
        // The curve panel offers the curve kinds, the point panel the others.
        if (RowModels.Objects.AddSlot)
            ShowPntProperty(RowModels.Objects.AddSlot, panel == PanelCurves ? 2 : 1);
        return;
    case PanelUserFunctions:
        if (RowModels.UserFunctions.AddSlot)
            RowClicked(PanelUserFunctions, RowModels.UserFunctions.AddSlot);
        return;
    case PanelFigures:
        if (Segments.Count() < SegmentCount)
            ShowSegProperty(Segments.Count() + 1);
        return;
    default:
        return;
    }
}

int TMainConsole::ClientWidth() const
{
    return ScrollBox1->viewport()->width();
}

int TMainConsole::StandardWidth()
{
    return ProgramState.PresentationMode != 0 ? PresentationWidth : NormalWidth;
}

void TMainConsole::ApplySizes()
{
    RowMetrics.Apply(logicalDpiX(), ProgramState.PresentationMode != 0);
    resize(StandardWidth(), height());
    QFont text = FormFont();
    text.setPointSize(RowMetrics.TextSize * 2 / 3);
    for (QWidget* panel : Panels)
        for (QToolButton* button : panel->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
            button->setFont(text);
    Params->ApplySizes(ClientWidth() - 6);
    // The row models carry the picture size: build them again.
    RefreshAllRows();
    ShowAllRows();
}

void TMainConsole::ShowAllRows()
{
    for (TRowKind kind : {TRowKind::Functions, TRowKind::Relations, TRowKind::Objects, TRowKind::UserFunctions})
        ShowListRows(kind);
    ShowFigureRows();
    Params->ShowRows();
    ArrangeMemoPanel();
    ArrangePanels();
}

void TMainConsole::ShowListRows(TRowKind kind)
{
    const int count = kind == TRowKind::Functions ? FunctionCount
        : kind == TRowKind::Relations             ? RelationCount
        : kind == TRowKind::Objects               ? PointCount
                                                  : UserFunctionCount;
    for (int slot = 1; slot <= count; ++slot)
        ShowListRow(kind, slot);
    auto setHeight = [this](int panel, int shown, int addSlot) {
        QToolButton* add = AddButtons[panel - 1];
        const int addTop = RowTop(shown + 1);
        add->setGeometry(4, addTop, 24, AddButtonHeight - 2);
        add->setVisible(addSlot != 0);
        SetPanelHeight(panel, RowTop(shown + 1) + 4 + (addSlot != 0 ? AddButtonHeight : 0));
    };
    switch (kind) {
    case TRowKind::Functions:
        setHeight(PanelFunctions, RowModels.Functions.ShownCount, RowModels.Functions.AddSlot);
        break;
    case TRowKind::Relations:
        setHeight(PanelRelations, RowModels.Relations.ShownCount, RowModels.Relations.AddSlot);
        break;
    case TRowKind::Objects:
        setHeight(PanelPoints, RowModels.Objects.ShownCount, RowModels.Objects.AddSlot);
        setHeight(PanelCurves, RowModels.Objects.CurveShownCount, RowModels.Objects.AddSlot);
        break;
    case TRowKind::UserFunctions:
        setHeight(PanelUserFunctions, RowModels.UserFunctions.ShownCount, RowModels.UserFunctions.AddSlot);
        break;
    }
}

void TMainConsole::ShowListRow(TRowKind kind, int slot)
{
    const TRowModel* model = nullptr;
    TYfxList* row = nullptr;
    TYfxList2* coloured = nullptr;
    switch (kind) {
    case TRowKind::Functions:
        model = &RowModels.Functions.Rows[slot];
        row = coloured = &YfxRows[slot];
        break;
    case TRowKind::Relations:
        model = &RowModels.Relations.Rows[slot];
        row = coloured = &CfnRows[slot];
        break;
    case TRowKind::Objects:
        model = &RowModels.Objects.Rows[slot];
        row = coloured = &PntRows[slot];
        break;
    case TRowKind::UserFunctions:
        model = &RowModels.UserFunctions.Rows[slot];
        row = &UsrRows[slot];
        break;
    }
    if (!model->Shown || model->DisplayIndex == 0) {
        row->Shown = false;
        row->Hide();
        return;
    }
    // Objects change panels with their kind.
    QWidget* panel = Panels[model->Panel - 1];
    if (row->Image->parentWidget() != panel) {
        row->Button->setParent(panel);
        row->Image->setParent(panel);
        row->Image->setProperty(RowPanelProperty, model->Panel);
    }
    if (coloured)
        coloured->TextColor = static_cast<int>(model->TextColor);
    const bool presentation = ProgramState.PresentationMode != 0;
    const int labelWidth = kind == TRowKind::Objects ? (presentation ? 40 : 24) : (presentation ? 60 : 36);
    const int rowWidth = ClientWidth() - 6;
    row->Button->setGeometry(2, 0, labelWidth, RowMetrics.RowPitch - 2);
    row->Image->setGeometry(labelWidth + 4, 0, std::max(1, rowWidth - labelWidth - 4), RowMetrics.RowPitch - 2);
    row->SetTop(RowTop(model->DisplayIndex));
    ShowRowButton(row->Button, *model);
    ShowRowPicture(row->Image, *model);
    row->Shown = true;
    row->Position = model->Position;
    row->Show();
}

void TMainConsole::ShowFigureRows()
{
    const int rowWidth = ClientWidth() - 6;
    const int labelWidth = ProgramState.PresentationMode ? 60 : 36;
    for (int s = 1; s <= SegmentCount; ++s) {
        const TFigureRowModel& model = RowModels.Figures[s];
        TYfxList2& row = SegRows[s];
        row.Shown = model.Shown;
        if (!model.Shown) {
            row.Hide();
            continue;
        }
        row.Button->setText(model.Label);
        row.Button->setChecked(model.ButtonDown);
        row.Button->setGeometry(2, model.Top, labelWidth, FigureRowHeight);
        row.Image->setGeometry(labelWidth + 4, model.Top, std::max(1, rowWidth - labelWidth - 4), FigureRowHeight);
        row.Image->Image = FigureRowPicture(model, row.Image->size());
        row.Image->update();
        row.TextColor = static_cast<int>(model.Color);
        row.Show();
    }
    QWidget* panel = Panels[PanelFigures - 1];
    const int count = Segments.Count();
    QToolButton* add = AddButtons[PanelFigures - 1];
    add->setGeometry(4, 22 * (count + 1) + 4, 24, AddButtonHeight - 2);
    add->setVisible(RowModels.FigureAddVisible);
    sbsegment->setGeometry(panel->width() - 28, 2, 24, 18);
    SetPanelHeight(PanelFigures, RowModels.FigurePanelHeight + (RowModels.FigureAddVisible ? AddButtonHeight : 0));
}

void TMainConsole::SetPanelHeight(int panel, int height)
{
    QWidget* w = Panels[panel - 1];
    w->resize(w->width(), height);
}

void TMainConsole::ArrangePanels()
{
    const int width = ClientWidth();
    int top = 0;
    for (int panel : PanelStackOrder()) {
        QWidget* w = Panels[panel - 1];
        const bool visible = PanelLayout.Panels[panel].Visible != 0;
        w->setVisible(visible);
        if (!visible)
            continue;
        w->setGeometry(0, top, width, w->height());
        top += w->height();
    }
    sbsegment->move(Panels[PanelFigures - 1]->width() - 28, 2);
    content_->setMinimumSize(NormalWidth / 2, top);
}

int TMainConsole::GetTextWidth(const QString& text, const TFont& font)
{
    return ::GetTextWidth(text, font);
}

int TMainConsole::GetTextHeight(const QString&, const TFont& font)
{
    return CellHeight(font);
}

void TMainConsole::BuildScriptButtons(const std::vector<TScriptButtonInfo>& scripts)
{
    QWidget* panel = Panels[PanelNotes - 1];
    const int count = std::min(static_cast<int>(scripts.size()), MaxScriptButtons);
    while (static_cast<int>(ScriptButtons.size()) < count) {
        const int index = static_cast<int>(ScriptButtons.size());
        auto* button = new QToolButton(panel);
        button->setObjectName(QStringLiteral("ScriptButton%1").arg(index + 1));
        button->setAutoRaise(true);
        button->setToolTip(QStringLiteral("Execução do script"));
        connect(button, &QToolButton::clicked, this, [this, index] {
            if (RunScriptButton)
                RunScriptButton(index);
        });
        ScriptButtons.push_back(button);
    }
    for (int i = 0; i < static_cast<int>(ScriptButtons.size()); ++i) {
        QToolButton* button = ScriptButtons[i];
        const bool used = i < count;
        if (used)
            button->setText(scripts[i].Name);
        button->setVisible(used && scripts[i].Visible);
        button->setProperty("scriptUsed", used);
    }
    ArrangeMemoPanel();
    ArrangePanels();
}

void TMainConsole::ArrangeMemoPanel()
{
    // Stickers taken back onto the graph have left the panel.
    QWidget* notes = Panels[PanelNotes - 1];
    std::erase_if(MemoStickers, [notes](QWidget* sticker) { return sticker->parentWidget() != notes; });
    int top = 24;
    bool any = false;
    for (QWidget* sticker : MemoStickers) {
        sticker->move(4, top);
        top += sticker->height() + 2;
        any = true;
    }
    bool scripts = false;
    int bottom = any ? top - 2 + 8 : top;
    top = (any ? top - 2 : top) + 4;
    QFont font = FormFont();
    font.setPointSize(RowMetrics.TextSize);
    for (QToolButton* button : ScriptButtons) {
        if (!button->property("scriptUsed").toBool() || button->isHidden())
            continue;
        button->setFont(font);
        button->setGeometry(4, top, 400, RowMetrics.ScriptButtonHeight);
        top += RowMetrics.ScriptButtonHeight;
        bottom = top + 4;
        scripts = true;
    }
    if (!any && !scripts)
        bottom = TitleHeight + 4;
    SetPanelHeight(PanelNotes, bottom);
}

void TMainConsole::SetGraphStickersShown(bool shown)
{
    TGraphAreaForm* graph = Forms.GraphAreaForm;
    if (!graph)
        return;
    graph->StickersHeldHidden = !shown;
    if (!shown) {
        hiddenStickers_.clear();
        for (QLabel* sticker : graph->Stickers)
            if (sticker->parentWidget() == graph->PanelGraph && sticker->isVisible()) {
                sticker->hide();
                hiddenStickers_.push_back(sticker);
            }
        return;
    }
    if (hiddenStickers_.empty())
        return;
    for (QWidget* sticker : hiddenStickers_)
        sticker->show();
    hiddenStickers_.clear();
    // Their live values follow the stepped parameter.
    RefreshAfterObjects(GraphScale.GraphImages);
}

void TMainConsole::DropStickerOnPanel(QWidget* sticker)
{
    if (std::find(MemoStickers.begin(), MemoStickers.end(), sticker) == MemoStickers.end()) {
        sticker->setParent(Panels[PanelNotes - 1]);
        MemoStickers.push_back(sticker);
    }
    sticker->show();
    ArrangeMemoPanel();
    ArrangePanels();
    ScrollBox1->ensureVisible(0, 0);
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
    MoveWindowFrame(*left, {start, screen.top()});
    MoveWindowFrame(*right, {start + left->frameGeometry().width(), screen.top()});
    // A window that would pass the screen's right edge comes back inside.
    for (QWidget* window : {left, right}) {
        const int overrun = window->frameGeometry().right() - screen.right();
        if (overrun > 0)
            MoveWindowFrame(*window, {std::max(screen.left(), window->x() - overrun), screen.top()});
    }
}

void TMainConsole::FormResize()
{
    Params->SetStripForWidth(width());
    FitRowsToView();
}

void TMainConsole::FitRowsToView()
{
    // Showing the rows can bring the scroll bar, which narrows the view again.
    if (fitting_ || !Params)
        return;
    fitting_ = true;
    Params->ApplySizes(ClientWidth() - 6);
    ShowAllRows();
    fitting_ = false;
}

void TMainConsole::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
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
    QMainWindow::resizeEvent(event);
    FormResize();
    if (isVisible())
        DockConsole(TDockCaller::DataPanel);
}

void TMainConsole::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    if (isVisible())
        DockConsole(TDockCaller::DataPanel);
}
