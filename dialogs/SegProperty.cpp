#include "dialogs/SegProperty.h"

#include "dialogs/FmSetColor.h"
#include "dialogs/FormLook.h"
#include "dialogs/HintSetting.h"
#include "dialogs/MarkupMenu.h"
#include "dialogs/NamedWidgets.h"
#include "dialogs/PermanentForms.h"
#include "session/FigureEdit.h"
#include "session/RowModels.h"

#include "model/Colors.h"
#include "model/MessageBox.h"
#include "model/ObjectNames.h"
#include "platform/ModalRunner.h"
#include "render/gfx/ColorConvert.h"
#include "render/view/Scale.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

namespace {

constexpr int KindButtonCount = 14;
constexpr int LabelPositionCount = 9;
constexpr int GlyphSize = 22;

// Where the dialog was left, for its next opening.
std::optional<QPoint> SegPropertyPos;

QString KindHint(int kind)
{
    switch (kind) {
    case FigureSegment: return QStringLiteral("Segmento");
    case FigureLine: return QStringLiteral("Reta");
    case FigureArrow: return QStringLiteral("Seta");
    case FigureRectangle: return QStringLiteral("Retângulo");
    case FigurePolyline: return QStringLiteral("Retas");
    case FigurePolygon: return QStringLiteral("Polígono");
    case FigureAngle: return QStringLiteral("Ângulo");
    case FigureHalfLine: return QStringLiteral("Semi-reta");
    case FigureArc: return QStringLiteral("Arco");
    case FigureBezier: return QStringLiteral("Curva de Bezier");
    default: return {};
    }
}

void DrawArrowHead(QPainter& p, QPointF tip, QPointF from)
{
    const QLineF back(tip, from);
    QLineF a = back;
    a.setLength(6);
    a.setAngle(back.angle() + 25);
    QLineF b = back;
    b.setLength(6);
    b.setAngle(back.angle() - 25);
    p.drawLine(a);
    p.drawLine(b);
}

// A small picture of each kind, drawn as the graph draws it.
QIcon KindGlyph(int kind)
{
    QPixmap pixmap(GlyphSize, GlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    const QPointF a(4, 17), b(18, 5), c(18, 17);
    switch (kind) {
    case FigureNone:
        p.setPen(QPen(Qt::red, 2));
        p.drawLine(5, 5, 17, 17);
        p.drawLine(17, 5, 5, 17);
        break;
    case FigureSegment:
        p.drawLine(a, b);
        p.fillRect(QRectF(a - QPointF(1, 1), QSizeF(3, 3)), Qt::black);
        p.fillRect(QRectF(b - QPointF(1, 1), QSizeF(3, 3)), Qt::black);
        break;
    case FigureLine: p.drawLine(0, 21, 21, 0); break;
    case FigureArrow:
        p.drawLine(a, b);
        DrawArrowHead(p, b, a);
        break;
    case FigureRectangle:
        p.setBrush(QColor(0xC0, 0xC0, 0xFF));
        p.drawRect(4, 6, 14, 10);
        break;
    case FigurePolyline: p.drawPolyline(QPolygonF({QPointF(2, 17), QPointF(8, 5), QPointF(14, 15), QPointF(20, 4)})); break;
    case FigurePolygon:
        p.setBrush(QColor(0xC0, 0xC0, 0xFF));
        p.drawPolygon(QPolygonF({QPointF(3, 18), QPointF(10, 3), QPointF(19, 9), QPointF(15, 19)}));
        break;
    case FigureAngle:
        p.drawLine(a, b);
        p.drawLine(a, c);
        p.drawArc(QRectF(-4, 9, 16, 16), 0, 40 * 16);
        break;
    case FigureHalfLine:
        p.drawLine(QPointF(4, 17), QPointF(21, 3));
        p.fillRect(QRectF(3, 16, 3, 3), Qt::black);
        break;
    case FigureArc: p.drawArc(QRectF(2, 4, 26, 26), 90 * 16, 90 * 16); break;
    case FigureBrace: {
        QPainterPath path(QPointF(3, 16));
        path.quadTo(QPointF(3, 10), QPointF(11, 10));
        path.quadTo(QPointF(11, 5), QPointF(11, 5));
        path.moveTo(11, 10);
        path.quadTo(QPointF(19, 10), QPointF(19, 16));
        p.drawPath(path);
        break;
    }
    case FigureBezier: {
        QPainterPath path(QPointF(2, 18));
        path.cubicTo(QPointF(6, 0), QPointF(16, 22), QPointF(20, 4));
        p.drawPath(path);
        break;
    }
    case FigureRightAngle:
        p.drawLine(4, 18, 20, 18);
        p.drawLine(4, 18, 4, 2);
        p.drawPolyline(QPolygonF({QPointF(4, 12), QPointF(10, 12), QPointF(10, 18)}));
        break;
    default: break;
    }
    return QIcon(pixmap);
}

// The label at one of nine places around its anchor (the dot).
QIcon LabelPositionGlyph(int position)
{
    QPixmap pixmap(GlyphSize, GlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(10, 10, 3, 3, Qt::red);
    const int i = position - 1;
    const QRect cell(1 + (i % 3) * 7, 1 + (i / 3) * 7, 7, 7);
    p.fillRect(cell.adjusted(1, 1, -1, -1), Qt::black);
    return QIcon(pixmap);
}

QToolButton* MakeToolButton(QWidget* parent, const QString& name, const QString& hint = {})
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIconSize(QSize(GlyphSize, GlyphSize));
    button->setAutoRaise(false);
    return button;
}

bool HasInside(std::uint8_t kind)
{
    return kind == FigureRectangle || kind == FigurePolygon || kind == FigureAngle || kind == FigureArc;
}

} // namespace

void TLabelCombo::showPopup()
{
    if (OnDropDown)
        OnDropDown();
    QComboBox::showPopup();
}

TSegProperty::TSegProperty(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SegProperty"));
    // One "&" in the caption: a window title shows it as it is.
    setWindowTitle(QStringLiteral("Reta&Polígono"));
    setFont(FormFont());

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(BuildVertexBox());
    top->addWidget(BuildKindBox(), 1);
    layout->addLayout(top);
    layout->addWidget(BuildStyleBox());
    layout->addWidget(BuildLabelBox());
    layout->addLayout(BuildButtons());
}

QGroupBox* TSegProperty::BuildVertexBox()
{
    auto* vertexBox = new QGroupBox(QStringLiteral("Vértice"), this);
    Edit2 = new QLineEdit(vertexBox);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(FigureVertexCount);
    Edit2->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenuPoint = new QMenu(this);
    PopupMenuPoint->setObjectName(QStringLiteral("PopupMenuPoint"));
    connect(Edit2, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenuPointPopup();
        PopupMenuPoint->exec(Edit2->mapToGlobal(pos));
    });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { UpdateControls(); });
    (new QVBoxLayout(vertexBox))->addWidget(Edit2);
    return vertexBox;
}

