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
    ++writes_;
}

} // namespace platform
