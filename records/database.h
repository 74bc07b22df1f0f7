// The database: the game's shared resources in ten tables, each read from
// its own file under data\database\, and the run-time tables derived from
// them after loading. Stages, charas, commands and the system data refer to
// its entries by index; entry 0 of several tables stands for none.
#pragma once
#include <memory>
#include <type_traits>
#include <utility>

#include "base/checked_vector.h"
#include "records/data_record.h"
#include "records/db_anime.h"
#include "records/db_effect.h"
#include "records/db_image.h"
#include "records/db_sound.h"
#include "records/db_table.h"

class cDatabase : public cRecord<cDatabase> {
public:
    // Compiled once, in database.cpp (copies of the whole record are large).
    cDatabase();
    cDatabase(const cDatabase&);
    cDatabase(cDatabase&&) noexcept;
    cDatabase& operator=(const cDatabase&);
    cDatabase& operator=(cDatabase&&) noexcept;
    ~cDatabase() override;

    // The ten tables, in the order they are loaded.
    cCheckedVector<cDbAnimeSet> m_vecAnimeSet;
    cCheckedVector<cDbAnime> m_vecAnime;
    cCheckedVector<cDbBmpCharaExc> m_vecBmpCharaExc;
    cCheckedVector<cDbSwordType> m_vecSwordType;
    cCheckedVector<cDbEffect> m_vecEffect;
    cCheckedVector<cDbCharaEffect> m_vecCharaEffect;
    cCheckedVector<cDbScrEffect> m_vecScrEffect;
    cCheckedVector<cDbPicture> m_vecPicture;
    cCheckedVector<cDbSound> m_vecSound;
    cCheckedVector<cDbBgm> m_vecBgm;
    // Working copies of the chara-effect and screen-effect tables, read by
    // the effect instances of play (MakeWorkingCopies fills them).
    cCheckedVector<cDbCharaEffect> m_vecCharaEffectWork;
    cCheckedVector<cDbScrEffect> m_vecScrEffectWork;


    // Every table back to its default records: one animation set, the
    // animations "なし" and "アクションA", one sword type, two default records
    // in each other table. The working copies are left alone.
    void MakeDefaults();
    // The working tables become copies of CharaEffect and ScrEffect.
    void MakeWorkingCopies();

    // Never loaded or saved as a whole: no fields of its own.
    template <class F>
    void Fields(F&) {}
};
extern template class cRecord<cDatabase>;
extern template class cDbTableFile<cDbAnimeSet>;
extern template class cDbTableFile<cDbAnime>;
extern template class cDbTableFile<cDbBmpCharaExc>;
extern template class cDbTableFile<cDbSwordType>;
extern template class cDbTableFile<cDbEffect>;
extern template class cDbTableFile<cDbCharaEffect>;
extern template class cDbTableFile<cDbScrEffect>;
extern template class cDbTableFile<cDbPicture>;
extern template class cDbTableFile<cDbSound>;
extern template class cDbTableFile<cDbBgm>;

extern cDatabase g_Database;

// Compiled step lists, one track per Anime / Effect record (CompileAnimeSteps,
// CompileEffectSteps after loading).
extern cCheckedVector<AnimeTrack> g_vAnimeSteps;
extern cCheckedVector<AnimeTrack> g_vEffectSteps;

// Reads the ten table files in their fixed order. The first file that cannot
// be read (missing, newer than this program, or damaged) is reported by name
// and ends the load with false: the tables read before it keep their new
// records, it and the later ones keep what they held, and the later files
// are not opened. When all ten are read, entry 0 of CharaEffect and of
// ScrEffect gets kind 0.
bool LoadDatabase(cDatabase& db);

// A table file of one of the ten kinds holding the default records of its
// table (the data tool's records): MakeDbTableFile<&cDatabase::m_vecAnime>.
template <auto Member>
std::unique_ptr<cDataRecord> MakeDbTableFile() {
    using Table = std::remove_cvref_t<decltype(std::declval<cDatabase&>().*Member)>;
    auto file = std::make_unique<cDbTableFile<typename Table::value_type>>();
    cDatabase defaults;
    file->m_vecRecords = std::move(defaults.*Member);
    return file;
}
