#pragma once

#include "session/OptionsApply.h"

#include <QDialog>
#include <QMap>

#include <initializer_list>

class QAbstractButton;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
struct TOptionChoice;

// The options dialog, modal, on page 1..5 (any other keeps the page).
void ShowOptions(int page);

// "Opções": the view, scales, drawing, function modes and fonts, checked
// and applied on OK in one undoable step.
class TDetailForm final : public QDialog {
public:
    explicit TDetailForm(QWidget* parent = nullptr);

    // The controls from the current settings.
    void FormShow();
    void BtnOkClick();
    // The partitions edit checked; false (with its message) when refused.
    bool CheckSliceNo();

    // The dialog's values until OK.
    TOptionInputs Inputs;

    QTabWidget* PageControl;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // A control by its object name (the designer names of the pages).
    template <class T>
    T* Control(const char* name) const
    {
        return findChild<T*>(QString::fromLatin1(name));
    }

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QButtonGroup* MakeChoices(QWidget* parent, const char* groupName, std::initializer_list<TOptionChoice> choices,
                              QBoxLayout* into);
    QPushButton* MakeDefaultsButton(QWidget* page, const char* name, void (*reset)(TOptionInputs&));
    void BuildRegularSheet();
    void BuildAreaSheet();
    void BuildScaleSheet();
    void BuildGraphSheet();
    void BuildFuncSheet();
    void BuildFontSheet();

    void ShowInputs();
    void ReadControls();
    void ChoosePreset(TOptionsPreset preset);
    void ChooseDegree();
    void ComplexClick();
    void UpdateDegreeBox();
    void UpdateAxisTypeControls();
    void GridBoxClick(QCheckBox* grid, QCheckBox* scale, QCheckBox* value);
    void EditOnCalculator(QLineEdit* edit, bool detailField);

    QMap<QString, QButtonGroup*> groups_;
};
