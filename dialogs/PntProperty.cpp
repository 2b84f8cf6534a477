#include "dialogs/PntProperty.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FmSetColor.h"
#include "dialogs/MarkupMenu.h"
#include "dialogs/NamedWidgets.h"
#include "dialogs/PermanentForms.h"
#include "engine/Compiler.h"
#include "engine/NumberFields.h"
#include "engine/References.h"
#include "engine/TokenTable.h"
#include "model/MessageBox.h"
#include "model/ObjectNames.h"
#include "model/Options.h"
#include "model/ProgramState.h"
#include "session/ParameterSteps.h"
#include "session/RowModels.h"
#include "session/StoreOperations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// What each kind shows and requires: the point group's caption and the
// formulas x, y and R.
struct TKindFields {
    const char16_t* Caption;
    bool X, Y, R;
};
constexpr std::array<TKindFields, 8> KindFields{{
    {u"", false, false, false},
    {u"Ponto", true, true, false},
    {u"Centro", true, true, true},
    {u"Reta", false, true, true},
    {u"Reta", true, false, true},
    {u"Ponto", false, false, true},
    {u"Ponto", true, true, false},
    {u"Sequência de Pontos", true, true, false},
}};

// Both coordinates: the kinds that may take one vector formula.
constexpr bool HasBothCoordinates(int kind)
{
    return KindFields[kind].X && KindFields[kind].Y;
}

constexpr int LabelPositions = 9;
// Where each label position puts the label around its object, as (row,
// column) of the 3 × 3 grid of position buttons.
constexpr std::array<std::pair<int, int>, LabelPositions + 1> LabelCells{{
    {1, 1}, {0, 0}, {2, 0}, {0, 2}, {2, 2}, {1, 1}, {0, 1}, {2, 1}, {1, 0}, {1, 2}}};

QGroupBox* MakeGroup(const char* name, const QString& title, QWidget* parent)
{
    return Named(new QGroupBox(title, parent), name);
}

TFormulaPicture* MakePicture(const char* name, const QString& hint, QWidget* parent)
{
    auto* picture = new TFormulaPicture(name, parent);
    picture->setToolTip(hint);
    picture->setFixedHeight(RowMetrics.RowPitch);
    picture->setMinimumWidth(150);
    return picture;
}

// A style button over its caption.
void AddStyle(QGridLayout* grid, int col, const QString& caption, TStyleButton* button)
{
    auto* label = new QLabel(caption, button->parentWidget());
    grid->addWidget(label, 0, col, Qt::AlignHCenter);
    grid->addWidget(button, 1, col, Qt::AlignHCenter);
}

} // namespace

void ShowPntProperty(int n, int flags)
{
    if (n < 1 || n > PointCount)
        return;
    // The dialog deletes itself when it closes.
    auto* dialog = new TPntProperty;
    dialog->LoadObject(n, flags);
}

QStringList LabelTemplates(int kind, QChar letter)
{
    const QString sep(Separators.ListSepChar);
    switch (kind) {
    case ObjectHorizontalLine: return {QStringLiteral("{y=!{y}}//Equação")};
    case ObjectVerticalLine: return {QStringLiteral("{x=!{x}}//Equação")};
    case ObjectEmpty: return {};
    default: {
        // The fields are formulas: their pairs take the list separator.
        const QString cartesian = QStringLiteral("!{(x") + sep + QStringLiteral("y)}//Coordenadas");
        const QString polar = QStringLiteral("!{([X]") + sep + QStringLiteral("argX)|3}//Coordenadas Polares");
        return {QString(letter), cartesian, letter + cartesian, polar, letter + polar};
    }
    }
}

TPntProperty::TPntProperty()
    : TPropertyDialog(QStringLiteral("PntProperty"))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(3, 3, 3, 3);
    column->setSpacing(3);
    BuildKinds();
    BuildFormulas();
    BuildCurve();
    BuildStyles();
    BuildLabel();
    BuildButtons();
    for (QWidget* w : std::initializer_list<QWidget*>{GBFigure, GBPoint, GBCircle, GBCurve, GBStyle, GBLabel,
                                                      PanelOk})
        column->addWidget(w);
    column->setSizeConstraint(QLayout::SetFixedSize);
    Connect();
}

