#include "settings/store.h"

#include "platform/files.h"
#include "platform/folders.h"
#include "settings/settingsfile.h"

namespace vellmore::settings {

LoadOutcome readSettingsFile(const std::string& path)
{
    LoadOutcome outcome;
    outcome.path = path;
    platform::FileRead file = platform::readRegularFile(path, maxSettingsBytes);
    switch (file.status) {
    case platform::ReadStatus::Missing:
        outcome.missing = true;
        return outcome;
    case platform::ReadStatus::NotAFile:
        outcome.problem = FileProblem::NotAFile;
        break;
    case platform::ReadStatus::Unreadable:
        outcome.problem = FileProblem::Unreadable;
        break;
    case platform::ReadStatus::TooLarge:
        outcome.problem = FileProblem::TooLarge;
        break;
    case platform::ReadStatus::Ok:
        outcome.read = true;
        outcome.content = parseSettings(file.bytes);
        return outcome;
    }
    outcome.detail = file.detail;
    return outcome;
}

LoadOutcome loadSettingsFile(const std::string& path, const std::string& folder)
{
    LoadOutcome outcome = readSettingsFile(path);
    if (!outcome.missing)
        return outcome;
    platform::FileWrite written;
    written.reason = folder.empty() ? std::string() : platform::makeFolders(folder);
    if (written.reason.empty())
        written = platform::createNewFile(path, defaultContent());
    if (!written.ok) {
        outcome.problem = FileProblem::CannotCreate;
        outcome.detail = written.reason;
    }
    return outcome;
}

std::string describeOutcome(const LoadOutcome& outcome, const std::string& shownName)
{
    const std::string& path = outcome.path;
    const std::string unchanged = " Nothing was loaded or changed.";
    switch (outcome.problem) {
    case FileProblem::CannotCreate:
        return "Could not create the settings file " + path + ": " + outcome.detail +
               ". The calculator goes on with the values on screen.";
    case FileProblem::NotAFile:
        return "The settings file " + path + " is " + outcome.detail + ", not a plain text file." +
               unchanged;
    case FileProblem::Unreadable:
        return "Could not read the settings file " + path + ": " + outcome.detail + "." + unchanged;
    case FileProblem::TooLarge:
        return "The settings file " + path + " is larger than " +
               std::to_string(maxSettingsBytes / (1024 * 1024)) +
               " MiB, too large to be settings." + unchanged;
    case FileProblem::None:
        break;
    }
    if (!outcome.read || !outcome.content.error)
        return {};
    switch (*outcome.content.error) {
    case LoadError::Utf16:
        return shownName + " is saved as UTF-16; save it as plain text." + unchanged;
    case LoadError::TooManyObjects:
        return shownName + " lists more than " + std::to_string(maxObjects) +
               " objects; only the first " + std::to_string(maxObjects) + " were loaded.";
    case LoadError::ObjectOverflow:
        return "The K of " + outcome.content.errorObject + " in " + shownName +
               " is too large a number; the objects from there on were not loaded.";
    }
    return {};
}

} // namespace vellmore::settings
