// The graph window's popup menus and the texts of its controls.
#include "windows/GraphAreaForm.h"

#include "dialogs/Dprint.h"
#include "dialogs/PermanentForms.h"
#include "model/Settings.h"
#include "notes/DocForm.h"
#include "render/scene/Redraw.h"
#include "render/view/Scale.h"
#include "session/PictureExport.h"
#include "session/StoreOperations.h"
#include "windows/MainConsole.h"

#include <QMenu>
#include <QTabWidget>
#include <QToolButton>

namespace {

QAction* NewItem(QMenu* menu, const char* name, bool checkable = false)
{
    QAction* item = menu->addAction(QString());
    item->setObjectName(QString::fromUtf8(name));
    item->setCheckable(checkable);
    return item;
}

QMenu* NewSubmenu(QMenu* menu, const char* name)
{
    auto* submenu = new QMenu(menu);
    submenu->setObjectName(QString::fromUtf8(name));
    menu->addMenu(submenu);
    return submenu;
}

void SetHint(QWidget* control, const QString& hint)
{
    control->setToolTip(hint);
    control->setStatusTip(hint);
}

} // namespace

void TGraphAreaForm::CreateGraphMenu()
{
    PopupMenuGraph = new QMenu(this);
    PopupMenuGraph->setObjectName(QStringLiteral("PopupMenuGraph"));
    MnZoom = NewSubmenu(PopupMenuGraph, "MnZoom");
    for (const auto& [name, caption] : {std::pair{"x21", u"x 2"}, {"x51", u"x 5"}, {"x10", u"x 10"},
                                        {"x1d2", u"x 1/2"}, {"x1d5", u"x 1/5"}, {"x1d10", u"x 1/10"}})
        NewItem(MnZoom, name)->setText(QString::fromUtf16(caption));
    MnBuildTrace = NewItem(PopupMenuGraph, "MnBuildTrace");
    MnClearTraces = NewItem(PopupMenuGraph, "MnClearTraces");
    MnGetPoint = NewSubmenu(PopupMenuGraph, "MnGetPoint");
    MnConnect = NewItem(PopupMenuGraph, "MnConnect", true);
    MnPntProperty = NewItem(PopupMenuGraph, "MnPntProperty");
    MnSegProperty = NewItem(PopupMenuGraph, "MnSegProperty");
    MnYfxProperty = NewItem(PopupMenuGraph, "MnYfxProperty");
    MnCfnProperty = NewItem(PopupMenuGraph, "MnCfnProperty");
    MnCrvProperty = NewItem(PopupMenuGraph, "MnCrvProperty");
    MnShowPosition = NewItem(PopupMenuGraph, "MnShowPosition", true);
    MnShowEquation = NewItem(PopupMenuGraph, "MnShowEquation", true);
    MnCapture = NewItem(PopupMenuGraph, "MnCapture");
    MnPrint = NewItem(PopupMenuGraph, "MnPrint");

    QObject::connect(MnBuildTrace, &QAction::triggered, this,
                     [] { DrawChangedObjects(GraphScale, GraphScale.GraphImages); });
    QObject::connect(MnClearTraces, &QAction::triggered, this, [] { ClearAllTraces(); });
    QObject::connect(MnShowPosition, &QAction::triggered, this, [this] { sbShowPosition->toggle(); });
    QObject::connect(MnShowEquation, &QAction::triggered, this, [this] { sbShowEquation->toggle(); });
    // The data panel's capture and print commands.
    QObject::connect(MnCapture, &QAction::triggered, this,
                     [] { CopyGraphToClipboard(ProgramSettings.CopyMode); });
    QObject::connect(MnPrint, &QAction::triggered, this, [] { ShowPrintDialog(); });
}