void TPntProperty::BuildKinds()
{
    GBFigure = MakeGroup("GBFigure", QStringLiteral("Figura"), this);
    auto* grid = new QGridLayout(GBFigure);
    grid->setContentsMargins(4, 2, 4, 2);
    const std::array<std::pair<const char*, const char16_t*>, 7> kinds{{
        {"RBPoint", u"Ponto"},
        {"RBcircle", u"Círculo"},
        {"RBHline", u"Reta Horizontal"},
        {"RBVline", u"Reta Vertical"},
        {"RBPolor", u"Equação Polar"},
        {"RBLocus", u"Curva Parametrizada"},
        {"rbSequence", u"Sequência de Pontos"},
    }};
    for (int k = 1; k <= 7; ++k) {
        const QString caption = QString::fromUtf16(kinds[k - 1].second);
        auto* button = Named(new QRadioButton(caption, GBFigure), kinds[k - 1].first);
        button->setToolTip(caption);
        KindButtons[k] = button;
        // Points and lines in the first column, curves in the second.
        const bool curve = IsCurveKind(k);
        grid->addWidget(button, curve ? k - ObjectPolar : k - 1, curve ? 1 : 0);
    }
    RBPoint = KindButtons[1];
    RBcircle = KindButtons[2];
    RBHline = KindButtons[3];
    RBVline = KindButtons[4];
    RBPolor = KindButtons[5];
    RBLocus = KindButtons[6];
    rbSequence = KindButtons[7];
}

void TPntProperty::BuildFormulas()
{
    GBPoint = MakeGroup("GBPoint", QStringLiteral("Ponto"), this);
    auto* grid = new QGridLayout(GBPoint);
    grid->setContentsMargins(4, 2, 4, 2);
    const QString coordinates = QStringLiteral("editar Coordenadas");
    lblV = Named(new QLabel(GBPoint), "lblV");
    IMGV = MakePicture("IMGV", QStringLiteral("editar figura"), GBPoint);
    lblX = Named(new QLabel(QStringLiteral("x ="), GBPoint), "lblX");
    ImgX = MakePicture("ImgX", coordinates, GBPoint);
    lblY = Named(new QLabel(QStringLiteral("y ="), GBPoint), "lblY");
    imgY = MakePicture("imgY", coordinates, GBPoint);
    CBVector = MakeCheck(GBPoint, "CBVector", QStringLiteral("Usar Vetores"));
    CBDrag = MakeCheck(GBPoint, "CBDrag", QStringLiteral("Arrastável"));
    CBPAI = MakeCheck(GBPoint, "CBPAI", QStringLiteral("Traço"));
    grid->addWidget(lblV, 0, 0);
    grid->addWidget(IMGV, 0, 1, 1, 3);
    grid->addWidget(lblX, 1, 0);
    grid->addWidget(ImgX, 1, 1, 1, 3);
    grid->addWidget(lblY, 2, 0);
    grid->addWidget(imgY, 2, 1, 1, 3);
    grid->addWidget(CBVector, 3, 1);
    grid->addWidget(CBDrag, 3, 2);
    grid->addWidget(CBPAI, 3, 3);
    for (int col = 1; col <= 3; ++col)
        grid->setColumnStretch(col, 1);

    GBCircle = MakeGroup("GBCircle", QStringLiteral("Círculo"), this);
    auto* circle = new QGridLayout(GBCircle);
    circle->setContentsMargins(4, 2, 4, 2);
    lblR = Named(new QLabel(QStringLiteral("Raio"), GBCircle), "lblR");
    ImgR = MakePicture("ImgR", coordinates, GBCircle);
    CBRAI = MakeCheck(GBCircle, "CBRAI", QStringLiteral("Traço"));
    circle->addWidget(lblR, 0, 0);
    circle->addWidget(ImgR, 0, 1);
    circle->addWidget(CBRAI, 1, 1);
    circle->setColumnStretch(1, 1);
}

