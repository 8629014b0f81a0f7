#pragma once

#include "platform/launcher.h"

#include <string>
#include <vector>

namespace vellmore::testing {

// Records what the window asked the desktop to start instead of starting it.
struct RecordingLauncher : platform::Launcher
{
    bool editSettings(const std::string& settingsPath) override
    {
        editorPaths.push_back(settingsPath);
        return editorStarts;
    }
    int openDocument(const std::string& doc) override
    {
        documents.push_back(doc);
        return documentResult;
    }
    std::vector<std::string> editorPaths;
    std::vector<std::string> documents;
    bool editorStarts = true;
    int documentResult = 42;
};

} // namespace vellmore::testing
