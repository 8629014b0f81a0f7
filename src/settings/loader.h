#pragma once

#include "calc/exposure.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmore::settings {

// The object table holds this many objects; the file format itself has no limit.
constexpr int maxObjects = 1000;

struct Assignment
{
    calc::Input field;
    std::string value; // exactly as read, not converted or normalised
};

struct ObjectEntry
{
    std::string name; // up to and including the first "=" ("CrescentMoon=")
    double k = 0;
};

enum class LoadError {
    Utf16,          // nothing was read from the file
    TooManyObjects, // the first maxObjects objects were read
    ObjectOverflow, // an object's K is beyond the double range; the objects before it were read
};

struct LoadResult
{
    std::vector<Assignment> assignments; // in file order
    std::vector<ObjectEntry> objects;    // in file order
    std::optional<LoadError> error;
    std::string errorObject; // the object named by ObjectOverflow

    // The file could not be read as settings at all: nothing may change.
    bool refused() const { return error == LoadError::Utf16; }
};

// Interprets the bytes of a settings file: key=value fields set input fields until the
// "[Exposures]" header, every "=" field after it is an object; fields without "=" are skipped.
// The bytes are read as UTF-8 where they are UTF-8 and in the legacy code page otherwise; every
// text in the result is UTF-8.
LoadResult parseSettings(std::string_view bytes);

// The selector's entry for an object: its name, " (", its K as signed number text, ")".
std::string listEntryText(const ObjectEntry& object);

// The key that sets an input field ("TelescopeFL=").
std::string keyOf(calc::Input field);

} // namespace vellmore::settings