void TPntProperty::BuildCurve()
{
    GBCurve = MakeGroup("GBCurve", QStringLiteral("Curva"), this);
    auto* curve = new QVBoxLayout(GBCurve);
    curve->setContentsMargins(4, 2, 4, 2);

    GBInterval = MakeGroup("GBInterval", QStringLiteral("Intervalo"), GBCurve);
    auto* interval = new QHBoxLayout(GBInterval);
    interval->setContentsMargins(4, 2, 4, 2);
    ImgLow = MakePicture("ImgLow", {}, GBInterval);
    ImgHigh = MakePicture("ImgHigh", {}, GBInterval);
    PopupLow = Named(new QMenu(this), "PopupLow");
    PopupHigh = Named(new QMenu(this), "PopupHigh");
    for (TFormulaPicture* p : {ImgLow, ImgHigh}) {
        p->setMinimumWidth(70);
        p->setContextMenuPolicy(Qt::CustomContextMenu);
    }
    stPrmchar = Named(new QToolButton(GBInterval), "stPrmchar");
    stPrmchar->setFont(QFont(QStringLiteral("Times New Roman"), 12));
    stPrmchar->setAutoRaise(true);
    stPrmchar->installEventFilter(this);
    interval->addWidget(ImgLow, 1);
    interval->addWidget(Named(new QLabel(QStringLiteral("≤"), GBInterval), "lblLow"));
    interval->addWidget(stPrmchar);
    interval->addWidget(Named(new QLabel(QStringLiteral("≤"), GBInterval), "lblHigh"));
    interval->addWidget(ImgHigh, 1);
    curve->addWidget(GBInterval);

    GBStep = MakeGroup("GBStep", QStringLiteral("Incremento"), GBCurve);
    auto* step = new QHBoxLayout(GBStep);
    step->setContentsMargins(4, 2, 4, 2);
    edPrmD = Named(new QLineEdit(GBStep), "edPrmD");
    edPrmD->installEventFilter(this);
    sbPrmDup = Named(new QToolButton(GBStep), "sbPrmDup");
    sbPrmDup->setArrowType(Qt::UpArrow);
    sbPrmDDwn = Named(new QToolButton(GBStep), "sbPrmDDwn");
    sbPrmDDwn->setArrowType(Qt::DownArrow);
    cbSync = MakeCheck(GBStep, "cbSync", QStringLiteral("Sincronizar"));
    cbSync->setToolTip(QStringLiteral("sincronizada com gloval parâmetro"));
    CBLAI = MakeCheck(GBStep, "CBLAI", QStringLiteral("Traço"));
    step->addWidget(edPrmD, 1);
    step->addWidget(sbPrmDup);
    step->addWidget(sbPrmDDwn);
    step->addWidget(cbSync);
    step->addWidget(CBLAI);
    curve->addWidget(GBStep);
}

void TPntProperty::BuildStyles()
{
    GBStyle = MakeGroup("GBStyle", {}, this);
    auto* row = new QHBoxLayout(GBStyle);
    row->setContentsMargins(2, 2, 2, 2);
    auto* styles = new QWidget(GBStyle);
    auto* grid = new QGridLayout(styles);
    grid->setContentsMargins(2, 0, 2, 0);
    grid->setHorizontalSpacing(4);
    SBPcolor = new TStyleButton("SBPcolor", styles);
    SBWidth = new TStyleButton("SBWidth", styles);
    SBPstyle = new TStyleButton("SBPstyle", styles);
    SBRcolor = new TStyleButton("SBRcolor", styles);
    SBRWidth = new TStyleButton("SBRWidth", styles);
    sbLstyle = new TStyleButton("sbLstyle", styles);
    SBIcolor = new TStyleButton("SBIcolor", styles);
    SBPtn = new TStyleButton("SBPtn", styles);
    SBFtype = new TStyleButton("SBFtype", styles);
    const std::array<std::pair<const char16_t*, TStyleButton*>, 9> buttons{{
        {u"Côr", SBPcolor},
        {u"Gross", SBWidth},
        {u"Estilo", SBPstyle},
        {u"Côr", SBRcolor},
        {u"Largura", SBRWidth},
        {u"Estilo", sbLstyle},
        {u"Dentro", SBIcolor},
        {u"", SBPtn},
        {u"", SBFtype},
    }};
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
        AddStyle(grid, i, QString::fromUtf16(buttons[i].first), buttons[i].second);
    row->addWidget(styles);

    GBLocus = MakeGroup("GBLocus", QStringLiteral("Lugar Geométrico"), GBStyle);
    auto* locus = new QHBoxLayout(GBLocus);
    locus->setContentsMargins(4, 0, 4, 2);
    SBLocus = new TStyleButton("SBLocus", GBLocus);
    locus->addWidget(SBLocus);
    row->addWidget(GBLocus);
    row->addStretch(1);

    SBPcolor->BindColor(&copy_.ColorNo1);
    SBWidth->BindByte(TStyleFamily::Width, &copy_.Width);
    SBPstyle->BindByte(TStyleFamily::PointStyle, &copy_.PointStyle);
    SBRcolor->BindColor(&copy_.RColorNo1);
    SBRWidth->BindByte(TStyleFamily::Width, &copy_.RWidth);
    sbLstyle->BindByte(TStyleFamily::LineStyle, &copy_.LineStyle);
    SBIcolor->BindColor(&copy_.InsideColor);
    SBPtn->BindByte(TStyleFamily::Pattern, &copy_.Pattern);
    SBFtype->BindByte(TStyleFamily::FigureType, &copy_.FigType);
    // Bound again by kind: only points and lines may leave no locus.
    SBLocus->BindByte(TStyleFamily::Width, &copy_.LocusWidth);
}

