#pragma once
// A file that replaces another whole or not at all: the text goes to a temporary file in the
// target's folder, created for its owner only, and only commit() syncs it and renames it over the
// target. Left without commit(), the temporary file is removed and the target never touched. Only
// a regular file is replaced: a link, a folder, a pipe or a device node of that name is refused.

#include <filesystem>
#include <string>
#include <string_view>

namespace keystead {

inline constexpr std::string_view kNotRegularTargetCause = "it is not a regular file";

class ReplacingFile {
public:
    // Throws KeysteadError naming the target and the cause when the folder takes no new file.
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(std::string_view bytes);
    void commit();

private:
    [[noreturn]] void fail(std::string_view cause) const;
    void refuseUnlessRegular() const;
    void closeDescriptor();

    std::filesystem::path target_;
    std::string temporary_;
    int descriptor_ = -1;
    bool committed_ = false;
};

}  // namespace keystead
