// The web page in headless Chromium, worked by tests/web/pagedriver.mjs with puppeteer's real key
// presses and clicks: the behaviour table's driver. One JSON line each way per request.
#include "behaviour/behaviour.h"
#include "settings/settingsfile.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

extern char** environ;

namespace vellmore {
namespace {

namespace fs = std::filesystem;
using form::Control;
using nlohmann::json;

using Bytes = std::vector<unsigned char>;

class WebDriver final : public behaviour::Driver
{
public:
    ~WebDriver() override
    {
        if (m_pid <= 0)
            return;
        // Closing its input closes the browser; a helper that does not end is stopped.
        ::close(m_in);
        if ((m_dead || !ended(20000)) && ::kill(m_pid, SIGTERM) == 0 && !ended(10000))
            ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        ::close(m_out);
    }
    behaviour::Front front() const override { return behaviour::Web; }
    void open(const std::string& programDir) override
    {
        ::signal(SIGPIPE, SIG_IGN);
        int in[2], out[2];
        ASSERT_EQ(::pipe(in) | ::pipe(out), 0);
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_adddup2(&files, in[0], 0);
        posix_spawn_file_actions_adddup2(&files, out[1], 1);
        for (const int fd : {in[0], in[1], out[0], out[1]})
            posix_spawn_file_actions_addclose(&files, fd);
        const char* argv[] = {"node", VELLMORE_PAGE_DRIVER, VELLMORE_WEB_PAGE, nullptr};
        ASSERT_EQ(posix_spawnp(&m_pid, "node", &files, nullptr, const_cast<char**>(argv), environ),
                  0);
        posix_spawn_file_actions_destroy(&files);
        ::close(in[0]), ::close(out[1]);
        m_in = in[1], m_out = out[0];
        m_file = settings::settingsPath(programDir);
        m_synced = disk();
        act({{"op", "open"}, {"state", m_synced}});
    }
    void type(Control c, const std::string& text) override
    {
        act({{"op", "type"}, {"id", name(c)}, {"text", text}});
    }
    void click(Control c) override { act({{"op", "click"}, {"id", name(c)}}); }
    void mouse(behaviour::Mouse action) override
    {
        act({{"op", "mouse"}, {"action", int(action)}});
    }
    void readerActivatesLink() override { act({{"op", "reader"}}); }
    void pick(int index) override { act({{"op", "pick"}, {"index", index}}); }
    void key(Control c, behaviour::Key key) override
    {
        act({{"op", "key"}, {"id", name(c)}, {"key", int(key)}});
    }
    void browseList() override { act({{"op", "browse"}}); }

    std::string text(Control c) const override { return read(c).value("text", ""); }
    std::vector<std::string> entries() const override
    {
        return read(Control::Combo1).value("entries", std::vector<std::string>());
    }
    int selectedIndex() const override { return read(Control::Combo1).value("selected", -2); }
    std::optional<Control> focus() const override
    {
        const std::string at = read(Control::Combo1).value("focus", "");
        for (const form::ControlDef& def : form::controls()) {
            if (at == def.name)
                return def.id;
        }
        return std::nullopt;
    }

private:
    static std::string name(Control c) { return form::definition(c).name; }
    json read(Control c) const { return call({{"op", "read"}, {"id", name(c)}}); }

    // The disk's settings file: its bytes, null for none, true for a folder.
    json disk() const
    {
        const fs::path at = fs::u8path(m_file);
        if (fs::is_directory(at))
            return true;
        const std::string bytes = testing::contentOf(m_file);
        return fs::exists(at) ? json(Bytes(bytes.begin(), bytes.end())) : json();
    }
    // The page's path in the scenario's place.
    std::string mapped(std::string text) const
    {
        for (size_t at = text.find(m_pagePath); at != std::string::npos;
             at = text.find(m_pagePath, at + m_file.size()))
            text.replace(at, m_pagePath.size(), m_file);
        return text;
    }

    // The disk's file goes to the page where it changed, and what the page stored comes back.
    void act(json request)
    {
        if (const json now = disk(); now != m_synced)
            request["state"] = m_synced = now;
        request["fail"] = !launcher->starts || launcher->result <= 32;
        const json r = call(request);
        if (r.empty())
            return;
        EXPECT_EQ(r["errors"], json::array());
        m_pagePath = r["path"];
        messages.clear();
        for (const std::string m : r["messages"])
            messages.push_back(mapped(m));
        launcher->editors.clear();
        for (const std::string path : r["edited"])
            launcher->editors.push_back(mapped(path));
        launcher->documents = r["opened"].get<std::vector<std::string>>();
        if (!m_synced.is_boolean() && r["stored"] != m_synced) {
            const Bytes stored = (m_synced = r["stored"]).is_null() ? Bytes() : Bytes(m_synced);
            if (m_synced.is_null())
                fs::remove(fs::u8path(m_file));
            else
                testing::writeFile(m_file, std::string(stored.begin(), stored.end()));
        }
    }
    json call(const json& request) const
    {
        const std::string line = request.dump() + "\n";
        if (m_dead || ::write(m_in, line.data(), line.size()) != ssize_t(line.size()))
            return ADD_FAILURE() << "the page's helper is gone", json::object();
        size_t end;
        while ((end = m_buffer.find('\n')) == std::string::npos) {
            char chunk[65536];
            pollfd wait{m_out, POLLIN, 0};
            const ssize_t n =
                ::poll(&wait, 1, 30000) == 1 ? ::read(m_out, chunk, sizeof chunk) : -1;
            if (n <= 0)
                return m_dead = true, ADD_FAILURE() << "no answer to " << line, json::object();
            m_buffer.append(chunk, size_t(n));
        }
        const json reply = json::parse(m_buffer.substr(0, end));
        m_buffer.erase(0, end + 1);
        if (reply.contains("error"))
            return ADD_FAILURE() << reply["error"].get<std::string>(), json::object();
        return reply["value"];
    }
    // Reads the helper's output to its end, for at most `ms` milliseconds.
    bool ended(int ms) const
    {
        char chunk[4096];
        for (pollfd wait{m_out, POLLIN, 0}; ::poll(&wait, 1, ms) == 1;) {
            if (::read(m_out, chunk, sizeof chunk) <= 0)
                return true;
        }
        return false;
    }

    pid_t m_pid = 0;
    int m_in = -1, m_out = -1;
    mutable bool m_dead = false;
    mutable std::string m_buffer;
    std::string m_file, m_pagePath;
    json m_synced;
};

} // namespace

namespace behaviour {
std::unique_ptr<Driver> makeDriver()
{
    return std::make_unique<WebDriver>();
}
} // namespace behaviour

} // namespace vellmore
