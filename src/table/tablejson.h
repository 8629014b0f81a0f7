#pragma once

#include "platform/jsonwriter.h"
#include "table/exposuretable.h"

#include <optional>
#include <string>

namespace vellmore::table {

// The optics and the sky a pixel and the sensor see, as the documents' "optics" object.
void opticsJson(platform::JsonWriter& json, const ExposureTable& table);

// A shutter speed's film speed: the shutter as given and in seconds, the film speed for it (to
// 6 significant digits in a plan) and the marked ISO at or above.
void speedJson(platform::JsonWriter& json, const Cell& cell, bool plan);

// None for an empty text, which a document writes as null.
std::optional<std::string> unlessEmpty(const std::string& text);

} // namespace vellmore::table
