// The pieces of the decoder checked against the vectors of the format notes, and the ACE 2.0
// modes on small hand-built streams.
#include "ace_bit_writer.h"
#include "bit_reader.h"
#include "blowfish.h"
#include "crc32.h"
#include "decoder.h"
#include "exe_filter.h"
#include "huffman.h"

#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

using namespace unacev2;
using tw::test::ace::BitWriter;
using tw::test::ace::TableWriter;

namespace {

std::uint32_t Crc(const std::string& s) {
    return AceCrc32(kAceCrcInit, reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
}

TEST(AceCrc, MatchesTheVectors) {
    EXPECT_EQ(Crc("123456789"), 0x340BC6D9u);
    EXPECT_EQ(Crc(""), 0xFFFFFFFFu);
    EXPECT_EQ(Crc("ACE"), 0xAC0468C3u);
    const std::string digits = "123456789";
    EXPECT_EQ(AceHeaderCrc(reinterpret_cast<const std::uint8_t*>(digits.data()), 9), 0xC6D9);
    // The sliced loop and the byte loop agree at every split.
    std::string text(1000, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(i * 7 + 3);
    for (std::size_t cut : {0u, 1u, 7u, 8u, 9u, 500u}) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(text.data());
        EXPECT_EQ(AceCrc32(AceCrc32(kAceCrcInit, p, cut), p + cut, text.size() - cut), Crc(text));
    }
}

struct SortCase {
    std::vector<std::uint8_t> widths;
    std::vector<std::uint16_t> order;
    std::vector<std::pair<std::uint16_t, unsigned>> firstSlots; // (symbol, slot)
    unsigned filled;
};

class AceHuffmanVectors : public testing::TestWithParam<SortCase> {};

TEST_P(AceHuffmanVectors, SortOrderAndSlotsMatch) {
    const SortCase& c = GetParam();
    std::vector<std::uint8_t> keys = c.widths;
    std::vector<std::uint16_t> symbols(keys.size());
    std::iota(symbols.begin(), symbols.end(), 0);
    SortByWidthDescending(keys.data(), symbols.data(), static_cast<int>(keys.size()));
    EXPECT_EQ(symbols, c.order);

    HuffmanTable table;
    ASSERT_TRUE(table.Build(c.widths.data(), static_cast<unsigned>(c.widths.size()), 7));
    unsigned filled = 0;
    for (unsigned slot = 0; slot < 128; ++slot)
        filled += table.SymbolAt(slot) != HuffmanTable::kInvalidSymbol;
    EXPECT_EQ(filled, c.filled);
    std::vector<std::pair<std::uint16_t, unsigned>> firsts;
    for (unsigned slot = 0; slot < 128; ++slot) {
        const std::uint16_t s = table.SymbolAt(slot);
        if (s != HuffmanTable::kInvalidSymbol && (slot == 0 || table.SymbolAt(slot - 1) != s))
            firsts.emplace_back(s, slot);
    }
    EXPECT_EQ(firsts, c.firstSlots);
}

INSTANTIATE_TEST_SUITE_P(
    AceHuffman, AceHuffmanVectors,
    testing::Values(
        SortCase{{3, 3, 3, 3, 3, 3, 3, 3},
                 {4, 5, 6, 7, 0, 1, 2, 3},
                 {{3, 0}, {2, 16}, {1, 32}, {0, 48}, {7, 64}, {6, 80}, {5, 96}, {4, 112}},
                 128},
        SortCase{{2, 3, 2, 3, 3, 3},
                 {3, 4, 5, 1, 0, 2},
                 {{2, 0}, {0, 32}, {1, 64}, {5, 80}, {4, 96}, {3, 112}},
                 128},
        SortCase{{0, 3, 3, 0, 3, 2, 2, 4, 4},
                 {8, 7, 1, 4, 2, 5, 6, 0, 3},
                 {{6, 0}, {5, 32}, {2, 64}, {4, 80}, {1, 96}, {7, 112}, {8, 120}},
                 128},
        SortCase{{1, 2, 3, 4, 5, 6, 7, 7},
                 {7, 6, 5, 4, 3, 2, 1, 0},
                 {{0, 0}, {1, 64}, {2, 96}, {3, 112}, {4, 120}, {5, 124}, {6, 126}, {7, 127}},
                 128},
        SortCase{std::vector<std::uint8_t>(16, 4),
                 {11, 10, 9, 8, 15, 14, 13, 12, 3, 2, 1, 0, 7, 6, 5, 4},
                 {{4, 0},
                  {5, 8},
                  {6, 16},
                  {7, 24},
                  {0, 32},
                  {1, 40},
                  {2, 48},
                  {3, 56},
                  {12, 64},
                  {13, 72},
                  {14, 80},
                  {15, 88},
                  {8, 96},
                  {9, 104},
                  {10, 112},
                  {11, 120}},
                 128},
        SortCase{{0, 0, 0, 5, 0, 0}, {3, 4, 5, 0, 1, 2}, {{3, 0}}, 4},
        SortCase{{0, 0, 0, 0}, {3, 2, 1, 0}, {{3, 0}}, 128}));

TEST(AceHuffman, SingleCodeConsumesOneBitAndBadTablesAreRefused) {
    HuffmanTable table;
    const std::uint8_t single[] = {0, 0, 0, 5, 0, 0};
    ASSERT_TRUE(table.Build(single, 6, 7));
    EXPECT_EQ(table.WidthAt(0), 1u);
    const std::uint8_t tooWide[] = {8, 1};
    EXPECT_FALSE(table.Build(tooWide, 2, 7));
    const std::uint8_t overfull[] = {1, 1, 1};
    EXPECT_FALSE(table.Build(overfull, 3, 7));
}

TEST(AceHuffman, TransmittedTableRoundTrips) {
    std::vector<std::uint8_t> widths(284, 0);
    for (unsigned s = 0; s < 284; s += 3)
        widths[s] = static_cast<std::uint8_t>(7 + s % 4);
    BitWriter w;
    TableWriter(widths, 11).Transmit(w);
    const auto bytes = w.Finish();
    MemorySource src(bytes.data(), bytes.size());
    BitReader in(src);
    HuffmanTable got;
    ASSERT_TRUE(ReadHuffmanTable(in, 284, 11, got));
    HuffmanTable want;
    ASSERT_TRUE(want.Build(widths.data(), 284, 11));
    for (unsigned slot = 0; slot < 2048; ++slot)
        ASSERT_EQ(got.SymbolAt(slot), want.SymbolAt(slot)) << slot;
}

TEST(AceBitReader, ReadsWordsMostSignificantBitFirstAndPadsWithZeros) {
    const std::uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0xAA};
    MemorySource src(bytes, sizeof bytes);
    BitReader in(src);
    EXPECT_EQ(in.Read(4), 0x1u);
    EXPECT_EQ(in.Read(12), 0x234u);
    EXPECT_EQ(in.Read(16), 0x5678u);
    EXPECT_EQ(in.Read(32), 0xAAu); // the partial last word, zero bytes above it
    EXPECT_EQ(in.Read(32), 0u);
    EXPECT_FALSE(in.Overrun());
    for (int i = 0; i < 8; ++i)
        in.Read(32);
    EXPECT_TRUE(in.Overrun());
}

std::array<std::uint32_t, 5> Key(const std::string& password) {
    std::array<std::uint32_t, 5> h{};
    AceDeriveKey(reinterpret_cast<const std::uint8_t*>(password.data()), password.size(), h.data());
    return h;
}

TEST(AceCrypto, KeyDerivationMatchesTheVectors) {
    using K = std::array<std::uint32_t, 5>;
    EXPECT_EQ(Key("1234"), (K{0x42E17F0F, 0x0416C052, 0xBD187D39, 0xA7AF418F, 0x0B6311FD}));
    EXPECT_EQ(Key("123456789"), (K{0xB70ECB9C, 0xC63C99E5, 0xF1E50085, 0x4E0246FE, 0x3571369E}));
    EXPECT_EQ(Key(""), (K{0x9DD534C4, 0x0DA03299, 0x13748BB8, 0x33058B52, 0x00CE3E29}));
    EXPECT_EQ(Key(std::string(50, 'x')),
              (K{0x01CF5C07, 0xFA264112, 0x2DB4C8F0, 0x2395EB3B, 0x0F11DFD3}));
    EXPECT_EQ(Key(std::string(60, 'x')), Key(std::string(50, 'x'))); // only 50 bytes count
}

TEST(AceCrypto, BlowfishVariantAndCbcMatchTheVectors) {
    const std::uint32_t zero[5] = {};
    const AceBlowfish cipher(zero);
    std::uint32_t l = 0;
    std::uint32_t r = 0;
    cipher.EncryptBlock(l, r);
    EXPECT_EQ(l, 0x559C5FE7u);
    EXPECT_EQ(r, 0xE156E51Fu);
    cipher.DecryptBlock(l, r);
    EXPECT_EQ(l, 0u);
    EXPECT_EQ(r, 0u);

    auto decrypt = [](std::vector<std::uint8_t> data, const std::string& password) {
        AceCbcDecryptor d(reinterpret_cast<const std::uint8_t*>(password.data()), password.size());
        // In two calls: the chain runs on across them, as across volume parts.
        d.Decrypt(data.data(), 8);
        d.Decrypt(data.data() + 8, data.size() - 8);
        return data;
    };
    std::vector<std::uint8_t> counting(16);
    std::iota(counting.begin(), counting.end(), 0);
    EXPECT_EQ(decrypt(counting, "1234"),
              (std::vector<std::uint8_t>{0x74, 0x2b, 0xc1, 0x6a, 0xe8, 0x59, 0x67, 0x8c, 0xf7, 0x73,
                                         0xd4, 0x16, 0xf4, 0x5f, 0xc4, 0x13}));
    EXPECT_EQ(decrypt({0x57, 0x04, 0xda, 0x73, 0xd2, 0xd0, 0x29, 0xd9, 0xd8, 0xce, 0xe9, 0xd5, 0x5f,
                       0x78, 0x3f, 0xf7},
                      "1234"),
              (std::vector<std::uint8_t>{0x4f, 0x02, 0x01, 0x80, 0xff, 0xff, 0xff, 0xff, 0xfc, 0xff,
                                         0xff, 0xff, 0x4f, 0x20, 0xf0, 0xcf}));
}

// ---- the 2.0 filters on their own ----

class Collect final : public ByteSink {
public:
    bool Write(const std::uint8_t* data, std::size_t size) override {
        bytes.insert(bytes.end(), data, data + size);
        return true;
    }
    std::vector<std::uint8_t> bytes;
};

TEST(AceExeFilter, ConvertsCallsAndJumpsFollowedByFourBytes) {
    // CALL (32-bit in mode 1) at 2, JMP at 9, CALL too close to the end at 13.
    std::vector<std::uint8_t> buf = {0x90, 0x90, 0xE8, 0x12, 0x00, 0x00, 0x00, 0x90, 0x90,
                                     0xE9, 0x20, 0x00, 0x90, 0xE8, 0x01, 0x02, 0x03};
    std::vector<std::uint8_t> want = buf;
    want[3] = 0x10;  // 0x12 - 2
    want[10] = 0x17; // 0x20 - 9
    std::vector<std::uint8_t> mode1 = buf;
    ExeFilter::Convert(mode1.data(), mode1.size(), 0, 1);
    EXPECT_EQ(mode1, want);

    // Mode 0: CALL takes a 16-bit operand, and the offset wraps.
    std::vector<std::uint8_t> mode0 = {0xE8, 0x00, 0x00, 0x00, 0x00};
    ExeFilter::Convert(mode0.data(), mode0.size(), 0x10001, 0);
    EXPECT_EQ(mode0, (std::vector<std::uint8_t>{0xE8, 0xFF, 0xFF, 0x00, 0x00}));

    // Chunks of one run give what the whole run gives; the run's end leaves its tail alone.
    for (std::size_t cut = 1; cut < buf.size(); ++cut) {
        ExeFilter f;
        Collect out;
        f.Process(buf.data(), cut, 0, 1, false, out);
        f.Process(buf.data() + cut, buf.size() - cut, cut, 1, true, out);
        EXPECT_EQ(out.bytes, want) << cut;
    }
}

TEST(AceDeltaFilter, SumsAndInterleavesPlanes) {
    const std::uint8_t in[] = {1, 1, 1, 1, 2, 2};
    std::uint8_t out[6];
    std::uint8_t last = 0;
    ASSERT_TRUE(DeltaDecode(in, 6, 2, last, out));
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 6),
              (std::vector<std::uint8_t>{1, 4, 2, 6, 3, 8}));
    EXPECT_EQ(last, 8);
    EXPECT_FALSE(DeltaDecode(in, 5, 2, last, out));
    EXPECT_FALSE(DeltaDecode(in, 6, 0, last, out));
}

