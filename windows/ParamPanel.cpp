#include "windows/ParamPanel.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FormLook.h"
#include "dialogs/PermanentForms.h"
#include "dialogs/PropertyDialog.h"
#include "model/Options.h"
#include "platform/Clock.h"
#include "platform/InputState.h"
#include "render/view/RedrawState.h"
#include "script/ScriptRun.h"
#include "session/EditScope.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"
#include "render/gfx/ColorConvert.h"
#include "windows/ConsoleEventHook.h"
#include "windows/GraphAreaForm.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QToolButton>

namespace {

// A press on a row's letter that moves this far across drags the row.
constexpr int ParamDragDistance = 10;
// How often a held step button looks at the clock.
constexpr int RepeatPollMs = 5;

QToolButton* SmallButton(QWidget* parent, const QString& text, const QString& name)
{
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

TParamPanel::TParamPanel(QWidget* panel)
    : Panel(panel)
{
    for (int j = 1; j <= ParamCount; ++j) {
        BuildRow(j);
        WireRow(j);
    }
    BuildStrip();
    repeatTimer_.setInterval(RepeatPollMs);
    QObject::connect(&repeatTimer_, &QTimer::timeout, Panel, [this] { PollStepRepeat(); });
}

void TParamPanel::BuildRow(int j)
{
    TPrmList& row = Rows[j];
    row.Letter = SmallButton(Panel, {}, QStringLiteral("stPrmchar%1").arg(j));
    row.Letter->setCheckable(true);
    row.Edit = new QLineEdit(Panel);
    row.Edit->setObjectName(QStringLiteral("EditPrm%1").arg(j));
    row.Fix = SmallButton(Panel, QStringLiteral("F"), QStringLiteral("sbPrmFix%1").arg(j));
    row.Fix->setCheckable(true);
    row.Fix->setToolTip(QStringLiteral("Fixar/não Fixar"));
    row.Down = SmallButton(Panel, QStringLiteral("<"), QStringLiteral("sbPrmDown%1").arg(j));
    row.Up = SmallButton(Panel, QStringLiteral(">"), QStringLiteral("sbPrmUp%1").arg(j));
    row.StepEdit = new QLineEdit(Panel);
    row.StepEdit->setObjectName(QStringLiteral("edPrmD%1").arg(j));
    row.Mode = SmallButton(Panel, QStringLiteral("+"), QStringLiteral("sbPrmMode%1").arg(j));
    row.Dup = SmallButton(Panel, QStringLiteral("\u25B4"), QStringLiteral("sbPrmDup%1").arg(j));
    row.DDwn = SmallButton(Panel, QStringLiteral("\u25BE"), QStringLiteral("sbPrmDDwn%1").arg(j));
    row.HideAll();
}

void TParamPanel::WireRow(int j)
{
    TPrmList& row = Rows[j];
    QObject::connect(row.Edit, &QLineEdit::textEdited, Panel, [j](const QString& text) { TypePrmEdit(j, text); });
    QObject::connect(row.Edit, &QLineEdit::editingFinished, Panel, [this, j] { ApplyValueEdit(j); });
    QObject::connect(row.StepEdit, &QLineEdit::editingFinished, Panel, [this, j] { ApplyStepEdit(j); });
    QObject::connect(row.Fix, &QToolButton::clicked, Panel, [j](bool down) { SetParamFixed(j, down); });
    QObject::connect(row.Mode, &QToolButton::clicked, Panel, [this, j] {
        ToggleStepMode(j);
        ShowPrmValues();
        ShowRows();
    });
    for (auto [button, direction] : {std::pair{row.Dup, StepUp}, std::pair{row.DDwn, StepDown}})
        QObject::connect(button, &QToolButton::clicked, Panel, [this, j, direction] {
            StepFactorStep(j, direction);
            ShowRows();
        });
    for (auto [button, direction] : {std::pair{row.Down, StepDown}, std::pair{row.Up, StepUp}}) {
        QObject::connect(button, &QToolButton::pressed, Panel, [this, j, direction] {
            PressStep(j, direction, QGuiApplication::keyboardModifiers());
        });
        QObject::connect(button, &QToolButton::released, Panel, [this] { ReleaseStep(); });
    }
    TEventHook::Install(row.Edit, [this, j](QEvent* event) {
        if (event->type() == QEvent::KeyPress)
            return EditKey(j, static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::MouseButtonDblClick) {
            EditParamInCalculator(j);
            return true;
        }
        if (event->type() == QEvent::ContextMenu && RowMenuRequested) {
            RowMenuRequested(j, QCursor::pos());
            return true;
        }
        return false;
    });
    TEventHook::Install(row.StepEdit, [this, j](QEvent* event) {
        if (event->type() != QEvent::MouseButtonDblClick)
            return false;
        EditStepInCalculator(j);
        return true;
    });
    WireLetter(j);
}

// The letter: a click shows or hides the step controls, a drag across moves
// the row, a right click opens the row menu.
void TParamPanel::WireLetter(int j)
{
    auto pressX = std::make_shared<std::optional<int>>();
    TEventHook::Install(Rows[j].Letter, [this, j, pressX](QEvent* event) {
        // Every event passes here, not only the mouse's.
        const auto* mouse = dynamic_cast<QMouseEvent*>(event);
        if (!mouse)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (mouse->button() == Qt::RightButton) {
                if (RowMenuRequested)
                    RowMenuRequested(j, mouse->globalPosition().toPoint());
                return true;
            }
            *pressX = mouse->position().toPoint().x();
            return false;
        case QEvent::MouseMove:
            if (*pressX && std::abs(mouse->position().toPoint().x() - **pressX) > ParamDragDistance) {
                pressX->reset();
                Rows[j].Letter->setDown(false);
                if (DragStarted)
                    DragStarted(j, Rows[j].Letter);
                return true;
            }
            return false;
        case QEvent::MouseButtonRelease: {
            const bool click = pressX->has_value();
            pressX->reset();
            if (click) {
                ToggleStepControls(j);
                return true;
            }
            return false;
        }
        default:
            return false;
        }
    });
}

void TParamPanel::BuildStrip()
{
    TrBar = new QSlider(Qt::Horizontal, Panel);
    TrBar->setObjectName(QStringLiteral("TrBar"));
    TrBar->setRange(0, SpeedBarMax);
    TrBar->setPageStep(1);
    TrBar->setFocusPolicy(Qt::NoFocus);
    SlowLabel = new QLabel(QStringLiteral("lento"), Panel);
    FastLabel = new QLabel(QStringLiteral("rápido"), Panel);
    QObject::connect(TrBar, &QSlider::valueChanged, Panel, [](int position) { SetParamSpeed(position); });
    SBAimg = SmallButton(Panel, QStringLiteral("R"), QStringLiteral("SBAimg"));
    SBAimg->setCheckable(true);
    BtnToAImage = SmallButton(Panel, QStringLiteral("+R"), QStringLiteral("BtnToAImage"));
    BtnClrAImage = SmallButton(Panel, QStringLiteral("-R"), QStringLiteral("BtnClrAImage"));
}

void TParamPanel::ApplySizes(int clientWidth)
{
    const int scale = RowMetrics.TextSize / RowMetrics.TextSizeBase;
    rowHeight_ = NearestInt(RowMetrics.TextSize * 2.0L);
    const QFont font = FormFont(RowMetrics.TextSize);
    const QFont small = FormFont(RowMetrics.TextSizeBase * 2 / 3 * scale);
    const int h = rowHeight_;
    const int b = h - 4; // the small buttons
    // Left to right: letter, value, fix, down, up, step, mode, step table.
    const int stepTableWidth = 14 * scale;
    // The letter button holds the widest label, "W =", with a margin each side.
    const int letterWidth = std::max(30 * scale, QFontMetrics(font).horizontalAdvance(QStringLiteral("W =")) + 12);
    const int fixed = letterWidth + 3 * (b + 2) + b + stepTableWidth + 12;
    const int rest = std::max(40, clientWidth - fixed);
    const int valueWidth = rest * 2 / 3;
    const int stepWidth = rest - valueWidth;
    for (int j = 1; j <= ParamCount; ++j) {
        TPrmList& row = Rows[j];
        int x = 2;
        auto place = [&](QWidget* w, int width, int height) {
            w->setGeometry(x, w->y(), width, height);
            w->setFont(font);
            x += width + 2;
        };
        place(row.Letter, letterWidth, h);
        place(row.Edit, valueWidth, h);
        place(row.Fix, b, b);
        place(row.Down, b, b);
        place(row.Up, b, b);
        place(row.StepEdit, stepWidth, h);
        place(row.Mode, b, b);
        row.Dup->setGeometry(x, row.Dup->y(), stepTableWidth, b / 2);
        row.DDwn->setGeometry(x, row.DDwn->y(), stepTableWidth, b - b / 2);
        for (QWidget* w : {row.Fix, row.Down, row.Up, row.Mode, row.Dup, row.DDwn})
            w->setFont(small);
    }
    ShowRows();
}

void TParamPanel::SetStripForWidth(int formWidth)
{
    stripHeight_ = ParamStripHeight(formWidth);
    const bool oneRow = stripHeight_ == 32;
    const int buttonsTop = oneRow ? 4 : 32;
    const int lefts[3] = {oneRow ? 156 : 48, oneRow ? 185 : 77, oneRow ? 214 : 106};
    const int stripTop = Panel->height() > 0 ? ParamPanelHeight(RowModels.ParamShownCount, rowHeight_, 0) - 2 : 0;
    QToolButton* buttons[3] = {SBAimg, BtnToAImage, BtnClrAImage};
    for (int i = 0; i < 3; ++i)
        buttons[i]->setGeometry(lefts[i], stripTop + buttonsTop, 27, 24);
    SlowLabel->setGeometry(4, stripTop + 8, 32, 16);
    TrBar->setGeometry(36, stripTop + 4, 74, 24);
    FastLabel->setGeometry(112, stripTop + 8, 42, 16);
    SetPanelHeight();
}

void TParamPanel::SetPanelHeight()
{
    Panel->resize(Panel->width(), ParamPanelHeight(RowModels.ParamShownCount, rowHeight_, stripHeight_));
}

void TParamPanel::ShowRows()
{
    for (int j = 1; j <= ParamCount; ++j) {
        const TParamRowModel& model = RowModels.Params[j];
        TPrmList& row = Rows[j];
        row.Shown = model.Shown;
        row.Position = model.DisplayIndex;
        if (!model.Shown) {
            row.HideAll();
            continue;
        }
        row.Letter->setText(model.Label);
        row.SetTop(ParamRowTop(model.DisplayIndex, rowHeight_));
        if (model.StepControlsShown)
            row.ShowEditing();
        else
            row.HideEditing();
        row.Fix->setChecked(model.Fixed);
        row.Mode->setText(model.AddStep ? QStringLiteral("+") : QStringLiteral("\u00D7"));
        if (!row.StepEdit->hasFocus())
            row.StepEdit->setText(model.StepText);
        ShowValue(j);
    }
    const bool speed = RowModels.ParamShownCount > 0;
    for (QWidget* w : {static_cast<QWidget*>(TrBar), static_cast<QWidget*>(SlowLabel),
                       static_cast<QWidget*>(FastLabel)})
        w->setVisible(speed);
    ShowSpeedAndTraces();
    SetStripForWidth(Panel->window()->width());
}

void TParamPanel::ShowValue(int j)
{
    const TParamRowModel& model = RowModels.Params[j];
    QLineEdit* edit = Rows[j].Edit;
    if (edit->text() != model.EditText)
        edit->setText(model.EditText);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, ToQColor(model.EditColor));
    edit->setPalette(palette);
}

