#pragma once
// The parameter CGI's table: each family of settings that "get" + name reads
// and "set" + name writes, with the values a camera of that kind accepts.
// A further page of settings is one more row in ParamTable.cpp; commands
// with behaviour of their own (the clock, the accounts) are handlers in
// ParamCgi.cpp and UserAccounts.cpp instead.

#include "tools/camsim/Options.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace camsim {

// Whether a camera takes this value for a setting. Every value is refused
// anyway when it holds a double quote, CR or LF: it would break the reply's
// variable lines.
using ValueRule = std::function<bool(const std::string&)>;
ValueRule anyText();
ValueRule intRange(int lo, int hi);
ValueRule oneOf(std::vector<std::string> words);  // compared exactly
ValueRule addressOrEmpty();                       // "a.b.c.d", each 0-255, or nothing

// Models with a white-light lamp (getlampattrex/setlampattrex).
bool isLampModel(const std::string& model);

struct ParamKey {
    std::string name;   // the stored key (before the index suffix) and the reply's variable
    std::string value;  // the value before anything set it
    ValueRule rule;
    std::string param;  // the setter's parameter when it is not `name`
    bool readOnly = false;
    bool multiLine = false;  // takes CR and LF (a mail's message)
    const std::string& paramName() const { return param.empty() ? name : param; }
};

struct ParamGroup {
    std::string name;                                          // "aencattr" for getaencattr/setaencattr
    std::string indexParam;                                    // e.g. "chn"; empty: no index
    std::vector<std::pair<std::string, std::string>> indexes;  // index value -> key suffix (chn 11 -> _1)
    std::vector<ParamKey> keys;
    bool readOnly = false;
};

std::vector<ParamGroup> paramTable(const Options& options);

// True when the text may stand in a variable line at all.
bool isSafeValue(const std::string& value);

}  // namespace camsim
