#include "session/ProjectHost.h"

TProjectHost& CurrentProjectHost()
{
    return platform::InstalledOr<TProjectHost, TNoProjectHost>();
}
