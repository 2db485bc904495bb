// Runs a libFuzzer-style target without libFuzzer: every corpus file given on
// the command line (files or folders) once, then random mutations of them
// until -max_total_time=N seconds have passed. Deterministic seed, so a crash
// found here is found again by rerunning.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void addFile(std::vector<std::string>& corpus, const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string mutate(std::string s, std::mt19937& rng, const std::vector<std::string>& corpus)
{
    int steps = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < steps; ++i) {
        size_t pos = s.empty() ? 0 : rng() % (s.size() + 1);
        switch (rng() % 6) {
        case 0:
            if (!s.empty() && pos < s.size())
                s[pos] = static_cast<char>(rng());
            break;
        case 1:
            s.insert(pos, 1, static_cast<char>(rng()));
            break;
        case 2:
            if (pos < s.size())
                s.erase(pos, 1 + rng() % 16);
            break;
        case 3: {  // splice a piece of another input
            const std::string& o = corpus[rng() % corpus.size()];
            if (!o.empty()) {
                size_t from = rng() % o.size();
                s.insert(pos, o.substr(from, 1 + rng() % 64));
            }
            break;
        }
        case 4:
            if (pos < s.size())
                s.insert(pos, s.substr(pos, 1 + rng() % 32));
            break;
        case 5: {
            static const char* const tokens[] = {
                "<",         ">",    "</",           "/>",       "=", "\"",  "'",     "&",    ";",
                "[",         "]",    "\r\n",         "\n",       "%", "&#x", "<?xml", "<!--", "-->",
                "<![CDATA[", "var ", "\xEF\xBB\xBF", "\xFF\xFE", "{", "}",   ":",     ","};
            s.insert(pos, tokens[rng() % (sizeof tokens / sizeof *tokens)]);
            break;
        }
        }
    }
    if (s.size() > 1 << 16)
        s.resize(1 << 16);
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 5;
    std::vector<std::string> corpus;
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], "-max_total_time=", 16) == 0) {
            seconds = atof(argv[i] + 16);
            continue;
        }
        if (argv[i][0] == '-')
            continue;
        std::filesystem::path p(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(p, ec)) {
            for (auto& e : std::filesystem::directory_iterator(p, ec))
                if (e.is_regular_file())
                    addFile(corpus, e.path());
        } else if (std::filesystem::exists(p, ec)) {
            addFile(corpus, p);
        }
    }
    if (corpus.empty())
        corpus.emplace_back();
    for (auto& c : corpus)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(c.data()), c.size());

    std::mt19937 rng(12345);
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    unsigned long runs = 0;
    while (std::chrono::steady_clock::now() < end) {
        for (int k = 0; k < 64; ++k, ++runs) {
            std::string in = mutate(corpus[rng() % corpus.size()], rng, corpus);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(in.data()), in.size());
        }
    }
    printf("standalone fuzz driver: %lu runs, no crash\n", runs);
    return 0;
}
