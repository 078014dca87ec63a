// Writes the side-by-side data of keystead-cli-vs-keepassxc.sh into a folder: a Keystead store
// whose user "bench" holds the entries, and the same entries as a KeePass XML file for
// keepassxc-cli import. windowed-path.sh takes the store alone.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "crypto/Diamond.h"
#include "store/RegistryStore.h"

namespace {

constexpr char kUser[] = "bench";
constexpr char kPassword[] = "bench password";

struct Entry {
    std::string title;
    std::string username;
    std::string password;
    std::string notes;
};

Entry entry(int n)
{
    const std::string number = std::to_string(n);
    return {"Entry " + number, "user" + number + "@example.org", "pw-" + number + "-Xq7!zR",
            "Account number " + number + ", kept for the comparison."};
}

void writeStore(const std::filesystem::path& file, int count)
{
    const auto store = keystead::RegistryStore::OpenFile(file);
    keystead::TDiamond diamond;
    diamond.SetKey(kPassword);
    store->CreateUser(kUser, diamond.EncryptToCipherString(kUser));
    std::vector<keystead::StoredValue> values;
    for (int n = 1; n <= count; ++n) {
        const Entry e = entry(n);
        const std::string number = std::to_string(n);
        values.push_back({"System" + number, diamond.EncryptToCipherString(e.title)});
        values.push_back({"Username" + number, diamond.EncryptToCipherString(e.username)});
        values.push_back({"Password" + number, diamond.EncryptToCipherString(e.password)});
        values.push_back({"Comments" + number, diamond.EncryptToCipherString(e.notes)});
    }
    values.push_back({"TotalPasswords", std::to_string(count)});
    values.push_back({"MajorVersion", "3"});
    store->writeValues(kUser, values);
    // The logon window of bench/windowed-path.sh shows the name, as for a user who ticked the option.
    store->WriteBool("Options", "UseLastUsername", true);
    store->WriteString("Options", "LastUsername", kUser);
}

// A KeePass UUID: 16 bytes in base64; the entry number makes it unique.
std::string uuid(int n)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::uint8_t bytes[18] = {0x4b, 0x53};
    for (int i = 0; i < 4; ++i)
        bytes[2 + i] = static_cast<std::uint8_t>(static_cast<unsigned>(n) >> (8 * i));
    std::string out;
    for (int i = 0; i < 18; i += 3) {
        const unsigned v = (bytes[i] << 16U) | (bytes[i + 1] << 8U) | bytes[i + 2];
        for (int k = 18; k >= 0; k -= 6)
            out += alphabet[(v >> k) & 63U];
    }
    return out.substr(0, 22) + "==";
}

void writeXml(const std::filesystem::path& file, int count)
{
    std::ofstream out(file);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<KeePassFile><Meta><Generator>Keystead</Generator></Meta>"
           "<Root><Group><UUID>" << uuid(0) << "</UUID><Name>Root</Name>\n";
    const auto field = [&out](const char* key, const std::string& value) {
        out << "<String><Key>" << key << "</Key><Value>" << value << "</Value></String>";
    };
    for (int n = 1; n <= count; ++n) {
        const Entry e = entry(n);
        out << "<Entry><UUID>" << uuid(n) << "</UUID>";
        field("Title", e.title);
        field("UserName", e.username);
        field("Password", e.password);
        field("Notes", e.notes);
        out << "</Entry>\n";
    }
    out << "</Group></Root></KeePassFile>\n";
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::cerr << "usage: cli_bench_data FOLDER COUNT\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int count = std::stoi(argv[2]);
    writeStore(folder / "registry.sqlite", count);
    writeXml(folder / "entries.xml", count);
    return 0;
}
