#pragma once

#include <QWidget>

// The calculator and formula keyboard ("Calculadora"). For now a hidden
// window of its own; its keyboard and editing come with the dialogs.
class TCalcForm final : public QWidget {
public:
    // No parent: disabling the main windows for a dialog never disables it.
    TCalcForm();
    ~TCalcForm() override;
};
