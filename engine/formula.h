// The formula evaluator of "コードの実行": integer arithmetic over chara
// statuses, system values, common and stage variables and flow variables,
// with assignment back into them, e.g. tg1.hp = tg1.hp - my.power * 2.
//
// Two stages: the parenthesis stage rewrites the text, replacing each
// bracketed group and each call of "rand" by the decimal text of its value;
// the flat stage splits the rest on spaces and reduces it by operator
// precedence. Errors are shown in error boxes and set ExprError. Texts keep
// at most 5119 bytes. Game thread only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class cChara;

// Set by every reported error; cleared when RunCode starts.
extern int ExprError;

enum ExprTokenKind : int { TOK_NUMBER = 0, TOK_VARIABLE, TOK_FLOWVAR, TOK_STATUS, TOK_SYSVALUE, TOK_OPERATOR };

struct cExprToken {
    int32_t nKind = TOK_NUMBER;
    int32_t nValue = 0;
    void* lpRef = nullptr;  // the field an assignment writes; null: not assignable
    int32_t nWidth = 4;     // bytes of the field: 1, 2 or 4
    int32_t nOp = 0;        // TOK_OPERATOR: index in ExprOpNames
    int32_t nLo = -999999, nHi = 999999;  // what an assignment clamps to
    int32_t nStatus = 0;    // TOK_STATUS: index in ExprStatusNames
    int32_t nSys = 0;       // TOK_SYSVALUE: index in ExprSysNames
    cChara* lpChara = nullptr;  // TOK_STATUS: whose status
};

// A token of width 4 with the default bounds and no chara.
cExprToken InitExprToken(int32_t value, void* ref, int kind);

// Name tables; each ends with an empty string.
extern const std::vector<std::string> ExprFuncNames;     // "rand"
extern const std::vector<std::string> ExprOpNames;       // "=", "+", "-", "*", "/", "%"
extern const std::vector<std::string> ExprObjNames;      // "my", "tg", "tg1".."tg4", "pl", "sys"
extern const std::vector<std::string> ExprVarKinds;      // "C", "S" (first character only)
extern const std::vector<std::string> ExprFlowVarNames;  // "fA", "fB", "rA", "rB"
extern const std::vector<std::string> ExprStatusNames;   // "v1".."v8", "hp" .. "getsc"
extern const std::vector<std::string> ExprSysNames;      // "time", "scrlx", "scrly", "score", "life"
// The reduction pass of each operator: "*", "/", "%" first, then "+", "-",
// then "=".
extern const int ExprOpPrecedence[6];

// Evaluates the text for the chara that runs it: 1, or 0 after an error.
// Starts the HP or SP gauge of the chara when the text changed its HP (SP)
// but not its maximum.
int RunCode(const std::string& code, cChara& chara);
// The parenthesis stage (recursive) and the flat stage: the value, or 0
// after an error.
int EvalFormula(const std::string& text, cChara& chara);
int EvalFlatFormula(const std::string& text, cChara& chara);

// Part of the text (cut to 5119 bytes first): a negative start shortens the
// length by as much and starts at 0; a start past the end or a length of 0
// gives ""; a negative length or one past the end takes the rest.
std::string StrMid(const std::string& text, int start, int length);

// Leading blanks, a sign and digits, saturating at the int32 limits.
int32_t ExprAtoi(const char* s);
