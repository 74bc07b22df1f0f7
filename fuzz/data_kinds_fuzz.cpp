// Fuzz target over every data kind of the data tool's table: the first byte
// picks the kind (modulo the table's size), the rest is the file. The file
// is loaded through the kind's own load, as the player reads it; a file that
// loads is saved, the save is loaded into a fresh record and saved again,
// and the two saves must be equal byte for byte. Any crash, sanitizer report
// or abort here is a loader fault.
//
// Seeds: one per kind holding its default record, and one per data file of
// the game folder that a kind's file pattern matches; each is the kind's
// index byte followed by the file.
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/fs.h"
#include "tools/data/data_kinds.h"
#include "records/data_record.h"

namespace {

constexpr const char* kName = "data_kinds";

void Die(const char* what, const cDataKind& kind) {
    FuzzFail(kName, "kind %s: %s (%s)", kind.szName, what, LastDataFileError().c_str());
}

std::vector<uint8_t> ReadBack(const std::string& path, const cDataKind& kind) {
    std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(path);
    if (!bytes) Die("the saved file cannot be read back", kind);
    return std::move(*bytes);
}

void Init() {
    g_nDataVersion = kDataVersion;
    // CRs are kept. With stripping on, a default string holding CRs that an
    // older file lacks (the record keeps its default) goes out with its CRs
    // in the first save and loses them when that save is loaded, so the
    // two saves would differ although both loads did what they should.
    g_bStripCR = 0;
}

void Run(const uint8_t* data, size_t size) {
    if (size < 1) return;
    const std::vector<cDataKind>& kinds = DataKinds();
    const cDataKind& kind = kinds[data[0] % kinds.size()];
    const std::string in = FuzzWorkDir() + "/in";
    const std::string first = FuzzWorkDir() + "/first";
    const std::string second = FuzzWorkDir() + "/second";
    SetLastDataFileError("");
    if (!platform::WriteFileAtomic(in, data + 1, size - 1)) Die("cannot write the input file", kind);

    auto rec = kind.pfnMake();
    if (!LoadDataKind(kind, *rec, in)) return;  // refused cleanly: fine
    if (!SaveDataKind(kind, *rec, first)) Die("a loaded record cannot be saved", kind);

    auto again = kind.pfnMake();
    if (!LoadDataKind(kind, *again, first)) Die("its own save does not load", kind);
    if (!SaveDataKind(kind, *again, second)) Die("the reloaded record cannot be saved", kind);
    if (ReadBack(first, kind) != ReadBack(second, kind)) Die("the second save differs from the first", kind);
}

std::vector<uint8_t> Seed(size_t nKind, const std::vector<uint8_t>& file) {
    std::vector<uint8_t> seed;
    seed.reserve(file.size() + 1);
    seed.push_back(static_cast<uint8_t>(nKind));
    seed.insert(seed.end(), file.begin(), file.end());
    return seed;
}

void Seeds(const std::string& gameDir, std::vector<FuzzSeed>& out) {
    Init();
    const std::vector<cDataKind>& kinds = DataKinds();
    const std::string scratch = FuzzWorkDir() + "/seed";
    for (size_t i = 0; i < kinds.size(); ++i) {
        auto rec = kinds[i].pfnMake();
        if (!SaveDataKind(kinds[i], *rec, scratch))
            FuzzFail(kName, "the default %s record cannot be saved", kinds[i].szName);
        std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(scratch);
        if (!bytes) FuzzFail(kName, "the default %s record cannot be read back", kinds[i].szName);
        out.emplace_back(std::string(kinds[i].szName) + "-default", Seed(i, *bytes));
    }
    platform::RemoveFile(scratch);
    // The game's files, found from its folder as the player finds them.
    const std::string cwd = platform::CurrentDirectory();
    if (!platform::ChangeDirectory(gameDir)) return;
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (!kinds[i].szGameFiles) continue;
        const std::string pattern = kinds[i].szGameFiles;
        const size_t slash = pattern.find_last_of('\\');
        const std::string folder = slash == std::string::npos ? std::string(".") : pattern.substr(0, slash);
        const std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
        for (const platform::DirEntry& e : platform::ListDir(folder, name)) {
            if (e.isDir) continue;
            std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(folder + "\\" + e.name);
            if (!bytes) continue;
            out.emplace_back(std::string(kinds[i].szName) + "-game-" + std::to_string(out.size()), Seed(i, *bytes));
        }
    }
    platform::ChangeDirectory(cwd);
}

const cFuzzTarget kTarget{kName, Init, Run, Seeds};
const cFuzzTargetRegistration kRegistration(kTarget);

}  // namespace
