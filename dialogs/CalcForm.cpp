#include "dialogs/CalcForm.h"

#include "dialogs/CalcPreview.h"
#include "dialogs/FormLook.h"
#include "dialogs/MarkupMenu.h"
#include "dialogs/NamedWidgets.h"
#include "dialogs/PermanentForms.h"
#include "engine/Evaluator.h"
#include "engine/TokenTable.h"
#include "model/DocumentState.h"
#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Numeric.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "model/Settings.h"
#include "platform/Clipboard.h"
#include "platform/ModalRunner.h"
#include "render/markup/TypesetLayout.h"
#include "session/CalculatorTargets.h"
#include "session/RowModels.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

constexpr int PreviewPanelWidth = 600;
constexpr int KeyColumns = 16;
constexpr TColor ClosedColor = FormColor;
// Formulas are typeset black on white, whatever colour the caller gives.
constexpr TColor PreviewColor = 0xFFFFFF;
// The size values are shown at in the preview.
constexpr int ValueFontSize = 10;

int PreviewHeight()
{
    return RowMetrics.RowPitch + 40;
}

QString GroupName(int group)
{
    return QStringLiteral("Grupo%1").arg(group + 1);
}

QPushButton* MakeKeyButton(QWidget* parent, const char* name, const QString& caption)
{
    QPushButton* button = MakeButton(parent, name, caption);
    // Enter belongs to the edit line, which sends.
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void TCalcForm::ShowResultText(const QString& text)
{
    resultLabel_->setText(text);
}

// Shown in the status line.
void TCalcForm::ShowTokenDump(const QString& text)
{
    statusLine_->showMessage(text);
}

TCalcForm::TCalcForm()
{
    setObjectName(QStringLiteral("CalcForm"));
    setWindowTitle(QStringLiteral("Calculadora"));
    setFont(FormFont());
    setAutoFillBackground(true);
    keys_ = CalculatorKeys();
    BuildControls();
    SetFormColor(ClosedColor);
    Forms.CalcForm = this;
    PlaceAtAnchor();
}

TCalcForm::~TCalcForm()
{
    if (Forms.CalcForm == this)
        Forms.CalcForm = nullptr;
}

void TCalcForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);

    captionLabel_ = new QLabel(this);
    captionLabel_->setObjectName(QStringLiteral("LabelCaption"));
    layout->addWidget(captionLabel_);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("EditCalc"));
    edit_->installEventFilter(this);
    AttachMarkupMenu(edit_);
    connect(edit_, &QLineEdit::textChanged, this, [this] { EditCalcChange(); });
    layout->addWidget(edit_);

    previewPanel_ = new QWidget(this);
    previewPanel_->setObjectName(QStringLiteral("PanelView"));
    previewPanel_->setFixedSize(PreviewPanelWidth, PreviewHeight() + 2);
    FillBackground(*previewPanel_, PreviewColor);
    preview_ = new TCalcPreview(previewPanel_);
    preview_->move(1, 1);
    layout->addWidget(previewPanel_);

    auto* row = new QHBoxLayout;
    resultLabel_ = new QLabel(this);
    resultLabel_->setObjectName(QStringLiteral("LabelResult"));
    resultLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(resultLabel_, 1);
    equalButton_ = MakeKeyButton(this, "BtnEqual", QStringLiteral("="));
    equalButton_->setStatusTip(LocaliseHint(QStringLiteral("calcular")));
    connect(equalButton_, &QPushButton::clicked, this, [this] { BtnEqualClick(); });
    sendButton_ = MakeKeyButton(this, "BtnSendTo", QStringLiteral("Fim"));
    connect(sendButton_, &QPushButton::clicked, this, [this] { BtnSendToClick(); });
    copyButton_ = MakeKeyButton(this, "BtnCopy", QStringLiteral("Copiar"));
    connect(copyButton_, &QPushButton::clicked, this, [this] { BtnCopyClick(); });
    areaButton_ = new QToolButton(this);
    areaButton_->setObjectName(QStringLiteral("SBArea"));
    areaButton_->setText(QStringLiteral("[ ]"));
    areaButton_->setCheckable(true);
    areaButton_->setFocusPolicy(Qt::NoFocus);
    connect(areaButton_, &QToolButton::clicked, this, [this] { ShowAreaClick(); });
    functionList_ = new QComboBox(this);
    functionList_->setObjectName(QStringLiteral("ComboFunctions"));
    functionList_->setFocusPolicy(Qt::NoFocus);
    connect(functionList_, &QComboBox::activated, this, [this](int index) {
        InsertAtCaret(functionList_->itemText(index));
        functionList_->setCurrentIndex(-1);
    });
    row->addWidget(functionList_);
    row->addWidget(areaButton_);
    row->addWidget(copyButton_);
    row->addWidget(equalButton_);
    row->addWidget(sendButton_);
    layout->addLayout(row);

    for (int group = 0; group < 4; ++group)
        layout->addWidget(groups_[group] = BuildGroup(group));

    statusLine_ = new QStatusBar(this);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setSizeGripEnabled(false);
    layout->addWidget(statusLine_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TCalcForm::BuildGroup(int group)
{
    auto* box = new QFrame(this);
    box->setObjectName(GroupName(group));
    box->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(1);
    QFont keyFont = font();
    keyFont.setPointSize(8);
    int cell = 0;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const TCalcKey& key = keys_[i];
        if (key.Group != group)
            continue;
        auto* button = new QToolButton(box);
        button->setObjectName(key.Name);
        button->setFont(keyFont);
        button->setFocusPolicy(Qt::NoFocus);
        button->setMinimumWidth(34);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(button, &QToolButton::clicked, this, [this, i] { PressKey(keys_[i]); });
        grid->addWidget(button, cell / KeyColumns, cell % KeyColumns);
        ++cell;
    }
    return box;
}

