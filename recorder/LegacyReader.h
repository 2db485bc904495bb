#pragma once
// Reading the cameras of a legacy database file (the older engine's file
// "VXKST.dat"). A reader hands back the rows of TBL_CAMERA and
// TBL_CHANNEL_LIST as column name -> text; a column that the file lacks, and
// a NULL value, are absent from the row. Nothing is ever written to the file.
//
// Threads: any; a reader object is used by one thread at a time.

#include <map>
#include <memory>
#include <string>
#include <vector>

using LegacyRow = std::map<std::string, std::string>;

struct LegacyTables {
    std::vector<LegacyRow> cameras;
    std::vector<LegacyRow> schedules;
};

class ILegacyReader {
public:
    virtual ~ILegacyReader() = default;
    // False (and `error` says why) when the file cannot be read; `out` then
    // holds nothing.
    virtual bool Read(const std::string& path, LegacyTables& out, std::string& error) = 0;
};

// Reads through the helper program "vxkst-mdbread" in a child process, so a
// file that crashes the reader only ends the child. The helper is looked for
// beside the running program unless a path is given.
std::unique_ptr<ILegacyReader> MakeMdbReader(std::string helperPath = std::string());

// The helper's output: one line per row, "<table>" then TAB-separated
// "<column>=<hex of the value>" fields. Parses it; false on anything else.
bool ParseLegacyRows(const std::string& text, LegacyTables& out);
std::string FormatLegacyRow(const std::string& table, const LegacyRow& row);