void TParamPanel::ShowSpeedAndTraces()
{
    const QSignalBlocker quiet(TrBar);
    TrBar->setValue(SpeedForParamDelay(Options.ParamDelay, Options.ParamDelayUnit));
    SBAimg->setChecked(Options.CanAImg != 0);
}

void TParamPanel::PressStep(int j, int direction, Qt::KeyboardModifiers modifiers)
{
    // A step typed and the step it takes are drawn once.
    const TEditScope step;
    ApplyStepEdit(j);
    if (SetStickersShown)
        SetStickersShown(false);
    StepParameter(j, direction, modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::ControlModifier));
    // Watched without a delay too: the release may never reach the button.
    held_ = {j, direction, direction > 0 ? Rows[j].Up : Rows[j].Down,
             platform::CurrentClock().tickCount() + Options.ParamRepeatDelay};
    repeatTimer_.start();
}

void TParamPanel::PollStepRepeat()
{
    if (held_.J == 0)
        return;
    // A script that the step started takes no input while it runs, the
    // button's release neither: the mouse's own state ends the hold. A
    // modal box (a script's Pause) keeps the release from the button and
    // the mouse's state alike: it ends the hold at once.
    if (!platform::IsKeyDown(platform::VkLButton) || QApplication::activeModalWidget()) {
        held_.Button->setDown(false);
        ReleaseStep();
        return;
    }
    // The timer also fires in a running script's event rounds: a step
    // there would redraw inside the run.
    if (IsScriptRunning())
        return;
    // The step repeats only while the cursor stays on the held button.
    if (Options.ParamDelay == 0 || !held_.Button->isDown())
        return;
    const std::int64_t now = platform::CurrentClock().tickCount();
    if (now < held_.NextDue)
        return;
    held_.NextDue = now + std::max(1, Options.ParamDelay);
    StepParameter(held_.J, held_.Direction);
}

