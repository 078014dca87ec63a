// One repaint of the password list in its Details style on Qt's offscreen platform, with typical
// rows, and with one row whose password is 10 MB long (a damaged or pasted value): the list must
// draw as fast with it as without it.

#include "crypto/Diamond.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <QPixmap>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace keystead {
namespace {

constexpr const char* kUser = "Alice";
constexpr const char* kPassword = "logon password";
constexpr int kRows = 30;

std::filesystem::path populate(const QTemporaryDir& folder, std::size_t longPassword)
{
    const std::filesystem::path file =
        folder.filePath(QStringLiteral("registry-%1.sqlite").arg(longPassword)).toStdString();
    TDiamond diamond;
    diamond.SetKey(kPassword);
    std::vector<StoredValue> values{{"TotalPasswords", std::to_string(kRows)}};
    for (int n = 1; n <= kRows; ++n) {
        const std::string number = std::to_string(n);
        const std::string password = n == 1 && longPassword > 0 ? std::string(longPassword, 'p') : "password " + number;
        values.push_back({"System" + number, diamond.EncryptToCipherString("system " + number)});
        values.push_back({"Username" + number, diamond.EncryptToCipherString("user " + number)});
        values.push_back({"Password" + number, diamond.EncryptToCipherString(password)});
    }
    const auto store = RegistryStore::OpenFile(file);
    store->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
    store->writeValues(kUser, values);
    return file;
}

void BM_RepaintList(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::filesystem::path file = populate(folder, static_cast<std::size_t>(state.range(0)));
    SessionState session;
    session.CurrentUsername = kUser;
    session.LogonPassword = kPassword;
    TfrmMain frmMain(session, file);
    frmMain.resize(800, 600);
    frmMain.show();
    QWidget& viewport = *frmMain.lvPasswords->details().viewport();
    QPixmap canvas(viewport.size());
    for (auto _ : state)
        viewport.render(&canvas);
}
BENCHMARK(BM_RepaintList)->Arg(0)->Arg(10 * 1024 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keystead
