#include "windows/ConsoleMenus.h"
#include "windows/ToolIcons.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

// One line of a menu: an item, a submenu's start or end, or a separator.
struct TMenuLine {
    enum Kind { Item, Check, Disabled, Submenu, EndSubmenu, Separator } What;
    const char* Name = nullptr;
    const char16_t* Caption = nullptr;
};
using L = TMenuLine;

constexpr TMenuLine FileLines[] = {
    {L::Item, "Init1", u"&Iniciar"},
    {L::Separator},
    {L::Item, "OpenFile", u"&Abrir Arquivo"},
    {L::Item, "OpenSample", u"Abrir Exemplo"},
    {L::Submenu, "NewWrite", u"Salvar &Como"},
    {L::Item, "N671ShiftJis1", u"Shift-JIS"},
    {L::Item, "N672Unicode1", u"Unicode"},
    {L::EndSubmenu},
    {L::Item, "overwrite", u"&Salvar"},
    {L::Separator},
    {L::Item, "nsaveBmp", u"Salvar I&magem"},
    {L::Check, "nsavemovie", u"Salvar Imagens Sucessivas"},
    {L::Disabled, "nSaveWave", u"Salvar Sons"},
    {L::Separator},
    {L::Item, "nprintoption", u"Prop.Impressora"},
    {L::Item, "nprint", u"&Imprimir"},
    {L::Separator},
    {L::Item, "Close1", u"&Sair"},
};

constexpr TMenuLine EditLines[] = {
    {L::Item, "menuUndo", u"&Desfazer"},
    {L::Item, "menuRedo", u"&Refazer"},
    {L::Separator},
    {L::Item, "nEditMemo", u"&Editar Anotação"},
    {L::Item, "nAppendMemo", u"Anexar Anotação"},
    {L::Check, "menuSegment", u"Conectar Pontos"},
    {L::Separator},
    {L::Item, "menuoption", u"&Opções"},
    {L::Submenu, "Nenv", u"Am&biente"},
    {L::Item, "SetInit", u"&Iniciar Padrão"},
    {L::Item, "SetDefault", u"&Estabelecer Padrão"},
    {L::Item, "SetAssociate", u"&Associação de Arquivos"},
    {L::Item, "nrelease", u"&Limpar Associação de Arquivos"},
    {L::EndSubmenu},
    {L::Separator},
    {L::Item, "nClrAimg", u"Limpar &Traços"},
    {L::Item, "InitPrm", u"Iniciar &parâmetros"},
};

constexpr TMenuLine ShowLines[] = {
    {L::Submenu, "NshowArea", u"Mostrar &Área"},
    {L::Check, "Ntool", u"Barra de Ferramentas"},
    {L::Check, "Nyfx", u"[Função]"},
    {L::Check, "Ncfn", u"[Relação]"},
    {L::Check, "Ncrv", u"[Curva Parametrizada]"},
    {L::Check, "NPnt", u"[Objeto Elementar]"},
    {L::Check, "Nprm", u"[Parâmetro]"},
    {L::Check, "NUsr", u"[Função usr]"},
    {L::Check, "NMem", u"[Anotação]"},
    {L::Check, "NSeg", u"[Reta && Polígono]"},
    {L::EndSubmenu},
    {L::Separator},
    {L::Submenu, "NShowData", u"Mostrar &Dados"},
    {L::Item, "NShowData0", u"Tudo"},
    {L::Item, "NShowData1", u"Função"},
    {L::Item, "NShowData2", u"Relação"},
    {L::Item, "NShowData3", u"Curva Parametrizada"},
    {L::Item, "NShowData4", u"Objeto Elementar"},
    {L::Item, "NShowData5", u"Parâmetro"},
    {L::Item, "NShowData6", u"Função usr"},
    {L::Item, "NShowData7", u"Reta && Polígono"},
    {L::EndSubmenu},
    {L::Separator},
    {L::Check, "NShowHint", u"Mostrar &Sugestão"},
    {L::Separator},
    {L::Check, "Npresentation", u"&Modo de Apresentação"},
    {L::Check, "nTransparent", u"Semi-Transparência"},
};

constexpr TMenuLine HelpLines[] = {
    {L::Item, "PDF1", u"PDF manual"},
    {L::Item, "HTML1", u"&manual em HTML"},
    {L::Item, "version1", u"&Versão"},
};

constexpr TMenuLine RowLines[] = {
    {L::Item, "nedit", u"&Editar"},
    {L::Item, "nErase", u"Apagar"},
    {L::Item, "nClear", u"Limpar Traços"},
    {L::Item, "nHideData", u"Esconder Dados"},
};

QString Text(const char16_t* text)
{
    return QString::fromUtf16(text);
}

