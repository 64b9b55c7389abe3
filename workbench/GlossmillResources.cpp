#include "GlossmillResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitResourcesOnce()
{
    Q_INIT_RESOURCE(resources);
}

void InitGlossmillResources()
{
    static const bool done = (InitResourcesOnce(), true);
    Q_UNUSED(done);
}
