#include "notes/TablePage.h"

namespace {

// The sheet before the table sheet exists: nothing to show or apply.
class EmptyTablePage final : public TTablePage {
public:
    explicit EmptyTablePage(QWidget* parent)
        : page_(new QWidget(parent))
    {
        page_->setObjectName(QStringLiteral("TablePage"));
    }
    QWidget* Widget() override { return page_; }

private:
    QWidget* page_;
};

TTablePageMaker& InstalledMaker()
{
    static TTablePageMaker maker;
    return maker;
}

} // namespace

void SetTablePageMaker(TTablePageMaker maker)
{
    InstalledMaker() = std::move(maker);
}

std::unique_ptr<TTablePage> MakeTablePage(QWidget* parent)
{
    if (const TTablePageMaker& maker = InstalledMaker())
        return maker(parent);
    return std::make_unique<EmptyTablePage>(parent);
}
