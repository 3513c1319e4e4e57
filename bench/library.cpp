// The patch library at 100,000 patches: import rate, search times, the library window's first
// rows (when built with the windows) and peak memory.
// The patches are random within the catalogue's ranges (fixed seed) and go in through the
// library's own import, 10,000 to an import (a large text import), into a scratch file.
#include "library/Library.h"
#include "gr33/Catalogue.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <set>
#include <sys/resource.h>

#ifdef KELVO_BENCH_WINDOW
#include "librarian/MainFrm.h"
#include "model/Settings.h"
#include "tests/support/RecordingDialogs.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#endif

namespace {

constexpr int PatchTotal = 100000;
constexpr int QueryRuns = 200;
// A window's first page of results.
constexpr std::size_t FirstPage = 200;
constexpr std::size_t ImportSize = 10000;

PatchBytes RandomValidPatch(std::mt19937& random) {
    auto pick = [&random](int min, int max) {
        return std::uniform_int_distribution<int>(min, max)(random);
    };
    PatchBytes bytes{};
    for (std::size_t i = 0; i < NameSize; ++i)
        bytes[i] = static_cast<std::uint8_t>(pick(0, 3) == 0 ? ' ' : pick('a', 'z'));
    for (const ParameterInfo& p : Parameters()) {
        if (p.coding == ParamCoding::Name || p.effectSlot != 0) continue;
        for (int string = 0; string < (p.IsPerString() ? StringCount : 1); ++string) {
            const int raw = ShownToRaw(p, pick(p.min, p.max));
            if (p.byteCount == 2)
                ValueToPair(raw, &bytes[p.firstByte]);
            else
                bytes[p.firstByte + string] = static_cast<std::uint8_t>(raw);
        }
    }
    const EffectTypeInfo* type = EffectType(bytes[EffectTypeByte]);
    for (int slot = 0; slot < EffectSlotCount; ++slot)
        bytes[FirstEffectByte + slot] =
            static_cast<std::uint8_t>(pick(0, type->parameters[slot].max));
    return bytes;
}

// Wall-clock and processor seconds: the machine may be shared, the processor time is this
// program's own.
struct Clock {
    static double Cpu() {
        timespec t{};
        ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) + t.tv_nsec / 1e9;
    }
    static double Wall() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    double wall = Wall(), cpu = Cpu();
    double WallSince() const { return Wall() - wall; }
    double CpuSince() const { return Cpu() - cpu; }
};

#ifdef KELVO_BENCH_WINDOW
// From opening the library window (or typing a query into it) until its first rows are drawn.
void WindowFirstRows(TPatchLibrary& library, const std::filesystem::path& folder) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_library";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    Settings().Start((folder / "KelvoLight.ini").string());
    RecordingDialogs prompts;
    ScopedPrompts guard(prompts);
    TFormMain main;
    main.SetPatchLibrary(&library);
    main.show();
    const Clock open;
    main.findChild<QAction*>("PatchLibrary1")->trigger();
    auto* window = main.findChild<QWidget*>("LibraryWindow");
    auto* table = window->findChild<QTableView*>("LibraryTable");
    auto* search = window->findChild<QLineEdit*>("LibrarySearch");
    QApplication::processEvents();
    std::printf("window   opened on all patches: first %d rows shown in %.1f ms (target <= 300)\n",
                table->model()->rowCount(), open.WallSince() * 1000);
    for (const char* query : {"qz", "tone:piano", "\"Rev Send Level\">100", ""}) {
        std::vector<double> wall;
        for (int run = 0; run < 20; ++run) {
            search->setText("no patch is named like this");
            QApplication::processEvents();
            const Clock typed;
            search->setText(query);
            QApplication::processEvents();
            wall.push_back(typed.WallSince() * 1000);
        }
        std::sort(wall.begin(), wall.end());
        std::printf("window   query %-22s first rows p50 %6.1f ms, p95 %6.1f ms (target <= 300)\n",
                    query, wall[10], wall[19]);
    }
    window->close();
}
#endif

} // namespace

int main() {
    std::mt19937 random(20261207);
    std::set<PatchBytes> seen;
    std::vector<PatchBytes> patches;
    while (patches.size() < PatchTotal)
        if (PatchBytes p = RandomValidPatch(random); seen.insert(p).second) patches.push_back(p);
    seen.clear();

    const auto folder = std::filesystem::temp_directory_path() /
                        ("kelvo-bench-library-" + std::to_string(std::random_device()()));
    const std::string path = (folder / "library.sqlite").string();
    {
        TPatchLibrary library(path);
        const Clock start;
        std::vector<SlotPatch> batch;
        for (std::size_t first = 0; first < patches.size(); first += ImportSize) {
            batch.clear();
            for (std::size_t i = first; i < std::min(patches.size(), first + ImportSize); ++i)
                batch.push_back({0, patches[i]});
            library.Add(batch, {SightingKind::Text, "bench/import" + std::to_string(first) + ".txt",
                                NowMs()});
        }
        const double wall = start.WallSince(), cpu = start.CpuSince();
        std::printf("import: %d patches in %.2f s = %.0f patches/s; processor %.2f s = %.0f "
                    "patches/s (target >= 50000)\n",
                    PatchTotal, wall, PatchTotal / wall, cpu, PatchTotal / cpu);

        const std::vector<std::pair<const char*, std::string>> queries = {
            {"name", "qz"},
            {"tone", "tone:piano"},
            {"parameter", "\"Rev Send Level\">100"},
            {"combined", "tone:piano \"Rev Send Level\">60 Pan<0 \"Multi-FX Type\":delay -a"},
        };
        // Every query whole, then only its first page as a window shows it first.
        for (const std::size_t limit : {std::size_t{0}, FirstPage})
            for (const auto& [label, query] : queries) {
                std::vector<double> wall, cpu;
                std::size_t found = 0;
                for (int run = 0; run < QueryRuns; ++run) {
                    const Clock begin;
                    found = library.Search(query, limit).size();
                    wall.push_back(begin.WallSince() * 1000);
                    cpu.push_back(begin.CpuSince() * 1000);
                }
                std::sort(wall.begin(), wall.end());
                std::sort(cpu.begin(), cpu.end());
                std::printf("%s %-9s %6zu found, p50 %6.2f ms, p95 %6.2f ms; processor p50 %6.2f "
                            "ms, p95 %6.2f ms (target <= 20): %s\n",
                            limit ? "page " : "query", label, found, wall[QueryRuns / 2],
                            wall[QueryRuns * 95 / 100], cpu[QueryRuns / 2],
                            cpu[QueryRuns * 95 / 100], query.c_str());
            }
#ifdef KELVO_BENCH_WINDOW
        WindowFirstRows(library, folder);
#endif
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %.1f MB (target <= 150)\n", usage.ru_maxrss / 1024.0);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