QGroupBox* TSegProperty::BuildKindBox()
{
    auto* kindBox = new QGroupBox(QStringLiteral("Figura"), this);
    auto* kindGrid = new QGridLayout(kindBox);
    Kinds = new QButtonGroup(this);
    Kinds->setExclusive(true);
    int cell = 0;
    for (int kind = 0; kind < KindButtonCount; ++kind) {
        QToolButton* button = MakeToolButton(kindBox, QStringLiteral("RB%1").arg(kind), KindHint(kind));
        button->setIcon(KindGlyph(kind));
        button->setCheckable(kind != FigureNone);
        Kinds->addButton(button, kind);
        if (kind == 4) { // no such kind
            button->hide();
            continue;
        }
        kindGrid->addWidget(button, cell / 7, cell % 7);
        ++cell;
    }
    connect(Kinds, &QButtonGroup::idClicked, this, [this](int kind) { RB1Click(kind); });
    return kindBox;
}

QGroupBox* TSegProperty::BuildStyleBox()
{
    auto* styleBox = new QGroupBox(this);
    auto* styleGrid = new QGridLayout(styleBox);
    btnColor = MakeToolButton(styleBox, QStringLiteral("btnColor"));
    btnWidth = MakeToolButton(styleBox, QStringLiteral("btnWidth"));
    btnStyle = MakeToolButton(styleBox, QStringLiteral("btnStyle"));
    btnInside = MakeToolButton(styleBox, QStringLiteral("btnInside"));
    btnPattern = MakeToolButton(styleBox, QStringLiteral("btnPattern"));
    lblInside = new QLabel(QStringLiteral("Dentro"), styleBox);
    lblInside->setObjectName(QStringLiteral("lblInside"));
    CBAI = new QCheckBox(QStringLiteral("Traço"), styleBox);
    CBAI->setObjectName(QStringLiteral("CBAI"));
    styleGrid->addWidget(new QLabel(QStringLiteral("Côr"), styleBox), 0, 0);
    styleGrid->addWidget(btnColor, 1, 0);
    styleGrid->addWidget(new QLabel(QStringLiteral("Gross"), styleBox), 0, 1);
    styleGrid->addWidget(btnWidth, 1, 1);
    styleGrid->addWidget(new QLabel(QStringLiteral("Estilo"), styleBox), 0, 2);
    styleGrid->addWidget(btnStyle, 1, 2);
    styleGrid->addWidget(lblInside, 0, 3);
    styleGrid->addWidget(btnInside, 1, 3);
    styleGrid->addWidget(btnPattern, 1, 4);
    styleGrid->addWidget(CBAI, 1, 5);
    for (QToolButton* button : {btnColor, btnWidth, btnStyle, btnInside, btnPattern})
        connect(button, &QToolButton::clicked, this, [this, button] { ShowPaletteFor(button); });
    return styleBox;
}