void TPntProperty::BuildLabel()
{
    GBLabel = MakeGroup("GBLabel", QStringLiteral("Rótulo"), this);
    auto* row = new QHBoxLayout(GBLabel);
    row->setContentsMargins(4, 2, 4, 2);
    Edit1 = Named(new QComboBox(GBLabel), "Edit1");
    Edit1->setEditable(true);
    Edit1->setInsertPolicy(QComboBox::NoInsert);
    Edit1->setMinimumWidth(150);
    AttachMarkupMenu(Edit1);
    row->addWidget(Edit1, 1);
    auto* positions = new QGridLayout;
    positions->setSpacing(0);
    for (int i = 1; i <= LabelPositions; ++i) {
        auto* button = new QToolButton(GBLabel);
        button->setObjectName(QStringLiteral("SBLB%1").arg(i));
        button->setToolTip(QStringLiteral("Posição do rótulo"));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        button->setFixedSize(12, 12);
        LabelPosButtons[i] = button;
        positions->addWidget(button, LabelCells[i].first, LabelCells[i].second);
        connect(button, &QToolButton::clicked, this, [this, i] { copy_.LabelPos = static_cast<std::uint8_t>(i); });
    }
    row->addLayout(positions);
}

void TPntProperty::BuildButtons()
{
    const TOkPanel ok = BuildOkPanel();
    PanelOk = ok.PanelOk;
    BtnOK = ok.BtnOK;
    btnDelete = ok.btnDelete;
    btncancel = ok.btncancel;
}

void TPntProperty::Connect()
{
    for (int k = 1; k <= 7; ++k)
        connect(KindButtons[k], &QRadioButton::clicked, this, [this, k] { SetKind(k); });
    ImgX->Clicked = [this] { EditX(); };
    imgY->Clicked = [this] { EditY(); };
    ImgR->Clicked = [this] { EditR(); };
    IMGV->Clicked = [this] { EditVector(); };
    ImgLow->Clicked = [this] { EditLow(); };
    ImgHigh->Clicked = [this] { EditHigh(); };
    for (bool high : {false, true}) {
        TFormulaPicture* picture = high ? ImgHigh : ImgLow;
        QMenu* menu = high ? PopupHigh : PopupLow;
        for (const QString& text : high ? HighChoices() : LowChoices())
            menu->addAction(text, this, [this, high, text] { SetIntervalText(high, text); });
        connect(picture, &QWidget::customContextMenuRequested, this,
                [picture, menu](QPoint at) { menu->popup(picture->mapToGlobal(at)); });
    }
    connect(CBVector, &QCheckBox::clicked, this, [this](bool on) { VectorClick(on); });
    connect(CBDrag, &QCheckBox::toggled, this, [this](bool on) { copy_.Draggable = on ? 1 : 0; });
    connect(CBPAI, &QCheckBox::toggled, this, [this](bool on) { copy_.PointAImg = on ? 1 : 0; });
    connect(CBRAI, &QCheckBox::toggled, this, [this](bool on) { copy_.RAImg = on ? 1 : 0; });
    connect(sbPrmDup, &QToolButton::clicked, this, [this] { StepParamStep(StepUp); });
    connect(sbPrmDDwn, &QToolButton::clicked, this, [this] { StepParamStep(StepDown); });
    connect(edPrmD, &QLineEdit::editingFinished, this, [this] { ReadStep(); });
    connect(stPrmchar, &QToolButton::clicked, this, [this] { OpenLetterPanel(); });
    connect(Edit1, &QComboBox::activated, this, [this](int index) { LabelChosen(index); });
    connect(Edit1, &QComboBox::editTextChanged, this, [this](const QString& text) { copy_.Label = text; });
    connect(btnDelete, &QPushButton::clicked, this, [this] { BtnDeleteClick(); });
    for (TStyleButton* b : StyleButtons())
        b->Chosen = [this] { FormActivate(); };
    for (QWidget* w : std::initializer_list<QWidget*>{GBFigure, GBPoint, GBCircle, GBCurve, GBStyle, GBLabel})
        FocusOnHover(w);
}