// Captions and hints follow the separators, which may change between shows.
void TCalcForm::ApplyKeyTexts()
{
    keys_ = CalculatorKeys();
    for (const TCalcKey& key : keys_) {
        QAbstractButton* button = KeyButton(key.Name);
        if (!button)
            continue;
        button->setText(QString(key.Caption).replace(u'&', QStringLiteral("&&")));
        button->setStatusTip(key.Hint);
        button->setToolTip({});
    }
    if (QAbstractButton* log = KeyButton(QString::fromLatin1(CalcLogKeyName)))
        log->setStatusTip(LocaliseHint(LogKeyHint(Options.LogMode)));
}

QAbstractButton* TCalcForm::KeyButton(const QString& name) const
{
    return findChild<QAbstractButton*>(name);
}

void TCalcForm::PlaceAtAnchor()
{
    move(DialogAnchorPos() + QPoint(-120, 30));
}

void TCalcForm::showEvent(QShowEvent* event)
{
    if (!placed_) {
        PlaceAtAnchor();
        placed_ = true;
    }
    ShowForMode();
    QDialog::showEvent(event);
    // Whoever opened it types next. Its window is mapped anew, so the
    // window system puts it on top.
    activateWindow();
}

void TCalcForm::ShowForMode()
{
    previewPanel_->setFixedHeight(PreviewHeight() + 2);
    ApplyKeyTexts();
    const bool complex = Options.ComplexMode != 0;
    for (const TCalcKey& key : keys_) {
        if (QAbstractButton* button = KeyButton(key.Name); button && key.Use != TCalcKeyUse::Always)
            button->setVisible((key.Use == TCalcKeyUse::ComplexOnly) == complex);
    }
    if (functionList_->count() == 0) {
        for (int code = 1; code <= 206; ++code)
            if (Vocabulary.FunctionNameTokens.has(code)
                && functionList_->findText(Vocabulary.TokenTable[code].Name + u'(') < 0)
                functionList_->addItem(Vocabulary.TokenTable[code].Name + u'(');
        functionList_->setCurrentIndex(-1);
    }
    // The free calculator offers every button.
    if (!editing_)
        EnableGroups(true, true, true);
    ShowSendCaption();
    areaButton_->setChecked(ProgramSettings.FunctionArea != 0);
    UpdateSendButton();
    DrawPreview();
}

bool TCalcForm::event(QEvent* event)
{
    // Hints go to the calculator's own status line.
    if (event->type() == QEvent::StatusTip) {
        statusLine_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

bool TCalcForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edit_ && event->type() == QEvent::FocusIn) {
        // The dialog gives the line its focus as a tab would, which selects
        // the whole text: the next key would replace the formula unasked.
        static_cast<QObject*>(edit_)->event(event);
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::TabFocusReason)
            edit_->deselect();
        return true;
    }
    if (watched != edit_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        AskToQuit();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BtnSendToClick();
        return true;
    default:
        break;
    }
    const QString text = key->text();
    return text.size() == 1 && noise_.DropKey(text[0]);
}

