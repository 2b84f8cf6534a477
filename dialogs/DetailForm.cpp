#include "dialogs/DetailForm.h"

#include "dialogs/CalcForm.h"
#include "dialogs/FormLook.h"
#include "dialogs/HintSetting.h"
#include "dialogs/NamedWidgets.h"
#include "dialogs/PermanentForms.h"

#include "model/MessageBox.h"
#include "model/NumberText.h"
#include "model/Options.h"
#include "platform/ModalRunner.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <numbers>
#include <optional>

namespace {

// Where the dialog was left and on which page, for its next opening.
std::optional<QPoint> DetailFormPos;
int DetailFormPage = 0;

// The controls of one axis on the scale page.
struct TAxisControlNames {
    bool IsX;
    const char *Box, *Axes, *Scale, *Value, *Grid, *Base, *Name;
};
constexpr TAxisControlNames AxisControls[] = {
    {true, "GBoxX", "CheckXAxes", "CheckXScale", "CheckXValue", "cbXscale", "EditX", "EditLx"},
    {false, "GBoxY", "CheckYAxes", "CheckYScale", "CheckYValue", "cbYScale", "Edity", "EditLy"},
};

const QString DegreeInComplexMode = QStringLiteral("\"Grau\" não pode ser usado no ModoComplexo");

QWidget* AddPage(QTabWidget* tabs, const char* name, const QString& caption)
{
    auto* page = new QWidget(tabs);
    page->setObjectName(QString::fromLatin1(name));
    tabs->addTab(page, caption);
    return page;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, int width = 80)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFixedWidth(width);
    return edit;
}

QComboBox* MakeCombo(QWidget* parent, const char* name, const QStringList& items, int width = 90)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setFixedWidth(width);
    return combo;
}

QGroupBox* MakeGroupBox(QWidget* parent, const char* name, const QString& caption)
{
    auto* box = new QGroupBox(caption, parent);
    if (name)
        box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A glyph of the axis line: an arrow head or none, 1..3 pixels wide.
QIcon AxisLineGlyph(int style, int width)
{
    QPixmap pixmap(28, 14);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, width));
    p.drawLine(2, 7, 25, 7);
    if (style == 0) {
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(25, 7, 20, 3);
        p.drawLine(25, 7, 20, 11);
    }
    return QIcon(pixmap);
}

// A glyph of a grid style (PsMesh): lines, crosses, dots or dark lines.
QIcon MeshGlyph(int mesh)
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    const QColor grey(0x80, 0x80, 0x80);
    for (int i = 2; i < 20; i += 6) {
        switch (mesh) {
        case 0:
            p.setPen(grey);
            p.drawLine(i, 0, i, 19);
            p.drawLine(0, i, 19, i);
            break;
        case 1:
            p.setPen(grey);
            for (int j = 2; j < 20; j += 6) {
                p.drawLine(i - 1, j, i + 1, j);
                p.drawLine(i, j - 1, i, j + 1);
            }
            break;
        case 2:
            p.setPen(QPen(grey, 1, Qt::DotLine));
            p.drawLine(i, 0, i, 19);
            p.drawLine(0, i, 19, i);
            break;
        default:
            p.setPen(Qt::black);
            p.drawLine(i, 0, i, 19);
            p.drawLine(0, i, 19, i);
            break;
        }
    }
    return QIcon(pixmap);
}

// A line end: round or flat.
QIcon BorderGlyph(bool round)
{
    QPixmap pixmap(28, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 8, Qt::SolidLine, round ? Qt::RoundCap : Qt::FlatCap));
    p.drawLine(7, 8, 21, 8);
    return QIcon(pixmap);
}

// The trace colour of setting n: a mid blue faded as a trace would be.
QIcon FadeGlyph(int n)
{
    QPixmap pixmap(16, 16);
    const int fade = 40 * (4 - n);
    pixmap.fill(QColor(fade, fade, 0xFF));
    return QIcon(pixmap);
}

// Presses the button of that id in its group, or none when none has it.
void CheckId(QButtonGroup* group, int id)
{
    const bool exclusive = group->exclusive();
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(exclusive);
}

} // namespace

