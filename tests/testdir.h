#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace vellmore::testing {

// Paths in tests are UTF-8, as the program holds them.

// A fresh folder under the system's temporary folder, removed with its contents afterwards.
class TestDir
{
public:
    TestDir()
    {
        std::random_device random;
        do
            m_path = std::filesystem::temp_directory_path() /
                     ("vellmore-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(m_path));
    }
    ~TestDir() { std::filesystem::remove_all(m_path, m_ignored); }
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    std::string path() const { return m_path.u8string(); }
    std::string file(const std::string& name) const
    {
        return (m_path / std::filesystem::u8path(name)).u8string();
    }

private:
    std::filesystem::path m_path;
    std::error_code m_ignored;
};

inline std::string contentOf(const std::string& path)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(std::filesystem::u8path(path), std::ios::binary) << bytes;
}

} // namespace vellmore::testing
