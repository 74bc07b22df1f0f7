// Flows and flow commands as stored data.
//
// A flow (cEdFlow) is one behaviour program of a chara: the event that
// starts it, start conditions, an optional key sequence and its commands.
// A command (cEdFlowCmd) is one step: a chara command kind (family 0) or an
// item command kind (family 1) with its parameters, optional movement, shot
// and condition-list parts, and, for the item command that changes flows,
// a nested list of flows.
//
// Body of a flow (after the base body): int32 count + cCond bodies, int32
// count + cKeyCond bodies, int32 count + cEdFlowCmd bodies.
// Body of a command (after the base body): int32 flag + cEdMove body,
// int32 flag + cEdShot body, from version 764 int32 flag + cCondList body,
// int32 count + nested cEdFlow bodies, int32 count + int32 parameters.
//
// Reading checks everything against the bytes left; commands are upgraded
// from older files and then checked (cEdFlowCmd::Validate), which also runs
// before every save.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "records/cond.h"
#include "records/data_record.h"
#include "records/ed_flow_refs.h"
#include "records/ed_move.h"
#include "records/ed_shot.h"

class cEdFlowCmd;

class cEdFlow : public cRecord<cEdFlow> {
public:
    std::string m_strName;     // emptied as soon as a flow has been read
    int8_t m_nId = 0;          // 0 none, 1..26 "A".."Z"
    int8_t m_nFlowGroup = 0;   // 0 none, 1..26 "a".."z"
    int8_t m_bTestPlayOnly = 0;
    std::vector<cCond> m_vecCond;  // start conditions
    int8_t m_nCondMode = 0;        // 0 all must hold, 1 one is enough
    int8_t m_bCondOnce = 0;
    int8_t m_nTrigger = 0;       // FlowTrigger
    int8_t m_bBindPartner = 0;   // put the event's partner chara in a target slot
    int8_t m_nPartnerSlot = 0;   // that slot; kept as stored
    int8_t m_nKeyInterval = 0;   // frames allowed between two key steps (3 when read)
    int8_t m_bKeyRepeat = 0;
    std::vector<cKeyCond> m_vecKeyCond;  // key sequence, first step first
    std::vector<cEdFlowCmd> m_vecCmd;

    // Defaulted in ed_flow.cpp, where cEdFlowCmd is complete (the vector
    // of commands needs it), and compiled once there.
    cEdFlow();
    cEdFlow(const cEdFlow&);
    cEdFlow(cEdFlow&&) noexcept;
    cEdFlow& operator=(const cEdFlow&);
    cEdFlow& operator=(cEdFlow&&) noexcept;
    ~cEdFlow() override;

    // A fresh flow as reading makes it: cleared, key interval 3. Flows read
    // from a file start from this, not from the constructor.
    static cEdFlow ForReading();

    template <class F>
    void Fields(F& f) {
        if (f.Since(676)) f.String("m_strName", m_strName);
        f.Field("m_nId", m_nId);
        f.Field("m_nFlowGroup", m_nFlowGroup);
        f.Field("m_bTestPlayOnly", m_bTestPlayOnly);
        f.Field("m_nCondMode", m_nCondMode);
        f.Field("m_bCondOnce", m_bCondOnce);
        f.Field("m_nTrigger", m_nTrigger);
        if (f.Since(762)) f.Field("m_bBindPartner", m_bBindPartner);
        if (f.Since(767)) f.Field("m_nPartnerSlot", m_nPartnerSlot);
        f.Field("m_nKeyInterval", m_nKeyInterval);
        f.Field("m_bKeyRepeat", m_bKeyRepeat);
        f.Vector("m_vecCond", m_vecCond);
        f.Vector("m_vecKeyCond", m_vecKeyCond);
        f.Vector("m_vecCmd", m_vecCmd);
    }
    // Trigger renumbering of older files, the name dropped, Validate.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { Validate(); }

    // Checks every command (cEdFlowCmd::Validate).
    void Validate();
    // The palette reference checks of every command; run before a palette
    // or a stage is saved.
    void ValidateCommandRefs(const cPaletteCounts& common, const cPaletteCounts& stage);
};
extern template class cRecord<cEdFlow>;

class cEdFlowCmd : public cRecord<cEdFlowCmd> {
public:
    // Compiled once, in ed_flow.cpp (copies of the whole record are large).
    cEdFlowCmd();
    cEdFlowCmd(const cEdFlowCmd&);
    cEdFlowCmd(cEdFlowCmd&&) noexcept;
    cEdFlowCmd& operator=(const cEdFlowCmd&);
    cEdFlowCmd& operator=(cEdFlowCmd&&) noexcept;
    ~cEdFlowCmd() override;

