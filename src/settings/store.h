#pragma once

#include "settings/loader.h"

#include <cstddef>
#include <string>

namespace vellmore::settings {

// A settings file larger than this is refused rather than read.
constexpr size_t maxSettingsBytes = size_t{64} * 1024 * 1024;

enum class FileProblem {
    None,
    CannotCreate, // the default file could not be written
    NotAFile,     // a folder, pipe, device or dangling link stands at the path
    Unreadable,
    TooLarge,
};

struct LoadOutcome
{
    bool missing = false; // nothing at all stood at the path
    bool read = false;    // the file was read and `content` holds what it said
    LoadResult content;
    FileProblem problem = FileProblem::None;
    std::string path;
    std::string detail; // the system's reason, or what stands at the path
};

// Reads and interprets the settings file; never writes anything.
LoadOutcome readSettingsFile(const std::string& path);

// One load of the settings file: where nothing exists at `path` the default file is created
// (never over anything that exists; `folder`, when given, is made first) and nothing is loaded;
// otherwise the file is read in one go and interpreted.
LoadOutcome loadSettingsFile(const std::string& path, const std::string& folder = {});

// The message for a load that did not fully succeed, or "" when there is nothing to report.
// `shownName` names the file where the message speaks of its content: the window writes the file's
// name, the table program the path it was given.
std::string describeOutcome(const LoadOutcome& outcome, const std::string& shownName);

} // namespace vellmore::settings
