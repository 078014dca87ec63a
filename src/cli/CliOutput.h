#pragma once
// One output stream of keystead-cli and whether a terminal shows it. Stored texts pass through
// shown(): at a terminal every control character becomes a visible escape, so that an imported
// description cannot set the terminal's title, clear it or write its clipboard; into a file or a
// pipe every byte goes as stored.

#include <ostream>
#include <string_view>

namespace keystead::cli {

class CliOutput {
public:
    // A stored text on its way into the stream; no copy of it is made.
    struct Shown {
        std::string_view text;
        bool escaped;
        bool keepLineFeeds;
    };

    // fd is the descriptor the stream writes to.
    CliOutput(std::ostream& stream, int fd);

    std::ostream& stream() const { return stream_; }
    // One line's text: at a terminal, control characters (C0, DEL, C1) and bytes that are no
    // UTF-8 are written as \xNN.
    Shown shown(std::string_view text) const { return {text, terminal_, false}; }
    // The same, but line feeds stay line feeds.
    Shown shownLines(std::string_view text) const { return {text, terminal_, true}; }

private:
    std::ostream& stream_;
    bool terminal_;
};

std::ostream& operator<<(std::ostream& stream, const CliOutput::Shown& shown);

}  // namespace keystead::cli
