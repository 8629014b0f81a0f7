#include "settings/objecttable.h"

#include <cassert>

namespace vellmore::settings {

void ObjectTable::load(const std::vector<ObjectEntry>& objects)
{
    // The loader stops at maxObjects, the size of the table.
    assert(objects.size() <= ObjectNames.size());
    count = static_cast<int>(objects.size());
    for (int i = 0; i < count; ++i) {
        ObjectNames[static_cast<size_t>(i)] = objects[static_cast<size_t>(i)].name;
        ObjectK[static_cast<size_t>(i)] = objects[static_cast<size_t>(i)].k;
    }
}

} // namespace vellmore::settings
