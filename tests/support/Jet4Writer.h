#pragma once
// A small writer of legacy Jet 4 database files, enough for tests of the
// legacy import: plain tables of long integers and texts, no indexes, rows
// in data pages listed by each table's usage map, and the catalog table that
// names them. Pages are 4096 bytes; the header is written so that readers
// find no database key (the file is not encrypted).

#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace vxtest {

struct JetColumn {
    enum Kind { Long, Short, Text, Ole };
    std::string name;
    Kind kind;
};

struct JetTable {
    std::string name;
    std::vector<JetColumn> columns;
    // One value per column as text (numbers in decimal); nullopt is NULL.
    std::vector<std::vector<std::optional<std::string>>> rows;
};

class Jet4Writer {
public:
    static constexpr size_t kPage = 4096;

    // False when the file cannot be written or a row does not fit a page.
    static bool Write(const std::string& path, const std::vector<JetTable>& tables)
    {
        Jet4Writer w;
        return w.Build(tables) && w.Save(path);
    }

private:
    using Page = std::vector<unsigned char>;

    static void Put16(Page& p, size_t at, unsigned v)
    {
        p[at] = static_cast<unsigned char>(v & 0xFF);
        p[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
    }
    static void Put32(Page& p, size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            p[at + static_cast<size_t>(i)] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
    }
    static void Append16(std::vector<unsigned char>& b, unsigned v)
    {
        b.push_back(static_cast<unsigned char>(v & 0xFF));
        b.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    }

    // UTF-8 to UCS-2 little endian (characters of the basic plane).
    static std::vector<unsigned char> Ucs2(const std::string& s)
    {
        std::vector<unsigned char> out;
        for (size_t i = 0; i < s.size();) {
            unsigned c = static_cast<unsigned char>(s[i]);
            unsigned cp = c;
            size_t n = 1;
            if (c >= 0xE0 && i + 2 < s.size()) {
                cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
                n = 3;
            } else if (c >= 0xC0 && i + 1 < s.size()) {
                cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
                n = 2;
            }
            Append16(out, cp);
            i += n;
        }
        return out;
    }

    static Page NewPage() { return Page(kPage, 0); }

    // A data page of the table whose definition is on page `tdef`.
    static Page DataPage(uint32_t tdef)
    {
        Page p = NewPage();
        p[0] = 0x01;
        p[1] = 0x01;
        Put32(p, 4, tdef);
        return p;
    }

    // Adds a row to a data page; false when it does not fit.
    static bool AddRow(Page& p, const std::vector<unsigned char>& row)
    {
        unsigned count = p[12] | (p[13] << 8);
        size_t top = count == 0 ? kPage : (p[14 + 2 * (count - 1)] | (p[15 + 2 * (count - 1)] << 8));
        size_t tableEnd = 14 + 2 * (count + 1);
        if (row.size() > top || top - row.size() < tableEnd)
            return false;
        size_t start = top - row.size();
        std::memcpy(&p[start], row.data(), row.size());
        Put16(p, 14 + 2 * count, static_cast<unsigned>(start));
        Put16(p, 12, count + 1);
        Put16(p, 2, static_cast<unsigned>(start - tableEnd));
        return true;
    }

    struct Layout {
        std::vector<int> colNum, varNum, fixedOffset, size;
        int fixedBytes = 0;
        int varCount = 0;
    };

    static Layout LayoutOf(const JetTable& t)
    {
        Layout l;
        for (const JetColumn& c : t.columns) {
            int size = c.kind == JetColumn::Long    ? 4
                       : c.kind == JetColumn::Short ? 2
                       : c.kind == JetColumn::Text  ? 510
                                                    : 0;
            bool fixed = c.kind == JetColumn::Long || c.kind == JetColumn::Short;
            l.colNum.push_back(static_cast<int>(l.colNum.size()));
            l.size.push_back(size);
            l.fixedOffset.push_back(fixed ? l.fixedBytes : 0);
            l.varNum.push_back(fixed ? 0 : l.varCount);
            if (fixed)
                l.fixedBytes += size;
            else
                ++l.varCount;
        }
        return l;
    }

    static std::vector<unsigned char> Row(const JetTable& t, const Layout& l,
                                          const std::vector<std::optional<std::string>>& values)
    {
        const size_t n = t.columns.size();
        std::vector<unsigned char> row;
        Append16(row, static_cast<unsigned>(n));
        std::vector<unsigned char> fixed(static_cast<size_t>(l.fixedBytes), 0);
        std::vector<unsigned char> nullMask((n + 7) / 8, 0);
        std::vector<std::vector<unsigned char>> var(static_cast<size_t>(l.varCount));
        for (size_t i = 0; i < n; ++i) {
            const auto& v = i < values.size() ? values[i] : std::nullopt;
            if (!v)
                continue;
            nullMask[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
            switch (t.columns[i].kind) {
            case JetColumn::Long: {
                auto x = static_cast<uint32_t>(std::stol(*v));
                for (int b = 0; b < 4; ++b)
                    fixed[static_cast<size_t>(l.fixedOffset[i] + b)] =
                        static_cast<unsigned char>((x >> (8 * b)) & 0xFF);
                break;
            }
            case JetColumn::Short: {
                auto x = static_cast<unsigned>(std::stoi(*v));
                fixed[static_cast<size_t>(l.fixedOffset[i])] = static_cast<unsigned char>(x & 0xFF);
                fixed[static_cast<size_t>(l.fixedOffset[i] + 1)] = static_cast<unsigned char>((x >> 8) & 0xFF);
                break;
            }
            case JetColumn::Text:
                var[static_cast<size_t>(l.varNum[i])] = Ucs2(*v);
                break;
            case JetColumn::Ole:
                var[static_cast<size_t>(l.varNum[i])].assign(v->begin(), v->end());
                break;
            }
        }
        row.insert(row.end(), fixed.begin(), fixed.end());
        std::vector<unsigned> offsets;
        for (const auto& data : var) {
            offsets.push_back(static_cast<unsigned>(row.size()));
            row.insert(row.end(), data.begin(), data.end());
        }
        offsets.push_back(static_cast<unsigned>(row.size()));
        // Offsets from the last to the first, the count, the null mask.
        for (size_t i = offsets.size(); i-- > 0;)
            Append16(row, offsets[i]);
        Append16(row, static_cast<unsigned>(l.varCount));
        row.insert(row.end(), nullMask.begin(), nullMask.end());
        return row;
    }

    // The table definition page; its usage map is row `mapRow` of page 1
    // and its free map row `mapRow + 1`.
    static Page Definition(const JetTable& t, const Layout& l, bool system, unsigned mapRow)
    {
        Page p = NewPage();
        p[0] = 0x02;
        p[1] = 0x01;
        Put32(p, 16, static_cast<uint32_t>(t.rows.size()));
        p[40] = system ? 0x53 : 0x4e;
        Put16(p, 41, static_cast<unsigned>(t.columns.size()));
        Put16(p, 43, static_cast<unsigned>(l.varCount));
        Put16(p, 45, static_cast<unsigned>(t.columns.size()));
        Put32(p, 55, (1u << 8) | mapRow);
        Put32(p, 59, (1u << 8) | (mapRow + 1));
        size_t at = 63;
        for (size_t i = 0; i < t.columns.size(); ++i) {
            const JetColumn::Kind k = t.columns[i].kind;
            bool fixed = k == JetColumn::Long || k == JetColumn::Short;
            p[at] = k == JetColumn::Long ? 0x04 : k == JetColumn::Short ? 0x03 : k == JetColumn::Text ? 0x0A : 0x0B;
            Put16(p, at + 5, static_cast<unsigned>(l.colNum[i]));
            Put16(p, at + 7, static_cast<unsigned>(l.varNum[i]));
            Put16(p, at + 9, static_cast<unsigned>(l.colNum[i]));
            p[at + 15] = static_cast<unsigned char>((fixed ? 0x01 : 0x00) | 0x02);
            Put16(p, at + 21, static_cast<unsigned>(l.fixedOffset[i]));
            Put16(p, at + 23, static_cast<unsigned>(l.size[i]));
            at += 25;
        }
        for (const JetColumn& c : t.columns) {
            std::vector<unsigned char> name = Ucs2(c.name);
            Put16(p, at, static_cast<unsigned>(name.size()));
            std::memcpy(&p[at + 2], name.data(), name.size());
            at += 2 + name.size();
        }
        Put32(p, 8, static_cast<uint32_t>(at));
        return p;
    }

    bool Build(const std::vector<JetTable>& userTables)
    {
        // Page 0 header, page 1 usage maps, then per table its definition
        // and data pages; the catalog table comes first, on page 2.
        JetTable catalog{"MSysObjects",
                         {{"Id", JetColumn::Long},
                          {"ParentId", JetColumn::Long},
                          {"Name", JetColumn::Text},
                          {"Type", JetColumn::Short},
                          {"Flags", JetColumn::Long},
                          {"LvProp", JetColumn::Ole}},
                         {}};
        // Where each user table's definition lands: after the catalog's
        // definition and its data page, one definition and its data each.
        std::vector<std::vector<Page>> dataOf(userTables.size() + 1);
        std::vector<JetTable> all;
        all.push_back(catalog);
        all.insert(all.end(), userTables.begin(), userTables.end());
        // Data pages first (they fix the page numbers of the definitions).
        for (size_t i = 1; i < all.size(); ++i) {
            Layout l = LayoutOf(all[i]);
            std::vector<Page> pages;
            for (const auto& values : all[i].rows) {
                std::vector<unsigned char> row = Row(all[i], l, values);
                if (pages.empty() || !AddRow(pages.back(), row)) {
                    pages.push_back(DataPage(0));
                    if (!AddRow(pages.back(), row))
                        return false;
                }
            }
            dataOf[i] = std::move(pages);
        }
        // Page numbers: catalog definition 2, its data 3; then each table.
        std::vector<uint32_t> tdefPage(all.size());
        uint32_t next = 4;
        for (size_t i = 1; i < all.size(); ++i) {
            tdefPage[i] = next;
            next += 1 + static_cast<uint32_t>(dataOf[i].size());
        }
        tdefPage[0] = 2;
        for (size_t i = 1; i < all.size(); ++i)
            all[0].rows.push_back({std::to_string(tdefPage[i]), std::string("251658241"), all[i].name, std::string("1"),
                                   std::string("0"), std::nullopt});
        Layout catalogLayout = LayoutOf(all[0]);
        dataOf[0].push_back(DataPage(2));
        for (const auto& values : all[0].rows) {
            if (!AddRow(dataOf[0].back(), Row(all[0], catalogLayout, values)))
                return false;
        }
        // The pages in order, with the usage maps on page 1.
        m_pages.assign(next, NewPage());
        Page maps = DataPage(0);
        for (size_t i = 0; i < all.size(); ++i) {
            uint32_t first = i == 0 ? 3 : tdefPage[i] + 1;
            std::vector<unsigned char> used(5 + 64, 0);
            for (size_t d = 0; d < dataOf[i].size(); ++d) {
                uint32_t pg = first + static_cast<uint32_t>(d);
                used[5 + pg / 8] |= static_cast<unsigned char>(1u << (pg % 8));
                Page& data = dataOf[i][d];
                Put32(data, 4, tdefPage[i]);
                m_pages[pg] = data;
            }
            std::vector<unsigned char> free(5 + 64, 0);
            if (!AddRow(maps, used) || !AddRow(maps, free))
                return false;
            m_pages[tdefPage[i]] = Definition(all[i], LayoutOf(all[i]), i == 0, static_cast<unsigned>(2 * i));
        }
        m_pages[1] = maps;
        m_pages[0] = Header();
        return true;
    }

    // The header page. Readers decrypt bytes 0x18.. with a fixed key; the
    // key stream is written there, so what they read is zero: no database
    // key, code page 0.
    static Page Header()
    {
        Page p = NewPage();
        p[1] = 0x01;
        const char* id = "Standard Jet DB";
        std::memcpy(&p[4], id, std::strlen(id));
        p[0x14] = 0x01;
        unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
        unsigned char s[256];
        for (int i = 0; i < 256; ++i)
            s[i] = static_cast<unsigned char>(i);
        for (int i = 0, j = 0; i < 256; ++i) {
            j = (j + s[i] + key[i % 4]) & 0xFF;
            std::swap(s[i], s[j]);
        }
        for (int n = 0, i = 0, j = 0; n < 128; ++n) {
            i = (i + 1) & 0xFF;
            j = (j + s[i]) & 0xFF;
            std::swap(s[i], s[j]);
            p[0x18 + static_cast<size_t>(n)] = s[(s[i] + s[j]) & 0xFF];
        }
        return p;
    }

    bool Save(const std::string& path) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (const Page& p : m_pages)
            out.write(reinterpret_cast<const char*>(p.data()), static_cast<std::streamsize>(p.size()));
        return static_cast<bool>(out);
    }

    std::vector<Page> m_pages;
};

}  // namespace vxtest
