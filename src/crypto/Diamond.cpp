#include "crypto/Diamond.h"

#include "crypto/BlockPermutation.h"
#include "crypto/SecretMemory.h"
#include "crypto/TickCount.h"
#include "crypto/crc_32.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace keystead {
namespace {

// Every typed password is trimmed of characters 0 to 32, so a key of one blank can never
// be typed: text encrypted under an empty key shares its boxes with no real password.
constexpr char kEmptyKeyStandIn = ' ';

constexpr std::string_view kAlphabet =
    "23456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz~#%&*+-";
constexpr std::uint8_t kNotInAlphabet = 128;
constexpr char kTerminator = '.';

constexpr std::array<std::uint8_t, 256> buildDecodeTable()
{
    std::array<std::uint8_t, 256> table{};
    table.fill(kNotInAlphabet);
    for (std::size_t i = 0; i < kAlphabet.size(); ++i)
        table[static_cast<std::uint8_t>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
    return table;
}
constexpr std::array<std::uint8_t, 256> kDecodeTable = buildDecodeTable();

constexpr std::array<std::uint8_t, 256> identityBox()
{
    std::array<std::uint8_t, 256> box{};
    for (int i = 0; i < 256; ++i)
        box[i] = static_cast<std::uint8_t>(i);
    return box;
}
constexpr std::array<std::uint8_t, 256> kIdentityBox = identityBox();

// The draw mask for each bound: 2^b - 1, b the number of significant bits of the bound.
constexpr std::array<std::uint8_t, 256> drawMasks()
{
    std::array<std::uint8_t, 256> masks{};
    for (unsigned max = 1; max < 256; ++max)
        masks[max] = static_cast<std::uint8_t>((1U << std::bit_width(max)) - 1U);
    return masks;
}
constexpr std::array<std::uint8_t, 256> kDrawMasks = drawMasks();

// The free slots of a box under construction, found by rank: "the pos-th free slot in
// ascending order". Sixteen groups of sixteen slots, each group a sorted list; the free
// counts of the groups sit one per byte in two words, so the group holding a rank is found
// with a few word operations instead of a walk over the slots.
class FreeSlots {
public:
    std::uint8_t take(unsigned pos)
    {
        const unsigned freeInLow = static_cast<unsigned>((countsLow_ * kOnes) >> 56);
        const bool high = pos >= freeInLow;
        const std::uint64_t counts = high ? countsHigh_ : countsLow_;
        const unsigned rank = high ? pos - freeInLow : pos;

        // Byte i of prefix: free slots in groups 0..i of this word (at most 128, no carry).
        const std::uint64_t prefix = counts * kOnes;
        const std::uint64_t notAbove = (((rank * kOnes) | kHighBits) - prefix) & kHighBits;
        const unsigned group = static_cast<unsigned>(((notAbove >> 7) * kOnes) >> 56);
        const unsigned before = static_cast<unsigned>(((prefix << 8) >> (8 * group)) & 0xFFU);

        auto& list = groups_[group + (high ? 8 : 0)];
        const unsigned index = rank - before;
        const std::uint8_t slot = list[index];
        // One fixed 16-byte move closes the gap; the list's spare half takes the overrun.
        std::uint8_t tail[16];
        std::memcpy(tail, &list[index + 1], 16);
        std::memcpy(&list[index], tail, 16);

        const std::uint64_t one = std::uint64_t{1} << (8 * group);
        countsLow_ -= high ? 0 : one;
        countsHigh_ -= high ? one : 0;
        return slot;
    }

private:
    static constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    static constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

    static constexpr std::array<std::array<std::uint8_t, 32>, 16> allFree()
    {
        std::array<std::array<std::uint8_t, 32>, 16> groups{};
        for (unsigned g = 0; g < 16; ++g)
            for (unsigned i = 0; i < 16; ++i)
                groups[g][i] = static_cast<std::uint8_t>(16 * g + i);
        return groups;
    }

    std::array<std::array<std::uint8_t, 32>, 16> groups_ = allFree();
    std::uint64_t countsLow_ = 16 * kOnes;   // groups 0..7
    std::uint64_t countsHigh_ = 16 * kOnes;  // groups 8..15
};

// The running state of one key schedule; nothing of it outlives the assignment of a key.
// This is the hot path of every logon and list load: the CRC step is done inline, and each
// box works on a local copy of the state, which the byte stores into the box cannot alias.
class KeySchedule {
public:
    explicit KeySchedule(std::string_view key) : key_(key) {}

    // Builds a box and its inverse together.
    void makeBox(std::array<std::uint8_t, 256>& box, std::array<std::uint8_t, 256>& inverse)
    {
        Cursor cursor = cursor_;
        FreeSlots freeSlots;
        for (unsigned n = 255; n > 0; --n) {
            const std::uint8_t slot = freeSlots.take(keyRandom(cursor, n));
            box[slot] = static_cast<std::uint8_t>(n);
            inverse[n] = slot;
        }
        // The draw for 0 takes no key byte: the one slot left gets 0.
        const std::uint8_t last = freeSlots.take(0);
        box[last] = 0;
        inverse[0] = last;
        cursor_ = cursor;
        cursor_.previous = box.data();
    }

private:
    struct Cursor {
        std::size_t position = 0;
        std::uint32_t accumulator = 0xFFFFFFFFU;
        const std::uint8_t* previous = kIdentityBox.data();  // the first box sees the raw key
    };

    unsigned keyRandom(Cursor& cursor, unsigned max) const
    {
        const unsigned mask = kDrawMasks[max];
        for (int attempts = 1;; ++attempts) {
            const unsigned v = nextByte(cursor) & mask;
            if (v <= max)
                return v;
            // From the 98th draw on, fold instead of drawing again.
            if (attempts > 97)
                return v - max;
        }
    }

    std::uint8_t nextByte(Cursor& cursor) const
    {
        const std::uint8_t c = cursor.previous[static_cast<std::uint8_t>(key_[cursor.position])];
        cursor.accumulator = step(cursor.accumulator, c);
        if (++cursor.position == key_.size()) {
            cursor.position = 0;
            // Only the two low bytes of the length take part.
            cursor.accumulator = step(cursor.accumulator, static_cast<std::uint8_t>(key_.size() & 0xFFU));
            cursor.accumulator = step(cursor.accumulator, static_cast<std::uint8_t>((key_.size() >> 8) & 0xFFU));
        }
        return static_cast<std::uint8_t>(cursor.accumulator);
    }

    static std::uint32_t step(std::uint32_t crc, std::uint8_t byte) { return (crc >> 8) ^ kCrcTable[(crc ^ byte) & 0xFFU]; }

    static inline const std::array<std::uint32_t, 256>& kCrcTable = Crc32Table();
    std::string_view key_;
    Cursor cursor_;
};

// Each byte position has its own box; the block stays in two words so that no round goes
// through memory between the substitution and the permutation. The eight look-ups are spelled
// out by the fold, not left to a loop, so that every optimisation level builds straight-line code.
template <typename Boxes, std::size_t... K>
std::uint64_t substituteWord(const Boxes& boxes, std::uint64_t word, std::index_sequence<K...>)
{
    return ((std::uint64_t(boxes[K][(word >> (8 * K)) & 0xFFU]) << (8 * K)) | ...);
}

template <typename Boxes>
Block128 substitute(const Boxes& boxes, const Block128& in)
{
    constexpr auto eight = std::make_index_sequence<8>();
    return {substituteWord(boxes.data(), in.lo, eight), substituteWord(boxes.data() + 8, in.hi, eight)};
}

void appendLittleEndian(std::uint8_t* out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The lead block's checks of the padded text: its CRC register (start 0xFFFFFFFF, no final
// inversion) in bytes 0 to 3 and the sum of its bytes in bytes 4 to 7.
void writeChecks(std::uint8_t* header, std::string_view padded)
{
    std::uint32_t crc = 0xFFFFFFFFU;
    std::uint32_t sum = 0;
    for (const unsigned char c : padded) {
        crc = UpdateCrc32(crc, c);
        sum += c;
    }
    appendLittleEndian(header, crc);
    appendLittleEndian(header + 4, sum);
}

std::uint8_t* bytesOf(std::string& s)
{
    return reinterpret_cast<std::uint8_t*>(s.data());
}

const std::uint8_t* bytesOf(std::string_view s)
{
    return reinterpret_cast<const std::uint8_t*>(s.data());
}

}  // namespace

TDiamond::~TDiamond()
{
    WipeText(key_);
    WipeBytes(forward_.data(), sizeof forward_);
    WipeBytes(inverse_.data(), sizeof inverse_);
}

void TDiamond::SetKey(std::string_view key)
{
    WipeText(key_);
    key_ = key.empty() ? std::string(1, kEmptyKeyStandIn) : std::string(key);
    KeySchedule schedule(key_);
    for (int r = 0; r < kRounds; ++r)
        for (int k = 0; k < kBlockSize; ++k)
            schedule.makeBox(forward_[r][k], inverse_[r][k]);
}

const std::string& TDiamond::Key() const
{
    return key_;
}

std::array<std::uint8_t, 256> TDiamond::ForwardBox(int round, int position) const
{
    if (round < 0 || round >= kRounds || position < 0 || position >= kBlockSize)
        throw std::out_of_range("TDiamond::ForwardBox: no such box");
    return forward_[round][position];
}

void TDiamond::EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const
{
    Block128 block = substitute(forward_[0], Block128::load(in));
    for (int r = 1; r < kRounds; ++r)
        block = substitute(forward_[r], Permute(block));
    block.store(out);
}

void TDiamond::DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const
{
    Block128 block = substitute(inverse_[kRounds - 1], Block128::load(in));
    for (int r = kRounds - 2; r >= 0; --r)
        block = substitute(inverse_[r], InversePermute(block));
    block.store(out);
}

std::string TDiamond::EncryptText(std::string_view text) const
{
    return EncryptText(text, TickCount());
}

std::string TDiamond::EncryptText(std::string_view text, std::uint32_t tickCount) const
{
    const std::size_t pad = kBlockSize - text.size() % kBlockSize;
    std::string padded(text);
    padded.append(pad, static_cast<char>(pad));

    std::uint8_t header[kBlockSize] = {};
    writeChecks(header, padded);
    appendLittleEndian(header + 8, tickCount);

    std::string raw(kBlockSize + padded.size(), '\0');
    std::uint8_t* out = bytesOf(raw);
    EncryptBlock(header, out);
    std::uint8_t chain[kBlockSize];
    EncryptBlock(out, chain);

    const std::uint8_t* plain = bytesOf(std::string_view(padded));
    for (std::size_t offset = 0; offset < padded.size(); offset += kBlockSize) {
        std::uint8_t mixed[kBlockSize];
        for (int i = 0; i < kBlockSize; ++i)
            mixed[i] = plain[offset + i] ^ chain[i];
        std::uint8_t* cipher = out + kBlockSize + offset;
        EncryptBlock(mixed, cipher);
        std::memcpy(chain, cipher, kBlockSize);
        WipeBytes(mixed, sizeof mixed);
    }
    // The padded copy holds the plain text.
    WipeText(padded);
    return raw;
}

std::string TDiamond::DecryptText(std::string_view raw) const
{
    if (raw.size() < 2 * kBlockSize)
        return {};
    // An incomplete last block can only come from a damaged value; it is ignored.
    std::string padded = decryptBlocks(raw);
    const std::size_t pad = static_cast<std::uint8_t>(padded.back());
    if (pad < 1 || pad > kBlockSize)
        return {};
    padded.resize(padded.size() - pad);
    return padded;
}

std::optional<std::string> TDiamond::DecryptTextVerified(std::string_view raw) const
{
    if (raw.empty())
        return std::string();
    if (raw.size() < 2 * kBlockSize || raw.size() % kBlockSize != 0)
        return std::nullopt;
    std::string padded = decryptBlocks(raw);
    std::uint8_t header[kBlockSize];
    DecryptBlock(bytesOf(raw), header);
    std::uint8_t expected[kBlockSize] = {};
    writeChecks(expected, padded);
    const std::size_t pad = static_cast<std::uint8_t>(padded.back());
    if (std::memcmp(header, expected, 8) != 0 || pad < 1 || pad > kBlockSize) {
        WipeText(padded);
        return std::nullopt;
    }
    padded.resize(padded.size() - pad);
    return padded;
}

// Cipher-block chaining behind the lead block, whose encryption is the first chaining value;
// the padded text of the whole blocks after the lead block.
std::string TDiamond::decryptBlocks(std::string_view raw) const
{
    const std::size_t blocks = (raw.size() - kBlockSize) / kBlockSize;
    const std::uint8_t* in = bytesOf(raw);

    std::uint8_t chain[kBlockSize];
    EncryptBlock(in, chain);
    std::string padded(blocks * kBlockSize, '\0');
    std::uint8_t* out = bytesOf(padded);
    for (std::size_t i = 0; i < blocks; ++i) {
        const std::uint8_t* cipher = in + kBlockSize * (i + 1);
        std::uint8_t* plain = out + kBlockSize * i;
        DecryptBlock(cipher, plain);
        for (int j = 0; j < kBlockSize; ++j)
            plain[j] ^= chain[j];
        std::memcpy(chain, cipher, kBlockSize);
    }
    return padded;
}

std::string TDiamond::EncodeCipherText(std::string_view raw)
{
    const std::uint8_t* in = bytesOf(raw);
    const std::size_t n = raw.size();
    std::string out;
    out.reserve(n / 3 * 4 + 5);
    std::size_t i = 0;
    for (; i + 3 <= n; i += 3) {
        const unsigned b1 = in[i], b2 = in[i + 1], b3 = in[i + 2];
        out += kAlphabet[(b1 >> 6) * 16 + (b2 >> 6) * 4 + (b3 >> 6)];
        out += kAlphabet[b1 & 63U];
        out += kAlphabet[b2 & 63U];
        out += kAlphabet[b3 & 63U];
    }
    if (n - i == 1) {
        const unsigned b1 = in[i];
        out += kAlphabet[(b1 >> 6) * 16];
        out += kAlphabet[b1 & 63U];
    } else if (n - i == 2) {
        const unsigned b1 = in[i], b2 = in[i + 1];
        out += kAlphabet[(b1 >> 6) * 16 + (b2 >> 6) * 4];
        out += kAlphabet[b1 & 63U];
        out += kAlphabet[b2 & 63U];
    }
    out += kTerminator;
    return out;
}

std::string TDiamond::DecodeCipherText(std::string_view printable)
{
    const std::size_t end = std::min(printable.find(kTerminator), printable.size());
    std::string out;
    out.reserve(end / 4 * 3 + 3);
    unsigned high = 0;
    for (std::size_t i = 0; i < end; ++i) {
        const unsigned value = kDecodeTable[static_cast<std::uint8_t>(printable[i])];
        const unsigned k = i % 4;
        if (k == 0)
            high = value;
        else
            out += static_cast<char>(((high << (2 * k)) & 0xC0U) | value);
    }
    return out;
}

std::string TDiamond::EncryptToCipherString(std::string_view text) const
{
    return EncodeCipherText(EncryptText(text));
}

std::string TDiamond::DecryptCipherString(std::string_view cipherString) const
{
    return DecryptText(DecodeCipherText(cipherString));
}

std::optional<std::string> TDiamond::DecryptCipherStringVerified(std::string_view cipherString) const
{
    return DecryptTextVerified(DecodeCipherText(cipherString));
}

}  // namespace keystead
