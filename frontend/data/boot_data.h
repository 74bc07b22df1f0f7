// The boot choice of the set-up dialog, kept in user_data\Boot.dat (20
// bytes): the drawing back end and whether to ask again.
#pragma once
#include <cstdint>

#include "records/data_record.h"

class cBootData : public cRecord<cBootData> {
public:
    int32_t m_nDrawMode = 1;  // 1 Direct3D, 0 DirectDraw
    int32_t m_bNoAsk = 0;     // 1: do not show the set-up dialog again

    template <class F>
    void Fields(F& f) {
        f.Field("m_nDrawMode", m_nDrawMode);
        f.Field("m_bNoAsk", m_bNoAsk);
    }
};
extern template class cRecord<cBootData>;

extern cBootData g_BootData;

// A missing, unreadable or too new file leaves the record as it was.
bool LoadBootData();
bool SaveBootData();
