// The storage paths a user waits for: loading and saving the full profile store (at every
// start and after each profile operation; target under 2 ms), reading a Mac folder of 2000
// macro files with a warm file cache (editor opening and start-up; target under 50 ms), and
// the macro cipher itself.
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Clock.h"
#include "storage/MacroCipher.h"
#include "storage/MacroFile.h"
#include "storage/MacroFolders.h"
#include "storage/ProfileStore.h"
#include "storage/WideField.h"
#include "support/TestDirs.h"

namespace {

class CNoWaitClock : public IClock {
public:
    uint64_t NowMs() override { return m_n; }
    LocalTime Now() override {
        return LocalTime{2026,
                         1,
                         1,
                         10,
                         static_cast<int>(m_n / 60000 % 60),
                         static_cast<int>(m_n / 1000 % 60),
                         static_cast<int>(m_n % 1000)};
    }
    void SleepMs(uint32_t n) override { m_n += n; }
    uint64_t m_n = 0;
};

void BM_ProfileStoreLoadSave(benchmark::State& state) {
    CTempDir dir;
    CGlobalVar var;
    var.szProgramDir = var.szUserDataDir = dir.Path();
    CProList store(var);
    auto p = std::make_unique<Profile>();
    std::memset(p.get(), 0x5A, sizeof(Profile));
    p->dwMagic = PROFILE_MAGIC;
    for (uint32_t i = 1; i <= PROFILE_FILE_SLOTS; ++i) {
        p->dwId = i;
        store.AddCopy(*p);
    }
    store.Save();
    for (auto _ : state) {
        int n = store.Load();
        bool bSaved = store.Save();
        benchmark::DoNotOptimize(n);
        benchmark::DoNotOptimize(bSaved);
        if (n != PROFILE_FILE_SLOTS || !bSaved)
            state.SkipWithError("load or save failed");
    }
}
BENCHMARK(BM_ProfileStoreLoadSave)->Unit(benchmark::kMillisecond);

void BM_ReadMacFolder2000(benchmark::State& state) {
    CNoWaitClock clock;
    SetClock(&clock);
    CTempDir dir;
    std::string strMac = dir.Path() + "Mac";
    StMacro m;
    for (int i = 0; i < 2000; ++i) {
        NewMacroRecord(m, "macro " + std::to_string(i));
        for (int e = 0; e < 40; ++e)
            m.Events[e] = {static_cast<uint8_t>(0x41 + e % 20), 0, static_cast<uint16_t>(e % 2),
                           20};
        std::string strPath = strMac + (i < 1000 ? "/" : "/sub" + std::to_string(i % 10) + "/") +
                              "m" + std::to_string(i) + ".mcf";
        save_macro_to_file_mcb(strPath, m, false);
    }
    MacroFolderFlags flags;
    flags.bSubFolders = flags.bAddToStore = true;
    for (auto _ : state) {
        CMacroStore store(MACRO_STORE_MAX);
        CMacroTree tree;
        int n = ReadMacroFolder(strMac, &tree, nullptr, flags, store, "mcf", 0x7F);
        if (n != 2000)
            state.SkipWithError("not every macro was read");
        benchmark::DoNotOptimize(n);
    }
    SetClock(nullptr);
}
BENCHMARK(BM_ReadMacFolder2000)->Unit(benchmark::kMillisecond);

void BM_TeaMacroFiles(benchmark::State& state) {
    uint8_t buf[MACRO_FILE_SIZE];
    std::memset(buf, 0x33, sizeof(buf));
    for (auto _ : state) {
        TeaEncrypt(buf, sizeof(buf), g_MacroKey);
        TeaDecrypt(buf, sizeof(buf), g_MacroKey);
        benchmark::DoNotOptimize(buf);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 2 * MACRO_FILE_SIZE);
}
BENCHMARK(BM_TeaMacroFiles);

} // namespace