void TParamPanel::ReleaseStep()
{
    repeatTimer_.stop();
    held_ = {};
    if (SetStickersShown)
        SetStickersShown(true);
}

int TParamPanel::NeighbourRow(int j, int direction) const
{
    const int from = RowModels.Params[j].DisplayIndex;
    int best = 0;
    for (int i = 1; i <= ParamCount; ++i) {
        const TParamRowModel& model = RowModels.Params[i];
        if (!model.Shown || !Rows[i].Edit->isEnabled())
            continue;
        const int d = (model.DisplayIndex - from) * direction;
        if (d > 0 && (best == 0 || d < (RowModels.Params[best].DisplayIndex - from) * direction))
            best = i;
    }
    return best;
}

void TParamPanel::ApplyValueEdit(int j)
{
    if (!RowModels.Params[j].Pending)
        return;
    // A changed value is drawn once the edit is taken over.
    const TEditScope edit;
    ApplyPrmEdit(j);
    RowModels.Params[j].Pending = false;
    RowModels.Params[j].EditColor = AppliedEditColor;
    ShowValue(j);
}

void TParamPanel::ApplyStepEdit(int j)
{
    QString text = Rows[j].StepEdit->text();
    if (text == RowModels.Params[j].StepText)
        return;
    ::ApplyStepEdit(j, text);
    Rows[j].StepEdit->setText(text);
}

