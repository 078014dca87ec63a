// File > Print of 10,000 entries to a PDF file: the comments read and decrypted, the printout
// laid out by Qt's text layout over its pages, and the file written.

#include "crypto/Diamond.h"
#include "mainwindow/Main.h"
#include "platform/DialogSeam.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace keystead {
namespace {

constexpr const char* kUser = "Alice";
constexpr const char* kPassword = "logon password";

std::filesystem::path populate(const QTemporaryDir& folder, int count)
{
    const std::filesystem::path file = folder.filePath(QStringLiteral("registry.sqlite")).toStdString();
    TDiamond diamond;
    diamond.SetKey(kPassword);
    std::vector<StoredValue> values{{"TotalPasswords", std::to_string(count)}};
    for (int n = 1; n <= count; ++n) {
        const std::string number = std::to_string(n);
        values.push_back({"System" + number, diamond.EncryptToCipherString("Account " + number)});
        values.push_back({"Username" + number, diamond.EncryptToCipherString("user" + number)});
        values.push_back({"Password" + number, diamond.EncryptToCipherString("pass-" + number + "-word")});
        if (n % 2 == 0)
            values.push_back({"Comments" + number, diamond.EncryptToCipherString("a comment\r\nof two lines")});
    }
    const auto store = RegistryStore::OpenFile(file);
    store->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
    store->writeValues(kUser, values);
    return file;
}

void BM_PrintToPdf(benchmark::State& state)
{
    const QTemporaryDir folder;
    SessionState session;
    session.CurrentUsername = kUser;
    session.LogonPassword = kPassword;
    TfrmMain frmMain(session, populate(folder, static_cast<int>(state.range(0))));
    const QString pdf = folder.filePath(QStringLiteral("list.pdf"));
    const DialogSeam printToPdf([](const MessageRequest&) { return MessageResult::Ok; },
                                [&pdf](QDialog& dialog) {
                                    QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
                                    printer->setOutputFormat(QPrinter::PdfFormat);
                                    printer->setOutputFileName(pdf);
                                    dialog.done(QDialog::Accepted);
                                });
    for (auto _ : state)
        frmMain.mnuFilePrintClick();
}
BENCHMARK(BM_PrintToPdf)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace keystead
