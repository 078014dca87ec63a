// The notes pane: the link scan of a 64 KiB comment with 1,000 links; selecting an entry with
// such a comment until the pane is marked; and selecting an entry whose comment is 1 MiB on one
// line until the pane is drawn, for one unbroken word and for ordinary words with links.

#include "crypto/Diamond.h"
#include "mainwindow/LinkScan.h"
#include "mainwindow/Main.h"
#include "mainwindow/PasswordListView.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace keystead {
namespace {

constexpr const char* kUser = "Alice";
constexpr const char* kPassword = "logon password";

// Lines of 64 characters, each with one link, CR LF between them.
std::string commentWithLinks(int links)
{
    std::string text;
    for (int i = 0; i < links; ++i) {
        const std::string number = std::to_string(10000 + i);
        text += "see http://www.example.com/page" + number + " for the details\r\n";
    }
    return text;
}

// 1 MiB without a line break: one unbroken word, or words with a link in every 100 characters.
std::string longLine(bool words)
{
    if (!words)
        return std::string(1 << 20, 'x');
    std::string text;
    while (text.size() < (1 << 20))
        text += "plain words of an ordinary note, a link www.example.org/p and more words to follow ";
    text.resize(1 << 20);
    return text;
}

std::filesystem::path storeWithComment(const QTemporaryDir& folder, const std::string& comment)
{
    const std::filesystem::path file = folder.filePath(QStringLiteral("registry.sqlite")).toStdString();
    TDiamond diamond;
    diamond.SetKey(kPassword);
    const auto store = RegistryStore::OpenFile(file);
    store->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
    store->writeValues(kUser, {{"TotalPasswords", "1"},
                               {"System1", diamond.EncryptToCipherString("Bank")},
                               {"Password1", diamond.EncryptToCipherString("secret")},
                               {"Comments1", diamond.EncryptToCipherString(comment)}});
    return file;
}

void BM_ScanLinks(benchmark::State& state)
{
    const std::string text = commentWithLinks(1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(ScanLinks(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ScanLinks)->Unit(benchmark::kMicrosecond);

// The selection handler of the list: the comment read, decrypted, shown and marked.
void BM_SelectEntryUntilMarked(benchmark::State& state)
{
    const QTemporaryDir folder;
    SessionState session;
    session.CurrentUsername = kUser;
    session.LogonPassword = kPassword;
    TfrmMain frmMain(session, storeWithComment(folder, commentWithLinks(1000)));
    frmMain.lvPasswords->selectRow(0);
    for (auto _ : state)
        frmMain.lvPasswordsSelectItem();
}
BENCHMARK(BM_SelectEntryUntilMarked)->Unit(benchmark::kMillisecond);

void BM_SelectEntryWithALongLineUntilDrawn(benchmark::State& state)
{
    const QTemporaryDir folder;
    SessionState session;
    session.CurrentUsername = kUser;
    session.LogonPassword = kPassword;
    TfrmMain frmMain(session, storeWithComment(folder, longLine(state.range(0) != 0)));
    frmMain.show();
    frmMain.lvPasswords->selectRow(0);
    for (auto _ : state) {
        frmMain.lvPasswordsSelectItem();
        frmMain.reComments->viewport()->repaint();
    }
    state.SetLabel(state.range(0) != 0 ? "words and links" : "one unbroken word");
}
BENCHMARK(BM_SelectEntryWithALongLineUntilDrawn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keystead