    enum { FAMILY_CHARA = 0, FAMILY_ITEM = 1 };

    int8_t m_nFamily = 0;  // 0 chara command (CharaCmdKind), 1 item command (ItemCmdKind)
    int8_t m_nKind = 0;
    std::vector<int32_t> m_vecParam;
    std::string m_strCode;  // formula text of the code command
    cEdMoveHolder m_spMove;
    cEdShotHolder m_spShot;
    int16_t m_nTime = 0;      // tenths of a second; swords: the sword type's summed duration
    int16_t m_nTimeStep = 0;  // added per copy index of the chara
    int8_t m_bSameFrame = 0;  // the next command may start in the same frame
    int16_t m_nSound = 0;     // sound played when the command starts
    int8_t m_bSoundOnScreenOnly = 1;
    int16_t m_nAnime = 0;  // animation while the command runs; 0 none
    cCondListHolder m_spCondList;
    std::vector<cEdFlow> m_vecFlow;  // nested flows (item command "flow change")

    template <class F>
    void Fields(F& f) {
        f.Field("m_nFamily", m_nFamily);
        f.Field("m_nKind", m_nKind);
        f.String("m_strCode", m_strCode);
        f.Field("m_nTime", m_nTime);
        f.Field("m_nTimeStep", m_nTimeStep);
        f.Field("m_bSameFrame", m_bSameFrame);
        f.Field("m_nSound", m_nSound);
        f.Field("m_bSoundOnScreenOnly", m_bSoundOnScreenOnly);
        f.Field("m_nAnime", m_nAnime);
        f.Holder("m_spMove", m_spMove);
        f.Holder("m_spShot", m_spShot);
        if (f.Since(764)) f.Holder("m_spCondList", m_spCondList);
    }
    // Nested flows and parameters (after the holders).
    bool LoadExtra(cByteReader& r, const cLoadContext& ctx);
    void SaveExtra(cByteWriter& w, uint32_t nVersion);
    void DumpExtra(cDumper& d);
    // Parameter upgrades of older files, test-play flows dropped, Validate.
    void OnLoaded(const cLoadContext& ctx);
    void OnSaving() { Validate(); }

    // Fields cleared, the three parts emptied, sound on screen only;
    // parameters and nested flows are left as they are.
    void Init();

    // True when the family and kind name an entry of the kind tables.
    bool HasKnownKind() const;
    // The chara command kind whose checks and upgrades apply: the kind of a
    // chara command, item kind + 15 for item kinds 2 and up, else -1.
    int CharaKindEquivalent() const;

    // The upgrades of a file of the given version (below 1000), in table
    // order on the running values: every row whose version is above the
    // file's and at most nUpTo (the rows up to that version's layout).
    void UpgradeParams(uint32_t nFileVersion, uint32_t nUpTo = kDataVersion);
    // Database references checked, parameters made as many as the kind
    // takes (a kind outside the tables keeps them), nested flows checked.
    void Validate();
    // Palette references of shot, summon and item-getting commands.
    void ValidateRefs(const cPaletteCounts& common, const cPaletteCounts& stage);
};
extern template class cRecord<cEdFlowCmd>;

// Reading and writing a vector of flows as charas and nested flow lists
// store it: int32 count, then the bodies, each read into a fresh flow of
// cEdFlow::ForReading(). Records holding flows read them with these from
// their LoadExtra / SaveExtra, not with Vector() in Fields(), which would
// start each flow from the constructor (key interval 0). Flow lists nested
// inside commands more than 16 deep fail as a bad file. A chara drops its
// test-play flows itself (RemoveTestPlayFlows when DropTestPlayFlows()).
bool LoadFlowVector(cByteReader& r, const cLoadContext& ctx, std::vector<cEdFlow>& vec);
void SaveFlowVector(cByteWriter& w, uint32_t nVersion, std::vector<cEdFlow>& vec);

// Erases every flow whose m_bTestPlayOnly is set.
void RemoveTestPlayFlows(std::vector<cEdFlow>& vec);

// The parameter upgrade table, walked by cEdFlowCmd::UpgradeParams. Kinds
// are chara kinds as numbered at the row's version (rows below 734 use the
// older numbering); item commands of item kind 2 and up run the rows of
// chara kind (item kind + 15).
struct cParamUpgradeRow {
    uint32_t nBelow;  // applies to files of versions below this
    int nKindA;       // chara kind, or one of the scopes below
    int nKindB;       // a second chara kind, or -1
    void (*pfnChange)(cEdFlowCmd& cmd);

    static constexpr int kEveryCommand = -100;  // every command, either family
    static constexpr int kItemFlowChange = -101;  // item kind 1 only
};
extern const cParamUpgradeRow kParamUpgradeRows[];
extern const int kParamUpgradeRowCount;
