#pragma once

#include "sky/ephemeris.h"
#include "table/exposuretable.h"

#include <optional>
#include <string>
#include <vector>

namespace vellmore::table {

enum class Format { Text, Csv, Json };

// What --site and the options that go with it asked for: a night's plan at that site.
struct NightArgs
{
    sky::Site site;
    std::optional<sky::Date> date;    // default: today, in the local time
    std::optional<int> offsetMinutes; // default: this machine's offset on that date
    int stepMinutes = 60;
    std::optional<std::string> svgFile;
};

// What vellmore-table was asked for on its command line.
struct Options
{
    std::optional<std::string> settingsFile;
    std::optional<NightArgs> night;
    Plan plan;
    Format format = Format::Text;
    bool help = false;
    bool version = false;
};

// Every option, one line each, for --help and after a bad argument.
extern const char* const usage;

// Fills `options` from the arguments ("--iso 400" or "--iso=400"), or returns the one-line
// reason why they cannot be used, naming the argument.
std::optional<std::string> parseArgs(const std::vector<std::string>& args, Options& options);

} // namespace vellmore::table
