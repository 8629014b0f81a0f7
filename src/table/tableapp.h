#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vellmore::table {

// vellmore-table [--settings FILE] [--iso LIST] [--altitude LIST [--extinction K]] [--bracket N]
//                [--pixel-size UM] [--sensor WxH] [--csv | --json] [--help] [--version]
//
// Prints the night's exposure table for the optics and objects in the settings file. Returns
// the exit status: 0 done, 1 the settings or the optics could not be used, 2 bad arguments.
// Without --settings the file is the one the window of a copy in `programDir` would use.
int runTable(const std::vector<std::string>& args, const std::string& programDir, std::ostream& out,
             std::ostream& err);

} // namespace vellmore::table
