// Every value the play-state hash covers changes the hash of the frame it
// changes in: each hashed field of a map cell's block (changed through the
// map's write path), of a chara's, item's and shot's definition, the
// objects' own play values, the progress's counters and input record 0. The
// batch of many frames gives the values of hashing each frame alone.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "base/random.h"
#include "frontend/data/game_progress.h"
#include "play/cell_words.h"
#include "play/state_hash.h"
#include "play/state_hasher.h"
#include "media/input/input_list.h"
#include "play/chara_computer.h"
#include "play/chara_player.h"
#include "play/item.h"
#include "play/map_cell.h"
#include "play/map_cell_log.h"
#include "play/scene_play.h"
#include "play/shot.h"

namespace {

template <class T>
void Bump(T& v) {
    if constexpr (std::is_same_v<T, bool>) v = !v;
    else if constexpr (std::is_floating_point_v<T>) v = v + 1.5;
    else if constexpr (std::is_enum_v<T>) v = static_cast<T>(static_cast<std::underlying_type_t<T>>(v) + 1);
    else if constexpr (std::is_arithmetic_v<T>) v = static_cast<T>(v + 1);
    else if constexpr (std::is_array_v<T>) Bump(v[0]);
    else if constexpr (requires { v.emplace_back(); }) {
        if (v.empty()) v.emplace_back();
        else Bump(v.front());
    } else Bump(*std::begin(v));  // std::array
}

// Changes the n-th value that the hash reads of a record (fields, raw
// values, strings and value vectors, in the order Fields visits them) and
// counts them.
class cPokePass {
public:
    explicit cPokePass(int target) : m_nTarget(target) {}
    uint32_t Version() const { return kDataVersion; }
    bool Since(uint32_t n) const { return kDataVersion >= n; }
    bool Above(uint32_t n) const { return kDataVersion > n; }
    bool Below(uint32_t n) const { return kDataVersion < n; }
    template <class T>
    void Field(const char* name, T& v) {
        if (Hit(name)) Bump(v);
    }
    template <class T>
    void Raw(const char* name, T& v) {
        if (Hit(name)) Bump(v);
    }
    void Dropped(const char*, int, int = 1) {}
    void String(const char* name, std::string& s) {
        if (Hit(name)) s += 'x';
    }
    template <class T>
    void Vector(const char* name, std::vector<T>& v, VectorRule = VectorRule::Replace) {
        if constexpr (std::is_arithmetic_v<T> || std::is_same_v<T, std::string>)
            if (Hit(name)) v.emplace_back();  // its length is hashed too
    }
    template <class T>
    void Record(const char*, T& r) {
        r.Fields(*this);
    }
    template <class T>
    void Holder(const char*, cPartHolder<T>&) {}
    int Count() const { return m_nCount; }
    const std::string& Name() const { return m_strName; }

private:
    bool Hit(const char* name) {
        if (m_nCount++ != m_nTarget) return false;
        m_strName = name;
        return true;
    }
    int m_nTarget, m_nCount = 0;
    std::string m_strName;
};

template <class R>
int HashedValueCount(R& record) {
    cPokePass count(-1);
    record.Fields(count);
    return count.Count();
}

class StateHashCoverageTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override {
        g_vPlayers.clear();
        g_lstCharas.clear();
        g_lstItems.clear();
        g_vMapCells.clear();
        g_MapCellLog.Remade();
        g_Progress = cGameProgress();
        g_InputList[0] = cInput();
    }
    void Reset() {
        TearDown();
        SRand(7);
        g_vPlayers.resize(1);
        g_lstCharas.emplace_back();
        g_lstItems.emplace_back();
        m_scene.emplace();
        m_scene->m_lstShots.emplace_back();
        g_vMapCells.assign(24, cMapCell());
        g_MapCellLog.Remade();
    }
    // Each change, made on a fresh state after one hash was taken, changes
    // the next hash.
    void ExpectEachChanges(const char* what, int count, const std::function<std::string(int)>& change) {
        for (int i = 0; i < count; ++i) {
            Reset();
            const uint64_t before = PlayStateHash(*m_scene);
            const std::string name = change(i);
            EXPECT_NE(PlayStateHash(*m_scene), before) << what << " " << name;
        }
    }
    std::optional<cScenePlay> m_scene;
};