bool TPntProperty::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == stPrmchar) {
        // Not the dialog's focus-on-hover: taking the focus would hide the palette.
        if (event->type() == QEvent::Enter)
            OpenLetterPanel();
        return false;
    }
    if (watched == edPrmD && event->type() == QEvent::MouseButtonDblClick) {
        ReadStep();
        if (Forms.CalcForm)
            Forms.CalcForm->EditValueField(QStringLiteral("Incremento"), font(), panelColor_, edPrmD, copy_.ParamStep);
        edPrmD->setText(ParamStepText(copy_.ParamStep));
        return true;
    }
    return TPropertyDialog::eventFilter(watched, event);
}

void TPntProperty::LoadObject(int n, int flags)
{
    slot_ = n;
    copy_ = DocumentTables.Points[n];
    letter_ = PointLetter(n);
    const bool isNew = copy_.Kind == ObjectEmpty;
    if (isNew) {
        const TDefaultFigure& style = ProgramState.DefaultFigureStyle;
        copy_.ColorNo1 = style.ColorNo1;
        copy_.RColorNo1 = style.RColorNo1;
        copy_.Width = static_cast<std::uint8_t>(style.Width);
        copy_.RWidth = static_cast<std::uint8_t>(style.RWidth);
        copy_.LineStyle = static_cast<std::uint8_t>(style.LineStyle);
        copy_.Dimension = static_cast<std::uint8_t>(style.Dimension);
        copy_.Low.Text = QStringLiteral("0");
        copy_.High.Text = QStringLiteral("1");
        PrepareExpression(copy_.Low, ModePlain);
        PrepareExpression(copy_.High, ModePlain);
        copy_.Kind = (flags & 1) ? ObjectPoint : ObjectParametric;
    } else if (IsCurveKind(copy_.Kind) && copy_.LocusWidth == 0) {
        // A stored curve keeps its drawing width in RWidth; the dialog edits
        // it as the locus width.
        copy_.LocusWidth = copy_.RWidth;
    }
    lblV->setText(QStringLiteral(" ") + letter_ + QStringLiteral(" ="));
    setWindowTitle(QStringLiteral("Figura ") + letter_ + QStringLiteral(" Propriedades"));
    for (int k = 1; k <= 7; ++k)
        KindButtons[k]->setEnabled((flags & (IsCurveKind(k) ? 2 : 1)) != 0);
    const bool curvePanel = IsCurveKind(copy_.Kind) || (flags & 2) != 0;
    panelColor_ = DataPanelColor(curvePanel ? "panelCrv" : "panelPnt");
    PaintPanels({GBFigure, GBPoint, GBCircle, GBCurve, GBStyle, GBLabel}, panelColor_);
    if (!IsCurveKind(copy_.Kind))
        copy_.Sync = 0;
    // The origin's vector picture is disabled: it is edited as x and y.
    const bool vector = n != PointCount && (copy_.Dimension == 2 || Options.VectorOn != 0);
    {
        const QSignalBlocker block(CBVector);
        CBVector->setChecked(vector);
    }
    if (n == PointCount) {
        // The origin O is a point or a circle only, fixed and always there.
        for (int k = ObjectHorizontalLine; k <= ObjectSequence; ++k)
            KindButtons[k]->setEnabled(false);
        for (QWidget* w : std::initializer_list<QWidget*>{IMGV, CBVector, CBDrag, CBPAI, SBLocus, btnDelete})
            w->setEnabled(false);
    }
    CloseCalculator();
    SetKind(copy_.Kind);
    show();
}

std::array<TStyleButton*, 10> TPntProperty::StyleButtons() const
{
    return {SBPcolor, SBWidth, SBPstyle, SBRcolor, SBRWidth, sbLstyle, SBIcolor, SBPtn, SBFtype, SBLocus};
}

