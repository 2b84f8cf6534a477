#include "platform/fakes/FakeClipboard.h"

#include <QImage>

namespace platform {

FakeClipboard::FakeClipboard()
    : image_(std::make_unique<QImage>())
{
}

FakeClipboard::~FakeClipboard() = default;

// Like the system's, the clipboard holds one thing at a time.
void FakeClipboard::setText(const QString& text)
{
    text_ = text;
    *image_ = QImage();
    formats_.clear();
    ++writes_;
}

QImage FakeClipboard::image() const
{
    return *image_;
}

void FakeClipboard::setImage(const QImage& image)
{
    *image_ = image;
    text_.clear();
    formats_.clear();
    ++writes_;
}

void FakeClipboard::setFormats(const ClipboardFormats& formats)
{
    formats_ = formats;
    text_.clear();
    *image_ = QImage();
    ++writes_;
}

QByteArray FakeClipboard::data(const QString& mimeType) const
{
    for (const auto& [type, bytes] : formats_)
        if (type == mimeType)
            return bytes;
    return {};
}

QStringList FakeClipboard::formats() const
{
    QStringList types;
    for (const auto& format : formats_)
        types << format.first;
    return types;
}

} // namespace platform