TEST_F(StateHashCoverageTest, EveryCellFieldChangesTheHash) {
    cEdBlock probe;
    const int count = HashedValueCount(probe);
    ASSERT_GT(count, 20);
    ExpectEachChanges("cell", count, [](int i) {
        cEdBlock block = g_vMapCells[7];
        cPokePass poke(i);
        block.Fields(poke);
        SetMapCellBlock(g_vMapCells[7], 7, block);
        return poke.Name();
    });
    ExpectEachChanges("cell latch", 1, [](int) {
        g_vMapCells[23].m_nLatch = 1;
        return std::string("m_nLatch");
    });
}

TEST_F(StateHashCoverageTest, EveryDefinitionFieldOfAnObjectChangesTheHash) {
    ExpectEachChanges("hero definition", HashedValueCount(g_vPlayers[0].m_Def), [](int i) {
        cPokePass poke(i);
        g_vPlayers[0].m_Def.Fields(poke);
        return poke.Name();
    });
    ExpectEachChanges("chara definition", HashedValueCount(g_lstCharas.front().m_Def), [](int i) {
        cPokePass poke(i);
        g_lstCharas.front().m_Def.Fields(poke);
        return poke.Name();
    });
    ExpectEachChanges("item definition", HashedValueCount(g_lstItems.front().m_Def), [](int i) {
        cPokePass poke(i);
        g_lstItems.front().m_Def.Fields(poke);
        return poke.Name();
    });
    ExpectEachChanges("shot definition", HashedValueCount(m_scene->m_lstShots.front().m_EdShot), [this](int i) {
        cPokePass poke(i);
        m_scene->m_lstShots.front().m_EdShot.Fields(poke);
        return poke.Name();
    });
}

TEST_F(StateHashCoverageTest, ObjectProgressAndInputValuesChangeTheHash) {
    using Change = std::pair<const char*, std::function<void(cScenePlay&)>>;
    const Change changes[] = {
        {"hero x", [](cScenePlay&) { Bump(g_vPlayers[0].m_dX); }},
        {"hero speed y", [](cScenePlay&) { Bump(g_vPlayers[0].m_dSpeedY); }},
        {"hero HP", [](cScenePlay&) { Bump(g_vPlayers[0].m_nHP); }},
        {"hero hold counter", [](cScenePlay&) { Bump(g_vPlayers[0].m_nHoldCounter); }},
        {"hero foot timer", [](cScenePlay&) { Bump(g_vPlayers[0].m_nFootTimer); }},
        {"chara facing", [](cScenePlay&) { Bump(g_lstCharas.front().m_nFacing); }},
        {"chara anime step", [](cScenePlay&) { Bump(g_lstCharas.front().m_Anime.m_nStep); }},
        {"chara SP", [](cScenePlay&) { Bump(g_lstCharas.front().m_nSP); }},
        {"chara variables", [](cScenePlay&) { Bump(g_lstCharas.front().m_vVars); }},
        {"chara appeared", [](cScenePlay&) { Bump(g_lstCharas.front().m_bAppeared); }},
        {"chara carried item", [](cScenePlay&) { Bump(g_lstCharas.front().m_CarriedItem.m_dY); }},
        {"item y", [](cScenePlay&) { Bump(g_lstItems.front().m_dY); }},
        {"item flow variables", [](cScenePlay&) { Bump(g_lstItems.front().m_anFlowVars); }},
        {"item temporary", [](cScenePlay&) { Bump(g_lstItems.front().m_bTemporary); }},
        {"shot x", [](cScenePlay& s) { Bump(s.m_lstShots.front().m_dX); }},
        {"shot finished", [](cScenePlay& s) { Bump(s.m_lstShots.front().m_bFinished); }},
        {"shot hit box", [](cScenePlay& s) { Bump(s.m_lstShots.front().m_adHitBox); }},
        {"shot life time", [](cScenePlay& s) { Bump(s.m_lstShots.front().m_nLifeTime); }},
        {"a second shot", [](cScenePlay& s) { s.m_lstShots.emplace_back(); }},
        {"progress lives", [](cScenePlay&) { Bump(g_Progress.m_nLives); }},
        {"progress score", [](cScenePlay&) { Bump(g_Progress.m_nScore); }},
        {"progress stage score", [](cScenePlay&) { Bump(g_Progress.m_nStageScore); }},
        {"progress totals", [](cScenePlay&) { Bump(g_Progress.m_nTotal3); }},
        {"progress next stage", [](cScenePlay&) { Bump(g_Progress.m_nNextStage); }},
        {"progress next start", [](cScenePlay&) { Bump(g_Progress.m_nNextStartY); }},
        {"progress common variable", [](cScenePlay&) { Bump(g_Progress.m_vecCommonVar.at(5)); }},
        {"input direction", [](cScenePlay&) { Bump(g_InputList[0].m_sDir); }},
        {"input buttons", [](cScenePlay&) { Bump(g_InputList[0].m_wButton); }},
        {"input direction number", [](cScenePlay&) { Bump(g_InputList[0].m_nDirNumber); }},
        {"input ring", [](cScenePlay&) { Bump(g_InputList[0].m_Ring[1][3].m_nFrames); }},
        {"input ring cursor", [](cScenePlay&) { Bump(g_InputList[0].m_nRingCursor[1]); }},
        {"scene frame", [](cScenePlay& s) { Bump(s.m_nFrame); }},
        {"scroll", [](cScenePlay& s) { Bump(s.m_ScrollY.m_dPos); }},
        {"stage variable", [](cScenePlay& s) { Bump(s.m_vStageVars.at(2)); }},
        {"generator", [](cScenePlay&) { Rand(); }},
    };
    ExpectEachChanges("value", int(std::size(changes)), [&](int i) {
        changes[i].second(*m_scene);
        return std::string(changes[i].first);
    });
}

