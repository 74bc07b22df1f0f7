// Opens a folder in the desktop's file manager with `xdg-open`, started
// directly (an argument vector, no shell). The call does not wait for it; a
// thread of its own reaps the child, so no zombie stays.
#pragma once
#include <string>
#include <sys/types.h>

namespace platform {

enum class OpenFolderResult { Started, Missing, Failed };

// hostFolder: an absolute host path. Missing: xdg-open is not on the PATH.
// The started child's id goes to `pid` when given.
OpenFolderResult OpenFolderInFileManager(const std::string& hostFolder, pid_t* pid = nullptr);

}  // namespace platform