// ---- small streams through the decoder ----

// An LZ77 coder over flat tables: every main symbol 9 bits, every length code 8 bits.
class Lz77Stream {
public:
    Lz77Stream()
        : main_(std::vector<std::uint8_t>(284, 9), 11),
          length_(std::vector<std::uint8_t>(256, 8), 11) {}
    void Tables(unsigned symbols) {
        main_.Transmit(w);
        length_.Transmit(w);
        w.Put(symbols, 15);
    }
    void Literal(std::uint8_t b) { main_.Emit(w, b); }
    void Literals(const std::string& s) {
        for (char c : s)
            Literal(static_cast<std::uint8_t>(c));
    }
    // A new distance (bytes back) and a length.
    void Match(std::uint32_t back, unsigned length) {
        const std::uint32_t d = back - 1;
        unsigned width = 0;
        while ((d >> width) > 1)
            ++width;
        width = d < 2 ? d : width + 1;
        main_.Emit(w, 260 + width);
        if (width >= 2)
            w.Put(d & ((1u << (width - 1)) - 1), width - 1);
        const unsigned base = d <= 255 ? 2 : d <= 8191 ? 3 : 4;
        length_.Emit(w, length - base);
    }
    void Repeat(unsigned k, unsigned length) {
        main_.Emit(w, 256 + k);
        length_.Emit(w, length - (k < 2 ? 2 : 3));
    }
    void Switch(unsigned mode) {
        main_.Emit(w, 283);
        w.Put(mode, 8);
    }
    BitWriter w;

private:
    TableWriter main_;
    TableWriter length_;
};

