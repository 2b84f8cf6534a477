#pragma once

// "Imprimir": what is printed (the graph drawn anew in colour or in black
// and white, the graph as captured, both windows), how wide on the page,
// and the printer's setup.
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

// Opens the print dialog, modal, where it was left last.
void ShowPrintDialog();

class TDprint final : public QDialog {
public:
    explicit TDprint(QWidget* parent = nullptr);

    // The controls from the stored settings and the printer's page.
    void FormShow();
    // A radio item: its mode becomes the stored print mode; the captured
    // pictures print at a whole multiple of their size.
    void RGObjectClick(int index);
    void TrBarChange(int position);
    void CheckBoxClick(bool checked);
    // The printer's setup, then the controls again.
    void PrinterSetupClick();
    // Prints with the dialog out of sight, then closes; a failure is said.
    void BtnOkClick();

    // The print mode of each radio item, in their order.
    static int ModeOfIndex(int index);
    // The radio item of a print mode (unknown modes: the first).
    static int IndexOfMode(int mode);
    // " 4800 × 6000 pixels".
    static QString PixelSizeText(QSize size);

    QLabel* LabelPaper;
    QLabel* LabelSize;
    QSlider* TrBar;
    QCheckBox* CheckKeep;
    QButtonGroup* RGObject;
    QPushButton* BtnPrinter;
    QPushButton* BtnOk;
    QPushButton* BtnExit;

protected:
    void done(int result) override;

private:
    void ShowPrintedSize();
};
