#include "dialogs/PropertyDialog.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FmSetColor.h"
#include "dialogs/FormLook.h"
#include "dialogs/HintSetting.h"
#include "dialogs/PermanentForms.h"
#include "render/markup/TypesetImage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEnterEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <map>

namespace {

// Where each dialog was last closed, by object name, for the next opening.
std::map<QString, QPoint>& ClosedPositions()
{
    static std::map<QString, QPoint> positions;
    return positions;
}

} // namespace

TPropertyDialog::TPropertyDialog(const QString& objectName)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFont(FormFont(8));
    const auto place = ClosedPositions().find(objectName);
    move(place != ClosedPositions().end() ? place->second : DialogAnchorPos());
}

TOkPanel TPropertyDialog::BuildOkPanel()
{
    TOkPanel ok;
    ok.PanelOk = new QFrame(this);
    ok.PanelOk->setObjectName(QStringLiteral("PanelOk"));
    ok.PanelOk->setFont(font());
    auto* row = new QHBoxLayout(ok.PanelOk);
    row->setContentsMargins(4, 3, 4, 3);
    const std::pair<QPushButton*&, const char16_t*> buttons[] = {
        {ok.BtnOK, u"BtnOK"}, {ok.btnDelete, u"btnDelete"}, {ok.btncancel, u"btncancel"}};
    const char16_t* captions[] = {u"&O K", u"&Apagar", u"&Cancelar"};
    int i = 0;
    for (auto& [button, name] : buttons) {
        button = new QPushButton(QString::fromUtf16(captions[i++]), ok.PanelOk);
        button->setObjectName(QString::fromUtf16(name));
        // Enter belongs to the dialog: it runs OK whatever has the focus.
        button->setAutoDefault(false);
        row->addWidget(button);
    }
    connect(ok.BtnOK, &QPushButton::clicked, this, [this] { OkClick(); });
    connect(ok.btncancel, &QPushButton::clicked, this, [this] { close(); });
    FocusOnHover(ok.PanelOk);
    return ok;
}

void TPropertyDialog::FocusOnHover(QWidget* widget)
{
    widget->setAttribute(Qt::WA_Hover);
    widget->installEventFilter(this);
}

bool TPropertyDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter && isVisible() && !isActiveWindow())
        activateWindow();
    return QDialog::eventFilter(watched, event);
}

void TPropertyDialog::showEvent(QShowEvent* event)
{
    DisableMainForms();
    TakeHintSetting(*this);
    QDialog::showEvent(event);
}

void TPropertyDialog::closeEvent(QCloseEvent* event)
{
    closed_ = true;
    EnableMainForms();
    ClosedPositions()[objectName()] = pos();
    if (Forms.FmSetColor)
        Forms.FmSetColor->hide();
    event->accept();
}

void TPropertyDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OkClick();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

QWidget* FindOpenDialog(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

TFormulaPicture::TFormulaPicture(const char* objectName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QString::fromUtf8(objectName));
    setCursor(Qt::PointingHandCursor);
    setFrameShape(QFrame::StyledPanel);
    // The picture follows the layout, never the other way round.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void TFormulaPicture::ShowFormula(const TTokenString& tokens, int fontSize)
{
    tokens_ = tokens;
    fontSize_ = fontSize;
    Draw();
}

void TFormulaPicture::Draw()
{
    // Drawn at the size the layout gave, inside the frame.
    const QRect inside = contentsRect();
    bitmap_.SetSize(std::max(inside.width(), 8), std::max(inside.height(), 8));
    DrawExpressionInImage(bitmap_, fontSize_, tokens_, false, false);
    setPixmap(QPixmap::fromImage(bitmap_.Image()));
}

void TFormulaPicture::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    Draw();
}

void TFormulaPicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && Clicked && isEnabled())
        Clicked();
}

TStyleButton::TStyleButton(const char* objectName, QWidget* parent)
    : QToolButton(parent)
{
    setObjectName(QString::fromUtf8(objectName));
    setIconSize(QSize(20, 20));
    setFixedSize(28, 26);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QToolButton::clicked, this, [this] { OpenPanel(); });
}

