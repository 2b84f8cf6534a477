#pragma once

// The graph window's two tool windows, which exclude each other: the value
// table and the integral window, made when their button opens them and
// freed when they close. Each button stays down while its window is open.
#include <memory>

class QToolButton;
class TFormIvalue;
class TFormYValue;

class TToolWindowHost {
public:
    TToolWindowHost(QToolButton* valueButton, QToolButton* integralButton);
    ~TToolWindowHost();
    TToolWindowHost(const TToolWindowHost&) = delete;
    TToolWindowHost& operator=(const TToolWindowHost&) = delete;

    // The value table's button: the integral window closes first; then the
    // value table closes when open, else opens.
    void sbYvalueClick();
    // The integral's button: the value table closes first; then the
    // integral window closes when open, else opens.
    void sbIvalueClick();

    // The open windows; null while closed.
    TFormYValue* FormYValue() const { return formYValue_.get(); }
    TFormIvalue* FormIvalue() const { return formIvalue_.get(); }

private:
    void OpenValueTable();
    void OpenIntegral();
    void ValueTableClosed();
    void IntegralClosed();

    QToolButton* valueButton_;
    QToolButton* integralButton_;
    std::unique_ptr<TFormYValue> formYValue_;
    std::unique_ptr<TFormIvalue> formIvalue_;
};
