#include "platform/Choosers.h"

namespace platform {

FileChooser& CurrentFileChooser()
{
    return InstalledOr<FileChooser, NoFileChooser>();
}

ColorChooser& CurrentColorChooser()
{
    return InstalledOr<ColorChooser, NoColorChooser>();
}

} // namespace platform
