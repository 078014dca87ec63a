#include "ReadFile.h"

#include <fstream>
#include <iterator>

namespace keystead::test {

std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace keystead::test
