// Files as the game data names them: CP932 paths with backslashes, relative
// to the game folder (the working folder), written on Windows where names
// are case-insensitive. OsPath turns such a path into a host path.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// CP932 path with '\' (or '/') separators -> host path (UTF-8, '/').
// A 0x5C byte that is the second byte of a two-byte character is not a
// separator. When the exact name does not exist, each component is looked up
// case-insensitively; components that do not exist are kept as written.
// An absolute path that runs through the working folder, or through one of
// its parents, as CurrentDirectoryCp932 spells it, reaches the host with the
// folder's own bytes there: the folders above the game may have names with
// no CP932 form (/home/josé/下载/...).
std::string OsPath(std::string_view cp932Path);

// Forget cached folder listings (every create, rename or remove through this
// layer does it already).
void InvalidateDirCache();

// Whole-file read. nullopt when the file cannot be opened or read.
std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view cp932Path);

// Writes data to a temporary file in the same folder, flushes it and renames
// it over the target, so the old file survives a failure at any point.
bool WriteFileAtomic(std::string_view cp932Path, const void* data, size_t size);
inline bool WriteFileAtomic(std::string_view cp932Path, const std::vector<uint8_t>& data) {
    return WriteFileAtomic(cp932Path, data.data(), data.size());
}

// The same, as a new file: the name is taken only when no file has it
// (unless mayReplace), and with readOnly the file is made read-only. The
// file appears under its name only complete; false on any failure (a short
// write or a failed close included). On file systems without hard links
// (FAT, exFAT, some network and FUSE mounts) the name is taken by a rename
// that never replaces, else by creating it exclusively and writing it there.
// The folder is flushed after the name is taken.
bool WriteNewFile(std::string_view cp932Path, const void* data, size_t size, bool mayReplace, bool readOnly);

// Tests: the next commits of WriteNewFile / WriteFileAtomic see link() or
// renameat2(RENAME_NOREPLACE) fail with the given errno (0: the real call).
struct CommitFaults {
    int linkErrno = 0;
    int renameNoReplaceErrno = 0;
};
void SetCommitFaults(const CommitFaults& faults);

bool PathExists(std::string_view cp932Path);
bool IsDirectory(std::string_view cp932Path);
bool MakeDirectory(std::string_view cp932Path);  // true when it exists afterwards
bool RemoveFile(std::string_view cp932Path);
bool RemoveDirectory(std::string_view cp932Path);  // empty folder only
bool RenamePath(std::string_view fromCp932, std::string_view toCp932);

// Names (CP932, no folder) of the entries of a folder that match a pattern
// with '*' and '?' wildcards, compared case-insensitively, in the order
// Windows lists them (UTF-16, upper-cased, code unit by code unit).
// Folders are included; "." and ".." are not. Host names are taken as
// HostNameToCp932 (platform/cp932.h) spells them; a name it refuses is left
// out, and its host name goes to `leftOut` when given.
struct DirEntry {
    std::string name;
    bool isDir = false;
};
std::vector<DirEntry> ListDir(std::string_view cp932Folder, std::string_view cp932Pattern,
                              std::vector<std::string>* leftOut = nullptr);

// Ordering rule used by ListDir, exposed for tests and sorted views.
bool WindowsNameLess(std::string_view cp932A, std::string_view cp932B);
// The key Windows compares names by: the UTF-16 form, upper-cased. Two names
// with equal keys name the same file.
std::u16string WindowsNameKey(std::string_view cp932Name);

// Current folder as a CP932 absolute path with '\' separators is not needed on
// Linux; these give the host's view.
// Change the working folder only through ChangeDirectory: cached listings of
// relative folders belong to the folder they were made in.
std::string CurrentDirectory();                     // host path
// The working folder in the program's form: CP932, '\' separators, starting
// with '\'. A folder name with no CP932 form is spelled with '?' for what
// cannot be converted; OsPath maps the spelling back to the folder.
std::string CurrentDirectoryCp932();
// The same spelling of any absolute host folder.
std::string SpellHostFolder(const std::string& hostFolder);
// OsPath maps this absolute host folder's spelling back to it as well (the
// folder the user started the program in, which names files given on the
// command line).
void KeepFolderSpelling(const std::string& hostFolder);
bool ChangeDirectory(const std::string& hostPath);  // host path

// Free bytes on the file system holding the path (empty: current folder),
// capped at INT_MAX; 0 on failure.
int64_t FreeDiskBytes(std::string_view cp932Path);

}  // namespace platform
