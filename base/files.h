// Files, paths and the data folder. All file names of the program are CP932
// texts relative to the working folder (the game's folder), with backslash
// separators; a backslash that is the second byte of a two-byte character is
// part of that character. Plain helpers work in place on buffers of kMaxPath
// bytes and refuse (false, nothing written) a result that would not fit; the
// ...Str variants work on strings and otherwise behave the same.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/checked_vector.h"

constexpr int kMaxPath = 260;

// Indexes of g_PathTable. Even entries 10..40 name a project file in data\,
// the following odd entry the same file in default\.
enum ePathIndex : int {
    PATH_DATA = 0,
    PATH_DEFAULT,
    PATH_STG4,
    PATH_STG4_OLD_VER,
    PATH_DATA_WORK,
    PATH_DATA_BACKUP,
    PATH_EDATA,
    PATH_EDATA_SHEETSIZE,
    PATH_EDATA_EDITCONFIG,
    PATH_EDATA_BACKUP,
    PATH_PRJOPTION,
    PATH_DEFAULT_PRJOPTION,
    PATH_COMMONPALETTE,
    PATH_DEFAULT_COMMONPALETTE,
    PATH_GVALINFO,
    PATH_DEFAULT_GVALINFO,
    PATH_STAGE_DEFAULT,
    PATH_DEFAULT_STAGE_DEFAULT,
    PATH_WORLDMAP,
    PATH_DEFAULT_WORLDMAP,
    PATH_DB_ANIMESET,
    PATH_DEFAULT_DB_ANIMESET,
    PATH_DB_ANIME,
    PATH_DEFAULT_DB_ANIME,
    PATH_DB_BMP_CHARAEXC,
    PATH_DEFAULT_DB_BMP_CHARAEXC,
    PATH_DB_SWORDTYPE,
    PATH_DEFAULT_DB_SWORDTYPE,
    PATH_DB_EFFECT,
    PATH_DEFAULT_DB_EFFECT,
    PATH_DB_CHARAEFFECT,
    PATH_DEFAULT_DB_CHARAEFFECT,
    PATH_DB_SCREFFECT,
    PATH_DEFAULT_DB_SCREFFECT,
    PATH_DB_PICTURE,
    PATH_DEFAULT_DB_PICTURE,
    PATH_DB_SOUND,
    PATH_DEFAULT_DB_SOUND,
    PATH_DB_BGM,
    PATH_DEFAULT_DB_BGM,
    PATH_SYSTEM,
    PATH_DEFAULT_SYSTEM,
    PATH_STG4_C,
    PATH_USER_STORY,
    PATH_USER_CHALLENGE,
    PATH_USER_FREE,
    PATH_USER_RPL4,
    PATH_STORY_FILE,
    PATH_CHALLENGE_FILE,
    PATH_FREE_FILE,
    PATH_REPLAY_FILE,
    PATH_OPTION_FILE,
    PATH_USER_DATA,
    PATH_KEYCONFIG_FILE,
    PATH_BOOT_FILE,
    PATH_WINDOW_FILE,
    PATH_COUNT  // 56
};

enum eExtIndex : int { EXT_CPLT4 = 0, EXT_STG4, EXT_PLT4, EXT_RPL4, EXT_RKG, EXT_COUNT };

// The fixed path and extension tables (built by static initialisation; do
// not read them from other static initialisers).
extern cCheckedVector<std::string> g_PathTable;
extern cCheckedVector<std::string> g_ExtTable;

// The path exists (file or folder).
bool FileExists(const std::string& path);

// Times of an existing, readable file as Windows file times (100 ns units
// since 1601-01-01 UTC). Any pointer may be null. False when the file cannot
// be opened for reading (folders included).
bool GetFileTimes(const std::string& path, uint64_t* created, uint64_t* accessed, uint64_t* written);

// Deletes everything below folder and the folder itself. False at the first
// failure, or when the folder cannot be listed (nothing is removed then).
bool DeleteFolderTree(const std::string& folder);

// Absolute paths start with a separator ("\" or "/").
bool IsAbsolutePath(const std::string& path);

// An absolute path becomes relative to the working folder (".\" in front when
// it lies inside it, "..\" for each level above); with cutDot a leading ".\"
// is removed. A relative path stays (true). False when the working folder is
// unknown or the result does not fit.
bool ToRelativePath(char* path, bool cutDot);
bool ToRelativePathStr(std::string& path, bool cutDot);

// A relative path becomes absolute ("\" separators, "." and ".." resolved);
// an absolute one stays. False when the working folder is unknown or the
// result does not fit.
bool ToAbsolutePath(char* path);
bool ToAbsolutePathStr(std::string& path);

// Keeps the text after the last separator; a backslash as the very last
// byte is not a separator ("a\b\" gives "b\"). No separator: unchanged.
void ExtractFileName(char* path);
void ExtractFileNameStr(std::string& path);

// Cuts the text after the last separator, keeping the separator; no
// separator gives an empty text.
void ExtractFileDir(char* path);
void ExtractFileDirStr(std::string& path);

// Extension helpers look for the last "." of the whole path, also inside a
// folder name. ChangeFileExt: out := path with the text after that "."
// replaced by ext, or cut at the "." when ext is null; false (out := path)
// when there is no ".".
bool ChangeFileExt(char* out, const char* path, const char* ext);
bool ChangeFileExtStr(std::string& out, const std::string& path, const char* ext);
bool RemoveFileExt(char* path);
bool RemoveFileExtStr(std::string& path);
bool GetFileExt(char* out, const char* path);
bool GetFileExtStr(std::string& out, const std::string& path);

// Appends folder + name for every entry (folders included) matching
// "*.<ext>" in folder, in the order Windows lists them. False when nothing
// matches.
bool ListFiles(std::vector<std::string>& out, const std::string& folder, const std::string& ext);

// "%s (%d).%s" from the path without its extension, n and the extension
// (at most 31 bytes). False when the path has no extension.
bool MakeNumberedCopyName(char* out, const char* path, int n);
bool MakeNumberedCopyNameStr(std::string& out, const std::string& path, int n);

// base := ChangeFileExt (path, ext); the first existing "%s_%03d" (base, k)
// for k = n down to 0 goes to out. False (out unchanged) when none exists.
bool FindLatestNumberedFile(char* out, const char* path, const char* ext, int n);
bool FindLatestNumberedFileStr(std::string& out, const std::string& path, const char* ext, int n);

// First start: when data\ is missing but default\ exists, asks whether to
// make it and copies default\ to data\. A copy that fails half-way is removed.
// True when data\ exists afterwards. The owner window is not used on Linux.
bool CreateDefaultData(void* window = nullptr);
