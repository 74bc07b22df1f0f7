#include "records/damaged_files.h"

#include <mutex>
#include <set>

#include "base/log.h"
#include "platform/cp932.h"
#include "platform/fs.h"

namespace {

std::mutex g_mutex;
std::set<std::string> g_noted;  // host paths: one file however its name is spelled

std::string Key(std::string_view cp932Path) { return platform::OsPath(cp932Path); }

constexpr int kMaxKeptCopies = 99;

}  // namespace

void NoteDamagedFile(std::string_view cp932Path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_noted.insert(Key(cp932Path));
}

bool IsNotedDamaged(std::string_view cp932Path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_noted.count(Key(cp932Path)) != 0;
}

bool KeepDamagedFileBeforeSave(std::string_view cp932Path) {
    std::lock_guard<std::mutex> lock(g_mutex);
    const auto it = g_noted.find(Key(cp932Path));
    if (it == g_noted.end()) return true;
    const std::string path(cp932Path);
    if (!platform::PathExists(path)) {
        g_noted.erase(it);
        return true;
    }
    const auto bytes = platform::ReadWholeFile(path);
    if (bytes) {
        for (int n = 1; n <= kMaxKeptCopies; ++n) {
            const std::string kept = path + ".damaged" + (n > 1 ? std::to_string(n) : std::string());
            if (platform::PathExists(kept)) continue;
            if (!platform::WriteNewFile(kept, bytes->data(), bytes->size(), false, false)) break;
            ReportLogf(SJ("%s は壊れていたため、元のファイルを %s として残しました").c_str(), path.c_str(), kept.c_str());
            g_noted.erase(it);
            return true;
        }
    }
    ReportLogf(SJ("%s は壊れていますが、元のファイルを残せないため保存しません").c_str(), path.c_str());
    return false;
}

void ForgetDamagedFiles() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_noted.clear();
}
