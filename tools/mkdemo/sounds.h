// The demo game's sounds, synthesised by the builder: the 18 system effects,
// two database sounds, the title music and a MIDI piece.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "records/database.h"
#include "records/system_data.h"

namespace demo {

struct DemoSound {
    std::string strPath;  // CP932 path under the game folder
    std::vector<uint8_t> bytes;
};

std::vector<DemoSound> DemoSounds();

// Points the system data's effect files and scene music at the demo's sounds.
void SetSoundRecords(cSystemData& sd);
// The database's sound and music records of the demo.
cCheckedVector<cDbSound> DemoSoundRecords();
cCheckedVector<cDbBgm> DemoBgmRecords();

}  // namespace demo
