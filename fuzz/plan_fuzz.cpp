// Any bytes as a settings file, and a few bytes before them choosing the site, the night and the
// options: the night's plan in every format must read back with a real reader of it (a JSON
// parser, a strict RFC 4180 CSV reader, an XML parser), and its text show no control character.
#include "fuzzcheck.h"
#include "plan/night.h"
#include "plan/readback.h"
#include "platform/encoding.h"
#include "settings/loader.h"
#include "table/exposuretable.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vellmore;
    constexpr size_t chosen = 7;
    if (size < chosen)
        return 0;
    table::Plan options;
    const uint8_t flags = data[6];
    if (flags & 1)
        options.shutters = {{"1/250", 1.0 / 250}, {"0.02", 0.02}};
    else
        options.isos = {100, 800}, options.bracketStops = (flags >> 3) & 3;
    if (flags & 2)
        options.pixelMicrons = 3.76;
    if (flags & 4)
        options.sensorMm = {{23.5, 15.6}};
    const std::string_view bytes(reinterpret_cast<const char*>(data) + chosen, size - chosen);
    const table::Built built = table::buildTable(settings::parseSettings(bytes), options);
    if (built.opticsFault)
        return 0;

    plan::NightOptions night;
    night.site = {(data[0] - 128) * 90.0 / 128, (data[1] - 128) * 180.0 / 128, 0};
    const long long first = sky::daysSinceEpoch({1900, 1, 1});
    night.date = sky::dateOfDay(first + (data[2] << 8 | data[3]) % 73414);
    night.offsetMinutes = (data[4] % 113 - 56) * 15;
    night.stepMinutes = 15 + data[5] % 226;
    night.chart = true;
    const table::ExposureTable& table = built.table;
    const plan::NightPlan plan = plan::planNight(table, night);

    FUZZ_CHECK(nlohmann::json::accept(plan::renderNightJson(table, plan)));
    FUZZ_CHECK(testing::readCsv(plan::renderNightCsv(table, plan)));
    FUZZ_CHECK(testing::readSvg(plan::renderNightSvg(table, plan)));
    const std::string text = plan::renderNightText(table, plan);
    FUZZ_CHECK(platform::isUtf8(text));
    for (const char c : text)
        FUZZ_CHECK(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    return 0;
}