bool TPntProperty::IsCurve() const
{
    return IsCurveKind(copy_.Kind);
}

void TPntProperty::SetKind(int kind)
{
    if (kind < ObjectPoint || kind > ObjectSequence)
        kind = ObjectPoint;
    copy_.Kind = static_cast<std::uint8_t>(kind);
    const TKindFields& fields = KindFields[kind];
    GBPoint->setTitle(QString::fromUtf16(fields.Caption));
    lblR->setText(kind == ObjectPolar ? QStringLiteral("Equação Polar") : QStringLiteral("Raio"));
    {
        const QSignalBlocker block(KindButtons[kind]);
        KindButtons[kind]->setChecked(true);
    }
    if (IsCurveKind(kind) && copy_.LocusWidth == 0)
        copy_.LocusWidth = 2;
    copy_.Dimension = HasBothCoordinates(kind) && CBVector->isChecked() ? 2 : 1;
    SBLocus->BindByte(IsCurveKind(kind) ? TStyleFamily::Width : TStyleFamily::WidthOrNone, &copy_.LocusWidth);
    for (TStyleButton* b : StyleButtons())
        b->ShowGlyph();
    ShowLabelTemplates();
    ShowFields();
}

void TPntProperty::ShowFields()
{
    const int kind = copy_.Kind;
    const TKindFields& fields = KindFields[kind];
    const bool vector = copy_.Dimension == 2 && HasBothCoordinates(kind);
    GBPoint->setVisible(fields.X || fields.Y);
    lblV->setVisible(vector);
    IMGV->setVisible(vector);
    lblX->setVisible(fields.X && !vector);
    ImgX->setVisible(fields.X && !vector);
    lblY->setVisible(fields.Y && !vector);
    imgY->setVisible(fields.Y && !vector);
    CBVector->setVisible(HasBothCoordinates(kind));
    CBDrag->setVisible(kind != ObjectSequence);
    GBCircle->setVisible(fields.R);
    CBRAI->setVisible(kind == ObjectCircle);
    GBCurve->setVisible(IsCurveKind(kind));

    const int size = RowMetrics.RowSize;
    if (vector) {
        JoinPointTexts(copy_, PointTextDirection::Join);
        PrepareExpression(copy_.Pos, slot_);
        IMGV->ShowFormula(copy_.Pos.NormText, size);
    }
    ImgX->ShowFormula(copy_.X.NormText, size);
    imgY->ShowFormula(copy_.Y.NormText, size);
    ImgR->ShowFormula(copy_.R.NormText, size);
    ImgLow->ShowFormula(copy_.Low.NormText, size);
    ImgHigh->ShowFormula(copy_.High.NormText, size);

    edPrmD->setText(ParamStepText(copy_.ParamStep));
    stPrmchar->setText(TFmSetColor::ParamCharCaption(QChar(copy_.ParamChar)));
    const QSignalBlocker b1(CBDrag), b2(CBPAI), b3(CBRAI), b4(CBLAI), b5(cbSync);
    CBDrag->setChecked(copy_.Draggable != 0);
    CBPAI->setChecked(copy_.PointAImg != 0);
    CBRAI->setChecked(copy_.RAImg != 0);
    CBLAI->setChecked(copy_.RAImg != 0);
    cbSync->setChecked(copy_.Sync != 0);
    {
        const QSignalBlocker block(Edit1);
        Edit1->setEditText(copy_.Label);
    }
    if (copy_.LabelPos >= 1 && copy_.LabelPos <= LabelPositions)
        LabelPosButtons[copy_.LabelPos]->setChecked(true);
    FormActivate();
}

void TPntProperty::FormActivate()
{
    const bool pattern = !SameColor(copy_.InsideColor, ColorScheme.ColorPalette[0]);
    SBPtn->setVisible(pattern);
    SBFtype->setVisible(pattern && IsCurve());
    for (TStyleButton* b : {SBPtn, SBFtype})
        b->ShowGlyph();
}

void TPntProperty::ShowLabelTemplates()
{
    const QSignalBlocker block(Edit1);
    Edit1->clear();
    Edit1->addItems(LabelTemplates(copy_.Kind, letter_));
    Edit1->setEditText(copy_.Label);
}

