#pragma once

#include "platform/ServiceSlot.h"

#include <QString>

class QImage;

namespace platform {

// The system clipboard: text (table cells) and pictures (the graph, a
// background picture pasted in).
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    // A null image when the clipboard holds no picture.
    virtual QImage image() const = 0;
    virtual void setImage(const QImage& image) = 0;
};

// The application's clipboard; empty without a GUI application.
class QtClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
    QImage image() const override;
    void setImage(const QImage& image) override;
};

// The installed clipboard, else the application's.
Clipboard& CurrentClipboard();
using ScopedClipboard = ScopedService<Clipboard>;

} // namespace platform
