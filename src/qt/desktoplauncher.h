#pragma once

#include "platform/launcher.h"

#include <memory>

namespace vellmore::qt {

// The desktop's handlers for text files and web addresses (xdg-open on Linux).
std::shared_ptr<platform::Launcher> desktopLauncher();

} // namespace vellmore::qt