// ----------------------------------------------------------------- building

TDetailForm::TDetailForm(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DetailForm"));
    setWindowTitle(QStringLiteral("Opções"));
    setFont(FormFont());

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    BuildRegularSheet();
    BuildAreaSheet();
    BuildScaleSheet();
    BuildGraphSheet();
    BuildFuncSheet();
    BuildFontSheet();
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int index) {
        const QString page = PageControl->widget(index)->objectName();
        ReadControls();
        if (page == u"ScaleSheet")
            UpdateDegreeBox();
        else if (page == u"FuncSheet")
            ShowInputs();
    });

    btnOK = MakeButton(this, "btnOK", QStringLiteral("&O K"));
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("&Cancelar"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, [this] { BtnOkClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { reject(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(buttons);
}

// Exclusive buttons of one choice, each with its value as id.
struct TOptionChoice {
    const char* Name;
    int Id;
    QString Caption;
    QString Hint = {};
    QIcon Icon = {};
};

static void AddChoiceButtons(QButtonGroup* group, QWidget* parent, std::initializer_list<TOptionChoice> choices,
                             QBoxLayout* into)
{
    for (const TOptionChoice& c : choices) {
        auto* button = new QToolButton(parent);
        button->setObjectName(QString::fromLatin1(c.Name));
        button->setCheckable(true);
        button->setText(c.Caption);
        button->setToolTip(c.Hint);
        if (!c.Icon.isNull()) {
            button->setIcon(c.Icon);
            button->setToolButtonStyle(c.Caption.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
        }
        group->addButton(button, c.Id);
        into->addWidget(button);
    }
}

QButtonGroup* TDetailForm::MakeChoices(QWidget* parent, const char* groupName, std::initializer_list<TOptionChoice> choices,
                                       QBoxLayout* into)
{
    auto* group = new QButtonGroup(parent);
    group->setObjectName(QString::fromLatin1(groupName));
    group->setExclusive(true);
    AddChoiceButtons(group, parent, choices, into);
    groups_.insert(QString::fromLatin1(groupName), group);
    return group;
}

// A titled frame in the page's column holding one row of buttons.
static QHBoxLayout* AddButtonRow(QWidget* page, QBoxLayout* column, const QString& caption)
{
    QGroupBox* box = MakeGroupBox(page, nullptr, caption);
    auto* row = new QHBoxLayout(box);
    column->addWidget(box);
    return row;
}

QPushButton* TDetailForm::MakeDefaultsButton(QWidget* page, const char* name, void (*reset)(TOptionInputs&))
{
    QPushButton* button = MakeButton(page, name, QStringLiteral("Iniciar"));
    connect(button, &QPushButton::clicked, this, [this, reset] {
        ReadControls();
        reset(Inputs);
        ShowInputs();
    });
    return button;
}

void TDetailForm::BuildRegularSheet()
{
    QWidget* page = AddPage(PageControl, "RegularSheet", QStringLiteral("Geral"));
    auto* layout = new QGridLayout(page);
    const auto label = [page](const QString& text) { return new QLabel(text, page); };
    layout->addWidget(label(QStringLiteral("Padrão de Escalas")), 0, 0, 1, 2);
    layout->addWidget(label(QStringLiteral("Radiano")), 1, 0);
    layout->addWidget(label(QStringLiteral("Grau")), 1, 1);
    auto* radian = new QVBoxLayout;
    auto* degree = new QVBoxLayout;
    auto* polar = new QVBoxLayout;
    QButtonGroup* presets = MakeChoices(page, "Presets",
                                        {{"SB1", int(TOptionsPreset::Radian), QStringLiteral("-5 .. 5")},
                                         {"SB2", int(TOptionsPreset::RadianPi), QStringLiteral("-4 .. 4  π/2")}},
                                        radian);
    AddChoiceButtons(presets, page,
                     {{"sb4", int(TOptionsPreset::Degree), QStringLiteral("-5 .. 5")},
                      {"SB3", int(TOptionsPreset::DegreeTurn), QStringLiteral("-100 .. 380  90°")}},
                     degree);
    AddChoiceButtons(presets, page, {{"SBPolor", int(TOptionsPreset::Polar), QStringLiteral("r, θ")}}, polar);
    layout->addLayout(radian, 2, 0);
    layout->addLayout(degree, 2, 1);
    layout->addWidget(label(QStringLiteral("Escalas em C. Polares")), 3, 0, 1, 2);
    layout->addLayout(polar, 4, 0);
    layout->setRowStretch(5, 1);
    connect(presets, &QButtonGroup::idClicked, this, [this](int id) { ChoosePreset(static_cast<TOptionsPreset>(id)); });
}

void TDetailForm::BuildAreaSheet()
{
    QWidget* page = AddPage(PageControl, "AreaSheet", QStringLiteral("Área"));
    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Larg."), page), 0, 0);
    layout->addWidget(MakeEdit(page, "Edit3", 60), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Altura"), page), 0, 2);
    layout->addWidget(MakeEdit(page, "Edit4", 60), 0, 3);
    layout->addWidget(new QLabel(QStringLiteral("pixels"), page), 0, 4);
    layout->addWidget(new QLabel(QStringLiteral("x"), page), 1, 0);
    layout->addWidget(MakeEdit(page, "xEdit1", 110), 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("~"), page), 1, 2);
    layout->addWidget(MakeEdit(page, "Xedit2", 110), 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("y"), page), 2, 0);
    layout->addWidget(MakeEdit(page, "Yedit1", 110), 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("~"), page), 2, 2);
    layout->addWidget(MakeEdit(page, "Yedit2", 110), 2, 3);
    layout->addWidget(MakeCheck(page, "cbArea", QStringLiteral("Ajustar com Janela")), 3, 0, 1, 5);
    layout->addWidget(MakeCheck(page, "cbRectOn", QStringLiteral("Ajustar Graduação")), 4, 0, 1, 5);
    layout->addWidget(
        MakeCheck(page, "cbScreensize", QStringLiteral("Ao abrir o arquivo lê-se também o tamanho da tela")), 5, 0, 1, 5);
    QPushButton* init = MakeDefaultsButton(page, "btnInit1", ResetAreaPage);
    layout->addWidget(init, 6, 4);
    layout->setRowStretch(7, 1);
    for (const char* name : {"xEdit1", "Xedit2", "Yedit1", "Yedit2"})
        Control<QLineEdit>(name)->installEventFilter(this);
}

void TDetailForm::BuildScaleSheet()
{
    QWidget* page = AddPage(PageControl, "ScaleSheet", QStringLiteral("Escala"));
    auto* layout = new QVBoxLayout(page);
    const QChar d = Separators.DecimalChar;
    const QStringList bases{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("5"), QStringLiteral("10"),
                            QStringLiteral("0") + d + u'5', QStringLiteral("90")};
    for (const TAxisControlNames& n : AxisControls) {
        QGroupBox* box = MakeGroupBox(page, n.Box, n.IsX ? QStringLiteral("x") : QStringLiteral("y"));
        auto* grid = new QGridLayout(box);
        QCheckBox* axes = MakeCheck(box, n.Axes, QStringLiteral("Eixo"));
        QCheckBox* scale = MakeCheck(box, n.Scale, QStringLiteral("Escala"));
        QCheckBox* value = MakeCheck(box, n.Value, QStringLiteral("Valor"));
        QCheckBox* guide = MakeCheck(box, n.Grid, QStringLiteral("Grade"));
        grid->addWidget(axes, 0, 0);
        grid->addWidget(scale, 0, 1);
        grid->addWidget(value, 0, 2);
        grid->addWidget(guide, 0, 3);
        grid->addWidget(new QLabel(QStringLiteral("Base"), box), 1, 0);
        QComboBox* base = MakeCombo(box, n.Base, bases);
        base->lineEdit()->installEventFilter(this);
        grid->addWidget(base, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("Nome"), box), 1, 2);
        grid->addWidget(MakeEdit(box, n.Name, 90), 1, 3);
        connect(guide, &QCheckBox::clicked, this, [this, guide, scale, value] { GridBoxClick(guide, scale, value); });
        if (n.IsX) {
            auto* letters = new QHBoxLayout;
            QButtonGroup* letter = MakeChoices(box, "XLetter",
                                               {{"sbVLX", 1, QStringLiteral("x")}, {"sbVLT", 0, QStringLiteral("θ")}},
                                               letters);
            // The axis takes the name of its variable.
            connect(letter, &QButtonGroup::idClicked, this, [this](int id) {
                Control<QLineEdit>("EditLx")->setText(id == 1 ? QStringLiteral("x") : QStringLiteral("{@}"));
            });
            letters->addWidget(MakeCheck(box, "cbDegree", QStringLiteral("°")));
            grid->addLayout(letters, 2, 0, 1, 4);
            connect(axes, &QCheckBox::clicked, this, [this] { UpdateDegreeBox(); });
            connect(value, &QCheckBox::clicked, this, [this] { UpdateDegreeBox(); });
        }
        layout->addWidget(box);
    }

    auto* row1 = new QHBoxLayout;
    MakeChoices(page, "AxisLine",
                {{"SBL1", 1, {}, {}, AxisLineGlyph(0, 1)},
                 {"SBL2", 2, {}, {}, AxisLineGlyph(0, 2)},
                 {"SBL3", 3, {}, {}, AxisLineGlyph(0, 3)},
                 {"sbL4", 4, {}, {}, AxisLineGlyph(1, 1)},
                 {"sbL5", 5, {}, {}, AxisLineGlyph(1, 2)},
                 {"sbL6", 6, {}, {}, AxisLineGlyph(1, 3)}},
                row1);
    row1->addSpacing(12);
    // The buttons in their designed order: lines, dotted, crosses, dark.
    MakeChoices(page, "Mesh",
                {{"RBmesh1", 0, {}, {}, MeshGlyph(0)},
                 {"RBmesh2", 2, {}, {}, MeshGlyph(2)},
                 {"RBmesh3", 1, {}, {}, MeshGlyph(1)},
                 {"RBmesh4", 3, {}, {}, MeshGlyph(3)}},
                row1);
    row1->addStretch();
    layout->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    MakeChoices(page, "LabelPos", {{"sbLP0", 2, QStringLiteral("↙")}, {"sbLP1", 1, QStringLiteral("↗")}}, row2);
    row2->addSpacing(12);
    MakeChoices(page, "AxisType",
                {{"sbAtRect", 0, QStringLiteral("┼")}, {"sbAtPolor", 1, QStringLiteral("◎")}}, row2);
    row2->addSpacing(12);
    MakeChoices(page, "Notation", {{"sbfrc", 1, QStringLiteral("½")}, {"sbdec", 0, QStringLiteral("0") + d + u'5'}},
                row2);
    row2->addSpacing(12);
    row2->addWidget(MakeCombo(page, "cbTextSize",
                              {QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"), QStringLiteral("14"),
                               QStringLiteral("16"), QStringLiteral("20"), QStringLiteral("24")},
                              60));
    row2->addStretch();
    QPushButton* init = MakeDefaultsButton(page, "btnInit2", ResetScalePage);
    row2->addWidget(init);
    layout->addLayout(row2);
    connect(groups_.value(QStringLiteral("AxisType")), &QButtonGroup::idClicked, this,
            [this] { UpdateAxisTypeControls(); });
}

void TDetailForm::BuildGraphSheet()
{
    QWidget* page = AddPage(PageControl, "graphsheet", QStringLiteral("Gráfico"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(MakeCheck(page, "cbShowSync", QStringLiteral("Mostrar/Esconder retas depende do objeto")));
    layout->addWidget(MakeCheck(page, "cbDrawOnDrag", QStringLiteral("Permite desenhar enquanto arrasta")));
    layout->addWidget(MakeCheck(page, "cbDrawOnCalc", QStringLiteral("Permite desenhar enquanto calcula")));
    layout->addWidget(MakeCheck(page, "cbShowProperty", QStringLiteral("Mostra propriedades durante arrasto")));
    layout->addWidget(MakeCheck(page, "cbAimgOfPaint", QStringLiteral("Permite desenhar traço do interior")));
    const auto group = [page, layout](const QString& caption) { return AddButtonRow(page, layout, caption); };
    QHBoxLayout* scan = group(QStringLiteral("Número de Ptos Interiores"));
    MakeChoices(page, "ScanWidth",
                {{"sbSwidth0", ScanWidthChoices[0], QString::number(ScanWidthChoices[0])},
                 {"sbSwidth1", ScanWidthChoices[1], QString::number(ScanWidthChoices[1])},
                 {"sbSwidth2", ScanWidthChoices[2], QString::number(ScanWidthChoices[2])},
                 {"sbSwidth3", ScanWidthChoices[3], QString::number(ScanWidthChoices[3])}},
                scan);
    QHBoxLayout* style = group(QStringLiteral("Estilo de Gráfico"));
    MakeChoices(page, "DrawMode",
                {{"sbDrawF0", 1, QStringLiteral("Auto")},
                 {"sbDrawF1", 2, QStringLiteral("Conectar")},
                 {"sbDrawF2", 3, QStringLiteral("Plotar")}},
                style);
    QHBoxLayout* fade = group(QStringLiteral("Intensidade da Côr do Traço"));
    MakeChoices(page, "AfterImage",
                {{"sbAimg0", 0, {}, {}, FadeGlyph(0)},
                 {"sbAimg1", 1, {}, {}, FadeGlyph(1)},
                 {"sbAimg2", 2, {}, {}, FadeGlyph(2)},
                 {"sbAimg3", 3, {}, {}, FadeGlyph(3)},
                 {"sbAimg4", 4, {}, {}, FadeGlyph(4)}},
                fade);
    QHBoxLayout* border = group(QStringLiteral("Estilo de Bordo"));
    MakeChoices(page, "Border", {{"sbEs0", 0, {}, {}, BorderGlyph(true)}, {"sbEs1", 1, {}, {}, BorderGlyph(false)}},
                border);
    for (QHBoxLayout* row : {scan, style, fade, border})
        row->addStretch();
    QPushButton* init = MakeDefaultsButton(page, "btnInit3", ResetGraphPage);
    auto* last = new QHBoxLayout;
    last->addStretch();
    last->addWidget(init);
    layout->addLayout(last);
}

void TDetailForm::BuildFuncSheet()
{
    QWidget* page = AddPage(PageControl, "FuncSheet", QStringLiteral("Função"));
    auto* layout = new QVBoxLayout(page);
    const auto group = [page, layout](const QString& caption) { return AddButtonRow(page, layout, caption); };
    QHBoxLayout* log = group(QStringLiteral("Logaritmo"));
    MakeChoices(page, "Log", {{"SBLmDecimal", 1, QStringLiteral("Comum")}, {"SBLmNature", 2, QStringLiteral("Natural")}},
                log);
    QHBoxLayout* angle = group(QStringLiteral("Ângulo"));
    QButtonGroup* angles =
        MakeChoices(page, "Angle", {{"SBRad", 1, QStringLiteral("Radiano")}, {"SBDeg", 2, QStringLiteral("Grau")}}, angle);
    QHBoxLayout* area = group(QStringLiteral("Intervalo de Ângulo"));
    MakeChoices(page, "AngleArea",
                {{"SBAmZero", 1, QStringLiteral("0 ~ 2π")}, {"SBAmPi", 2, QStringLiteral("-π ~ π")}}, area);
    for (QHBoxLayout* row : {log, angle, area})
        row->addStretch();
    layout->addWidget(MakeCheck(page, "cbNRadius", QStringLiteral("Permite raio negativo")));
    QCheckBox* complex = MakeCheck(page, "cbComplex", QStringLiteral("Trata vetor como número complexo"));
    QCheckBox* iunit = MakeCheck(page, "cbIunit", QStringLiteral("permite √(-1)=i"));
    layout->addWidget(complex);
    layout->addWidget(iunit);
    layout->addWidget(MakeCheck(page, "cbTheta", QStringLiteral("theta como argumento")));
    auto* slices = new QHBoxLayout;
    slices->addWidget(new QLabel(QStringLiteral("Integral Definida Divisão"), page));
    QLineEdit* sliceNo = MakeEdit(page, "edSliceno", 50);
    slices->addWidget(sliceNo);
    slices->addStretch();
    QPushButton* init = MakeDefaultsButton(page, "btnInit4", ResetFunctionPage);
    slices->addWidget(init);
    layout->addLayout(slices);
    connect(angles, &QButtonGroup::idClicked, this, [this](int id) {
        Inputs.AngleMode = static_cast<std::uint8_t>(id);
        if (id == 2)
            ChooseDegree();
    });
    connect(complex, &QCheckBox::clicked, this, [this] { ComplexClick(); });
    connect(iunit, &QCheckBox::clicked, this, [this] { ComplexClick(); });
    // Leaving the edit and Enter check it at once.
    connect(sliceNo, &QLineEdit::editingFinished, this, [this] { CheckSliceNo(); });
}

void TDetailForm::BuildFontSheet()
{
    QWidget* page = AddPage(PageControl, "FontSheet", QStringLiteral("Font"));
    auto* layout = new QGridLayout(page);
    QStringList families = QFontDatabase::families();
    int row = 0;
    for (auto [name, caption] : {std::pair{"cbFontStickerEdit", QStringLiteral("Editor de anotação")},
                                 std::pair{"cbFontScriptEdit", QStringLiteral("Editor de script")},
                                 std::pair{"cbFontStickerLarge", QStringLiteral("Anotação grande")},
                                 std::pair{"cbFontStickerSmall", QStringLiteral("Anotação pequena")}}) {
        layout->addWidget(new QLabel(caption, page), row, 0);
        layout->addWidget(MakeCombo(page, name, families, 200), row, 1);
        ++row;
    }
    QPushButton* init = MakeDefaultsButton(page, "btninit5", ResetFontPage);
    layout->addWidget(init, row, 1, Qt::AlignRight);
    layout->setRowStretch(row + 1, 1);
}

// ------------------------------------------------------- controls and values

void TDetailForm::FormShow()
{
    Inputs = CurrentOptionInputs();
    ShowInputs();
    TakeHintSetting(*this);
}

namespace {

// Every control bound to its value, visited once to show the values and once
// to read them back.
template <class Pass>
void VisitControls(Pass& pass, TOptionInputs& in)
{
    pass.Text("Edit3", in.WidthText);
    pass.Text("Edit4", in.HeightText);
    pass.Text("xEdit1", in.XLowText);
    pass.Text("Xedit2", in.XHighText);
    pass.Text("Yedit1", in.YLowText);
    pass.Text("Yedit2", in.YHighText);
    pass.Check("cbArea", in.AreaFixed);
    pass.Check("cbRectOn", in.AreaRectify);
    pass.Check("cbScreensize", in.AreaSizeByFile);

    for (const TAxisControlNames& n : AxisControls) {
        TAxisOptionInputs& a = n.IsX ? in.X : in.Y;
        pass.Check(n.Axes, a.AxesVisible);
        pass.Check(n.Scale, a.ScaleVisible);
        pass.Check(n.Value, a.ValueVisible);
        pass.Check(n.Grid, a.GuideVisible);
        pass.Combo(n.Base, a.BaseText);
        pass.Text(n.Name, a.NameText);
    }
    pass.Switch("XLetter", in.XLetterIsX);
    pass.Check("cbDegree", in.DegreeFont);
    pass.Choice("AxisLine", in.AxisLineButton, true);
    pass.Choice("Mesh", in.MeshStyle);
    pass.Choice("LabelPos", in.LabelPosition, true);
    pass.Switch("AxisType", in.Polar);
    pass.Switch("Notation", in.Fraction);
    pass.Combo("cbTextSize", in.FontSizeText);

    pass.Check("cbShowSync", in.ShowSync);
    pass.Check("cbDrawOnDrag", in.DrawOnDrag);
    pass.Check("cbDrawOnCalc", in.DrawOnCalc);
    pass.Check("cbShowProperty", in.ShowProperty);
    pass.Check("cbAimgOfPaint", in.AimgOfArea);
    pass.Choice("ScanWidth", in.ScanWidth);
    pass.Choice("DrawMode", in.DrawMode);
    pass.Choice("AfterImage", in.AfterImageColorNo);
    pass.Choice("Border", in.CapStyle);

    pass.Choice("Log", in.LogMode);
    pass.Choice("Angle", in.AngleMode);
    pass.Choice("AngleArea", in.AngleArea);
    pass.CheckMode("cbNRadius", in.CircleMode);
    pass.Check("cbComplex", in.Complex);
    pass.Check("cbIunit", in.AllowSqrtN);
    pass.CheckMode("cbTheta", in.ThetaMode);
    pass.Text("edSliceno", in.SliceNoText);

    pass.Combo("cbFontStickerEdit", in.SctickerEdit);
    pass.Combo("cbFontScriptEdit", in.ScriptEdit);
    pass.Combo("cbFontStickerLarge", in.SctickerLarge);
    pass.Combo("cbFontStickerSmall", in.SctickerSmall);
}

// Writes the values into the controls.
class ShowPass {
public:
    ShowPass(const TDetailForm& form, const QMap<QString, QButtonGroup*>& groups)
        : form_(form)
        , groups_(groups)
    {
    }
    void Text(const char* name, const QString& v) { form_.Control<QLineEdit>(name)->setText(v); }
    void Combo(const char* name, const QString& v) { form_.Control<QComboBox>(name)->setEditText(v); }
    void Check(const char* name, bool v) { form_.Control<QCheckBox>(name)->setChecked(v); }
    // Modes 1 and 2: checked for 1.
    void CheckMode(const char* name, std::uint8_t v) { Check(name, v == 1); }
    template <class Field>
    void Choice(const char* group, Field v, bool = false)
    {
        CheckId(groups_.value(QString::fromLatin1(group)), int(v));
    }
    // Two buttons: id 1 for true, 0 for false.
    void Switch(const char* group, bool v) { Choice(group, v ? 1 : 0); }

private:
    const TDetailForm& form_;
    const QMap<QString, QButtonGroup*>& groups_;
};

// Reads the controls back into the values.
class ReadPass {
public:
    ReadPass(const TDetailForm& form, const QMap<QString, QButtonGroup*>& groups)
        : form_(form)
        , groups_(groups)
    {
    }
    void Text(const char* name, QString& v) { v = form_.Control<QLineEdit>(name)->text(); }
    void Combo(const char* name, QString& v) { v = form_.Control<QComboBox>(name)->currentText(); }
    void Check(const char* name, bool& v) { v = form_.Control<QCheckBox>(name)->isChecked(); }
    void CheckMode(const char* name, std::uint8_t& v) { v = form_.Control<QCheckBox>(name)->isChecked() ? 1 : 2; }
    // No button down keeps the value, or gives 0 where no button is a choice.
    template <class Field>
    void Choice(const char* group, Field& v, bool noneIsZero = false)
    {
        const QButtonGroup* g = groups_.value(QString::fromLatin1(group));
        if (g->checkedButton())
            v = static_cast<Field>(g->checkedId());
        else if (noneIsZero)
            v = 0;
    }
    void Switch(const char* group, bool& v)
    {
        int id = v ? 1 : 0;
        Choice(group, id);
        v = id == 1;
    }

private:
    const TDetailForm& form_;
    const QMap<QString, QButtonGroup*>& groups_;
};

} // namespace

void TDetailForm::ShowInputs()
{
    ShowPass pass(*this, groups_);
    VisitControls(pass, Inputs);
    Control<QCheckBox>("cbIunit")->setEnabled(Inputs.Complex);
    UpdateAxisTypeControls();
    UpdateDegreeBox();
}

void TDetailForm::ReadControls()
{
    ReadPass pass(*this, groups_);
    VisitControls(pass, Inputs);
}

// ------------------------------------------------------------- the rules

void TDetailForm::ChoosePreset(TOptionsPreset preset)
{
    ReadControls();
    ApplyPreset(Inputs, preset);
    ShowInputs();
    CheckId(groups_.value(QStringLiteral("Presets")), int(preset));
    // A preset in degrees is a choice of "Grau" like any other.
    if (Inputs.AngleMode == 2)
        ChooseDegree();
}

void TDetailForm::ChooseDegree()
{
    QCheckBox* complex = Control<QCheckBox>("cbComplex");
    if (!complex->isChecked())
        return;
    ShowMsgBox(DegreeInComplexMode, MsgWarning, MsgOk);
    complex->setChecked(false);
    Control<QCheckBox>("cbIunit")->setEnabled(false);
}

void TDetailForm::ComplexClick()
{
    const bool complex = Control<QCheckBox>("cbComplex")->isChecked();
    Control<QCheckBox>("cbIunit")->setEnabled(complex);
    if (complex && Control<QToolButton>("SBDeg")->isChecked()) {
        ShowMsgBox(DegreeInComplexMode, MsgWarning, MsgOk);
        Inputs.AngleMode = 1;
        CheckId(groups_.value(QStringLiteral("Angle")), 1);
    }
}

void TDetailForm::UpdateDegreeBox()
{
    const QCheckBox* value = Control<QCheckBox>("CheckXValue");
    const bool axes = Control<QCheckBox>("CheckXAxes")->isChecked();
    Control<QCheckBox>("CheckXScale")->setEnabled(axes);
    Control<QCheckBox>("CheckXValue")->setEnabled(axes);
    Control<QCheckBox>("cbDegree")->setEnabled(Inputs.AngleMode == 2 && value->isChecked() && value->isEnabled());
}

void TDetailForm::UpdateAxisTypeControls()
{
    // What only Cartesian axes use: the label place, the notation and the
    // grid of crosses.
    const bool cartesian = groups_.value(QStringLiteral("AxisType"))->checkedId() != 1;
    for (const char* name : {"sbLP0", "sbLP1", "sbfrc", "sbdec", "RBmesh3", "RBmesh4"})
        Control<QToolButton>(name)->setEnabled(cartesian);
}

void TDetailForm::GridBoxClick(QCheckBox* grid, QCheckBox* scale, QCheckBox* value)
{
    if (grid->isChecked())
        return;
    scale->setChecked(false);
    value->setChecked(false);
    UpdateDegreeBox();
}

bool TDetailForm::CheckSliceNo()
{
    QLineEdit* edit = Control<QLineEdit>("edSliceno");
    QString text = edit->text();
    const bool ok = ::CheckSliceNo(text, Inputs.SliceNo);
    Inputs.SliceNoText = text;
    if (!ok)
        edit->setText(text);
    return ok;
}

void TDetailForm::EditOnCalculator(QLineEdit* edit, bool detailField)
{
    TCalcForm* calc = Forms.CalcForm;
    if (!calc)
        return;
    long double value = 0.0L;
    ParseExtended(edit->text(), Separators.DecimalChar, value);
    // The calculator takes the windows' face, whatever the field's colours.
    if (detailField)
        calc->EditDetailField(edit->objectName(), QFont(QStringLiteral("Times New Roman"), 12, QFont::Bold, true),
                              FormColor, edit, value);
    else
        calc->EditValueField(edit->objectName(), font(), FormColor, edit, value);
}

bool TDetailForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            const bool base = qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr;
            EditOnCalculator(edit, base);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TDetailForm::BtnOkClick()
{
    ReadControls();
    if (!CheckInput(Inputs)) {
        Control<QLineEdit>("edSliceno")->setText(Inputs.SliceNoText);
        return;
    }
    hide();
    ApplyOptions(Inputs);
    accept();
}

void TDetailForm::done(int result)
{
    DetailFormPos = pos();
    DetailFormPage = PageControl->currentIndex();
    QDialog::done(result);
}

void ShowOptions(int page)
{
    TDetailForm dialog(Forms.GraphWindow);
    dialog.FormShow();
    dialog.PageControl->setCurrentIndex(page >= 1 && page <= 5 ? page - 1 : DetailFormPage);
    dialog.adjustSize();
    dialog.move(DetailFormPos.value_or(DialogAnchorPos()));
    platform::RunModal(dialog);
}
