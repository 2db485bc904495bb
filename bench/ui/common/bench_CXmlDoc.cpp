// Parsing a generated 20 MB document and walking all of its elements, with
// CXmlDoc and, as the anchor, with pugixml on the same text in the same run.
// Prints both throughputs and their ratio (above 1: CXmlDoc is faster).
//   bench_CXmlDoc [Google Benchmark options]

#include "ui/common/CXmlDoc.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <map>
#include <string>

namespace {

// Settings-like records: attributes, escaped text, CDATA, comments, nesting.
const std::string& Document()
{
    static const std::string text = [] {
        std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<catalog>\r\n";
        char buf[512];
        for (int i = 0; s.size() < 20u * 1024 * 1024; ++i) {
            std::snprintf(buf, sizeof buf,
                          "  <item id=\"%d\" kind=\"k%d\" price=\"%d.50\">\r\n"
                          "    <name>Item %d &amp; more</name>\r\n"
                          "    <size w=\"%d\" h=\"%d\"/>\r\n"
                          "    <tags><tag>red</tag><tag>green</tag><tag>blue</tag></tags>\r\n"
                          "    <!-- record %d -->\r\n"
                          "    <note><![CDATA[free <text> %d]]></note>\r\n"
                          "  </item>\r\n",
                          i, i % 7, i % 100, i, i % 640, i % 480, i, i);
            s += buf;
        }
        s += "</catalog>\r\n";
        return s;
    }();
    return text;
}

size_t WalkCXmlDoc(CXmlDoc& doc)
{
    size_t nElems = 0;
    doc.ResetPos();
    for (;;) {
        if (doc.FindElem()) {
            ++nElems;
            doc.IntoElem();
        } else if (!doc.OutOfElem()) {
            break;
        }
    }
    return nElems;
}

size_t WalkPugi(const pugi::xml_document& doc)
{
    size_t nElems = 0;
    pugi::xml_node node = doc.first_child();
    while (node) {
        if (node.type() == pugi::node_element)
            ++nElems;
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent();
        if (node)
            node = node.next_sibling();
    }
    return nElems;
}

void BM_CXmlDoc(benchmark::State& state)
{
    const std::string& text = Document();
    size_t nElems = 0;
    for (auto _ : state) {
        CXmlDoc doc;
        doc.SetDoc(text.c_str());
        nElems = WalkCXmlDoc(doc);
        benchmark::DoNotOptimize(nElems);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["elements"] = static_cast<double>(nElems);
}

void BM_Pugixml(benchmark::State& state, unsigned options)
{
    const std::string& text = Document();
    size_t nElems = 0;
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(text.data(), text.size(), options);
        nElems = WalkPugi(doc);
        benchmark::DoNotOptimize(nElems);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["elements"] = static_cast<double>(nElems);
}

// Keeps each run's throughput so the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end() && run.run_type == Run::RT_Iteration)
                m_throughput[run.benchmark_name()] = it->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_throughput;
};

}  // namespace

BENCHMARK(BM_CXmlDoc)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Pugixml, default, pugi::parse_default)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Pugixml, minimal, pugi::parse_minimal)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& t = reporter.m_throughput;
    const auto get = [&](const std::string& name) {
        for (const auto& [run, value] : t)
            if (run == name || run.rfind(name + "/", 0) == 0)
                return value;
        return 0.0;
    };
    const double mine = get("BM_CXmlDoc");
    const double pugiDefault = get("BM_Pugixml/default");
    const double pugiMinimal = get("BM_Pugixml/minimal");
    std::printf("\nCXmlDoc          %8.1f MB/s\n", mine / 1e6);
    std::printf("pugixml default  %8.1f MB/s   ratio CXmlDoc/pugixml %.2f\n", pugiDefault / 1e6,
                pugiDefault > 0 ? mine / pugiDefault : 0.0);
    std::printf("pugixml minimal  %8.1f MB/s   ratio CXmlDoc/pugixml %.2f\n", pugiMinimal / 1e6,
                pugiMinimal > 0 ? mine / pugiMinimal : 0.0);
    benchmark::Shutdown();
    return 0;
}
