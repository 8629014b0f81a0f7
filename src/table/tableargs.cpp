#include "table/tableargs.h"

#include "platform/numberformat.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vellmore::table {
namespace {

// What an option's numbers must be: the words for them, and the range they must lie in.
struct Kind
{
    const char* what;  // "film speeds separated by commas"
    const char* range; // "above 0", "above 0 and up to 90 degrees"
    double low;
    bool lowIncluded;
    double high;

    bool holds(double v) const { return (lowIncluded ? v >= low : v > low) && v <= high; }
};

constexpr double largest = std::numeric_limits<double>::max();

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// Reads plain decimal numbers ("400", "12.5") separated by `separator`. A value that is not
// written so is quoted whole in the reason; a number out of the range is named alone, and one
// beyond the double range is out of range too, however well it is written.
std::optional<std::string> readNumbers(const std::string& option, const std::string& value,
                                       char separator, const Kind& kind, std::vector<double>& out)
{
    out.clear();
    size_t start = 0;
    for (;;) {
        const size_t end = value.find(separator, start);
        const std::string item = value.substr(start, end - start);
        double number = 0;
        const char* last = item.data() + item.size();
        const auto res = std::from_chars(item.data(), last, number, std::chars_format::fixed);
        const bool written = !item.empty() && res.ptr == last;
        if (!written || (res.ec == std::errc() && !std::isfinite(number)) ||
            (res.ec != std::errc() && res.ec != std::errc::result_out_of_range))
            return option + " takes " + kind.what + ", not " + quoted(value);
        if (res.ec == std::errc::result_out_of_range || !kind.holds(number))
            return option + ": " + quoted(item) + " is out of range; it must be " + kind.range;
        out.push_back(number);
        if (end == std::string::npos)
            return std::nullopt;
        start = end + 1;
    }
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
    static const std::string upToLargest =
        "above 0 and at most " + platform::formatGeneral(largest);
    static const Kind isos = {"film speeds separated by commas", upToLargest.c_str(), 0, false,
                              largest};
    static const Kind heights = {"heights in degrees separated by commas",
                                 "above 0 and up to 90 degrees", 0, false, 90};
    static const Kind extinction = {"magnitudes per air mass", "from 0 to 2", 0, true, 2};
    static const Kind pixel = {"the pixel size in micrometres", upToLargest.c_str(), 0, false,
                               largest};
    static const Kind sensor = {"the sensor's width and height in millimetres, as 4.8x3.6",
                                upToLargest.c_str(), 0, false, largest};
    std::vector<double> numbers;
    std::optional<std::string> problem;
    if (arg == "--settings") {
        options.settingsFile = value;
    } else if (arg == "--iso") {
        problem = readNumbers(arg, value, ',', isos, options.plan.isos);
    } else if (arg == "--altitude") {
        problem = readNumbers(arg, value, ',', heights, options.plan.altitudes);
    } else if (arg == "--extinction") {
        problem = readNumbers(arg, value, '\0', extinction, numbers);
        if (!problem)
            options.plan.extinction = numbers[0];
    } else if (arg == "--bracket") {
        if (value != "1" && value != "2" && value != "3")
            problem = "--bracket takes 1, 2 or 3 stops, not " + quoted(value);
        else
            options.plan.bracketStops = value[0] - '0';
    } else if (arg == "--pixel-size") {
        problem = readNumbers(arg, value, '\0', pixel, numbers);
        if (!problem)
            options.plan.pixelMicrons = numbers[0];
    } else if (arg == "--sensor") {
        problem = readNumbers(arg, value, 'x', sensor, numbers);
        if (!problem && numbers.size() != 2)
            problem = arg + " takes " + sensor.what + ", not " + quoted(value);
        if (!problem)
            options.plan.sensorMm = std::make_pair(numbers[0], numbers[1]);
    }
    return problem;
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
