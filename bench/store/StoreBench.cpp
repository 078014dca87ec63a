// The store under a user with N entries (six values each, cipher strings of 44 to 87 characters):
// the list load's read of every value, deleting entry 1 with the renumbering of all others,
// appending one entry with its commit, opening the store with its check of every page, and its
// backups: one taken and checked, the start-up's look at whether one is due, and what the window's
// thread spends on either when it runs on a thread of its own.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "BenchFolder.h"
#include "crypto/Diamond.h"
#include "store/BackgroundBackup.h"
#include "store/EntryStore.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreBackups.h"
#include "store/StoreSession.h"

namespace keystead {
namespace {

constexpr const char* kUser = "Benchmark User";

const BenchFolder& benchFolder() {
    static const BenchFolder folder("keystead-store-bench");
    return folder;
}

// Printable text of the cipher strings' length range; its bytes do not matter to the store.
std::string cipherLike(std::mt19937& random) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::uniform_int_distribution<int> length(44, 87);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string text(static_cast<std::size_t>(length(random)), ' ');
    for (char& c : text) {
        c = kAlphabet[pick(random)];
    }
    return text;
}

std::filesystem::path populate(int count) {
    const auto file = benchFolder().path() / ("entries-" + std::to_string(count) + ".sqlite");
    std::mt19937 random(static_cast<unsigned>(count));
    std::vector<StoredValue> values{{"MainPassword", cipherLike(random)},
                                    {"TotalPasswords", std::to_string(count)}};
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        for (const char* ident : {"System", "Username", "Password", "Comments"}) {
            values.push_back({ident + number, cipherLike(random)});
        }
        values.push_back({"Expiration" + number, "30"});
        values.push_back({"DaysTillExpiration" + number, std::to_string(n % 30 - 4)});
    }
    RegistryStore::OpenFile(file)->writeValues(kUser, values);
    return file;
}

// The populated store for count entries, made at its first use and kept for the whole run.
const std::filesystem::path& storeWith(int count) {
    static std::map<int, std::filesystem::path> files;
    const auto found = files.find(count);
    if (found != files.end()) {
        return found->second;
    }
    return files.emplace(count, populate(count)).first->second;
}

// A fresh copy of the populated store, for a benchmark that changes it.
std::filesystem::path copyOfStoreWith(int count) {
    const auto copy = benchFolder().path() / "copy.sqlite";
    std::filesystem::copy_file(storeWith(count), copy,
                               std::filesystem::copy_options::overwrite_existing);
    return copy;
}

SessionState sessionOfUser() {
    SessionState state;
    state.CurrentUsername = kUser;
    return state;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ReadAllEntries(benchmark::State& state) {
    const auto store = RegistryStore::OpenFile(storeWith(static_cast<int>(state.range(0))));
    SessionState session = sessionOfUser();
    const EntryStore entries(*store, session);
    for (auto _ : state) {
        StoreSession storeSession(*store);
        benchmark::DoNotOptimize(entries.readAll());
    }
}
BENCHMARK(BM_ReadAllEntries)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_DeleteFirstEntry(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    SessionState session = sessionOfUser();
    for (auto _ : state) {
        const auto store = RegistryStore::OpenFile(copyOfStoreWith(count));
        EntryStore entries(*store, session);
        const StoredEntry seen = entries.read(1);   // as the list row holds it
        const auto start = std::chrono::steady_clock::now();
        {
            StoreSession storeSession(*store);
            entries.remove(1, seen);
        }
        state.SetIterationTime(secondsSince(start));
    }
}
BENCHMARK(BM_DeleteFirstEntry)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_AppendEntry(benchmark::State& state) {
    const auto store = RegistryStore::OpenFile(copyOfStoreWith(static_cast<int>(state.range(0))));
    SessionState session = sessionOfUser();
    EntryStore entries(*store, session);
    TDiamond diamond;
    diamond.SetKey("a typical logon password");
    const EntryTexts texts{"Online banking", "someone@example.org", "correct horse battery",
                           "Branch office: 12 High Street\r\nCard ends in 4321", "90", "90"};
    for (auto _ : state) {
        StoreSession storeSession(*store);
        entries.append(diamond, texts);
    }
}
BENCHMARK(BM_AppendEntry)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_OpenStore(benchmark::State& state) {
    const auto& file = storeWith(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(RegistryStore::OpenFile(file));
    }
}
BENCHMARK(BM_OpenStore)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// A backup written, checked and published, with the retention rule's pass over the folder.
void BM_TakeBackup(benchmark::State& state) {
    StoreBackups backups(storeWith(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(backups.take());
    }
}
BENCHMARK(BM_TakeBackup)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// The start-up's comparison of the store with its newest backup when nothing changed since.
void BM_StartupBackupNotDue(benchmark::State& state) {
    StoreBackups backups(storeWith(static_cast<int>(state.range(0))));
    backups.take();
    for (auto _ : state) {
        benchmark::DoNotOptimize(backups.takeWhenDue());
    }
}
BENCHMARK(BM_StartupBackupNotDue)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// What the window's thread spends on an automatic backup that runs on its own thread: the store's
// state fixed by a read connection of the backup's own. The wait for the thread's end is not timed.
void backgroundBackupWindowTime(benchmark::State& state, BackgroundBackup::When when) {
    const auto& file = storeWith(static_cast<int>(state.range(0)));
    StoreBackups(file).take();
    for (auto _ : state) {
        auto backup = std::make_unique<BackgroundBackup>(file, when);
        state.PauseTiming();
        backup.reset();
        state.ResumeTiming();
    }
}

void BM_BackgroundBackupWindowThread(benchmark::State& state) {
    backgroundBackupWindowTime(state, BackgroundBackup::When::Now);
}
// The untimed wait for each backup would otherwise make the library run hundreds of them.
constexpr int kBackgroundIterations = 10;
BENCHMARK(BM_BackgroundBackupWindowThread)->Arg(1000)->Arg(10000)->Arg(50000)->Iterations(kBackgroundIterations)->Unit(benchmark::kMillisecond);

void BM_StartupBackupWindowThread(benchmark::State& state) {
    backgroundBackupWindowTime(state, BackgroundBackup::When::WhenDue);
}
BENCHMARK(BM_StartupBackupWindowThread)->Arg(1000)->Arg(10000)->Arg(50000)->Iterations(kBackgroundIterations)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keystead
