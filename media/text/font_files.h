// Where the Windows faces the game names are found on Linux. The game picks
// one of the Windows face names of the system data's list; each is mapped by a
// table of our own to one of the IPA Gothic faces (fixed or proportional
// pitch). A name missing from the table, an empty name, or a mapped face that
// is not installed falls back through fontconfig to any face with Japanese
// coverage. Decisions that depend on the face (the bracket shift) compare the
// stored Windows name, never the Linux family.
#pragma once
#include <string>
#include <string_view>

namespace text {

struct FontFileRef {
    std::string path;    // font file; empty when nothing usable was found
    int index = 0;       // face index inside the file
    std::string family;  // the Linux family that was chosen
};

// The Linux family the table maps a Windows face name (CP932 bytes) to:
// "IPAGothic", "IPAPGothic", or empty when the name is not in the table.
std::string MappedFamily(std::string_view windowsNameCp932);

// Resolves a Windows face name (CP932 bytes) to a font file; thread-safe,
// results are kept for the run.
FontFileRef ResolveFontFile(std::string_view windowsNameCp932);

}  // namespace text