QGroupBox* TSegProperty::BuildLabelBox()
{
    auto* labelBox = new QGroupBox(QStringLiteral("Rótulo"), this);
    auto* labelLayout = new QHBoxLayout(labelBox);
    edit1 = new TLabelCombo(labelBox);
    edit1->setObjectName(QStringLiteral("edit1"));
    edit1->setEditable(true);
    edit1->setInsertPolicy(QComboBox::NoInsert);
    edit1->setFont(QFont(QStringLiteral("Times New Roman")));
    edit1->setMinimumWidth(200);
    AttachMarkupMenu(edit1);
    edit1->OnDropDown = [this] { edit1DropDown(); };
    connect(edit1, &QComboBox::activated, this, [this](int index) {
        edit1->setEditText(edit1->itemText(index));
        if (LabelPositions->checkedId() < 1)
            LabelPositions->button(1)->setChecked(true);
    });
    labelLayout->addWidget(edit1, 1);
    auto* positions = new QGridLayout;
    positions->setSpacing(0);
    LabelPositions = new QButtonGroup(this);
    LabelPositions->setExclusive(false); // none may be down
    for (int i = 1; i <= LabelPositionCount; ++i) {
        QToolButton* button = MakeToolButton(labelBox, QStringLiteral("SBLB%1").arg(i), QStringLiteral("Posição do rótulo"));
        button->setCheckable(true);
        button->setIcon(LabelPositionGlyph(i));
        button->setIconSize(QSize(14, 14));
        LabelPositions->addButton(button, i);
        positions->addWidget(button, (i - 1) / 3, (i - 1) % 3);
    }
    // One position at most: pressing one releases the others.
    connect(LabelPositions, &QButtonGroup::idClicked, this, [this](int id) {
        for (QAbstractButton* other : LabelPositions->buttons())
            if (LabelPositions->id(other) != id)
                other->setChecked(false);
    });
    labelLayout->addLayout(positions);
    return labelBox;
}

QHBoxLayout* TSegProperty::BuildButtons()
{
    BtnOk = MakeButton(this, "BtnOk", QStringLiteral("&O K"));
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("&Cancelar"));
    Btndelete = MakeButton(this, "Btndelete", QStringLiteral("&Apagar"));
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    connect(Btndelete, &QPushButton::clicked, this, [this] { BtndeleteClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {BtnOk, btnCancel, Btndelete})
        buttons->addWidget(b);
    return buttons;
}

void TSegProperty::LoadSegment(int n)
{
    SegmentNo = n;
    Copy = FigureToEdit(n);
    Edit2->setText(VertexText(Copy));
    if (QAbstractButton* kind = Kinds->button(Copy.Kind))
        kind->setChecked(true);
    CBAI->setChecked(Copy.AfterImage != 0);
    edit1->setEditText(Copy.Label);
    for (QAbstractButton* b : LabelPositions->buttons())
        b->setChecked(LabelPositions->id(b) == Copy.LabelPos);
    ShowStyleGlyphs();
    UpdateControls();
}

void TSegProperty::ShowStyleGlyphs()
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette)
        return;
    palette->SetColorGlyph(btnColor, Copy.Color);
    palette->SetWidthGlyph(btnWidth, Copy.Width);
    palette->SetLineStyleGlyph(btnStyle, Copy.LineStyle);
    palette->SetColorGlyph(btnInside, Copy.InsideColor);
    palette->SetPointPatternGlyph(btnPattern, Copy.Pattern);
}

