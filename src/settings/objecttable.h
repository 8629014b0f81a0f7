#pragma once

#include "settings/loader.h"

#include <string>
#include <vector>

namespace vellmore::settings {

// The window's object table: names (with their trailing "=") and K values, maxObjects entries.
// Each load overwrites it from index 0 and never empties it; entries past the loaded count
// keep what an earlier load left, but nothing reaches them because the selector lists only
// `count` entries.
struct ObjectTable
{
    std::vector<std::string> ObjectNames = std::vector<std::string>(maxObjects);
    std::vector<double> ObjectK = std::vector<double>(maxObjects, 0.0);
    int count = 0;

    void load(const std::vector<ObjectEntry>& objects);
    bool holds(int index) const { return index >= 0 && index < count; }
};

} // namespace vellmore::settings
