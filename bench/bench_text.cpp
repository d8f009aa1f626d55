// Loading the text catalogue happens at start-up and on every language change; a large
// catalogue with many unrelated elements must still load quickly.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/TextCatalogue.h"

namespace {

std::string BuildCatalogue() {
    std::string strDoc = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<texts>\r\n"
                         "<config>\r\n";
    // Unrelated elements first, so every id has to be found behind them.
    for (int n = 0; n < 5000; ++n)
        strDoc += "  <unrelated" + std::to_string(n) + " kind=\"x\">filler text " +
                  std::to_string(n) + "</unrelated" + std::to_string(n) + ">\r\n";
    const std::string strPhrase = "Caf&eacute; &amp; r&eacute;sum&eacute; &#x4E2D;&#20013; "
                                  "&lt;ok&gt; &Auml;rger ";
    for (const std::string& strId : TextIds()) {
        std::string strText;
        while (strText.size() < 200)
            strText += strPhrase;
        strDoc += "  <" + strId + ">" + strText + "</" + strId + ">\r\n";
    }
    strDoc += "</config>\r\n</texts>\r\n";
    return strDoc;
}

void BM_LoadTextCatalogue(benchmark::State& state) {
    std::string strDir = (std::filesystem::temp_directory_path() / "velkin-bench-XXXXXX").string();
    if (!mkdtemp(strDir.data())) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const std::string strPath = strDir + "/text.xml";
    const std::string strDoc = BuildCatalogue();
    std::ofstream(strPath, std::ios::binary) << strDoc;

    CTextCatalogue cat;
    for (auto _ : state) {
        const bool bOk = cat.Load(strPath);
        benchmark::DoNotOptimize(bOk);
        benchmark::DoNotOptimize(cat.Text("tc_gunname7").data());
    }
    if (cat.Text("tc_title").empty())
        state.SkipWithError("catalogue did not load");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(strDoc.size()));
    std::filesystem::remove_all(strDir);
}
BENCHMARK(BM_LoadTextCatalogue)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Panels look texts up by id while they draw.
void BM_TextLookup(benchmark::State& state) {
    CTextCatalogue cat;
    size_t nId = 0;
    const auto& ids = TextIds();
    for (auto _ : state) {
        benchmark::DoNotOptimize(cat.Text(ids[nId].c_str()).size());
        nId = (nId + 1) % ids.size();
    }
}
BENCHMARK(BM_TextLookup)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
