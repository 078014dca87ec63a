// LoadPasswordList of a logged-on user with N entries, from its start until the list is filled
// and sorted, on Qt's offscreen platform: decryption of three values per entry, the expiry texts,
// the sort and the model reset. And one keystroke in the find line of that list, until the list
// has been drawn again.

#include "crypto/Diamond.h"
#include "mainwindow/FindLine.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace keystead {
namespace {

constexpr const char* kUser = "Alice";
constexpr const char* kPassword = "logon password";

std::string randomWord(std::mt19937& random, int length)
{
    std::uniform_int_distribution<int> letter('a', 'z');
    std::string word;
    for (int i = 0; i < length; ++i)
        word += static_cast<char>(letter(random));
    return word;
}

// A user whose entries hold real cipher strings of typical texts; none has expired, so the
// first load shows no warning.
std::filesystem::path populate(const QTemporaryDir& folder, int count)
{
    const std::filesystem::path file = folder.filePath(QStringLiteral("registry-%1.sqlite").arg(count)).toStdString();
    TDiamond diamond;
    diamond.SetKey(kPassword);
    std::mt19937 random(static_cast<unsigned>(count));
    std::vector<StoredValue> values{{"TotalPasswords", std::to_string(count)}};
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        values.push_back({"System" + number, diamond.EncryptToCipherString(randomWord(random, 12))});
        values.push_back({"Username" + number, diamond.EncryptToCipherString(randomWord(random, 8))});
        values.push_back({"Password" + number, diamond.EncryptToCipherString(randomWord(random, 16))});
        values.push_back({"Comments" + number, diamond.EncryptToCipherString(randomWord(random, 40))});
        if (n % 3 == 0) {
            values.push_back({"Expiration" + number, "30"});
            values.push_back({"DaysTillExpiration" + number, std::to_string(n % 40 + 1)});
        }
    }
    const auto store = RegistryStore::OpenFile(file);
    store->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
    store->writeValues(kUser, values);
    return file;
}

void BM_LoadPasswordList(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::filesystem::path file = populate(folder, static_cast<int>(state.range(0)));
    SessionState session;
    session.CurrentUsername = kUser;
    session.LogonPassword = kPassword;
    TfrmMain frmMain(session, file);
    for (auto _ : state)
        frmMain.LoadPasswordList();
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadPasswordList)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

// From an empty find line to one letter, which keeps about a third of the entries, and the list
// drawn; the line is emptied again outside the timing. The comments are decrypted for Find once,
// before the first timed keystroke.
void BM_FindKeystroke(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::filesystem::path file = populate(folder, static_cast<int>(state.range(0)));
    SessionState session;
    session.CurrentUsername = kUser;
    session.LogonPassword = kPassword;
    TfrmMain frmMain(session, file);
    frmMain.resize(800, 600);
    frmMain.show();
    frmMain.txtFind->openFind();
    QWidget& list = *frmMain.lvPasswords->details().viewport();
    frmMain.txtFind->setText(QStringLiteral("q"));
    for (auto _ : state) {
        frmMain.txtFind->setText(QStringLiteral("q"));
        list.repaint();
        state.PauseTiming();
        frmMain.txtFind->setText({});
        list.repaint();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FindKeystroke)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace keystead
