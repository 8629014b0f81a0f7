#include "settings/objecttable.h"

#include <algorithm>

namespace vellmore::settings {

void ObjectTable::load(const std::vector<ObjectEntry>& objects)
{
    count = static_cast<int>(std::min(objects.size(), static_cast<size_t>(maxObjects)));
    for (int i = 0; i < count; ++i) {
        ObjectNames[static_cast<size_t>(i)] = objects[static_cast<size_t>(i)].name;
        ObjectK[static_cast<size_t>(i)] = objects[static_cast<size_t>(i)].k;
    }
}

} // namespace vellmore::settings