void TPntProperty::LabelChosen(int index)
{
    copy_.Label = Edit1->itemText(index);
    if (copy_.LabelPos == 0)
        SetLabelPos(1);
}

void TPntProperty::SetLabelPos(int position)
{
    copy_.LabelPos = static_cast<std::uint8_t>(position);
    LabelPosButtons[position]->setChecked(true);
}

void TPntProperty::EditFormula(TKavirofunction& record, QWidget* picture, const QString& caption, int mode)
{
    ::EditFormula(caption, lblV->font(), picture, panelColor_, mode, record);
}

void TPntProperty::EditX()
{
    EditFormula(copy_.X, ImgX, QStringLiteral("x ="), slot_);
    ShowFields();
}

void TPntProperty::EditY()
{
    EditFormula(copy_.Y, imgY, QStringLiteral("y ="), slot_);
    ShowFields();
}

void TPntProperty::EditR()
{
    EditFormula(copy_.R, ImgR, lblR->text() + QStringLiteral(" ="), slot_);
    ShowFields();
}

void TPntProperty::EditVector()
{
    JoinPointTexts(copy_, PointTextDirection::Join);
    EditFormula(copy_.Pos, IMGV, lblV->text(), slot_);
    // The two coordinates always follow the vector, so OK and the other
    // kinds see them.
    JoinPointTexts(copy_, PointTextDirection::Split);
    PrepareExpression(copy_.X, slot_);
    PrepareExpression(copy_.Y, slot_);
    ShowFields();
}

void TPntProperty::EditLow()
{
    EditFormula(copy_.Low, ImgLow, QStringLiteral("Low"), ModePlain);
    ShowFields();
}

void TPntProperty::EditHigh()
{
    EditFormula(copy_.High, ImgHigh, QStringLiteral("High"), ModePlain);
    ShowFields();
}

const QStringList& TPntProperty::HighChoices()
{
    static const QStringList choices{QStringLiteral("1"),  QStringLiteral("5"),   QStringLiteral("Pi"),
                                     QStringLiteral("2Pi"), QStringLiteral("180"), QStringLiteral("360")};
    return choices;
}

const QStringList& TPntProperty::LowChoices()
{
    static const QStringList choices{QStringLiteral("1"),  QStringLiteral("0"),   QStringLiteral("-1"),
                                     QStringLiteral("-5"), QStringLiteral("-Pi"), QStringLiteral("-180")};
    return choices;
}

void TPntProperty::SetIntervalText(bool high, const QString& text)
{
    TKavirofunction& bound = high ? copy_.High : copy_.Low;
    bound.Text = text;
    PrepareExpression(bound, ModePlain);
    ShowFields();
}

void TPntProperty::VectorClick(bool on)
{
    copy_.Dimension = on ? 2 : 1;
    if (on) {
        JoinPointTexts(copy_, PointTextDirection::Join);
        PrepareExpression(copy_.Pos, slot_);
    } else {
        JoinPointTexts(copy_, PointTextDirection::Split);
        PrepareExpression(copy_.X, slot_);
        PrepareExpression(copy_.Y, slot_);
    }
    ShowFields();
}

bool TPntProperty::ReadStep()
{
    QString text = edPrmD->text();
    long double step = copy_.ParamStep;
    const bool read = ParseNumberText(text, step, false);
    if (read)
        copy_.ParamStep = step;
    return read;
}

void TPntProperty::StepParamStep(int direction)
{
    ReadStep();
    copy_.ParamStep = NextStepFactor(copy_.ParamStep, direction);
    edPrmD->setText(ParamStepText(copy_.ParamStep));
}

void TPntProperty::OpenLetterPanel()
{
    TFmSetColor* palette = Forms.FmSetColor;
    if (!palette || !stPrmchar->isEnabled())
        return;
    palette->ShowParamCharPanel(stPrmchar);
    QPointer<TPntProperty> self(this);
    palette->OnChosen = [self] {
        if (self)
            self->copy_.ParamChar = self->ShownParamChar();
    };
}

char16_t TPntProperty::ShownParamChar() const
{
    return TFmSetColor::ParamCharOfCaption(stPrmchar->text()).unicode();
}

