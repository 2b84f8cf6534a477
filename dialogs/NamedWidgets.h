#pragma once

// Widgets of the dialogs carry the names the tests and the property code
// find them by; these make a named one in one call.
#include <QCheckBox>
#include <QPushButton>
#include <QString>

template <class T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QCheckBox(caption, parent), name);
}

inline QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption)
{
    return Named(new QPushButton(caption, parent), name);
}
