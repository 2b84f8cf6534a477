#pragma once

#include "platform/Clipboard.h"

#include <QStringList>
#include <memory>

namespace platform {

// Test fake: a clipboard of its own, so that tests never touch the user's.
class FakeClipboard final : public Clipboard {
public:
    FakeClipboard();
    ~FakeClipboard() override;

    QString text() const override { return text_; }
    void setText(const QString& text) override;
    QImage image() const override;
    void setImage(const QImage& image) override;
    void setFormats(const ClipboardFormats& formats) override;
    QByteArray data(const QString& mimeType) const override;

    // How often something was put on the clipboard.
    int writes() const { return writes_; }
    // The MIME types of the formats put there last, in their order.
    QStringList formats() const;

private:
    QString text_;
    std::unique_ptr<QImage> image_;
    ClipboardFormats formats_;
    int writes_ = 0;
};

} // namespace platform
