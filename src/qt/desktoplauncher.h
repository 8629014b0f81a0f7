#pragma once

#include "platform/launcher.h"

#include <memory>

namespace vellmore::qt {

// Notepad and ShellExecuteA on Windows; elsewhere the desktop's handlers (xdg-open on Linux).
std::shared_ptr<platform::Launcher> desktopLauncher();

} // namespace vellmore::qt