std::string DecodeStream(unsigned method, std::vector<std::uint8_t> bytes, std::size_t size,
                         DecodeStatus expect = DecodeStatus::Ok) {
    MemorySource src(bytes.data(), bytes.size());
    auto in = std::make_unique<BitReader>(src);
    auto decoder = std::make_unique<Decoder>();
    Collect out;
    EXPECT_EQ(decoder->DecodeFile(method, size, *in, out), expect);
    return std::string(out.bytes.begin(), out.bytes.end());
}

TEST(AceLz77, LiteralsMatchesAndRepeatedDistances) {
    Lz77Stream s;
    s.Tables(7);
    s.Literals("abc");
    s.Match(3, 6);  // abcabc
    s.Repeat(0, 4); // abca
    s.Match(1, 3);  // aaa
    s.Repeat(1, 2); // distance 3 again: "aa" -> copies 'a','a'
    EXPECT_EQ(DecodeStream(kMethodLz77, s.w.Finish(), 18), "abcabcabcabcaaaaaa");
}

TEST(AceLz77, RefusesDamage) {
    Lz77Stream before;
    before.Tables(2);
    before.Literal('x');
    before.Match(5, 3); // further back than the file reaches
    DecodeStream(kMethodLz77, before.w.Finish(), 4, DecodeStatus::Corrupt);

    Lz77Stream past;
    past.Tables(2);
    past.Literal('x');
    past.Match(1, 10); // runs over the end of the file
    DecodeStream(kMethodLz77, past.w.Finish(), 5, DecodeStatus::Corrupt);

    Lz77Stream modeSwitch;
    modeSwitch.Tables(2);
    modeSwitch.Switch(0); // only ACE 2.0 streams switch modes
    DecodeStream(kMethodLz77, modeSwitch.w.Finish(), 5, DecodeStatus::Corrupt);

    DecodeStream(kMethodLz77, {}, 100, DecodeStatus::Corrupt); // nothing at all
}

