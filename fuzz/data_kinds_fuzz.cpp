// libFuzzer target over every data kind of the data tool's table: the first
// byte picks the kind (modulo the table's size), the rest is the file. The
// file is loaded through the kind's own load, as the player reads it; a file
// that loads is saved, the save is loaded into a fresh record and saved
// again, and the two saves must be equal byte for byte. Any crash, sanitizer
// report or abort here is a loader fault.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "records/data_kinds.h"
#include "records/data_record.h"

namespace {

// A private folder for the three files of one run, on tmpfs when there is one.
const std::string& WorkDir() {
    static const std::string dir = [] {
        const char* base = std::getenv("TMPDIR");
        std::string root = platform::IsDirectory("/dev/shm") ? "/dev/shm" : (base && *base ? base : "/tmp");
        std::string pattern = root + "/tovaro-fuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) {
            std::perror("tovaro fuzz: mkdtemp");
            std::abort();
        }
        return pattern;
    }();
    return dir;
}

void Die(const char* what, const cDataKind& kind) {
    std::fprintf(stderr, "tovaro fuzz: kind %s: %s (%s)\n", kind.szName, what, LastDataFileError().c_str());
    std::abort();
}

std::vector<uint8_t> ReadBack(const std::string& path, const cDataKind& kind) {
    std::optional<std::vector<uint8_t>> bytes = platform::ReadWholeFile(path);
    if (!bytes) Die("the saved file cannot be read back", kind);
    return std::move(*bytes);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_nDataVersion = kDataVersion;
    // CRs are kept. With stripping on, a default string holding CRs that an
    // older file lacks (the record keeps its default) goes out with its CRs
    // in the first save and loses them when that save is loaded, so the
    // two saves would differ although both loads did what they should.
    g_bStripCR = 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::vector<cDataKind>& kinds = DataKinds();
    const cDataKind& kind = kinds[data[0] % kinds.size()];
    const std::string in = WorkDir() + "/in";
    const std::string first = WorkDir() + "/first";
    const std::string second = WorkDir() + "/second";
    SetLastDataFileError("");
    if (!platform::WriteFileAtomic(in, data + 1, size - 1)) Die("cannot write the input file", kind);

    auto rec = kind.pfnMake();
    if (!LoadDataKind(kind, *rec, in)) return 0;  // refused cleanly: fine
    if (!SaveDataKind(kind, *rec, first)) Die("a loaded record cannot be saved", kind);

    auto again = kind.pfnMake();
    if (!LoadDataKind(kind, *again, first)) Die("its own save does not load", kind);
    if (!SaveDataKind(kind, *again, second)) Die("the reloaded record cannot be saved", kind);
    if (ReadBack(first, kind) != ReadBack(second, kind)) Die("the second save differs from the first", kind);
    return 0;
}
