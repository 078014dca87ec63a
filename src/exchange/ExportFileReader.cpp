#include "exchange/ExportFileReader.h"

#include <optional>

#include "crypto/Diamond.h"
#include "store/KeysteadError.h"
#include "store/TextRules.h"

namespace keystead {

namespace {

[[noreturn]] void refuseAsCorrupt() {
    throw KeysteadError(std::string(kCorruptListText));
}

// The lines of an export file, ended by CR LF or a bare LF; a last line without its end counts.
class ExportLines {
public:
    explicit ExportLines(std::string_view bytes) : rest_(bytes) {}

    std::optional<std::string_view> next() {
        if (rest_.empty()) {
            return std::nullopt;
        }
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        return line;
    }

    // A line an entry cannot do without: the file ending here is a damaged list.
    std::string_view required() {
        const auto line = next();
        if (!line) {
            refuseAsCorrupt();
        }
        return *line;
    }

private:
    std::string_view rest_;
};

// The text of a field: a cipher string under the file's password, verified, or plain text as the
// earlier form keeps descriptions and comments.
class FieldReader {
public:
    FieldReader(const TDiamond& fileCipher, bool currentFormat)
        : fileCipher_(fileCipher), currentFormat_(currentFormat) {}

    void cipher(SecretText& text, std::string_view line) const {
        std::optional<std::string> plain = fileCipher_.DecryptCipherStringVerified(line);
        if (!plain) {
            refuseAsCorrupt();
        }
        text.get() = std::move(*plain);
    }

    void cipherUnlessEarlier(SecretText& text, std::string_view line) const {
        if (currentFormat_) {
            cipher(text, line);
        } else {
            text.get() = line;
        }
    }

private:
    const TDiamond& fileCipher_;
    bool currentFormat_;
};

void readComments(ExportLines& lines, SecretText& joined) {
    bool first = true;
    for (std::string_view line = lines.required(); line != kExportEndLine; line = lines.required()) {
        if (!first) {
            AppendSecret(joined.get(), kExportLineEnd);
        }
        AppendSecret(joined.get(), line);
        first = false;
    }
}

void readEntry(ExportLines& lines, const FieldReader& fields, ImportedEntry& entry) {
    fields.cipherUnlessEarlier(entry.description, lines.required());
    const std::string_view username = lines.required();
    entry.hasUsername = !username.empty();
    fields.cipher(entry.username, username);
    fields.cipher(entry.password, lines.required());
    entry.expiration = lines.required();
    entry.daysTillExpiration = lines.required();
    SecretText comments;
    readComments(lines, comments);
    entry.hasComments = !comments.get().empty();
    fields.cipherUnlessEarlier(entry.comments, comments.get());
}

}  // namespace

std::vector<ImportedEntry> ReadExportFile(std::string_view bytes, const TDiamond& fileCipher) {
    ExportLines lines(bytes);
    const bool currentFormat = lines.next().value_or("") == kExportVersionLine;
    if (fileCipher.DecryptCipherString(lines.next().value_or("")) != kExportCheckText) {
        throw KeysteadError(std::string(kWrongFilePasswordText));
    }
    const std::optional<int> count = parseInteger(lines.next().value_or(""));
    if (!count || *count <= 0) {
        refuseAsCorrupt();
    }
    const FieldReader fields(fileCipher, currentFormat);
    std::vector<ImportedEntry> entries;
    // The count only bounds the loop: the entries present decide what is kept in memory.
    for (int k = 0; k < *count; ++k) {
        readEntry(lines, fields, entries.emplace_back());
    }
    return entries;
}

}  // namespace keystead
