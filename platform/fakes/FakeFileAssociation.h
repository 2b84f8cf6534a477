#pragma once

#include "platform/FileAssociation.h"

#include <optional>

namespace platform {

// Test fake: remembers the one association last added; can refuse to add.
class FakeFileAssociation final : public FileAssociation {
public:
    bool exists(const FileTypeAssociation&) const override { return recorded_.has_value(); }
    bool add(const FileTypeAssociation& type) override
    {
        if (refuseAdd_)
            return false;
        recorded_ = type;
        return true;
    }
    void remove(const FileTypeAssociation&) override
    {
        recorded_.reset();
        ++removals_;
    }

    const std::optional<FileTypeAssociation>& recorded() const { return recorded_; }
    int removals() const { return removals_; }
    void setRefuseAdd(bool refuse) { refuseAdd_ = refuse; }

private:
    std::optional<FileTypeAssociation> recorded_;
    int removals_ = 0;
    bool refuseAdd_ = false;
};

} // namespace platform
