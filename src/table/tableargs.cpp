#include "table/tableargs.h"

#include <charconv>
#include <cmath>
#include <functional>

namespace vellmore::table {
namespace {

// A plain decimal number such as "400" or "12.5", with nothing after it.
std::optional<double> number(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || res.ec != std::errc() || res.ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

using Accept = std::function<bool(double)>;

// Numbers separated by `separator`, each accepted; the item that is not, when one is not.
std::optional<std::string> numbers(const std::string& text, char separator, const Accept& accept,
                                   std::vector<double>& out)
{
    out.clear();
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        const std::string item = text.substr(start, end - start);
        const std::optional<double> value = number(item);
        if (!value || !accept(*value))
            return item;
        out.push_back(*value);
        if (end == std::string::npos)
            return std::nullopt;
        start = end + 1;
    }
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

bool takesValue(const std::string& arg)
{
    for (const char* option : {"--settings", "--iso", "--altitude", "--extinction", "--bracket",
                               "--pixel-size", "--sensor"}) {
        if (arg == option)
            return true;
    }
    return false;
}

// Takes the value of an option that has one, or says why it cannot be taken.
std::optional<std::string> takeValue(const std::string& arg, const std::string& value,
                                     Options& options)
{
    const std::optional<double> single = number(value);
    std::vector<double> pair;
    if (arg == "--settings") {
        options.settingsFile = value;
    } else if (arg == "--iso") {
        if (const auto bad = numbers(
                value, ',', [](double v) { return v > 0; }, options.plan.isos))
            return "--iso takes positive numbers separated by commas, not " + quoted(*bad);
    } else if (arg == "--altitude") {
        const Accept height = [](double h) { return h > 0 && h <= 90; };
        if (const auto bad = numbers(value, ',', height, options.plan.altitudes))
            return "--altitude takes heights above 0 and up to 90 degrees separated by commas, "
                   "not " +
                   quoted(*bad);
    } else if (arg == "--extinction") {
        if (!single || *single < 0 || *single > 2)
            return "--extinction takes magnitudes per air mass from 0 to 2, not " + quoted(value);
        options.plan.extinction = *single;
    } else if (arg == "--bracket") {
        if (value != "1" && value != "2" && value != "3")
            return "--bracket takes 1, 2 or 3 stops, not " + quoted(value);
        options.plan.bracketStops = value[0] - '0';
    } else if (arg == "--pixel-size") {
        if (!single || !(*single > 0))
            return "--pixel-size takes the pixel size in micrometres, above 0, not " +
                   quoted(value);
        options.plan.pixelMicrons = *single;
    } else if (arg == "--sensor") {
        if (numbers(
                value, 'x', [](double mm) { return mm > 0; }, pair) ||
            pair.size() != 2)
            return "--sensor takes the sensor's width and height in millimetres, as 4.8x3.6, "
                   "not " +
                   quoted(value);
        options.plan.sensorMm = std::make_pair(pair[0], pair[1]);
    }
    return std::nullopt;
}

} // namespace

const char* const usage =
    "usage: vellmore-table [--settings FILE] [--iso LIST] [--altitude LIST [--extinction K]]\n"
    "                      [--bracket N] [--pixel-size UM] [--sensor WxH] [--csv | --json]\n"
    "                      [--help] [--version]\n"
    "  --settings FILE    the settings file (default: Vellmore.ini beside the program)\n"
    "  --iso LIST         film speeds, comma-separated, e.g. 100,400,1600 (default: FilmISO)\n"
    "  --altitude LIST    the object's heights above the horizon in degrees, e.g. 20,45: the\n"
    "                     exposures through the air mass at each (Kasten and Young, 1989)\n"
    "  --extinction K     the air's extinction in magnitudes per air mass (default: 0.25)\n"
    "  --bracket N        the full-stop shutter speeds 1, 2 or 3 stops either side\n"
    "  --pixel-size UM    the sensor's pixel size in micrometres: the image scale\n"
    "  --sensor WxH       the sensor's width and height in millimetres: the field of view\n"
    "  --csv              comma-separated values for a spreadsheet\n"
    "  --json             one JSON document for scripts\n"
    "  --help             this text\n"
    "  --version          the program's version\n";

std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& options)
{
    bool csv = false;
    bool json = false;
    bool extinction = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::optional<std::string> value;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
        }
        if (takesValue(arg)) {
            if (!value && i + 1 >= args.size())
                return arg + " needs a value";
            if (!value)
                value = args[++i];
            if (const auto problem = takeValue(arg, *value, options))
                return problem;
            extinction = extinction || arg == "--extinction";
            continue;
        }
        if (value)
            return arg + " takes no value";
        if (arg == "--csv")
            csv = true;
        else if (arg == "--json")
            json = true;
        else if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else
            return "unknown argument " + quoted(args[i]);
    }
    if (csv && json)
        return "--csv and --json cannot be used together";
    if (extinction && options.plan.altitudes.empty())
        return "--extinction needs --altitude";
    options.format = csv ? Format::Csv : json ? Format::Json : Format::Text;
    return std::nullopt;
}

} // namespace vellmore::table
