#pragma once

// The data panel's menu bar, toolbar and row menu: every item with its
// object name and caption. The commands connect to them by name.
#include <QObject>
#include <QString>

class QMainWindow;
class QMenu;
class QToolBar;

struct TConsoleMenus {
    QMenu* fileMenu1 = nullptr;
    QMenu* Option1 = nullptr;
    QMenu* Show1 = nullptr;
    QMenu* help = nullptr;
    QMenu* NewWrite = nullptr;
    QMenu* Nenv = nullptr;
    QMenu* NshowArea = nullptr;
    QMenu* NShowData = nullptr;
    QMenu* PmData = nullptr;
    QToolBar* ToolBar = nullptr;
};

// The four menus on the window's menu bar, the toolbar and the row menu.
TConsoleMenus BuildConsoleMenus(QMainWindow& console);

// The "Mostrar Dados" item of a tag (0..7).
constexpr int ShowDataTagCount = 8;

// The action, tool button or other child of that object name under root;
// nullptr when there is none.
template <class T>
T* FindNamed(const QObject& root, const char* name)
{
    return root.findChild<T*>(QString::fromLatin1(name));
}
