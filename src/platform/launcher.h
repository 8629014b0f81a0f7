#pragma once

#include <memory>
#include <string>

namespace vellmore::platform {

// Hands work to the desktop: the text editor and the handler for documents and web addresses.
// Paths and addresses are UTF-8.
class Launcher
{
public:
    virtual ~Launcher() = default;

    // Starts the text editor on the settings file and returns at once; false when it could not
    // be started.
    virtual bool editSettings(const std::string& settingsPath) = 0;

    // Opens a document or address with the desktop's handler. The result follows
    // ShellExecute's convention: above 32 on success, 32 or less on failure.
    virtual int openDocument(const std::string& doc) = 0;
};

#ifdef _WIN32
// Notepad from the system's folder on the settings file, ShellExecuteW for documents.
std::shared_ptr<Launcher> windowsLauncher();
#endif

} // namespace vellmore::platform
