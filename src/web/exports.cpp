#include "form/form1logic.h"
#include "form/pagejson.h"
#include "platform/files.h"
#include "table/tableapp.h"
#include "web/webview.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

// The entry points the page calls. Strings are UTF-8; a returned one stays valid until the next
// call that returns the same kind of text.
namespace vellmore::web {
namespace {

// The folder the page's copy runs from, in the module's memory file system: a portable copy,
// whose Vellmore.ini lies beside it.
constexpr const char* programDir = "/vellmore";

// What the page's one copy of the program holds between calls.
struct Page
{
    WebView view;
    std::unique_ptr<form::Form1Logic> logic;
    std::string controls;
    std::string settingsPath;
    std::string tableOut;
    std::string tableErr;
};

Page& page()
{
    static Page state;
    return state;
}

form::Form1Logic& logic()
{
    Page& p = page();
    if (!p.logic) {
        ::mkdir(programDir, 0755);
        p.logic =
            std::make_unique<form::Form1Logic>(p.view, programDir, std::make_shared<WebLauncher>());
    }
    return *p.logic;
}

std::vector<std::string> lines(const char* text)
{
    std::vector<std::string> out;
    std::istringstream in(text ? text : "");
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace
} // namespace vellmore::web

using namespace vellmore;

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* vm_controls()
{
    web::Page& p = web::page();
    if (p.controls.empty())
        p.controls = form::controlsJson();
    return p.controls.c_str();
}

EMSCRIPTEN_KEEPALIVE void vm_load()
{
    web::logic().load();
}

EMSCRIPTEN_KEEPALIVE void vm_shown()
{
    web::logic().shown();
}

EMSCRIPTEN_KEEPALIVE void vm_event(int control, int event)
{
    if (control < 0 || control >= form::controlCount || event < 0 ||
        event > static_cast<int>(form::Event::Activated))
        return;
    web::logic().handle(static_cast<form::Control>(control), static_cast<form::Event>(event));
}

EMSCRIPTEN_KEEPALIVE const char* vm_settings_path()
{
    web::Page& p = web::page();
    p.settingsPath = web::logic().settingsPath();
    return p.settingsPath.c_str();
}

// Writes `text` as the settings file; "" when done, else why not.
EMSCRIPTEN_KEEPALIVE const char* vm_load_settings_text(const char* text)
{
    web::Page& p = web::page();
    const platform::FileWrite written =
        platform::replaceFile(web::logic().settingsPath(), text ? text : "");
    p.tableErr = written.ok ? "" : written.reason;
    return p.tableErr.c_str();
}

// Runs vellmore-table with one argument a line; its exit status. What it printed is kept for
// vm_table_out and vm_table_err.
EMSCRIPTEN_KEEPALIVE int vm_table(const char* args)
{
    std::ostringstream out, err;
    const int status = table::runTable(web::lines(args), web::programDir, out, err);
    web::Page& p = web::page();
    p.tableOut = out.str();
    p.tableErr = err.str();
    return status;
}

EMSCRIPTEN_KEEPALIVE const char* vm_table_out()
{
    return web::page().tableOut.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* vm_table_err()
{
    return web::page().tableErr.c_str();
}
}
