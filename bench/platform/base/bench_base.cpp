// The base collections and text against the standard library doing the same
// work, run side by side and interleaved; prints each ratio (ours / anchor).
// Lower is better; 1.0 is parity.
#include "bench/support/Interleaved.h"
#include "platform/base/CMap.h"
#include "platform/base/COleDateTime.h"
#include "platform/base/CString.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

volatile long long g_sink;

using vxbench::Compare;

}  // namespace

int main()
{
    std::vector<std::string> keys;
    for (int i = 0; i < 20000; ++i)
        keys.push_back("camera-" + std::to_string(i * 7919));

    Compare(
        "CMap<CString> insert+lookup",
        [&] {
            CMap<CString, const char*, int, int> m;
            for (size_t i = 0; i < keys.size(); ++i)
                m[keys[i].c_str()] = static_cast<int>(i);
            long long sum = 0;
            int v = 0;
            for (int pass = 0; pass < 5; ++pass)
                for (const auto& k : keys)
                    if (m.Lookup(k.c_str(), v))
                        sum += v;
            g_sink = sum;
        },
        [&] {
            std::unordered_map<std::string, int> m;
            for (size_t i = 0; i < keys.size(); ++i)
                m[keys[i]] = static_cast<int>(i);
            long long sum = 0;
            for (int pass = 0; pass < 5; ++pass)
                for (const auto& k : keys) {
                    auto it = m.find(k);
                    if (it != m.end())
                        sum += it->second;
                }
            g_sink = sum;
        });

    std::string reply;
    for (int i = 0; i < 2000; ++i)
        reply += "var name" + std::to_string(i) + "=\"value%20" + std::to_string(i) + "\";\r\n";
    Compare(
        "CString Replace+Find",
        [&] {
            long long n = 0;
            for (int pass = 0; pass < 20; ++pass) {
                CString s(reply);
                n += s.Replace("%20", " ");
                for (int at = s.Find("var "); at >= 0; at = s.Find("var ", at + 1))
                    ++n;
            }
            g_sink = n;
        },
        [&] {
            long long n = 0;
            for (int pass = 0; pass < 20; ++pass) {
                std::string s(reply), out;
                size_t pos = 0;
                for (size_t hit; (hit = s.find("%20", pos)) != std::string::npos; pos = hit + 3, ++n)
                    out.append(s, pos, hit - pos).append(" ");
                out.append(s, pos);
                for (size_t at = out.find("var "); at != std::string::npos; at = out.find("var ", at + 1))
                    ++n;
            }
            g_sink = n;
        });

    Compare(
        "COleDateTime parse+format",
        [&] {
            long long n = 0;
            COleDateTime t;
            for (int i = 0; i < 20000; ++i) {
                t.ParseDateTime("2024-01-05 08:30:00");
                n += t.Format("%Y-%m-%d %H:%M:%S").GetLength();
            }
            g_sink = n;
        },
        [&] {
            long long n = 0;
            for (int i = 0; i < 20000; ++i) {
                struct tm tmv {};
                std::sscanf("2024-01-05 08:30:00", "%d-%d-%d %d:%d:%d", &tmv.tm_year, &tmv.tm_mon, &tmv.tm_mday,
                            &tmv.tm_hour, &tmv.tm_min, &tmv.tm_sec);
                tmv.tm_year -= 1900;
                tmv.tm_mon -= 1;
                char buf[64];
                n += static_cast<long long>(std::strftime(buf, sizeof(buf), "%Y-%m-%d %H:%M:%S", &tmv));
            }
            g_sink = n;
        });
    return 0;
}
