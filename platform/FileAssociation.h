#pragma once

#include "platform/ServiceSlot.h"

#include <QString>

namespace platform {

// A file type that opens with the program when the user opens such a file
// from the desktop.
struct FileTypeAssociation {
    QString id;          // names the files that hold the association ("kaviro")
    QString extension;   // without the dot ("kvf")
    QString description; // shown by file managers ("KAVIRO Project File")
    QString mimeType;    // "application/x-kaviro-project"
    QString programName; // "KAVIRO"
    QString programPath; // full path of the program's executable
};

// The desktop's record of which program opens which file type.
class FileAssociation {
public:
    virtual ~FileAssociation() = default;
    // True when any part of the association is recorded.
    virtual bool exists(const FileTypeAssociation& type) const = 0;
    // Records the association; false when it could not be written.
    virtual bool add(const FileTypeAssociation& type) = 0;
    // Removes every part of the association that exists.
    virtual void remove(const FileTypeAssociation& type) = 0;
};

// The installed implementation, else the desktop's of the user's data folder.
FileAssociation& CurrentFileAssociation();
using ScopedFileAssociation = ScopedService<FileAssociation>;

} // namespace platform
