#pragma once

#include <QString>

#include <memory>

namespace vellmore::platform {

// Hands work to the desktop: the text editor and the handler for documents and web addresses.
class Launcher
{
public:
    virtual ~Launcher() = default;

    // Starts the text editor on the settings file and returns at once; false when it could not
    // be started.
    virtual bool editSettings(const QString& settingsPath) = 0;

    // Opens a document or address with the desktop's handler. The result follows
    // ShellExecute's convention: above 32 on success, 32 or less on failure.
    virtual int openDocument(const QString& doc) = 0;
};

// Notepad and ShellExecuteA on Windows; elsewhere the desktop's handlers (xdg-open on Linux).
std::shared_ptr<Launcher> desktopLauncher();

} // namespace vellmore::platform
