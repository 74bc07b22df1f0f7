// A temporary folder that becomes the working folder for the life of the
// object (the program's file names are relative to the game folder).
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fs.h"

namespace testsupport {

class TempWorkDir {
public:
    TempWorkDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "tovaro_test_XXXXXX").string();
        char* made = ::mkdtemp(tmpl.data());
        m_path = made ? made : tmpl;
        m_old = std::filesystem::current_path();
        platform::ChangeDirectory(m_path.string());
    }
    ~TempWorkDir() {
        platform::ChangeDirectory(m_old.string());
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
        platform::InvalidateDirCache();
    }
    const std::filesystem::path& Path() const { return m_path; }

    // Host-side helpers (UTF-8 names, '/' separators).
    void MakeDirs(const std::string& rel) const {
        std::filesystem::create_directories(m_path / rel);
        platform::InvalidateDirCache();
    }
    void WriteFile(const std::string& rel, const std::string& content = "x") const {
        auto p = m_path / rel;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        platform::InvalidateDirCache();
    }
    std::string ReadFile(const std::string& rel) const {
        std::ifstream in(m_path / rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool Exists(const std::string& rel) const { return std::filesystem::exists(m_path / rel); }

private:
    std::filesystem::path m_path, m_old;
};

}  // namespace testsupport
