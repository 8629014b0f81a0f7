#include "settings/loader.h"

#include "platform/encoding.h"
#include "platform/fieldreader.h"
#include "platform/numberformat.h"
#include "platform/numberparse.h"

#include <array>

namespace vellmore::settings {
namespace {

constexpr std::string_view sectionHeader = "[Exposures]";

bool isUtf16(std::string_view bytes)
{
    return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
}

constexpr std::array<calc::Input, calc::inputCount> allInputs = {
    calc::Input::TelescopeFL,       calc::Input::EyepieceFL, calc::Input::CameraFL,
    calc::Input::TelescopeAperture, calc::Input::K,          calc::Input::FilmISO,
};

} // namespace

std::string keyOf(calc::Input field)
{
    switch (field) {
    case calc::Input::TelescopeFL:
        return "TelescopeFL=";
    case calc::Input::EyepieceFL:
        return "EyepieceFL=";
    case calc::Input::CameraFL:
        return "CameraFL=";
    case calc::Input::TelescopeAperture:
        return "TelescopeAperture=";
    case calc::Input::K:
        return "K=";
    case calc::Input::FilmISO:
        return "FilmISO=";
    }
    return {};
}

LoadResult parseSettings(std::string_view bytes)
{
    LoadResult result;
    if (isUtf16(bytes)) {
        result.error = LoadError::Utf16;
        return result;
    }

    const std::string text = platform::fileTextToUtf8(bytes);
    platform::FieldReader reader(text);
    bool inObjects = false;
    while (!reader.atEnd()) {
        std::string field = reader.next();
        // The field after a header is read without an end test; at the end it is empty.
        if (field == sectionHeader) {
            inObjects = true;
            field = reader.next();
        }
        const size_t eq = field.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = field.substr(0, eq + 1);
        std::string value = field.substr(eq + 1);

        if (inObjects) {
            if (result.objects.size() >= static_cast<size_t>(maxObjects)) {
                result.error = LoadError::TooManyObjects;
                return result;
            }
            const platform::ParsedNumber k = platform::parseNumber(value);
            if (k.overflow) {
                result.error = LoadError::ObjectOverflow;
                result.errorObject = key;
                return result;
            }
            result.objects.push_back({key, k.value});
            continue;
        }
        for (const calc::Input input : allInputs) {
            if (key == keyOf(input)) {
                result.assignments.push_back({input, std::move(value)});
                break;
            }
        }
    }
    return result;
}

std::string listEntryText(const ObjectEntry& object)
{
    return object.name + " (" + platform::formatSignedTrimmed(object.k) + ")";
}

} // namespace vellmore::settings
