#include "table/tableapp.h"

#include "settings/location.h"
#include "settings/settingsfile.h"
#include "settings/store.h"
#include "table/exposuretable.h"
#include "table/tableargs.h"
#include "version.h"

#include <ostream>

namespace vellmore::table {

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