QMenu* NamedMenu(QWidget* parent, const char* name, const char16_t* caption)
{
    auto* menu = new QMenu(Text(caption), parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

// Fills the menu from its lines; the submenus are returned by name through
// the window's children.
template <std::size_t N>
void FillMenu(QMenu* menu, const TMenuLine (&lines)[N])
{
    QMenu* target = menu;
    for (const TMenuLine& line : lines) {
        switch (line.What) {
        case L::Separator:
            target->addSeparator();
            break;
        case L::Submenu: {
            QMenu* sub = NamedMenu(menu, line.Name, line.Caption);
            target->addMenu(sub);
            target = sub;
            break;
        }
        case L::EndSubmenu:
            target = menu;
            break;
        default: {
            QAction* action = target->addAction(Text(line.Caption));
            action->setObjectName(QString::fromLatin1(line.Name));
            action->setCheckable(line.What == L::Check);
            // Their commands come with sound and notes.
            action->setEnabled(line.What != L::Disabled);
            break;
        }
        }
    }
}

template <std::size_t N>
QMenu* AddMenu(QMainWindow& console, const char* name, const char16_t* caption, const TMenuLine (&lines)[N])
{
    QMenu* menu = NamedMenu(&console, name, caption);
    FillMenu(menu, lines);
    console.menuBar()->addMenu(menu);
    return menu;
}

// The picture of a greyed button: faded into the face. The style's own
// greying keeps a dark one-colour theme icon dark, so that a button that
// does nothing looks like one that works.
QIcon FadedWhenDisabled(const QIcon& icon, QSize size)
{
    const QPixmap normal = icon.pixmap(size);
    QImage faded = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < faded.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(faded.scanLine(y));
        for (int x = 0; x < faded.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * 2 / 5);
        }
    }
    QIcon result(normal);
    result.addPixmap(QPixmap::fromImage(faded), QIcon::Disabled);
    return result;
}

QToolButton* AddToolButton(QToolBar* bar, const char* name, const QString& hint, const QIcon& icon,
                           bool enabled = true)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(FadedWhenDisabled(icon, bar->iconSize()));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAutoRaise(true);
    // The toolbar's action passes its state on to the button whenever it
    // changes: both are disabled.
    bar->addWidget(button)->setEnabled(enabled);
    button->setEnabled(enabled);
    return button;
}

QIcon StandardIcon(QStyle::StandardPixmap icon)
{
    return QApplication::style()->standardIcon(icon);
}

QToolBar* BuildToolBar(QMainWindow& console)
{
    auto* bar = new QToolBar(QStringLiteral("Barra de Ferramentas"), &console);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setIconSize(QSize(16, 16));
    AddToolButton(bar, "sbOpen", QStringLiteral("Abrir Arquivo"), StandardIcon(QStyle::SP_DialogOpenButton));
    AddToolButton(bar, "sbSave", QStringLiteral("Salvar"), StandardIcon(QStyle::SP_DialogSaveButton));
    bar->addSeparator();
    AddToolButton(bar, "sbUndo", QStringLiteral("Desfazer"), ToolIconFor(ToolIcon::Undo));
    AddToolButton(bar, "sbRedo", QStringLiteral("Refazer"), ToolIconFor(ToolIcon::Redo));
    bar->addSeparator();
    AddToolButton(bar, "sbCalc", QStringLiteral("Calculadora"), ToolIconFor(ToolIcon::Calculator));
    bar->addSeparator();
    AddToolButton(bar, "tbSaveImage", QStringLiteral("Salvar Imagem"), StandardIcon(QStyle::SP_DriveFDIcon));
    AddToolButton(bar, "tbSaveMovie", QStringLiteral("Salvar Imagens Sucessivas"), StandardIcon(QStyle::SP_MediaPlay))
        ->setCheckable(true);
    AddToolButton(bar, "tbCapture", QStringLiteral("Copiar"), StandardIcon(QStyle::SP_FileDialogContentsView));
    AddToolButton(bar, "TBPrint", QStringLiteral("Imprimir"), ToolIconFor(ToolIcon::Printer));
    console.addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

} // namespace

TConsoleMenus BuildConsoleMenus(QMainWindow& console)
{
    TConsoleMenus m;
    m.fileMenu1 = AddMenu(console, "fileMenu1", u"&Arquivo", FileLines);
    m.Option1 = AddMenu(console, "Option1", u"&Editar", EditLines);
    m.Show1 = AddMenu(console, "Show1", u"&Ver", ShowLines);
    m.help = AddMenu(console, "help", u"A&juda", HelpLines);
    m.NewWrite = console.findChild<QMenu*>(QStringLiteral("NewWrite"));
    m.Nenv = console.findChild<QMenu*>(QStringLiteral("Nenv"));
    m.NshowArea = console.findChild<QMenu*>(QStringLiteral("NshowArea"));
    m.NShowData = console.findChild<QMenu*>(QStringLiteral("NShowData"));
    m.PmData = NamedMenu(&console, "PmData", u"");
    FillMenu(m.PmData, RowLines);
    m.ToolBar = BuildToolBar(console);
    return m;
}
