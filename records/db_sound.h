// Sound-effect and music records of the database. m_nTag is stored and not
// used in play; files older than 153 load it as 0.
#pragma once
#include <cstdint>
#include <string>

#include "records/data_record.h"

class cDbSound : public cRecord<cDbSound> {
public:
    std::string m_strName;
    std::string m_strFile;
    int32_t m_nTag = 0;

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.String("m_strFile", m_strFile);
        if (f.Since(151)) f.Field("m_nTag", m_nTag);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(153)) m_nTag = 0;
    }
};
extern template class cRecord<cDbSound>;

class cDbBgm : public cRecord<cDbBgm> {
public:
    std::string m_strName;
    std::string m_strFile;
    int32_t m_nTag = 0;
    int32_t m_nVolume = 100;  // percent of the music-volume level's volume

    template <class F>
    void Fields(F& f) {
        f.String("m_strName", m_strName);
        f.String("m_strFile", m_strFile);
        if (f.Since(151)) f.Field("m_nTag", m_nTag);
        if (f.Since(814)) f.Field("m_nVolume", m_nVolume);
    }
    void OnLoaded(const cLoadContext& ctx) {
        if (ctx.Below(153)) m_nTag = 0;
    }
};
extern template class cRecord<cDbBgm>;