void TCalcForm::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        AskToQuit();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BtnSendToClick();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TCalcForm::AskToQuit()
{
    if (ShowMsgBox(QStringLiteral("Sair com [OK]"), MsgWarning, MsgOkCancel))
        done(Rejected);
}

TEditLine TCalcForm::CurrentEditLine() const
{
    TEditLine line;
    line.Text = edit_->text();
    line.Caret = edit_->cursorPosition();
    line.SelStart = line.Caret;
    if (edit_->hasSelectedText()) {
        line.SelStart = edit_->selectionStart();
        line.SelLength = static_cast<int>(edit_->selectedText().size());
    }
    return line;
}

void TCalcForm::PressKey(const TCalcKey& key)
{
    SetEditLine(PressCalcKey(CurrentEditLine(), key));
}

void TCalcForm::InsertAtCaret(const QString& text)
{
    SetEditLine(InsertText(CurrentEditLine(), text));
}

void TCalcForm::SetEditLine(const TEditLine& line)
{
    if (line.Text != edit_->text()) {
        // The change is normalised with the caret where the key left it.
        changing_ = true;
        edit_->setText(line.Text);
        changing_ = false;
        edit_->setCursorPosition(line.Caret);
        EditCalcChange();
    } else {
        edit_->setCursorPosition(line.Caret);
    }
    edit_->setFocus();
}

void TCalcForm::EditCalcChange()
{
    if (changing_)
        return;
    changing_ = true;
    resultLabel_->clear();
    TTokenString tokens;
    const TEditLine line = NormalizeEditLine(CurrentEditLine(), tokens);
    if (line.Text != edit_->text())
        edit_->setText(line.Text);
    edit_->setCursorPosition(line.Caret);
    tokens_ = tokens;
    noise_.AfterChange(tokens_);
    DrawPreview();
    changing_ = false;
}

void TCalcForm::DrawPreview()
{
    const int height = PreviewHeight();
    const int panelWidth = previewPanel_->width();
    if (image_.Width() < 1 || image_.Height() != height)
        image_.SetSize(panelWidth - 2, height);
    TTypesetOptions measure;
    measure.CalculatorStyle = true;
    measure.NestedFractions = true;
    measure.Draw = false;
    const int size = NearestInt(RowMetrics.RowSize * 1.1L);
    const int drawingWidth = 3 + DrawExpression(image_.Canvas(), 3, 0, size, tokens_, measure).Width;
    const int pictureWidth = std::max(panelWidth - 2, drawingWidth + 12);
    if (image_.Width() != pictureWidth)
        image_.SetSize(pictureWidth, height);
    DrawExpressionInImage(image_, RowMetrics.RowSize, tokens_, true, true);
    preview_->SetPicture(image_.Image());
    preview_->move(PreviewLeft(panelWidth, drawingWidth, pictureWidth, preview_->x()), 1);
}

void TCalcForm::BtnEqualClick()
{
    result_ = TValue{KindReal, 1, 0.0L, 0.0L};
    const TCompileOutcome compiled = CompileCalculatorText(work_, edit_->text(), -2);
    if (!compiled.Valid()) {
        // The reason stays in view after its message is closed.
        resultLabel_->setText(compiled.Message);
        return;
    }
    result_ = EvaluatePostfix(work_, inputs_[0], inputs_[1], inputs_[2], inputs_[3]);
    image_.SetSize(previewPanel_->width() - 2, PreviewHeight());
    {
        const ScopedCalculatorResultField showHere(*this);
        DrawValueInImage(result_, image_, ValueFontSize);
    }
    preview_->SetPicture(image_.Image());
    preview_->move(1, 1);
}

void TCalcForm::BtnSendToClick()
{
    if (!sendButton_->isEnabled())
        return;
    if (targets_.Kind == TTargetKind::None) {
        sent_ = true;
        done(Accepted);
        return;
    }
    if (!CompileCalculatorText(work_, edit_->text(), mode_).Valid())
        return;
    // A value computed with "=" is what is sent.
    if (PlainNumber(resultLabel_->text())) {
        QString number = resultLabel_->text();
        ExponentsToPowers(number);
        if (!CompileCalculatorText(work_, number, mode_).Valid())
            return;
    }
    if (!SendToTarget())
        return;
    sent_ = true;
    done(Accepted);
}

