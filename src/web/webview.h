#pragma once

#include "form/view.h"
#include "platform/launcher.h"

#include <string>
#include <vector>

// The window and the desktop as the web page has them: each call goes to the page's
// Module.vellmoreView, which holds the controls, shows messages and opens the settings editor.
namespace vellmore::web {

class WebView : public form::View
{
public:
    std::string text(form::Control control) const override;
    void setText(form::Control control, const std::string& text) override;
    void clearSelector() override;
    void appendEntries(const std::vector<std::string>& entries) override;
    int selectedIndex() const override;
    void setSelectedIndex(int index) override;
    void showMessage(const std::string& message) override;
};

class WebLauncher : public platform::Launcher
{
public:
    bool editSettings(const std::string& settingsPath) override;
    int openDocument(const std::string& doc) override;
};

} // namespace vellmore::web
