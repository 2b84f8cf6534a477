#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

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

void QtClipboard::setFormats(const ClipboardFormats& formats)
{
    QClipboard* clipboard = ApplicationClipboard();
    if (!clipboard)
        return;
    auto* data = new QMimeData;
    for (const auto& [mimeType, bytes] : formats)
        data->setData(mimeType, bytes);
    clipboard->setMimeData(data); // the clipboard owns it
}

QByteArray QtClipboard::data(const QString& mimeType) const
{
    const QClipboard* clipboard = ApplicationClipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data ? data->data(mimeType) : QByteArray();
}

Clipboard& CurrentClipboard()
{
    return InstalledOr<Clipboard, QtClipboard>();
}

} // namespace platform
