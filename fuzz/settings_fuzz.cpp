// Any bytes as a settings file: the loader must end, keep its limits and never fail a check.
#include "fuzzcheck.h"
#include "platform/encoding.h"
#include "platform/fieldreader.h"
#include "settings/loader.h"
#include "settings/objecttable.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vellmore;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Every field read consumes input, so the reader always reaches the end.
    platform::FieldReader reader(bytes);
    size_t fields = 0;
    while (!reader.atEnd()) {
        const std::string field = reader.next();
        FUZZ_CHECK(field.size() <= size);
        FUZZ_CHECK(++fields <= size);
    }

    const settings::LoadResult result = settings::parseSettings(bytes);
    FUZZ_CHECK(result.objects.size() <= static_cast<size_t>(settings::maxObjects));
    FUZZ_CHECK(!result.refused() || (result.objects.empty() && result.assignments.empty()));
    for (const settings::ObjectEntry& object : result.objects) {
        FUZZ_CHECK(!object.name.empty() && object.name.back() == '=');
        FUZZ_CHECK(object.name.find('=') == object.name.size() - 1);
        FUZZ_CHECK(platform::isUtf8(object.name));
        const std::string entry = settings::listEntryText(object);
        FUZZ_CHECK(entry.size() > object.name.size() + 3 && entry.back() == ')');
    }
    // Bytes that are not UTF-8 are read as Windows-1252, whose letters take up to three bytes.
    for (const settings::Assignment& assignment : result.assignments) {
        FUZZ_CHECK(assignment.value.size() <= 3 * size);
        FUZZ_CHECK(platform::isUtf8(assignment.value));
    }

    settings::ObjectTable table;
    table.load(result.objects);
    FUZZ_CHECK(table.count == static_cast<int>(result.objects.size()));
    return 0;
}
