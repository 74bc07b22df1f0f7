#include "platform/fs.h"

#include "platform/cp932.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

namespace platform {
namespace {

std::mutex g_cacheMutex;
// A cached folder entry: the host name and its comparison key (CP932 form in
// UTF-16, upper-cased), kept so that lookups do not convert every entry.
struct CachedEntry {
    std::string name;
    std::u16string key;
};
// host folder -> its entries. Only used to resolve case.
std::map<std::string, std::vector<CachedEntry>> g_dirCache;

char16_t UpperUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
    if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 32);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 32);  // full-width a-z
    if (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) return static_cast<char16_t>(c - 32);
    if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 32);
    if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 80);
    return c;
}

std::u16string UpperUtf16(std::string_view cp932) {
    std::u16string s = Cp932ToUtf16(cp932);
    for (auto& c : s) c = UpperUnit(c);
    return s;
}

bool HostExists(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0;
}

std::u16string NameKey(const std::string& utf8);

const std::vector<CachedEntry>& CachedListing(const std::string& hostDir) {
    auto it = g_dirCache.find(hostDir);
    if (it != g_dirCache.end()) return it->second;
    std::vector<CachedEntry> names;
    if (DIR* d = ::opendir(hostDir.empty() ? "." : hostDir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
            names.push_back({e->d_name, NameKey(e->d_name)});
        }
        ::closedir(d);
    }
    // Deterministic choice when several host names differ only in case.
    std::sort(names.begin(), names.end(),
              [](const CachedEntry& a, const CachedEntry& b) { return a.name < b.name; });
    return g_dirCache.emplace(hostDir, std::move(names)).first->second;
}

// Splits a CP932 path on real separators ('\\' or '/'); the second byte of a
// two-byte character is never a separator.
std::vector<std::string> SplitCp932(std::string_view p, bool* absolute) {
    std::vector<std::string> parts;
    std::string cur;
    *absolute = !p.empty() && (p[0] == '/' || p[0] == '\\');
    for (size_t i = 0; i < p.size();) {
        size_t len = Cp932CharLen(p, i);
        if (len == 1 && (p[i] == '\\' || p[i] == '/')) {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur.append(p.substr(i, len));
        }
        i += len;
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

// Case-insensitive comparison key of a host name: Windows compares names by
// upper-casing their UTF-16 form. A name the program cannot spell has no key.
std::u16string NameKey(const std::string& hostName) {
    std::string cp;
    return HostNameToCp932(hostName, &cp) ? UpperUtf16(cp) : std::u16string();
}

bool WildMatch(const std::u16string& pat, size_t pi, const std::u16string& s, size_t si) {
    while (pi < pat.size()) {
        if (pat[pi] == u'*') {
            for (size_t k = si; k <= s.size(); ++k)
                if (WildMatch(pat, pi + 1, s, k)) return true;
            return false;
        }
        if (si >= s.size()) return false;
        if (pat[pi] != u'?' && pat[pi] != s[si]) return false;
        ++pi;
        ++si;
    }
    return si == s.size();
}

// A host folder name in the program's form: its CP932 spelling when it has
// one, else the lossy conversion ('?' for what cannot be converted, never a
// separator).
std::string SpellHostName(const std::string& hostName) {
    std::string cp;
    if (HostNameToCp932(hostName, &cp)) return cp;
    const std::string lossy = Utf8ToCp932(hostName);
    for (size_t i = 0; i < lossy.size();) {
        const size_t len = Cp932CharLen(lossy, i);
        if (len == 1 && (lossy[i] == '\\' || lossy[i] == '/'))
            cp += '?';
        else
            cp.append(lossy, i, len);
        i += len;
    }
    return cp;
}

// The working folder's names on the host and as the program spells them.
struct FolderSpelling {
    std::vector<std::string> host, cp;
};

FolderSpelling SpellFolder(const std::string& hostFolder) {
    FolderSpelling f;
    size_t i = 0;
    while (i < hostFolder.size()) {
        size_t j = hostFolder.find('/', i);
        if (j == std::string::npos) j = hostFolder.size();
        if (j > i) {
            f.host.push_back(hostFolder.substr(i, j - i));
            f.cp.push_back(SpellHostName(f.host.back()));
        }
        i = j + 1;
    }
    return f;
}

FolderSpelling WorkingFolderSpelling() { return SpellFolder(CurrentDirectory()); }

std::mutex g_keptMutex;
std::vector<FolderSpelling> g_keptFolders;  // KeepFolderSpelling

// Leading parts of an absolute path that spell the names of the working
// folder or of a kept folder (the longest such run): their host names.
std::vector<std::string> OwnHostNames(const std::vector<std::string>& parts) {
    std::vector<FolderSpelling> folders{WorkingFolderSpelling()};
    {
        std::lock_guard<std::mutex> lock(g_keptMutex);
        folders.insert(folders.end(), g_keptFolders.begin(), g_keptFolders.end());
    }
    std::vector<std::string> best;
    for (const FolderSpelling& f : folders) {
        size_t n = 0;
        while (n < parts.size() && n < f.cp.size() && parts[n] == f.cp[n]) ++n;
        if (n > best.size()) best.assign(f.host.begin(), f.host.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return best;
}

}  // namespace

std::string OsPath(std::string_view cp932Path) {
    bool absolute = false;
    std::vector<std::string> parts = SplitCp932(cp932Path, &absolute);
    std::string host = absolute ? "/" : "";
    // The leading names that spell the working folder's own names are its
    // host names, whatever bytes those are.
    const std::vector<std::string> ownNames = absolute ? OwnHostNames(parts) : std::vector<std::string>();
    const size_t own = ownNames.size();
    std::lock_guard<std::mutex> lock(g_cacheMutex);
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string name = i < own ? ownNames[i] : Cp932ToUtf8(parts[i]);
        if (i < own) {
            host += name;
        } else if (name == "." || name == "..") {
            host += name;
        } else {
            std::string exact = host + name;
            if (!HostExists(exact)) {
                std::string dir = host.empty() ? "" : host.substr(0, host.size() - 1);
                if (absolute && dir.empty()) dir = "/";
                const auto& listing = CachedListing(dir);
                std::u16string want = UpperUtf16(parts[i]);
                for (const auto& cand : listing) {
                    if (cand.key == want) {
                        name = cand.name;
                        break;
                    }
                }
            }
            host += name;
        }
        if (i + 1 < parts.size()) host += "/";
    }
    if (host.empty()) host = ".";
    return host;
}

void InvalidateDirCache() {
    std::lock_guard<std::mutex> lock(g_cacheMutex);
    g_dirCache.clear();
}

std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view cp932Path) {
    std::string host = OsPath(cp932Path);
    FILE* f = std::fopen(host.c_str(), "rb");
    if (!f) return std::nullopt;
    std::vector<uint8_t> data;
    uint8_t buf[65536];
    for (;;) {
        size_t n = std::fread(buf, 1, sizeof buf, f);
        data.insert(data.end(), buf, buf + n);
        if (n < sizeof buf) break;
    }
    bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) return std::nullopt;
    return data;
}

