#include "platform/folder_opener.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>
#include <vector>

extern char** environ;

namespace platform {

OpenFolderResult OpenFolderInFileManager(const std::string& hostFolder, pid_t* pid) {
    std::string program = "xdg-open";
    std::string folder = hostFolder;
    std::vector<char*> argv = {program.data(), folder.data(), nullptr};
    pid_t child = -1;
    int r = ::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (r != 0) return r == ENOENT ? OpenFolderResult::Missing : OpenFolderResult::Failed;
    if (pid) *pid = child;
    std::thread([child] {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return OpenFolderResult::Started;
}

}  // namespace platform
