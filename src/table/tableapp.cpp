#include "table/tableapp.h"

#include "settings/settingsfile.h"
#include "settings/store.h"
#include "table/exposuretable.h"
#include "version.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>

namespace vellmore::table {
namespace {

const char* const usage =
    "usage: vellmore-table [--settings FILE] [--iso LIST] [--csv] [--help] [--version]\n"
    "  --settings FILE  the settings file (default: Vellmore.ini beside the program)\n"
    "  --iso LIST       film speeds, comma-separated, e.g. 100,400,1600 (default: FilmISO)\n"
    "  --csv            comma-separated values for a spreadsheet\n";

struct Options
{
    std::optional<std::string> settingsFile;
    std::vector<double> isos;
    bool csv = false;
    bool help = false;
    bool version = false;
};

// A whole positive number such as "400" or "12.5"; nothing else may follow it.
std::optional<double> positiveNumber(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || res.ec != std::errc() || res.ptr != end || !(value > 0) ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Fills `options`, or returns the one-line reason why the arguments cannot be used.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& options)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const bool takesValue = arg == "--settings" || arg == "--iso";
        if (takesValue && !value) {
            if (i + 1 >= args.size())
                return arg + " needs a value";
            value = args[++i];
        } else if (!takesValue && value) {
            return arg + " takes no value";
        }

        if (arg == "--settings") {
            options.settingsFile = *value;
        } else if (arg == "--iso") {
            options.isos.clear();
            size_t start = 0;
            for (;;) {
                const size_t comma = value->find(',', start);
                const std::string item = value->substr(start, comma - start);
                const std::optional<double> iso = positiveNumber(item);
                if (!iso)
                    return "--iso takes positive numbers separated by commas, not \"" + item + "\"";
                options.isos.push_back(*iso);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (arg == "--csv") {
            options.csv = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            return "unknown argument \"" + args[i] + "\"";
        }
    }
    return std::nullopt;
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
        out << "vellmore-table " VELLMORE_VERSION_TEXT "\n";
        return 0;
    }

    const std::string path = options.settingsFile.value_or(settings::settingsPath(programDir));
    settings::LoadOutcome loaded = settings::readSettingsFile(path);
    if (loaded.missing && options.settingsFile) {
        err << "vellmore-table: there is no settings file " << path << "\n";
        return 1;
    }
    // Beside the program, where the window would write the default file, its content stands in.
    if (loaded.missing) {
        err << "vellmore-table: no settings file at " << path << "; using the default settings\n";
        loaded.read = true;
        loaded.content = settings::parseSettings(settings::defaultContent());
    }
    if (const std::string message = settings::describeOutcome(loaded, path); !message.empty()) {
        err << "vellmore-table: " << message << "\n";
        return 1;
    }

    const Built built = buildTable(loaded.content, options.isos);
    if (built.opticsFault) {
        err << "vellmore-table: " << *built.opticsFault << "\n";
        return 1;
    }
    out << (options.csv ? renderCsv(built.table) : renderText(built.table));
    return 0;
}

} // namespace vellmore::table