namespace {

std::atomic<int> g_nLinkFault{0}, g_nRenameNoReplaceFault{0};

int LinkOrFault(const char* from, const char* to) {
    if (const int e = g_nLinkFault.load()) {
        errno = e;
        return -1;
    }
    return ::link(from, to);
}

int RenameNoReplaceOrFault(const char* from, const char* to) {
    if (const int e = g_nRenameNoReplaceFault.load()) {
        errno = e;
        return -1;
    }
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

// Writes all of data to fd, flushes it and, with readOnly, makes it
// read-only; closes it. False on any failure.
bool WriteFlushClose(int fd, const void* data, size_t size, bool readOnly) {
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    bool ok = true;
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (ok && readOnly && ::fchmod(fd, 0444) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    return ok;
}

// Flushes the folder holding a host path, so that a name just taken survives
// a crash. File systems that cannot flush a folder are not an error.
bool FlushFolderOf(const std::string& host) {
    const size_t slash = host.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : host.substr(0, slash);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return true;
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS || errno == ENOTSUP;
    ::close(fd);
    return ok;
}

// The name taken without a temporary file: created exclusively (never over
// an existing file) and written there; removed again when the write fails.
bool WriteExclusive(const std::string& host, const void* data, size_t size, bool readOnly) {
    const int fd = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return false;
    if (WriteFlushClose(fd, data, size, readOnly)) return true;
    ::unlink(host.c_str());
    return false;
}

// The whole data into a temporary file beside the target, flushed and
// closed, then put under the target's name: over an existing file, or only
// when no file has that name (mayReplace false). The temporary file is gone
// afterwards whatever failed.
bool CommitTempFile(std::string_view cp932Path, const void* data, size_t size, bool mayReplace, bool readOnly) {
    std::string host = OsPath(cp932Path);
    std::string tmp = host + ".tmp~";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = WriteFlushClose(fd, data, size, readOnly);
    if (ok) {
        if (mayReplace) {
            ok = ::rename(tmp.c_str(), host.c_str()) == 0;
        } else if (LinkOrFault(tmp.c_str(), host.c_str()) != 0) {
            // A hard link fails when the name exists, so an existing file is
            // never replaced, even by a writer racing this one. Where there
            // are no hard links, a rename that never replaces does the same;
            // where that is missing too, the file is created exclusively.
            ok = false;
            if (errno != EEXIST) {
                if (RenameNoReplaceOrFault(tmp.c_str(), host.c_str()) == 0)
                    ok = true;
                else if (errno != EEXIST)
                    ok = WriteExclusive(host, data, size, readOnly);
            }
        }
        if (ok) ok = FlushFolderOf(host);
    }
    ::unlink(tmp.c_str());
    InvalidateDirCache();
    return ok;
}
}  // namespace

void SetCommitFaults(const CommitFaults& faults) {
    g_nLinkFault = faults.linkErrno;
    g_nRenameNoReplaceFault = faults.renameNoReplaceErrno;
}

bool WriteFileAtomic(std::string_view cp932Path, const void* data, size_t size) {
    return CommitTempFile(cp932Path, data, size, true, false);
}

bool WriteNewFile(std::string_view cp932Path, const void* data, size_t size, bool mayReplace, bool readOnly) {
    return CommitTempFile(cp932Path, data, size, mayReplace, readOnly);
}

bool PathExists(std::string_view cp932Path) { return HostExists(OsPath(cp932Path)); }

bool IsDirectory(std::string_view cp932Path) {
    struct stat st;
    return ::stat(OsPath(cp932Path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(std::string_view cp932Path) {
    std::string host = OsPath(cp932Path);
    int r = ::mkdir(host.c_str(), 0755);
    InvalidateDirCache();
    if (r == 0) return true;
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool RemoveFile(std::string_view cp932Path) {
    bool ok = ::unlink(OsPath(cp932Path).c_str()) == 0;
    InvalidateDirCache();
    return ok;
}

bool RemoveDirectory(std::string_view cp932Path) {
    bool ok = ::rmdir(OsPath(cp932Path).c_str()) == 0;
    InvalidateDirCache();
    return ok;
}

bool RenamePath(std::string_view fromCp932, std::string_view toCp932) {
    bool ok = ::rename(OsPath(fromCp932).c_str(), OsPath(toCp932).c_str()) == 0;
    InvalidateDirCache();
    return ok;
}

std::u16string WindowsNameKey(std::string_view cp932Name) { return UpperUtf16(cp932Name); }

bool WindowsNameLess(std::string_view a, std::string_view b) {
    std::u16string ka = UpperUtf16(a), kb = UpperUtf16(b);
    if (ka != kb) return ka < kb;
    return a < b;  // names equal but for case (possible on Linux): a fixed order
}

std::vector<DirEntry> ListDir(std::string_view cp932Folder, std::string_view cp932Pattern,
                              std::vector<std::string>* leftOut) {
    std::vector<DirEntry> out;
    std::string host = cp932Folder.empty() ? "." : OsPath(cp932Folder);
    // "*.*" matches every name, also one without a dot, as on Windows.
    std::u16string pat = cp932Pattern == "*.*" ? std::u16string(u"*") : UpperUtf16(cp932Pattern);
    DIR* d = ::opendir(host.c_str());
    if (!d) return out;
    struct Keyed {
        DirEntry entry;
        std::u16string key;
    };
    std::vector<Keyed> found;
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        std::string cp;
        if (!HostNameToCp932(e->d_name, &cp)) {
            if (leftOut) leftOut->push_back(e->d_name);
            continue;
        }
        std::u16string key = UpperUtf16(cp);
        if (!WildMatch(pat, 0, key, 0)) continue;
        struct stat st;
        std::string full = host + "/" + e->d_name;
        bool isDir = ::stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        found.push_back({{cp, isDir}, std::move(key)});
    }
    ::closedir(d);
    // A parent of the working folder lists the way back down to it also when
    // the next folder's name has no CP932 form: under its spelling, which
    // OsPath maps back.
    const FolderSpelling cwd = WorkingFolderSpelling();
    std::string prefix = "/";
    for (size_t k = 0; k < cwd.host.size(); ++k) {
        if (host == prefix) {
            std::string cp;
            const std::u16string key = UpperUtf16(cwd.cp[k]);
            if (!HostNameToCp932(cwd.host[k], &cp) && WildMatch(pat, 0, key, 0)) {
                found.push_back({{cwd.cp[k], true}, key});
                if (leftOut) std::erase(*leftOut, cwd.host[k]);
            }
            break;
        }
        prefix += (k ? "/" : "") + cwd.host[k];
    }
    std::sort(found.begin(), found.end(), [](const Keyed& x, const Keyed& y) {
        if (x.key != y.key) return x.key < y.key;
        return x.entry.name < y.entry.name;
    });
    out.reserve(found.size());
    for (auto& k : found) out.push_back(std::move(k.entry));
    return out;
}

std::string CurrentDirectory() {
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf)) return std::string();
    return buf;
}

std::string SpellHostFolder(const std::string& hostFolder) {
    std::string out;
    for (const std::string& name : SpellFolder(hostFolder).cp) out += "\\" + name;
    return out.empty() ? std::string("\\") : out;
}

void KeepFolderSpelling(const std::string& hostFolder) {
    std::lock_guard<std::mutex> lock(g_keptMutex);
    g_keptFolders.push_back(SpellFolder(hostFolder));
}

std::string CurrentDirectoryCp932() {
    const std::string cwd = CurrentDirectory();
    return cwd.empty() ? std::string() : SpellHostFolder(cwd);
}

bool ChangeDirectory(const std::string& hostPath) {
    bool ok = ::chdir(hostPath.c_str()) == 0;
    InvalidateDirCache();
    return ok;
}

int64_t FreeDiskBytes(std::string_view cp932Path) {
    std::string host = cp932Path.empty() ? "." : OsPath(cp932Path);
    struct statvfs sv;
    if (::statvfs(host.c_str(), &sv) != 0) return 0;
    unsigned long long bytes = static_cast<unsigned long long>(sv.f_bavail) * sv.f_frsize;
    return bytes > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int64_t>(bytes);
}

}  // namespace platform
