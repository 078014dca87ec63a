#include "VectorFile.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace keystead::test {

std::vector<VectorRecord> ReadCipherVectors()
{
    const std::string path = std::string(KEYSTEAD_TESTDATA_DIR) + "/cipher-vectors.tsv";
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<VectorRecord> records;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t'))
            fields.push_back(field);
        if (!line.empty() && line.back() == '\t')
            fields.emplace_back();
        VectorRecord record{fields.front(), {fields.begin() + 1, fields.end()}};
        records.push_back(std::move(record));
    }
    return records;
}

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ToHex(const std::string& bytes)
{
    static const char* digits = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

}  // namespace keystead::test