void TGraphAreaForm::ShowGraphPopup(QPoint pixel, QPoint globalPos)
{
    LastMousePixel = pixel;
    MnShowPosition->setChecked(sbShowPosition->isChecked());
    MnShowEquation->setChecked(sbShowEquation->isChecked());
    if (Forms.MainConsole && Forms.MainConsole->sbsegment)
        MnConnect->setChecked(Forms.MainConsole->sbsegment->isChecked());
    PopupMenuGraph->popup(globalPos);
}

void TGraphAreaForm::CreateMemoMenu()
{
    PopupMenuMemo = new QMenu(this);
    PopupMenuMemo->setObjectName(QStringLiteral("PopupMenuMemo"));
    MnEditMemo = NewItem(PopupMenuMemo, "MnEditMemo");
    MnShowMemo = NewItem(PopupMenuMemo, "MnShowMemo");
    MnHideMemo = NewItem(PopupMenuMemo, "MnHideMemo");
    MnClearMemo = NewItem(PopupMenuMemo, "MnClearMemo");
    QObject::connect(PopupMenuMemo, &QMenu::aboutToShow, this, [this] { ShowMemoMenuItems(); });
    QObject::connect(MnEditMemo, &QAction::triggered, this, [] { ShowDocForm(); });
    QObject::connect(MnShowMemo, &QAction::triggered, this, [this] { ShowStickers(); });
    QObject::connect(MnHideMemo, &QAction::triggered, this, [this] { HideStickers(); });
    QObject::connect(MnClearMemo, &QAction::triggered, this, [this] { ClearAllMemos(); });

    // Every edit field that offers markup opens this one.
    pmMemo = new TMarkupMenu(this);
    useMarkupMenu_ = std::make_unique<ScopedMarkupMenu>(*pmMemo);
}

void TGraphAreaForm::CreateBackgroundMenus()
{
    PopupBG = new QMenu(this);
    PopupBG->setObjectName(QStringLiteral("PopupBG"));
    MnBGFromFile = NewItem(PopupBG, "MnBGFromFile");
    MnBGFromClipboard = NewItem(PopupBG, "MnBGFromClipboard");
    SbbImgepast->setMenu(PopupBG);
    SbbImgepast->setPopupMode(QToolButton::MenuButtonPopup);
    QObject::connect(MnBGFromFile, &QAction::triggered, this, [this] { PasteBackgroundFromFile(); });
    QObject::connect(MnBGFromClipboard, &QAction::triggered, this, [this] { PasteBackgroundFromClipboard(); });
    QObject::connect(SbbImgepast, &QToolButton::clicked, this, [this] {
        if (backgroundSource_ == BackgroundFromClipboard)
            PasteBackgroundFromClipboard();
        else
            PasteBackgroundFromFile();
    });

    pmBGStretch = new QMenu(this);
    pmBGStretch->setObjectName(QStringLiteral("pmBGStretch"));
    for (int mode = 1; mode <= 3; ++mode) {
        QAction* item = pmBGStretch->addAction(QString());
        item->setData(mode);
        QObject::connect(item, &QAction::triggered, this, [this, mode] { SetStretchMode(mode); });
    }
    sbStretch->setMenu(pmBGStretch);
    sbStretch->setPopupMode(QToolButton::MenuButtonPopup);
    QObject::connect(sbStretch, &QToolButton::clicked, this, [this] { ToggleStretch(); });
    QObject::connect(sbbImageOff, &QToolButton::clicked, this, [this] { ClearBackground(); });
    QObject::connect(sbbImageOff, &QToolButton::pressed, this, [this] { SetButtonImage(sbbImageOff, 3); });
    QObject::connect(sbbImageOff, &QToolButton::released, this, [this] { SetButtonImage(sbbImageOff, 2); });
    SetButtonImage(sbbImageOff, 2);
    SetBackgroundSource(BackgroundFromFile);
}