void TParamPanel::ToggleStepControls(int j)
{
    ::ToggleStepControls(j);
    ShowPrmValues();
    ShowRows();
}

bool TParamPanel::EditKey(int j, QKeyEvent* key)
{
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        ApplyValueEdit(j);
        return true;
    }
    if (!key->modifiers().testFlag(Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        StepParameter(j, key->key() == Qt::Key_Right ? StepUp : StepDown);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (const int next = NeighbourRow(j, key->key() == Qt::Key_Down ? 1 : -1))
            Rows[next].Edit->setFocus();
        return true;
    default:
        return false;
    }
}

void TParamPanel::EditParamInCalculator(int j)
{
    if (!Forms.CalcForm)
        return;
    ApplyValueEdit(j);
    if (Forms.CalcForm->EditPrm(Rows[j].Edit, j, DataPanelColor("PanelPrm"), nullptr)) {
        const TEditScope edit;
        ShowPrmValueTexts();
        SetDirtyObjects();
    }
}

void TParamPanel::EditStepInCalculator(int j)
{
    if (!Forms.CalcForm)
        return;
    if (Forms.CalcForm->EditPrmStep(Rows[j].StepEdit, j, DataPanelColor("PanelPrm"))) {
        ShowPrmValues();
        ShowRows();
    }
}
