#include "form/form1logic.h"
#include "form/pagejson.h"
#include "platform/files.h"
#include "table/tableapp.h"
#include "web/webview.h"

#include <emscripten.h>
#include <sys/stat.h>

#include <memory>
#include <sstream>
#include <streambuf>
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

// The program's output kept in a string as it is written: a string stream would copy it whole
// when asked for it, a byte at a time in this libc++ (a night's JSON is 2 MB).
class StringOut : public std::streambuf
{
public:
    explicit StringOut(std::string& to) : m_to(to) { m_to.clear(); }

protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        m_to.append(s, static_cast<size_t>(n));
        return n;
    }
    int_type overflow(int_type c) override
    {
        if (c != traits_type::eof())
            m_to.push_back(static_cast<char>(c));
        return c;
    }

private:
    std::string& m_to;
};

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
    web::Page& p = web::page();
    web::StringOut outBuffer(p.tableOut), errBuffer(p.tableErr);
    std::ostream out(&outBuffer), err(&errBuffer);
    return table::runTable(web::lines(args), web::programDir, out, err);
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