void TGraphAreaForm::SetHintsAndCaptions()
{
    SetHint(sbtnzoom, QStringLiteral("Expandir(Zoom in)"));
    SetHint(sbtnwide, QStringLiteral("Encolher(Zoom out)"));
    SetHint(sbtnmove, QStringLiteral("Mover"));
    SetHint(sbSquare, QStringLiteral("1 : 1"));
    SetHint(tbUndo, QStringLiteral("Desfazer Domínio"));
    SetHint(tbRedo, QStringLiteral("Refazer Domínio"));
    SetHint(tbAxisOn, QStringLiteral("Fora Graduações de Área"));
    SetHint(btnSon, QStringLiteral("Graduações"));
    SetHint(sbLsize, QStringLiteral("Tamanho da Letra"));
    SetHint(btnXn, QStringLiteral("Estreito ; Ctrl: Intervalo da Letra"));
    SetHint(btnYn, QStringLiteral("Estreito ; Ctrl: Intervalo da Letra"));
    SetHint(btnXW, QStringLiteral("Largo ; Ctrl: Intervalo da Letra"));
    SetHint(btnYW, QStringLiteral("Largo ; Ctrl: Intervalo da Letra"));
    SetHint(SbbImgepast, QStringLiteral("Colar Fundo"));
    SetHint(sbStretch, QStringLiteral("Esticar Imagem de Fundo"));
    SetHint(sbbImageOff, QStringLiteral("Limpar Fundo"));
    SetHint(sbShowPosition, QStringLiteral("Mostrar Coordenadas"));
    SetHint(sbShowEquation, QStringLiteral("Mostrar Expressão"));
    SetHint(sbYvalue, QStringLiteral("Mostrar Valor da Função"));
    SetHint(sbIvalue, QStringLiteral("Mostrar Valor da Integral Definida"));
    SetHint(tbFreePen, QStringLiteral("Marcando com Caneta"));

    MnBGFromFile->setText(QStringLiteral("do Arquivo"));
    MnBGFromClipboard->setText(QStringLiteral("do Clipboard"));
    const QList<QAction*> stretch = pmBGStretch->actions();
    stretch[0]->setText(QStringLiteral("Ajustar Largura"));
    stretch[1]->setText(QStringLiteral("Ajustar Altura"));
    stretch[2]->setText(QStringLiteral("Esticar para Janela de Gráfico"));
    MnEditMemo->setText(QStringLiteral("&Editar Anotação"));
    MnShowMemo->setText(QStringLiteral("Mostrar Anotação"));
    MnHideMemo->setText(QStringLiteral("Esconder Anotação"));
    MnClearMemo->setText(QStringLiteral("Apagar Todas as Anotações"));
    MnAutoHidePalette->setText(QStringLiteral("Tabela de Controle Auto-Ocultante"));
    MnAlwaysShowPalette->setText(QStringLiteral("Tabela de Controle Sempre-Visível"));

    MnZoom->setTitle(QStringLiteral("Zoom"));
    MnBuildTrace->setText(QStringLiteral("Construir Traço"));
    MnClearTraces->setText(QStringLiteral("Limpar Traços"));
    MnGetPoint->setTitle(QStringLiteral("Obter Ponto"));
    MnConnect->setText(QStringLiteral("Conectar Pontos"));
    MnPntProperty->setText(QStringLiteral("Propriedades do Objeto Elementar"));
    MnSegProperty->setText(QStringLiteral("Propriedades de Reta&&Polígono"));
    MnYfxProperty->setText(QStringLiteral("Propriedades da Função"));
    MnCfnProperty->setText(QStringLiteral("Propriedades da Relação"));
    MnCrvProperty->setText(QStringLiteral("Propriedades da Curva Parametrizada"));
    MnShowPosition->setText(QStringLiteral("Mostrar Coordenadas"));
    MnShowEquation->setText(QStringLiteral("Mostrar Expressão"));
    MnCapture->setText(QStringLiteral("Capturar"));
    MnPrint->setText(QStringLiteral("Imprimir"));

    PageControl->setTabText(PageControl->indexOf(TabSheet2), QStringLiteral("Escala"));
    PageControl->setTabText(PageControl->indexOf(TabSheet1), QStringLiteral("Ferramenta"));
}