TEST(AceBlocked, ExeModeConvertsOnlyInsideItsRun) {
    const std::string call("\xE8\x10\x00\x00\x00", 5);
    Lz77Stream s;
    s.Tables(30);
    s.Literal('x');
    s.Switch(2);
    s.w.Put(1, 8); // 32-bit CALLs
    s.Literals(call);
    s.Literals(std::string("\xE8\x01\x02", 3)); // too close to the run's end
    s.Switch(0);
    s.Literals(call);
    EXPECT_EQ(DecodeStream(kMethodBlocked, s.w.Finish(), 14),
              "x" + std::string("\xE8\x0F\x00\x00\x00", 5) + std::string("\xE8\x01\x02", 3) + call);
}

TEST(AceBlocked, DeltaModeDecodesWholeBlocks) {
    Lz77Stream s;
    s.Tables(30);
    s.Switch(1);
    s.w.Put(2, 8);  // distance
    s.w.Put(6, 17); // block length
    for (int b : {1, 1, 1, 1, 2, 2})
        s.Literal(static_cast<std::uint8_t>(b));
    s.Switch(0);
    s.Literals("ok");
    EXPECT_EQ(DecodeStream(kMethodBlocked, s.w.Finish(), 8),
              std::string("\x01\x04\x02\x06\x03\x08ok", 8));
}

