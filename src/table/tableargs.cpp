#include "table/tableargs.h"

#include "platform/doublechars.h"
#include "platform/numberformat.h"

#include <algorithm>
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
        const auto res = platform::fromChars(item.data(), last, number, std::chars_format::fixed);
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

// --shutter LIST: each "1/N" or plain seconds, above 0 and up to an hour.
std::optional<std::string> readShutters(const std::string& value, std::vector<ShutterSpeed>& out)
{
    out.clear();
    size_t start = 0;
    for (;;) {
        const size_t end = value.find(',', start);
        const std::string item = value.substr(start, end - start);
        const bool fraction = item.rfind("1/", 0) == 0;
        const std::string number = fraction ? item.substr(2) : item;
        double read = 0;
        const char* last = number.data() + number.size();
        const auto res = platform::fromChars(number.data(), last, read, std::chars_format::fixed);
        if (number.empty() || res.ptr != last ||
            (res.ec != std::errc() && res.ec != std::errc::result_out_of_range))
            return "--shutter takes shutter speeds separated by commas, as 1/250 or 0.004 "
                   "seconds, not " +
                   quoted(value);
        const double seconds = fraction ? 1 / read : read;
        if (res.ec != std::errc() || !std::isfinite(read) || !(seconds > 0) || seconds > 3600)
            return "--shutter: " + quoted(item) +
                   " is out of range; it must be above 0 and up to 3600 seconds";
        out.push_back({item, seconds});
        if (end == std::string::npos)
            return std::nullopt;
        start = end + 1;
    }
}

constexpr const char* nightOptions[] = {"--date", "--utc-offset", "--step", "--svg"};

bool takesValue(const std::string& arg)
{
    for (const char* option :
         {"--settings", "--iso", "--shutter", "--altitude", "--extinction", "--bracket",
          "--pixel-size", "--sensor", "--site", "--date", "--utc-offset", "--step", "--svg"}) {
        if (arg == option)
            return true;
    }
    return false;
}

// --site LAT,LON[,HEIGHT]: each number in its own range.
std::optional<std::string> readSite(const std::string& value, sky::Site& site)
{
    const Kind kinds[] = {{"the latitude", "from -90 to 90 degrees", -90, true, 90},
                          {"the longitude", "from -180 to 180 degrees", -180, true, 180},
                          {"the height", "from -500 to 10000 metres", -500, true, 10000}};
    static const Kind any = {"the latitude and longitude in degrees and the height in metres, "
                             "as 51.48,-0.01,20",
                             "", -largest, true, largest};
    std::vector<double> numbers;
    if (readNumbers("--site", value, ',', any, numbers) || numbers.size() < 2 || numbers.size() > 3)
        return std::string("--site takes ") + any.what + ", not " + quoted(value);
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (!kinds[i].holds(numbers[i]))
            return std::string("--site: ") + kinds[i].what + " " +
                   quoted(platform::formatGeneral(numbers[i])) + " is out of range; it must be " +
                   kinds[i].range;
    }
    site = {numbers[0], numbers[1], numbers.size() > 2 ? numbers[2] : 0};
    return std::nullopt;
}

// Two digits or more of a whole number, all of `text`.
bool readWhole(const std::string& text, int& number)
{
    const char* last = text.data() + text.size();
    const auto res = std::from_chars(text.data(), last, number);
    return !text.empty() && res.ec == std::errc() && res.ptr == last && text[0] != '-';
}

std::optional<std::string> readDate(const std::string& value, sky::Date& date)
{
    const std::string must = "; it must be a date from 1900-01-01 to 2100-12-31, as YYYY-MM-DD";
    const bool shaped = value.size() == 10 && value[4] == '-' && value[7] == '-' &&
                        readWhole(value.substr(0, 4), date.year) &&
                        readWhole(value.substr(5, 2), date.month) &&
                        readWhole(value.substr(8, 2), date.day);
    if (!shaped || !sky::isValidDate(date))
        return "--date: " + quoted(value) + " is not a date" + must;
    if (date.year < 1900 || date.year > 2100)
        return "--date: " + quoted(value) + " is out of range" + must;
    return std::nullopt;
}

std::optional<std::string> readOffset(const std::string& value, int& minutes)
{
    int hours = 0, rest = 0;
    const bool sign = !value.empty() && (value[0] == '+' || value[0] == '-');
    const std::string body = sign ? value.substr(1) : value;
    if (body.size() != 5 || body[2] != ':' || !readWhole(body.substr(0, 2), hours) ||
        !readWhole(body.substr(3, 2), rest) || rest > 59)
        return "--utc-offset takes the local time's offset from UTC as +HH:MM, not " +
               quoted(value);
    minutes = (hours * 60 + rest) * (value[0] == '-' ? -1 : 1);
    if (minutes < -14 * 60 || minutes > 14 * 60)
        return "--utc-offset: " + quoted(value) +
               " is out of range; it must be from -14:00 to +14:00";
    return std::nullopt;
}

