#include "platform/FileAssociation.h"

#include "platform/XdgFileAssociation.h"

namespace platform {

FileAssociation& CurrentFileAssociation()
{
    return InstalledOr<FileAssociation, XdgFileAssociation>();
}

} // namespace platform
