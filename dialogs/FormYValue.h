#pragma once

// The value table ("Valores da Função"): nine formulas of the document
// evaluated at one shared x, whose grey line on the graph the mouse can
// drag. Made when the graph window's button opens it, freed when closed.
#include "dialogs/ToolForm.h"
#include "session/ValueTableTool.h"

#include <array>

class QLabel;
class QLineEdit;
class QToolButton;
class TFormulaPicture;

class TFormYValue final : public TToolForm, public TValueTableView {
public:
    TFormYValue();
    ~TFormYValue() override;

    TFormulaPicture* xImage;
    QToolButton* SbX;    // down while the line is off the graph
    QWidget* Panel1;     // the rows' pictures
    QWidget* Panel2;     // the rows' values
    std::array<TValueRowList, YvalueRowCount> Rows;

    // The pictures of the rows and of x from the document.
    void ShowRows();
    void ShowX() override;
    void ShowValues(const TValueTableRows& rows) override;
    // The marker button from the document.
    void ShowMarkerButton();

    void Image1Click(int row);
    void xImageClick();
    void SbXClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool IsShown() override;
    void ShowDocument() override;
    void Panel2Resize();
    void UpdateValuesNow();
};