bool TCalcForm::SendToTarget()
{
    TTargets& t = targets_;
    switch (t.Kind) {
    case TTargetKind::Expression:
        *t.Record = work_;
        break;
    case TTargetKind::UserFunction:
        if (!StoreUserFunction(t.Number, work_))
            return false;
        break;
    case TTargetKind::Cell:
        t.Edit->setText(work_.Text);
        break;
    case TTargetKind::NumberField: {
        const std::optional<long double> value = FieldValue(work_);
        if (!value)
            return false;
        *t.Value = *value;
        for (QLineEdit* edit : {t.Edit, t.SecondEdit})
            if (edit)
                edit->setText(FormatGeneral(*value, 15, Separators.DecimalChar));
        break;
    }
    case TTargetKind::Parameter: {
        const std::optional<long double> value = FieldValue(work_);
        if (!value)
            return false;
        // The graph redraws without the calculator over it.
        hide();
        ApplyParameterValue(t.Number, *value);
        t.Edit->setText(ParamValueText(DocumentTables.Params[t.Number].Value));
        break;
    }
    case TTargetKind::ParameterStep: {
        const std::optional<long double> step = FieldValue(work_);
        if (!step || !ApplyParameterStep(t.Number, *step))
            return false;
        t.Edit->setText(ParamStepText(DocumentTables.Params[t.Number].Step));
        break;
    }
    case TTargetKind::None:
        break;
    }
    if (t.Picture)
        t.Picture->update();
    return true;
}

void TCalcForm::BtnCopyClick()
{
    platform::CurrentClipboard().setText(resultLabel_->text());
}

void TCalcForm::ShowAreaClick()
{
    ProgramSettings.FunctionArea = areaButton_->isChecked() ? 1 : 0;
    DrawPreview();
}

void TCalcForm::UpdateSendButton()
{
    // Also where the groups are off: the button is how an editor confirms.
    sendButton_->setEnabled(targets_.Kind != TTargetKind::None || !editing_);
}

void TCalcForm::ShowSendCaption()
{
    sendButton_->setText(captionLabel_->text().isEmpty() ? QStringLiteral("Fim") : QStringLiteral("DefFim"));
}

void TCalcForm::SetFormColor(TColor color)
{
    FillBackground(*this, color);
}

void TCalcForm::SetCaption(const QString& text, const QFont& font)
{
    QFont captionFont = font;
    captionFont.setPointSize(ProgramState.DisplayFontSize);
    captionLabel_->setFont(captionFont);
    captionLabel_->setText(text);
    mode_ = -2;
    ShowSendCaption();
}

void TCalcForm::EnableGroups(bool a, bool b, bool c)
{
    groups_[1]->setEnabled(a);
    groups_[2]->setEnabled(b);
    groups_[3]->setEnabled(c);
    UpdateSendButton();
}

void TCalcForm::ClearTargets()
{
    targets_ = {};
    UpdateSendButton();
}

bool TCalcForm::FormCloseQuery()
{
    ClearTargets();
    inputs_ = {};
    captionLabel_->clear();
    mode_ = -2;
    edit_->clear();
    noise_.Reset();
    EnableGroups(false, false, false);
    SetFormColor(ClosedColor);
    return true;
}

void TCalcForm::done(int result)
{
    FormCloseQuery();
    QDialog::done(result);
}

void TCalcForm::PrepareOpen(QWidget* caller, const QString& caption, const QFont& font, TColor color,
                            const QString& text)
{
    if (isVisible())
        hide();
    FormCloseQuery();
    OpenOver(caller);
    SetCaption(caption, font);
    SetFormColor(color);
    edit_->setText(text);
    edit_->setCursorPosition(static_cast<int>(edit_->text().size()));
    sent_ = false;
    editing_ = true;
}

