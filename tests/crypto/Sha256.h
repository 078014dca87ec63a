#pragma once
// SHA-256, only to compare the cipher's 40 KiB of boxes with the digests of the shared vectors.

#include <string>
#include <string_view>

namespace keystead::test {

std::string Sha256Hex(std::string_view data);

}  // namespace keystead::test
