#include "platform/folder_opener.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// PATH set for the life of the object.
class ScopedPath {
public:
    explicit ScopedPath(const std::string& path) : m_old(std::getenv("PATH") ? std::getenv("PATH") : "") {
        setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath() { setenv("PATH", m_old.c_str(), 1); }

private:
    std::string m_old;
};

bool Reaped(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }  // a zombie still answers

}  // namespace

TEST(FolderOpener, StartsXdgOpenWithTheFolderAndReapsIt) {
    testsupport::TempWorkDir dir;
    const auto out = dir.Path() / "args.txt";
    dir.WriteFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > \"" + out.string() + "\"\n");
    ::chmod((dir.Path() / "bin/xdg-open").c_str(), 0755);
    dir.MakeDirs("empty");
    const std::string folder = (dir.Path() / "a folder; $(echo no shell)").string();
    {
        ScopedPath path((dir.Path() / "bin").string());
        pid_t pid = -1;
        ASSERT_EQ(platform::OpenFolderInFileManager(folder, &pid), platform::OpenFolderResult::Started);
        ASSERT_GT(pid, 0);
        bool reaped = false;
        for (int i = 0; i < 500 && !(reaped = Reaped(pid)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_TRUE(reaped);
        EXPECT_EQ(dir.ReadFile("args.txt"), "1\n" + folder + "\n");  // one argument, as given
    }
    {
        ScopedPath path((dir.Path() / "empty").string());
        EXPECT_EQ(platform::OpenFolderInFileManager(folder), platform::OpenFolderResult::Missing);
    }
}