// The calculator is made anew as a window owned by the caller's window (the
// active one when no caller is known): the window system keeps an owned
// window above its owner, and maps a new window above those already shown.
// A caller that stays on top of other windows (the property dialogs) takes
// the calculator with it; otherwise the calculator would open under it.
void TCalcForm::OpenOver(QWidget* caller)
{
    QWidget* owner = caller ? caller->window() : QApplication::activeWindow();
    if (owner == this)
        owner = nullptr;
    setWindowFlag(Qt::WindowStaysOnTopHint, owner && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    if (windowHandle())
        destroy();
    create();
    windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
}

// The free calculator belongs to no window and does not stay on top.
void TCalcForm::ReleaseOwner()
{
    if (windowHandle())
        windowHandle()->setTransientParent(nullptr);
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
}

bool TCalcForm::RunEditor()
{
    UpdateSendButton();
    platform::RunModal(*this);
    ReleaseOwner();
    // A runner that never showed the dialog leaves it as it was opened.
    if (targets_.Kind != TTargetKind::None)
        FormCloseQuery();
    const bool sent = sent_;
    sent_ = false;
    editing_ = false;
    UpdateSendButton();
    return sent;
}

bool TCalcForm::EditExpression(const QString& caption, const QFont& captionFont, QWidget* picture, TColor color,
                               int mode, TKavirofunction& record)
{
    QFont font = captionFont;
    font.setBold(caption.contains(u':'));
    PrepareOpen(picture, caption, font, color, record.Text);
    targets_ = {TTargetKind::Expression, &record, nullptr, nullptr, nullptr, picture, 0};
    mode_ = mode;
    if (mode >= 0 || mode == -3)
        EnableGroups(true, true, true);
    else if (mode == -1)
        EnableGroups(true, false, false);
    else
        EnableGroups(false, false, false);
    return RunEditor();
}

bool TCalcForm::EditUsr(QWidget* editControl, QWidget* picture, TColor color, int n)
{
    if (n < 1 || n > UserFunctionCount)
        return false;
    const QString caption = editControl ? editControl->property("text").toString() : QString();
    PrepareOpen(editControl ? editControl : picture, caption, editControl ? editControl->font() : font(), color,
                DocumentTables.UserFunctions[n].Text);
    targets_ = {TTargetKind::UserFunction, nullptr, nullptr, nullptr, nullptr, picture, n};
    mode_ = -3;
    EnableGroups(true, true, true);
    return RunEditor();
}

bool TCalcForm::EditValueField(const QString& caption, const QFont& font, TColor color, QLineEdit* edit,
                               long double& value)
{
    PrepareOpen(edit, caption, font, color, edit ? edit->text() : QString());
    targets_ = {TTargetKind::NumberField, nullptr, &value, edit, nullptr, nullptr, 0};
    return RunEditor();
}

bool TCalcForm::EditDetailField(const QString& caption, const QFont& font, TColor color, QLineEdit* edit,
                                long double& value)
{
    PrepareOpen(edit, caption, font, color, edit ? edit->text() : QString());
    targets_ = {TTargetKind::NumberField, nullptr, &value, nullptr, edit, nullptr, 0};
    return RunEditor();
}

bool TCalcForm::EditCell(const QString& caption, const QFont& font, TColor color, QLineEdit* edit, const TValue& x,
                         const TValue& y, const TValue& z, const TValue& w)
{
    if (!edit)
        return false;
    PrepareOpen(edit, caption, font, color, edit->text());
    targets_ = {TTargetKind::Cell, nullptr, nullptr, edit, nullptr, nullptr, 0};
    inputs_ = {x, y, z, w};
    if (x.Defined && y.Defined)
        EnableGroups(true, true, false);
    return RunEditor();
}

bool TCalcForm::EditPrm(QLineEdit* edit, int n, TColor color, QLineEdit* valueEdit)
{
    if (!edit || n < 1 || n > ParamCount)
        return false;
    PrepareOpen(edit, QString(QChar(ParamLetters[n])) + u'=', edit->font(), color, edit->text());
    targets_ = {TTargetKind::Parameter, nullptr, nullptr, valueEdit ? valueEdit : edit, nullptr, nullptr, n};
    return RunEditor();
}

bool TCalcForm::EditPrmStep(QLineEdit* stepEdit, int n, TColor color)
{
    if (!stepEdit || n < 1 || n > ParamCount)
        return false;
    PrepareOpen(stepEdit, QStringLiteral("Stepsize="), stepEdit->font(), color, stepEdit->text());
    targets_ = {TTargetKind::ParameterStep, nullptr, nullptr, stepEdit, nullptr, nullptr, n};
    return RunEditor();
}
