// Any argument list for vellmore-table (the input's NUL-separated pieces): the program ends with
// status 0, or 2 and a message that names an argument given. Whatever follows --settings or --svg
// is turned into a file in a folder of the run's own, so a fuzzed path writes nowhere else; the
// settings there are the default file, which every run can use.
#include "fuzzcheck.h"
#include "settings/settingsfile.h"
#include "table/tableapp.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string& folder()
{
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "vellmore-args-fuzz";
        std::filesystem::create_directories(dir);
        std::ofstream(dir / "Vellmore.ini", std::ios::binary)
            << vellmore::settings::defaultContent();
        return dir.string();
    }();
    return path;
}

bool isPathOption(const std::string& arg)
{
    return arg == "--settings" || arg == "--svg";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args;
    std::string piece;
    for (size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            args.push_back(piece);
            piece.clear();
        } else {
            piece += static_cast<char>(data[i]);
        }
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const size_t equals = args[i].find('=');
        const std::string option = args[i].substr(0, equals);
        if (isPathOption(option) && equals != std::string::npos)
            args[i] =
                option + "=" + folder() + (option == "--svg" ? "/night.svg" : "/Vellmore.ini");
        else if (isPathOption(args[i]) && i + 1 < args.size())
            args[i + 1] = folder() + (args[i] == "--svg" ? "/night.svg" : "/Vellmore.ini");
    }
    std::ostringstream out, err;
    const int status = vellmore::table::runTable(args, folder(), out, err);
    FUZZ_CHECK(status == 0 || status == 2);
    if (status == 2) {
        // The message comes first, the usage last (an argument may hold "usage: " too).
        const std::string message = err.str().substr(0, err.str().rfind("\nusage: "));
        bool named = false;
        for (const std::string& arg : args) {
            const std::string option = arg.substr(0, arg.find('='));
            named = named || message.find(arg.empty() ? "\"\"" : arg) != std::string::npos ||
                    (!option.empty() && message.find(option) != std::string::npos);
        }
        FUZZ_CHECK(named);
    }
    return 0;
}
