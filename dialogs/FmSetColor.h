#pragma once

#include <QWidget>

// The style palette: a small window that stays on top and pops up under a
// style button. For now a hidden window of its own; the choice panels come
// with the property dialogs.
class TFmSetColor final : public QWidget {
public:
    // No parent: disabling the main windows for a dialog never disables it.
    TFmSetColor();
    ~TFmSetColor() override;
};