// In a SOUND block the predictor starts as "the last sample", so its first outputs are running
// sums of the residuals: an easy answer to check the models, zero runs and channels against.
TEST(AceBlocked, SoundModesPredictFromEachChannelsLastSample) {
    for (unsigned mode : {3u, 4u}) {
        Lz77Stream s;
        s.Tables(1);
        s.Switch(mode);
        const unsigned channels = mode == 3 ? 1 : 2;
        const TableWriter model(std::vector<std::uint8_t>(289, 9), 10);
        for (unsigned i = 0; i < 3 * channels; ++i)
            model.Transmit(s.w);
        s.w.Put(100, 15);
        // Per channel: residual v=2 (+1), v=5 (-3 as 255-2), then a run code 1 (two zeros),
        // then a literal from the third model, v=4 (+2).
        const std::vector<unsigned> symbols = {32 + 2, 32 + 5, 1, 4};
        std::vector<int> sums(channels, 0);
        std::string want;
        const int deltas[] = {1, -3, 0, 0, 2};
        for (int step = 0; step < 5; ++step) {
            for (unsigned ch = 0; ch < channels; ++ch) {
                if (step == 0 || step == 1)
                    model.Emit(s.w, symbols[step]);
                else if (step == 2)
                    model.Emit(s.w, symbols[2]);
                else if (step == 4)
                    model.Emit(s.w, symbols[3]);
                sums[ch] += deltas[step];
                want.push_back(static_cast<char>(sums[ch] & 0xFF));
            }
        }
        EXPECT_EQ(DecodeStream(kMethodBlocked, s.w.Finish(), want.size()), want) << mode;
    }
}

TEST(AcePicMode, DecodesARowAndSwitchesBack) {
    Lz77Stream s;
    s.Tables(2);
    s.Switch(7);
    s.w.PutGolombRice(3, 12); // width
    s.w.PutGolombRice(1, 2);  // planes
    s.w.Put(1, 1);            // a row follows
    s.w.PutGolombRice(10, 3); // +5 against the zero row
    s.w.PutGolombRice(0, 3);  // 0: predicted from above, which is 0
    s.w.PutGolombRice(0, 3);
    s.w.Put(0, 1); // mode descriptor instead of a row
    s.w.Put(0, 8);
    s.Literal('!');
    EXPECT_EQ(DecodeStream(kMethodBlocked, s.w.Finish(), 4), std::string("\x05\x00\x00!", 4));
}

} // namespace
