#include "frontend/data/boot_data.h"

#include "base/files.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cBootData>;

cBootData g_BootData;

bool LoadBootData() { return g_BootData.LoadFile(g_PathTable.at(PATH_BOOT_FILE)); }

bool SaveBootData() { return g_BootData.SaveFile(g_PathTable.at(PATH_BOOT_FILE)); }
