#pragma once
// Reads the shared cipher vectors: one record per line, fields separated by TAB,
// byte strings in lower-case hex, lines starting with '#' ignored.

#include <string>
#include <vector>

namespace keystead::test {

struct VectorRecord {
    std::string kind;                 // "boxes", "block" or "text"
    std::vector<std::string> fields;  // the fields after the kind, as written
};

std::vector<VectorRecord> ReadCipherVectors();
std::string FromHex(const std::string& hex);
std::string ToHex(const std::string& bytes);

}  // namespace keystead::test