std::optional<std::string> readStep(const std::string& value, int& minutes)
{
    if (!readWhole(value, minutes))
        return "--step takes whole minutes, not " + quoted(value);
    if (minutes < 1 || minutes > 240)
        return "--step: " + quoted(value) + " is out of range; it must be from 1 to 240 minutes";
    return std::nullopt;
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
    const bool forNight =
        arg == "--site" ||
        std::find(std::begin(nightOptions), std::end(nightOptions), arg) != std::end(nightOptions);
    NightArgs* night = !forNight       ? nullptr
                       : options.night ? &*options.night
                                       : &options.night.emplace();
    if (arg == "--site") {
        problem = readSite(value, night->site);
    } else if (arg == "--date") {
        problem = readDate(value, night->date.emplace());
    } else if (arg == "--utc-offset") {
        problem = readOffset(value, night->offsetMinutes.emplace());
    } else if (arg == "--step") {
        problem = readStep(value, night->stepMinutes);
    } else if (arg == "--svg") {
        night->svgFile = value;
    } else if (arg == "--settings") {
        options.settingsFile = value;
    } else if (arg == "--iso") {
        problem = readNumbers(arg, value, ',', isos, options.plan.isos);
    } else if (arg == "--shutter") {
        problem = readShutters(value, options.plan.shutters);
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
    "usage: vellmore-table [--settings FILE] [--iso LIST | --shutter LIST]\n"
    "                      [--altitude LIST [--extinction K]]\n"
    "                      [--bracket N] [--pixel-size UM] [--sensor WxH] [--csv | --json]\n"
    "       vellmore-table --site LAT,LON[,HEIGHT_M] [--date YYYY-MM-DD] [--utc-offset +HH:MM]\n"
    "                      [--step MINUTES] [--svg FILE] [the options above but --altitude]\n"
    "       vellmore-table --help | --version\n"
    "  --settings FILE    the settings file (default: the one the window uses)\n"
    "  --iso LIST         film speeds, comma-separated, e.g. 100,400,1600 (default: FilmISO)\n"
    "  --shutter LIST     shutter speeds instead, e.g. 1/250,1/60 or 0.004 seconds: the film\n"
    "                     speed that gives each, N^2 / (K t), and the third-stop ISO at or\n"
    "                     above it\n"
    "  --altitude LIST    the object's heights above the horizon in degrees, e.g. 20,45: the\n"
    "                     exposures through the air mass at each (Kasten and Young, 1989)\n"
    "  --extinction K     the air's extinction in magnitudes per air mass (default: 0.25)\n"
    "  --bracket N        the full-stop shutter speeds 1, 2 or 3 stops either side\n"
    "  --pixel-size UM    the sensor's pixel size in micrometres: the image scale\n"
    "  --sensor WxH       the sensor's width and height in millimetres: the field of view\n"
    "  --csv              comma-separated values for a spreadsheet\n"
    "  --json             one JSON document for scripts\n"
    "A night's plan, where the Moon and the planets of the settings file stand from sunset to\n"
    "sunrise and the exposure through the air at each step:\n"
    "  --site LAT,LON[,HEIGHT_M]  latitude (north positive), longitude (east positive) in\n"
    "                     degrees, height above sea level in metres (default 0)\n"
    "  --date YYYY-MM-DD  the night that begins that evening, 1900 to 2100 (default: today)\n"
    "  --utc-offset +HH:MM  local time's offset from UTC (default: this machine's on that date)\n"
    "  --step MINUTES     minutes between rows, 1 to 240, on whole minutes of local time\n"
    "                     (default: 60)\n"
    "  --svg FILE         also draw the night as an SVG chart into FILE\n"
    "  Altitudes are topocentric, for the object's centre, with standard refraction; rise and\n"
    "  set are when the upper limb of the Sun or the Moon, or the centre of a planet, is on the\n"
    "  horizon lifted by 34' of refraction (the almanac's conventions). Positions come from\n"
    "  ERFA, the IAU's standard routines.\n"
    "  --help             this text\n"
    "  --version          the program's version and licence\n";

std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& options)
{
    bool csv = false;
    bool json = false;
    bool extinction = false;
    bool site = false;
    std::string forNight; // the first option that needs --site
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
            site = site || arg == "--site";
            if (forNight.empty() && std::find(std::begin(nightOptions), std::end(nightOptions),
                                              arg) != std::end(nightOptions))
                forNight = arg;
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
    if (!options.plan.shutters.empty() && !options.plan.isos.empty())
        return "--shutter and --iso cannot be used together: the shutter speed decides the film "
               "speed";
    if (!options.plan.shutters.empty() && options.plan.bracketStops > 0)
        return "--shutter and --bracket cannot be used together: the shutter speed is fixed";
    if (!forNight.empty() && !site)
        return forNight + " needs --site";
    if (site && !options.plan.altitudes.empty())
        return "--site and --altitude cannot be used together: the site gives the altitudes";
    if (extinction && options.plan.altitudes.empty() && !site)
        return "--extinction needs --altitude or --site";
    options.format = csv ? Format::Csv : json ? Format::Json : Format::Text;
    return std::nullopt;
}

} // namespace vellmore::table
