// The whole-list operations on a user with N entries, each including its commit or its file
// sync: the encrypted and the plain export, an import of an export file into an empty list, and
// the change of the logon password. Entries hold real cipher strings of typical texts.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "BenchFolder.h"
#include "crypto/Diamond.h"
#include "exchange/ExportFile.h"
#include "session/PasswordChange.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

namespace keystead {
namespace {

constexpr const char* kUser = "Benchmark User";
constexpr const char* kPassword = "a typical logon password";

const BenchFolder& benchFolder() {
    static const BenchFolder folder("keystead-exchange-bench");
    return folder;
}

SessionState logonState() {
    SessionState state;
    state.CurrentUsername = kUser;
    state.LogonPassword = kPassword;
    return state;
}

std::filesystem::path populate(int count) {
    const auto file = benchFolder().path() / ("entries-" + std::to_string(count) + ".sqlite");
    TDiamond diamond;
    diamond.SetKey(kPassword);
    std::vector<StoredValue> values{{"MainPassword", diamond.EncryptToCipherString(kUser)},
                                    {"TotalPasswords", std::to_string(count)}};
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        values.push_back({"System" + number, diamond.EncryptToCipherString("Online banking " + number)});
        values.push_back({"Username" + number, diamond.EncryptToCipherString("someone@example.org")});
        values.push_back({"Password" + number, diamond.EncryptToCipherString("correct horse battery")});
        values.push_back({"Comments" + number,
                          diamond.EncryptToCipherString("Account 1234-5678\r\nhttps://bank.example/")});
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

std::filesystem::path freshCopy(const std::filesystem::path& from) {
    const auto copy = benchFolder().path() / "copy.sqlite";
    std::filesystem::copy_file(from, copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
}

// An empty list of the same user, for the import.
const std::filesystem::path& emptyStore() {
    static const std::filesystem::path file = [] {
        const auto f = benchFolder().path() / "empty.sqlite";
        TDiamond diamond;
        diamond.SetKey(kPassword);
        RegistryStore::OpenFile(f)->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
        return f;
    }();
    return file;
}

const std::filesystem::path& exportFileWith(int count) {
    static std::map<int, std::filesystem::path> files;
    const auto found = files.find(count);
    if (found != files.end()) {
        return found->second;
    }
    const auto file = benchFolder().path() / ("export-" + std::to_string(count) + ".txt");
    WriteEncryptedExport(*RegistryStore::OpenFile(storeWith(count)), logonState(), file);
    return files.emplace(count, file).first->second;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_EncryptedExport(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto store = RegistryStore::OpenFile(storeWith(count));
    const SessionState session = logonState();
    for (auto _ : state) {
        WriteEncryptedExport(*store, session, benchFolder().path() / "out.txt");
    }
    state.SetComplexityN(count);
}

void BM_PlainExport(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto store = RegistryStore::OpenFile(storeWith(count));
    const SessionState session = logonState();
    for (auto _ : state) {
        WritePlainExport(*store, session, benchFolder().path() / "plain.txt");
    }
    state.SetComplexityN(count);
}

void BM_Import(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto& file = exportFileWith(count);
    for (auto _ : state) {
        const auto store = RegistryStore::OpenFile(freshCopy(emptyStore()));
        SessionState session = logonState();
        const auto start = std::chrono::steady_clock::now();
        ImportExportFile(*store, session, file, kPassword, ImportMode::Add);
        state.SetIterationTime(secondsSince(start));
    }
    state.SetComplexityN(count);
}

void BM_ChangeLogonPassword(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const auto store = RegistryStore::OpenFile(freshCopy(storeWith(count)));
        SessionState session = logonState();
        const auto start = std::chrono::steady_clock::now();
        ChangeLogonPassword(*store, session, "the new logon password");
        state.SetIterationTime(secondsSince(start));
    }
    state.SetComplexityN(count);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

BENCHMARK(BM_EncryptedExport)->Apply(sizes);
BENCHMARK(BM_PlainExport)->Apply(sizes);
BENCHMARK(BM_Import)->Apply(sizes)->UseManualTime();
BENCHMARK(BM_ChangeLogonPassword)->Apply(sizes)->UseManualTime();

}  // namespace
}  // namespace keystead
