#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace platform {

namespace {

QClipboard* ApplicationClipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

QString QtClipboard::text() const
{
    const QClipboard* clipboard = ApplicationClipboard();
    return clipboard ? clipboard->text() : QString();
}

void QtClipboard::setText(const QString& text)
{
    if (QClipboard* clipboard = ApplicationClipboard())
        clipboard->setText(text);
}

QImage QtClipboard::image() const
{
    const QClipboard* clipboard = ApplicationClipboard();
    return clipboard ? clipboard->image() : QImage();
}

void QtClipboard::setImage(const QImage& image)
{
    if (QClipboard* clipboard = ApplicationClipboard())
        clipboard->setImage(image);
}

Clipboard& CurrentClipboard()
{
    return InstalledOr<Clipboard, QtClipboard>();
}

} // namespace platform