void TStyleButton::BindColor(TColor* field)
{
    family_ = TStyleFamily::Color;
    color_ = field;
    byte_ = nullptr;
}

void TStyleButton::BindByte(TStyleFamily family, std::uint8_t* field)
{
    family_ = family;
    byte_ = field;
    color_ = nullptr;
}

void TStyleButton::enterEvent(QEnterEvent* event)
{
    QToolButton::enterEvent(event);
    OpenPanel();
}

void TStyleButton::ShowGlyph()
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette)
        return;
    if (color_) {
        palette->SetColorGlyph(this, *color_);
        return;
    }
    if (!byte_)
        return;
    const int n = *byte_;
    switch (family_) {
    case TStyleFamily::Color:
        break;
    case TStyleFamily::Width:
    case TStyleFamily::WidthOrNone: palette->SetWidthGlyph(this, n); break;
    case TStyleFamily::Pattern: palette->SetPatternGlyph(this, n); break;
    case TStyleFamily::PointPattern: palette->SetPointPatternGlyph(this, n); break;
    case TStyleFamily::Border: palette->SetBorderGlyph(this, n); break;
    case TStyleFamily::PointStyle: palette->SetPointStyleGlyph(this, n); break;
    case TStyleFamily::LineStyle: palette->SetLineStyleGlyph(this, n); break;
    case TStyleFamily::FigureType: palette->SetFigureTypeGlyph(this, n); break;
    case TStyleFamily::MemoStyle: palette->SetMemoStyleGlyph(this, n); break;
    case TStyleFamily::BackColor: palette->SetBackColorGlyph(this, n); break;
    }
}

void TStyleButton::OpenPanel()
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette || !isEnabled() || !isVisible() || (!color_ && !byte_))
        return;
    if (color_) {
        palette->ShowColorPanel(*color_, this);
    } else {
        std::uint8_t& v = *byte_;
        switch (family_) {
        case TStyleFamily::Color: break;
        case TStyleFamily::Width: palette->ShowWidthPanel(v, this, false); break;
        case TStyleFamily::WidthOrNone: palette->ShowWidthPanel(v, this, true); break;
        case TStyleFamily::Pattern: palette->ShowPatternPanel(v, this); break;
        case TStyleFamily::PointPattern: palette->ShowPointPatternPanel(v, this); break;
        case TStyleFamily::Border: palette->ShowBorderPanel(v, this); break;
        case TStyleFamily::PointStyle: palette->ShowPointStylePanel(v, this); break;
        case TStyleFamily::LineStyle: palette->ShowLineStylePanel(v, this); break;
        case TStyleFamily::FigureType: palette->ShowFigureTypePanel(v, this); break;
        case TStyleFamily::MemoStyle: palette->ShowMemoStylePanel(v, this); break;
        case TStyleFamily::BackColor: palette->ShowBackColorPanel(v, this); break;
        }
    }
    // The dialog may be gone before the palette is used.
    QPointer<TStyleButton> self(this);
    palette->OnChosen = [self] {
        if (self && self->Chosen)
            self->Chosen();
    };
}

bool EditFormula(const QString& caption, const QFont& captionFont, QWidget* picture, TColor color, int mode,
                 TKavirofunction& record)
{
    return Forms.CalcForm && Forms.CalcForm->EditExpression(caption, captionFont, picture, color, mode, record);
}

void CloseCalculator()
{
    if (Forms.CalcForm && Forms.CalcForm->isVisible())
        Forms.CalcForm->hide();
}

TColor DataPanelColor(const char* panelName)
{
    QWidget* panel = Forms.DataPanel ? Forms.DataPanel->findChild<QWidget*>(QString::fromUtf8(panelName)) : nullptr;
    const QColor c = panel ? panel->palette().color(panel->backgroundRole())
                           : QApplication::palette().color(QPalette::Window);
    return MakeColor(c.red(), c.green(), c.blue());
}

void PaintPanels(std::initializer_list<QWidget*> panels, TColor color)
{
    for (QWidget* panel : panels)
        FillBackground(*panel, color);
}
