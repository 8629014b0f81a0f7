#include "web/webview.h"

#include "form/pagejson.h"

#include <emscripten.h>

#include <cstdlib>
#include <memory>

// A text from the page comes back in memory the caller frees; a UTF-16 unit takes at most
// three bytes of UTF-8.
EM_JS(char*, pageText, (int control), {
    var text = String(Module.vellmoreView.text(control));
    var size = text.length * 3 + 1;
    var at = _malloc(size);
    stringToUTF8(text, at, size);
    return at;
});
EM_JS(void, pageSetText, (int control, const char* text),
      { Module.vellmoreView.setText(control, UTF8ToString(text)); });
EM_JS(void, pageClearSelector, (), { Module.vellmoreView.clearSelector(); });
EM_JS(void, pageAppendEntries, (const char* json),
      { Module.vellmoreView.appendEntries(UTF8ToString(json)); });
EM_JS(int, pageSelectedIndex, (), { return Module.vellmoreView.selectedIndex() | 0; });
EM_JS(void, pageSetSelectedIndex, (int index), { Module.vellmoreView.setSelectedIndex(index); });
EM_JS(void, pageShowMessage, (const char* text),
      { Module.vellmoreView.showMessage(UTF8ToString(text)); });
EM_JS(int, pageEditSettings, (const char* path),
      { return Module.vellmoreView.editSettings(UTF8ToString(path)) ? 1 : 0; });
EM_JS(int, pageOpenDocument, (const char* address),
      { return Module.vellmoreView.openDocument(UTF8ToString(address)) | 0; });

namespace vellmore::web {

std::string WebView::text(form::Control control) const
{
    const std::unique_ptr<char, decltype(&std::free)> text(pageText(static_cast<int>(control)),
                                                           &std::free);
    return text ? std::string(text.get()) : std::string();
}

void WebView::setText(form::Control control, const std::string& text)
{
    pageSetText(static_cast<int>(control), text.c_str());
}

void WebView::clearSelector()
{
    pageClearSelector();
}

void WebView::appendEntries(const std::vector<std::string>& entries)
{
    pageAppendEntries(form::entriesJson(entries).c_str());
}

int WebView::selectedIndex() const
{
    return pageSelectedIndex();
}

void WebView::setSelectedIndex(int index)
{
    pageSetSelectedIndex(index);
}

void WebView::showMessage(const std::string& message)
{
    pageShowMessage(message.c_str());
}

bool WebLauncher::editSettings(const std::string& settingsPath)
{
    return pageEditSettings(settingsPath.c_str()) != 0;
}

int WebLauncher::openDocument(const std::string& doc)
{
    return pageOpenDocument(doc.c_str());
}

} // namespace vellmore::web