// Frames taken into one batch (cells changed through the write path, latches
// set, objects added between them) finish with the values of hashing each
// frame alone, and a cell changed in place hashes as a map read anew.
TEST_F(StateHashCoverageTest, BatchEqualsFrameByFrame) {
    cStateHashBatch batch;
    std::vector<uint64_t> alone, batched;
    for (int frame = 0; frame < 80; ++frame) {
        m_scene->m_nFrame = frame;
        if (frame % 9 == 4) {
            cEdBlock block = g_vMapCells[size_t(frame % 24)];
            block.m_nGraphic = static_cast<int16_t>(frame);
            block.m_strName = std::string(size_t(frame % 3), 'n');  // words of another length
            SetMapCellBlock(g_vMapCells[size_t(frame % 24)], size_t(frame % 24), block);
        }
        if (frame % 13 == 6) g_vMapCells[size_t(frame % 24)].m_nLatch = 1;
        if (frame % 7 == 3) g_lstCharas.emplace_back();
        batch.Add(*m_scene);
        alone.push_back(PlayStateHash(*m_scene));
        if (frame == 50) batch.Finish(batched);
    }
    batch.Finish(batched);
    EXPECT_EQ(batched, alone);

    SetMapCellBlock(g_vMapCells[3], 3, cEdBlock());
    const uint64_t updated = PlayStateHash(*m_scene);
    g_MapCellLog.Remade();
    EXPECT_EQ(PlayStateHash(*m_scene), updated);
}

#ifdef TOVARO_CELL_WORDS_CHECK
// Test builds read the whole map again now and then: a block written past
// the map's write path stops the program instead of hashing stale words.
TEST_F(StateHashCoverageTest, ABlockWrittenPastTheLogIsCaught) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    PlayStateHash(*m_scene);
    g_vMapCells[2].m_nGraphic = 9;
    EXPECT_DEATH(
        {
            for (int i = 0; i < 16; ++i) PlayStateHash(*m_scene);
        },
        "SetMapCellBlock");
}
#endif

TEST(StateHashLanes, SideBySideEqualsOneByOne) {
    std::vector<uint64_t> words(301);
    for (size_t i = 0; i < words.size(); ++i) words[i] = i * 0x9E3779B97F4A7C15ull ^ (i << 40);
    for (size_t lanes : {1u, 2u, 5u, 8u, 13u, 32u, 33u, 70u}) {
        std::vector<uint64_t> h(lanes), expected(lanes);
        for (size_t j = 0; j < lanes; ++j) h[j] = expected[j] = kStateHashStart + j * 977;
        for (uint64_t& e : expected)
            for (uint64_t w : words) e = StateHashMix(e, w);
        StateHashMixLanes(h.data(), lanes, words.data(), words.size());
        EXPECT_EQ(h, expected) << lanes << " lanes";

        // Each chain its own words (here each from another place).
        std::vector<const uint64_t*> streams(lanes);
        for (size_t j = 0; j < lanes; ++j) {
            streams[j] = words.data() + j % 50;
            h[j] = expected[j] = kStateHashStart ^ j;
            for (size_t i = 0; i < 250; ++i) expected[j] = StateHashMix(expected[j], streams[j][i]);
        }
        StateHashMixStreams(h.data(), lanes, streams.data(), 250);
        EXPECT_EQ(h, expected) << lanes << " streams";
    }
}

}  // namespace
