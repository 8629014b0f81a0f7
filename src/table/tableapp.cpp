#include "table/tableapp.h"

#include "plan/night.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "settings/location.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "table/exposuretable.h"
#include "table/tableargs.h"
#include "version.h"

#include <ostream>

namespace vellmore::table {

namespace {

// The night's date and local time where the arguments leave them out: today, by this machine's
// clock, in the local time given or this machine's own on that date.
plan::NightOptions nightOf(const NightArgs& args)
{
    plan::NightOptions night;
    night.site = args.site;
    night.stepMinutes = args.stepMinutes;
    night.chart = args.svgFile.has_value();
    const double now = platform::nowSeconds();
    const sky::Date utcToday = sky::localDate(now, 0);
    night.date = args.date.value_or(
        sky::localDate(now, args.offsetMinutes.value_or(platform::localOffsetMinutes(
                                utcToday.year, utcToday.month, utcToday.day))));
    night.offsetMinutes = args.offsetMinutes.value_or(
        platform::localOffsetMinutes(night.date.year, night.date.month, night.date.day));
    return night;
}

int runNight(const ExposureTable& table, const NightArgs& args, Format format, std::ostream& out,
             std::ostream& err)
{
    const plan::NightPlan plan = plan::planNight(table, nightOf(args));
    switch (format) {
    case Format::Text:
        out << plan::renderNightText(table, plan);
        break;
    case Format::Csv:
        out << plan::renderNightCsv(table, plan);
        break;
    case Format::Json:
        plan::writeNightJson(out, table, plan);
        break;
    }
    if (args.svgFile) {
        const platform::FileWrite written =
            platform::replaceFile(*args.svgFile, plan::renderNightSvg(table, plan));
        if (!written.ok) {
            err << "vellmore-table: could not write the chart " << *args.svgFile << ": "
                << written.reason << "\n";
            return 1;
        }
    }
    return 0;
}

} // namespace

int runTable(const std::vector<std::string>& args, const std::string& programDir, std::ostream& out,
             std::ostream& err)
{
    Options options;
    if (const auto problem = parseArgs(args, options)) {
        err << "vellmore-table: " << *problem << "\n" << usage;
        return 2;
    }
    if (options.help) {
        out << usage;
        return 0;
    }
    if (options.version) {
        out << "vellmore-table " VELLMORE_VERSION_TEXT "\n"
               "Copyright 2026 The Vellmore developers. Released under the MIT licence.\n";
        return 0;
    }

    const std::string path =
        options.settingsFile.value_or(settings::settingsLocation(programDir).path);
    settings::LoadOutcome loaded = settings::readSettingsFile(path);
    if (loaded.missing && options.settingsFile) {
        err << "vellmore-table: there is no settings file " << path << "\n";
        return 1;
    }
    // Where the window would write the default file, its content stands in.
    if (loaded.missing) {
        err << "vellmore-table: no settings file at " << path << "; using the default settings\n";
        loaded.content = settings::parseSettings(settings::defaultContent());
    }
    if (const std::string message = settings::describeOutcome(loaded, path); !message.empty()) {
        err << "vellmore-table: " << message << "\n";
        return 1;
    }

    const Built built = buildTable(loaded.content, options.plan);
    if (built.opticsFault) {
        err << "vellmore-table: " << *built.opticsFault << "\n";
        return 1;
    }
    if (options.night)
        return runNight(built.table, *options.night, options.format, out, err);
    switch (options.format) {
    case Format::Text:
        out << renderText(built.table);
        break;
    case Format::Csv:
        out << renderCsv(built.table);
        break;
    case Format::Json:
        out << renderJson(built.table);
        break;
    }
    return 0;
}

} // namespace vellmore::table
