#include "base/files.h"

#include "base/error_box.h"
#include "base/log.h"
#include "platform/cp932.h"
#include "platform/fs.h"
#include "platform/message_box.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

// g_PathTable and g_ExtTable are built with the other global objects (base/globals.cpp).

namespace {

// Position of the last backslash before `limit` that is a separator (not the
// second byte of a two-byte character), found by a forward scan.
size_t LastSeparator(const std::string& s, size_t limit) {
    size_t last = std::string::npos;
    for (size_t i = 0; i < s.size() && i < limit;) {
        size_t len = platform::Cp932CharLen(s, i);
        if (len == 1 && s[i] == '\\') last = i;
        i += len;
    }
    return last;
}

bool EndsWithSeparator(const std::string& s) {
    return !s.empty() && (s.back() == '/' || (s.back() == '\\' && !platform::IsTrailByteAt(s, s.size() - 1)));
}

// Path elements split on "\" and "/" (two-byte aware).
std::vector<std::string> SplitPath(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (size_t i = 0; i < s.size();) {
        size_t len = platform::Cp932CharLen(s, i);
        if (len == 1 && (s[i] == '\\' || s[i] == '/')) {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur.append(s, i, len);
        }
        i += len;
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

// "." dropped and ".." taking the element before it away.
std::vector<std::string> Normalise(const std::vector<std::string>& parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) {
        if (p == ".") continue;
        if (p == "..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(p);
    }
    return out;
}

// The working folder as CP932 path elements, spelled so that the file layer
// maps them back to the folder's own names (which may have no CP932 form).
bool CurrentDirParts(std::vector<std::string>& parts) {
    std::string cwd = platform::CurrentDirectoryCp932();
    if (cwd.empty()) return false;
    parts = Normalise(SplitPath(cwd));
    return true;
}

bool FitsPath(const std::string& s) { return s.size() < static_cast<size_t>(kMaxPath); }

// Copies a string result into a caller's path buffer when it fits.
bool StoreBuffer(char* out, const std::string& s) {
    if (!FitsPath(s)) return false;
    std::memcpy(out, s.c_str(), s.size() + 1);
    return true;
}

std::vector<std::string> SortedEntries(const std::string& hostDir, bool* opened) {
    std::vector<std::string> names;
    DIR* d = ::opendir(hostDir.c_str());
    *opened = d != nullptr;
    if (!d) return names;
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    ::closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool DeleteTreeHost(const std::string& host) {
    bool opened = false;
    std::vector<std::string> names = SortedEntries(host, &opened);
    if (!opened) return false;
    for (const auto& name : names) {
        std::string full = host + "/" + name;
        struct stat st;
        if (::lstat(full.c_str(), &st) != 0) return false;
        if (S_ISDIR(st.st_mode)) {
            if (!DeleteTreeHost(full)) return false;
        } else if (::unlink(full.c_str()) != 0) {
            return false;
        }
    }
    return ::rmdir(host.c_str()) == 0;
}

bool CopyFileHost(const std::string& from, const std::string& to) {
    int in = ::open(from.c_str(), O_RDONLY);
    if (in < 0) return false;
    int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = ::write(out, buf + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            done += w;
        }
        if (!ok) break;
    }
    ::close(in);
    if (::close(out) != 0) ok = false;
    return ok;
}

// Copies a folder tree as the shell's copy does (links followed); anything
// that is neither a folder nor a regular file fails the copy.
bool CopyTreeHost(const std::string& from, const std::string& to) {
    bool opened = false;
    std::vector<std::string> names = SortedEntries(from, &opened);
    if (!opened) return false;
    if (::mkdir(to.c_str(), 0755) != 0) return false;
    for (const auto& name : names) {
        std::string src = from + "/" + name;
        std::string dst = to + "/" + name;
        struct stat st;
        if (::stat(src.c_str(), &st) != 0) return false;
        if (S_ISDIR(st.st_mode)) {
            if (!CopyTreeHost(src, dst)) return false;
        } else if (!S_ISREG(st.st_mode) || !CopyFileHost(src, dst)) {
            return false;
        }
    }
    return true;
}

uint64_t ToFileTime(const struct statx_timestamp& t) {
    // Seconds between 1601-01-01 and 1970-01-01.
    constexpr int64_t kEpochDiff = 11644473600LL;
    int64_t units = (static_cast<int64_t>(t.tv_sec) + kEpochDiff) * 10000000LL + t.tv_nsec / 100;
    return units < 0 ? 0 : static_cast<uint64_t>(units);
}

}  // namespace

bool FileExists(const std::string& path) { return !path.empty() && platform::PathExists(path); }

bool GetFileTimes(const std::string& path, uint64_t* created, uint64_t* accessed, uint64_t* written) {
    std::string host = platform::OsPath(path);
    int fd = ::open(host.c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct statx sx;
    bool ok = ::statx(fd, "", AT_EMPTY_PATH, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0 && S_ISREG(sx.stx_mode);
    ::close(fd);
    if (!ok) return false;
    if (created) *created = ToFileTime((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_mtime);
    if (accessed) *accessed = ToFileTime(sx.stx_atime);
    if (written) *written = ToFileTime(sx.stx_mtime);
    return true;
}

bool DeleteFolderTree(const std::string& folder) {
    // An empty name would mean the working folder itself: refuse it.
    if (folder.empty()) return false;
    bool ok = DeleteTreeHost(platform::OsPath(folder));
    platform::InvalidateDirCache();
    return ok;
}

bool IsAbsolutePath(const std::string& path) { return !path.empty() && (path[0] == '\\' || path[0] == '/'); }

bool ToRelativePathStr(std::string& path, bool cutDot) {
    if (!IsAbsolutePath(path)) return true;
    std::vector<std::string> cwd;
    if (!CurrentDirParts(cwd)) return false;
    std::vector<std::string> target = Normalise(SplitPath(path));
    size_t common = 0;
    while (common < cwd.size() && common < target.size() &&
           platform::WindowsNameKey(cwd[common]) == platform::WindowsNameKey(target[common]))
        ++common;
    std::string rel;
    if (common == cwd.size()) {
        rel = ".\\";
    } else {
        for (size_t i = common; i < cwd.size(); ++i) rel += "..\\";
    }
    for (size_t i = common; i < target.size(); ++i) {
        rel += target[i];
        if (i + 1 < target.size()) rel += '\\';
    }
    if (common == target.size()) {
        // The path is the working folder or above it: no element follows.
        if (rel == ".\\") rel = ".";
        else rel.pop_back();
    }
    if (EndsWithSeparator(path) && !EndsWithSeparator(rel)) rel += '\\';
    if (cutDot && rel.compare(0, 2, ".\\") == 0) rel.erase(0, 2);
    if (!FitsPath(rel)) return false;
    path = rel;
    return true;
}

bool ToRelativePath(char* path, bool cutDot) {
    std::string s = path;
    return ToRelativePathStr(s, cutDot) && StoreBuffer(path, s);
}

bool ToAbsolutePathStr(std::string& path) {
    if (IsAbsolutePath(path)) return true;
    std::vector<std::string> parts;
    if (!CurrentDirParts(parts)) return false;
    for (const auto& p : SplitPath(path)) parts.push_back(p);
    parts = Normalise(parts);
    std::string abs;
    for (const auto& p : parts) abs += "\\" + p;
    if (abs.empty() || EndsWithSeparator(path)) abs += '\\';
    if (!FitsPath(abs)) return false;
    path = abs;
    return true;
}

bool ToAbsolutePath(char* path) {
    std::string s = path;
    return ToAbsolutePathStr(s) && StoreBuffer(path, s);
}

void ExtractFileNameStr(std::string& path) {
    if (path.size() < 2) return;
    size_t sep = LastSeparator(path, path.size() - 1);
    if (sep != std::string::npos) path.erase(0, sep + 1);
}

void ExtractFileName(char* path) {
    std::string s = path;
    ExtractFileNameStr(s);
    std::memcpy(path, s.c_str(), s.size() + 1);
}

void ExtractFileDirStr(std::string& path) {
    size_t sep = LastSeparator(path, path.size());
    path.resize(sep == std::string::npos ? 0 : sep + 1);
}

void ExtractFileDir(char* path) {
    std::string s = path;
    ExtractFileDirStr(s);
    std::memcpy(path, s.c_str(), s.size() + 1);
}

bool ChangeFileExtStr(std::string& out, const std::string& path, const char* ext) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos) {
        out = path;
        return false;
    }
    out = ext ? path.substr(0, dot + 1) + ext : path.substr(0, dot);
    return true;
}

bool ChangeFileExt(char* out, const char* path, const char* ext) {
    std::string s;
    bool ok = ChangeFileExtStr(s, path, ext);
    if (!FitsPath(s)) return false;
    StoreBuffer(out, s);
    return ok;
}

bool RemoveFileExtStr(std::string& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    path.resize(dot);
    return true;
}

bool RemoveFileExt(char* path) {
    std::string s = path;
    if (!RemoveFileExtStr(s)) return false;
    return StoreBuffer(path, s);
}

bool GetFileExtStr(std::string& out, const std::string& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos) return false;
    out = path.substr(dot + 1);
    return true;
}

bool GetFileExt(char* out, const char* path) {
    std::string s;
    return GetFileExtStr(s, path) && StoreBuffer(out, s);
}

bool ListFiles(std::vector<std::string>& out, const std::string& folder, const std::string& ext) {
    std::string dir = folder;
    if (!dir.empty() && !EndsWithSeparator(dir)) dir += '\\';
    if (!FitsPath(dir + "*." + ext)) return false;
    std::vector<platform::DirEntry> entries = platform::ListDir(dir, "*." + ext);
    for (const auto& e : entries) out.push_back(dir + e.name);
    return !entries.empty();
}

bool MakeNumberedCopyNameStr(std::string& out, const std::string& path, int n) {
    std::string ext, base = path;
    if (!GetFileExtStr(ext, path) || ext.size() >= 32) return false;
    RemoveFileExtStr(base);
    std::string name = Format("%s (%d).%s", base.c_str(), n, ext.c_str());
    if (!FitsPath(name)) return false;
    out = name;
    return true;
}

bool MakeNumberedCopyName(char* out, const char* path, int n) {
    std::string s;
    return MakeNumberedCopyNameStr(s, path, n) && StoreBuffer(out, s);
}

bool FindLatestNumberedFileStr(std::string& out, const std::string& path, const char* ext, int n) {
    std::string base;
    ChangeFileExtStr(base, path, ext);
    for (int k = n; k >= 0; --k) {
        std::string name = Format("%s_%03d", base.c_str(), k);
        if (!FitsPath(name)) return false;
        if (FileExists(name)) {
            out = name;
            return true;
        }
    }
    return false;
}

bool FindLatestNumberedFile(char* out, const char* path, const char* ext, int n) {
    std::string s;
    return FindLatestNumberedFileStr(s, path, ext, n) && StoreBuffer(out, s);
}

bool CreateDefaultData(void* window) {
    (void)window;
    if (platform::IsDirectory(g_PathTable[PATH_DATA])) return true;
    if (!platform::IsDirectory(g_PathTable[PATH_DEFAULT])) return false;
    int answer = ShowMessageBox(SJ("データが存在しません！デフォルトデータを作成しますか？\n"),
                                SJ("デフォルトデータ作成の確認"), platform::MB_YESNO);
    if (answer != platform::IDYES) return false;
    std::string from = g_PathTable[PATH_DEFAULT], to = g_PathTable[PATH_DATA];
    if (!ToAbsolutePathStr(from) || !ToAbsolutePathStr(to)) return false;
    bool ok = CopyTreeHost(platform::OsPath(from), platform::OsPath(to));
    platform::InvalidateDirCache();
    if (ok) return true;
    DeleteFolderTree(to);  // the partial copy
    return false;
}
