#include "records/cmd.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cCmd>;
