#pragma once

#include "platform/ServiceSlot.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// What a file chooser shows and starts from.
struct FileChoice {
    QString caption;
    QString folder;        // where it opens; empty: the current folder
    QString fileName;      // the name proposed
    QString filter;        // "Kaviro (*.kvf);;Todos (*)"
    QString defaultSuffix; // added to a name typed without one ("kvf")
    int filterIndex = 1;   // the filter selected at the start, 1 for the first
    bool confirmOverwrite = true; // a save chooser asks before replacing a file
};

// A file chosen to save into, with the filter the user had selected.
struct SavedFileChoice {
    QString path;
    int filterIndex = 1; // 1 for the first filter
};

// The open and save choosers. A save chooser adds the default suffix before
// it asks whether an existing file may be replaced, so that the question is
// about the file that will be written.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file; nullopt when the user cancelled.
    virtual std::optional<QString> chooseOpenFile(const FileChoice& choice) = 0;
    virtual std::optional<QString> chooseSaveFile(const FileChoice& choice) = 0;
    // A save chooser that also tells which filter was selected (which kind
    // of file the user asked for). By default the filter it started with.
    virtual std::optional<SavedFileChoice> chooseSaveFileOfType(const FileChoice& choice)
    {
        const std::optional<QString> path = chooseSaveFile(choice);
        return path ? std::optional(SavedFileChoice{*path, choice.filterIndex}) : std::nullopt;
    }
};

// Colours in the program's numbers, 0x00BBGGRR.
class ColorChooser {
public:
    virtual ~ColorChooser() = default;
    // The chosen colour; nullopt when the user cancelled.
    virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;
};

// Used until the windows install theirs: every choice is cancelled.
class NoFileChooser final : public FileChooser {
public:
    std::optional<QString> chooseOpenFile(const FileChoice&) override { return std::nullopt; }
    std::optional<QString> chooseSaveFile(const FileChoice&) override { return std::nullopt; }
};
class NoColorChooser final : public ColorChooser {
public:
    std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return std::nullopt; }
};

FileChooser& CurrentFileChooser();
ColorChooser& CurrentColorChooser();
using ScopedFileChooser = ScopedService<FileChooser>;
using ScopedColorChooser = ScopedService<ColorChooser>;

} // namespace platform