void TPntProperty::BtnDeleteClick()
{
    copy_ = DefaultPoint;
    copy_.Label = QString(letter_);
    // No kind: OK removes the object.
    for (QRadioButton* b : KindButtons)
        if (b) {
            b->setAutoExclusive(false);
            b->setChecked(false);
            b->setAutoExclusive(true);
        }
    for (QWidget* w : std::initializer_list<QWidget*>{GBPoint, GBCircle, GBCurve})
        w->hide();
}

namespace {

// The kind's fixed formulas filled in, the point text joined and every
// formula compiled; false, with the message shown, when one the kind needs
// does not compile.
bool CompileKindFormulas(TPointFunction& c, int n)
{
    const int kind = c.Kind;
    if (kind == ObjectPolar) {
        c.X.Text = QStringLiteral("r cos@");
        c.Y.Text = QStringLiteral("r sin@");
    } else if ((kind == ObjectHorizontalLine || kind == ObjectVerticalLine) && c.R.Text.trimmed().isEmpty()) {
        c.R.Text = QStringLiteral("0");
    }
    JoinPointTexts(c, PointTextDirection::Join);
    for (TKavirofunction* f : {&c.X, &c.Y, &c.R, &c.Pos})
        PrepareExpression(*f, n);
    const TKindFields& fields = KindFields[kind];
    if ((fields.X && c.X.Code.isEmpty()) || (fields.Y && c.Y.Code.isEmpty()) || (fields.R && c.R.Code.isEmpty())) {
        ShowMsgBox(QStringLiteral("Inserção não está terminada."), MsgError, MsgOk);
        return false;
    }
    return true;
}

} // namespace

bool TPntProperty::TakeCurveSettings(TPointFunction& c)
{
    c.ParamChar = ShownParamChar();
    const int j = PrmIndex(QStringView(&c.ParamChar, 1));
    const TTokenCode token = j >= 1 ? Vocabulary.ParamTokens[j] : 0;
    if (c.Kind != ObjectPolar && (token == 0 || !(RefersToToken(token, c.X) || RefersToToken(token, c.Y)))) {
        ShowMsgBox(QStringLiteral("Parâmetro Inválido"), MsgWarning, MsgOk);
        return false;
    }
    c.RAImg = CBLAI->isChecked() ? 1 : 0;
    c.RWidth = c.LocusWidth;
    c.LocusWidth = 0;
    if (c.RAImg && token != 0 && (RefersToToken(token, c.High) || RefersToToken(token, c.Low))) {
        ShowMsgBox(QStringLiteral("Se o parâmetro da curva é usado na definição do intervalo,\r"
                                  " o traço da curva não pode ser acompanhado."),
                   MsgWarning, MsgOk);
        c.RAImg = 0;
    }
    c.Sync = cbSync->isChecked() ? 1 : 0;
    if (c.Sync && j >= 1)
        SetParameterStep(j, c.ParamStep);
    return true;
}

bool TPntProperty::CompleteCopy()
{
    TPointFunction& c = copy_;
    const int kind = c.Kind;
    if (!CompileKindFormulas(c, slot_))
        return false;
    // A curve needs its interval and a step that advances it.
    if (IsCurveKind(kind)
        && (c.Low.Text.trimmed().isEmpty() || c.High.Text.trimmed().isEmpty() || !ReadStep()
            || c.ParamStep == 0.0L)) {
        ShowMsgBox(QStringLiteral("Parâmetro inválido"), MsgWarning, MsgOk);
        return false;
    }
    if (CheckCircularityAs(slot_, c))
        return false;
    // A sequence is never dragged nor filled.
    if (kind == ObjectSequence) {
        c.Draggable = 0;
        c.InsideColor = ColorWhite;
    }
    if (IsCurveKind(kind))
        return TakeCurveSettings(c);
    if (kind != ObjectPoint)
        c.LocusWidth = 0;
    else
        c.LineStyle = 1;
    c.Sync = 0;
    return true;
}

void TPntProperty::BtnOkClick()
{
    const TPointFunction& c = copy_;
    const int n = slot_;
    const int kind = c.Kind;
    if (kind != ObjectEmpty && !CompleteCopy())
        return;
    // Stored, with the undo point of the old record.
    hide();
    SetPnt(n, c);
    SetVectorEntry(CBVector->isChecked());
    if (kind != ObjectEmpty)
        ProgramState.DefaultFigureStyle = {c.ColorNo1, c.RColorNo1, c.Width, c.RWidth, c.LineStyle, c.Dimension};
    close();
}
