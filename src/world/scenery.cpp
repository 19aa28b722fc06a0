#include "world/scenery.h"

int FindFreeSceneryObject(const SceneryTable& scenery)
{
    for (int slot = 0; slot < SceneryCapacity; ++slot) {
        if (scenery[slot].type == SceneryEmpty)
            return slot;
    }
    return -1;
}
