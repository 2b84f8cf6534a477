#pragma once

#include "platform/Printing.h"

#include <QRect>
#include <QString>
#include <functional>
#include <vector>

namespace platform {

// Test fake: a page of a chosen size; records the jobs and where each band
// went, and hands every band to the test when it asks.
class FakePrinting final : public Printing {
public:
    explicit FakePrinting(QSize page)
        : page_(page)
    {
    }

    QSize pageSize() const override { return page_; }
    void setJobTitle(const QString& title) override { title_ = title; }
    bool beginJob() override;
    void drawBand(int left, int top, const QImage& band) override;
    bool endJob() override;

    // Another paper, as a printer setup would choose.
    void setPageSize(QSize page) { page_ = page; }
    // Whether the next jobs are refused at their start.
    void refuseJobs(bool refuse) { refuse_ = refuse; }
    // Called with every band, after it is recorded.
    void onBand(std::function<void(int left, int top, const QImage& band)> action) { action_ = std::move(action); }

    const QString& jobTitle() const { return title_; }
    int jobsBegun() const { return begun_; }
    int jobsEnded() const { return ended_; }
    bool inJob() const { return begun_ > ended_; }
    // Where each band went on the page, in order; bands outside a job too.
    const std::vector<QRect>& bands() const { return bands_; }
    // The box all bands of the jobs cover together.
    QRect printedBox() const;

private:
    QSize page_;
    QString title_;
    bool refuse_ = false;
    int begun_ = 0;
    int ended_ = 0;
    std::vector<QRect> bands_;
    std::function<void(int, int, const QImage&)> action_;
};

// Test fake: counts how often the setup was shown, runs what the test
// wants the user to change there, and answers as queued (cancel by default).
class FakePrinterSetup final : public PrinterSetup {
public:
    bool choosePrinter() override
    {
        ++shown_;
        if (action_)
            action_();
        return answer_;
    }
    void answer(bool confirm) { answer_ = confirm; }
    void onShow(std::function<void()> action) { action_ = std::move(action); }
    int shown() const { return shown_; }

private:
    bool answer_ = false;
    int shown_ = 0;
    std::function<void()> action_;
};

} // namespace platform
