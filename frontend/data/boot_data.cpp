#include "frontend/data/boot_data.h"

#include "app/files.h"

cBootData g_BootData;

bool LoadBootData() { return g_BootData.LoadFile(g_PathTable.at(PATH_BOOT_FILE)); }

bool SaveBootData() { return g_BootData.SaveFile(g_PathTable.at(PATH_BOOT_FILE)); }
