#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace lectoria::test {

/// A throw-away folder under the system's temporary directory, named after the running test.
class TempFolder
{
public:
    TempFolder()
    {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path() / (std::string("lectoria-test-") + info->test_suite_name() +
                                                           "-" + info->name() + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    /// Writes `content` to a file below the folder, creating its parent folders.
    std::filesystem::path Write(const std::filesystem::path& relative, const std::string& content = "x") const
    {
        const std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::filesystem::path m_path;
};

/// The whole content of a file as bytes.
inline std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace lectoria::test
