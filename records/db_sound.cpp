#include "records/db_sound.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cDbSound>;
template class cRecord<cDbBgm>;