void TSegProperty::ShowPaletteFor(QToolButton* button)
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette)
        return;
    palette->OnChosen = [this] {
        ShowStyleGlyphs();
        UpdateControls();
    };
    if (button == btnColor)
        palette->ShowColorPanel(Copy.Color, button);
    else if (button == btnWidth)
        palette->ShowWidthPanel(Copy.Width, button, false);
    else if (button == btnStyle)
        palette->ShowLineStylePanel(Copy.LineStyle, button);
    else if (button == btnInside)
        palette->ShowColorPanel(Copy.InsideColor, button);
    else if (button == btnPattern)
        palette->ShowPointPatternPanel(Copy.Pattern, button);
}

void TSegProperty::UpdateControls()
{
    const bool filled = HasInside(Copy.Kind);
    btnInside->setEnabled(filled);
    lblInside->setEnabled(filled);
    btnPattern->setVisible(filled && !SameColor(Copy.InsideColor, ColorScheme.ColorPalette[0]));
}

void TSegProperty::RB1Click(int kind)
{
    if (kind == FigureNone) {
        BtndeleteClick();
        return;
    }
    Copy.Kind = static_cast<std::uint8_t>(kind);
    UpdateControls();
}

void TSegProperty::ReadControls()
{
    Copy.AfterImage = CBAI->isChecked() ? 1 : 0;
    Copy.Label = edit1->currentText();
    const int position = LabelPositions->checkedId();
    Copy.LabelPos = static_cast<std::uint8_t>(position > 0 ? position : 0);
}

void TSegProperty::BtnOkClick()
{
    ReadControls();
    if (Copy.Kind == FigureNone) {
        BtndeleteClick();
        return;
    }
    const QString message = CheckVertexText(Edit2->text(), Copy.Kind, Copy);
    if (!message.isEmpty()) {
        ShowMsgBox(message, MsgWarning, MsgOk);
        return;
    }
    StoreFigure(SegmentNo, Copy);
    accept();
}

void TSegProperty::BtndeleteClick()
{
    Copy.Kind = FigureNone;
    StoreFigure(SegmentNo, Copy);
    accept();
}

void TSegProperty::PopupMenuPointPopup()
{
    PopupMenuPoint->clear();
    const QString text = Edit2->text().toUpper();
    const bool fewLetters = Edit2->text().size() < 2;
    const auto add = [this](const QString& caption, const QString& name, bool shown) {
        QAction* action = PopupMenuPoint->addAction(caption);
        action->setObjectName(name);
        action->setVisible(shown);
        const QChar letter = caption.front();
        connect(action, &QAction::triggered, this, [this, letter] { P1Click(letter); });
        return shown;
    };
    bool special = add(QStringLiteral("x(eixo x)"), QStringLiteral("AxisX1"),
                       fewLetters && GraphScale.XAxis.AxesVisible && !text.contains(u'X'));
    special |= add(QStringLiteral("y(eixo y)"), QStringLiteral("AxisY1"),
                   fewLetters && GraphScale.YAxis.AxesVisible && !text.contains(u'Y'));
    special |= add(QStringLiteral("O(Origem)"), QStringLiteral("Origin1"), !text.contains(u'O'));
    QAction* separator = PopupMenuPoint->addSeparator();
    bool anyLetter = false;
    for (int k = 1; k <= PointCount; ++k) {
        const QChar letter = PointLetter(k);
        if (letter == u'O')
            continue; // offered as the origin
        const bool shown = DocumentTables.Points[k].Kind != ObjectEmpty && !text.contains(letter);
        anyLetter |= add(QString(letter), QString(letter) + u'1', shown);
    }
    separator->setVisible(special && anyLetter);
}

void TSegProperty::P1Click(QChar letter)
{
    Edit2->insert(QString(letter));
}

void TSegProperty::edit1DropDown()
{
    const QString label = edit1->currentText();
    edit1->clear();
    edit1->addItems(LabelTemplates(Edit2->text(), Copy.Kind));
    edit1->setEditText(label);
}

void TSegProperty::done(int result)
{
    SegPropertyPos = pos();
    ShowSegRows();
    QDialog::done(result);
}

void ShowSegProperty(int n)
{
    if (!IsEditableFigure(n))
        return;
    TSegProperty dialog(Forms.GraphWindow);
    dialog.LoadSegment(n);
    TakeHintSetting(dialog);
    dialog.adjustSize();
    dialog.move(SegPropertyPos.value_or(DialogAnchorPos()));
    platform::RunModal(dialog);
}
