#pragma once

#include "platform/ServiceSlot.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

class QImage;

namespace platform {

// One thing offered in several formats at once, each a MIME type with its
// bytes ("image/emf" and "image/png" for the same picture).
using ClipboardFormats = QList<QPair<QString, QByteArray>>;

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
    // Replaces what the clipboard holds by the formats, in that order.
    virtual void setFormats(const ClipboardFormats& formats) = 0;
    // The bytes of one MIME type; empty when the clipboard holds none.
    virtual QByteArray data(const QString& mimeType) const = 0;
};

// The application's clipboard; empty without a GUI application.
class QtClipboard final : public Clipboard {
public:
    QString text() const override;
    void setText(const QString& text) override;
    QImage image() const override;
    void setImage(const QImage& image) override;
    void setFormats(const ClipboardFormats& formats) override;
    QByteArray data(const QString& mimeType) const override;
};

// The installed clipboard, else the application's.
Clipboard& CurrentClipboard();
using ScopedClipboard = ScopedService<Clipboard>;

} // namespace platform
