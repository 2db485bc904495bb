// vxkst-mdbread FILE: prints the rows of TBL_CAMERA and TBL_CHANNEL_LIST of a
// legacy database file, one line per row (see LegacyReader.h), and exits 0;
// any other exit, or a crash, means the file cannot be read. The file is
// opened read-only. The recorder runs this in a child process, so a file that
// upsets the reader never ends the recorder.
#include "recorder/LegacyReader.h"

#include <mdbtools.h>

#include <cstdio>
#include <string>
#include <strings.h>
#include <vector>

namespace {

bool Listed(MdbHandle* mdb, const char* name)
{
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (strcasecmp(entry->object_name, name) == 0)
            return true;
    }
    return false;
}

// A table the catalog lists must be read whole: a row count that differs
// from the table's own (pages cut off the file) is a failure, not a part.
bool DumpTable(MdbHandle* mdb, const char* name, bool required, std::string& out)
{
    if (!mdb_read_catalog(mdb, MDB_TABLE))
        return false;
    if (!Listed(mdb, name))
        return !required;
    MdbTableDef* table = mdb_read_table_by_name(mdb, const_cast<gchar*>(name), MDB_TABLE);
    if (!table)
        return false;
    if (!mdb_read_columns(table)) {
        mdb_free_tabledef(table);
        return false;
    }
    mdb_rewind_table(table);
    const unsigned n = table->num_cols;
    std::vector<std::vector<char>> values(n, std::vector<char>(MDB_BIND_SIZE + 1, 0));
    std::vector<int> lengths(n, 0);
    for (unsigned i = 0; i < n; ++i)
        mdb_bind_column(table, static_cast<int>(i + 1), values[i].data(), &lengths[i]);
    unsigned long rows = 0;
    while (mdb_fetch_row(table)) {
        ++rows;
        LegacyRow row;
        for (unsigned i = 0; i < n; ++i) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
            // An empty bound value is a NULL or an empty text: both read as
            // missing, which the import maps to the empty text or its default.
            if (lengths[i] <= 0)
                continue;
            size_t len =
                static_cast<size_t>(lengths[i]) < MDB_BIND_SIZE ? static_cast<size_t>(lengths[i]) : MDB_BIND_SIZE;
            row[col->name] = std::string(values[i].data(), len);
        }
        out += FormatLegacyRow(name, row);
    }
    bool whole = rows == table->num_rows;
    mdb_free_tabledef(table);
    return whole;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vxkst-mdbread FILE\n");
        return 2;
    }
    MdbHandle* mdb = mdb_open(argv[1], MDB_NOFLAGS);
    if (!mdb) {
        std::fprintf(stderr, "vxkst-mdbread: %s is no database file\n", argv[1]);
        return 1;
    }
    std::string out;
    bool ok = DumpTable(mdb, "TBL_CAMERA", true, out) && DumpTable(mdb, "TBL_CHANNEL_LIST", false, out);
    mdb_close(mdb);
    if (!ok) {
        std::fprintf(stderr, "vxkst-mdbread: %s: the camera tables cannot be read whole\n", argv[1]);
        return 1;
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
