#pragma once

// The printer service over a Qt printer: the system's printer the user
// chose in the print setup, or a PDF file.
#include "platform/Printing.h"

#include <QPainter>

class QPrinter;

class QtPrinting final : public platform::Printing {
public:
    // The printer must outlive this service.
    explicit QtPrinting(QPrinter& printer);

    QSize pageSize() const override;
    void setJobTitle(const QString& title) override;
    bool beginJob() override;
    void drawBand(int left, int top, const QImage& band) override;
    bool endJob() override;

private:
    QPrinter& printer_;
    QPainter painter_;
};
