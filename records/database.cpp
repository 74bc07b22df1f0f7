#include "records/database.h"

#include <string>

#include "base/files.h"
#include "platform/cp932.h"

// The record passes, compiled once here (see records/data_record.h).
template class cRecord<cDatabase>;
template class cDbTableFile<cDbAnimeSet>;
template class cDbTableFile<cDbAnime>;
template class cDbTableFile<cDbBmpCharaExc>;
template class cDbTableFile<cDbSwordType>;
template class cDbTableFile<cDbEffect>;
template class cDbTableFile<cDbCharaEffect>;
template class cDbTableFile<cDbScrEffect>;
template class cDbTableFile<cDbPicture>;
template class cDbTableFile<cDbSound>;
template class cDbTableFile<cDbBgm>;

cDatabase::cDatabase() { MakeDefaults(); }
cDatabase::cDatabase(const cDatabase&) = default;
cDatabase::cDatabase(cDatabase&&) noexcept = default;
cDatabase& cDatabase::operator=(const cDatabase&) = default;
cDatabase& cDatabase::operator=(cDatabase&&) noexcept = default;
cDatabase::~cDatabase() = default;

// g_Database, g_vAnimeSteps and g_vEffectSteps are built with the other global objects (records/globals.cpp).

void cDatabase::MakeDefaults() {
    Clear();
    m_vecAnimeSet.assign(1, cDbAnimeSet());
    m_vecAnime.assign(2, cDbAnime());
    m_vecAnime[0].m_strName = SJ("なし");
    m_vecAnime[1].m_strName = SJ("アクションA");
    m_vecBmpCharaExc.assign(2, cDbBmpCharaExc());
    m_vecSwordType.assign(1, cDbSwordType());
    m_vecEffect.assign(2, cDbEffect());
    m_vecCharaEffect.assign(2, cDbCharaEffect());
    m_vecScrEffect.assign(2, cDbScrEffect());
    m_vecPicture.assign(2, cDbPicture());
    m_vecSound.assign(2, cDbSound());
    m_vecBgm.assign(2, cDbBgm());
}

void cDatabase::MakeWorkingCopies() {
    m_vecCharaEffectWork = m_vecCharaEffect;
    m_vecScrEffectWork = m_vecScrEffect;
}

namespace {

// One table file into one table; the table changes only when the whole file
// was good. Carriage returns are already gone from every loaded string
// (sub-records included) when g_bStripCR is set.
template <class T>
bool LoadTable(cCheckedVector<T>& table, int nPathIndex) {
    const std::string& path = g_PathTable.at(nPathIndex);
    cDbTableFile<T> file;
    file.m_vecRecords = table;
    if (!file.LoadFile(path)) {
        ReportDataFileLoadFailure(path);
        return false;
    }
    table = std::move(file.m_vecRecords);
    return true;
}

}  // namespace

bool LoadDatabase(cDatabase& db) {
    const bool ok = LoadTable(db.m_vecAnimeSet, PATH_DB_ANIMESET) && LoadTable(db.m_vecAnime, PATH_DB_ANIME) &&
                    LoadTable(db.m_vecBmpCharaExc, PATH_DB_BMP_CHARAEXC) &&
                    LoadTable(db.m_vecSwordType, PATH_DB_SWORDTYPE) && LoadTable(db.m_vecEffect, PATH_DB_EFFECT) &&
                    LoadTable(db.m_vecCharaEffect, PATH_DB_CHARAEFFECT) &&
                    LoadTable(db.m_vecScrEffect, PATH_DB_SCREFFECT) && LoadTable(db.m_vecPicture, PATH_DB_PICTURE) &&
                    LoadTable(db.m_vecSound, PATH_DB_SOUND) && LoadTable(db.m_vecBgm, PATH_DB_BGM);
    if (!ok) return false;
    // Entry 0 stands for "no effect" whatever the file says.
    if (!db.m_vecCharaEffect.empty()) db.m_vecCharaEffect[0].m_nKind = 0;
    if (!db.m_vecScrEffect.empty()) db.m_vecScrEffect[0].m_nKind = 0;
    return true;
}
