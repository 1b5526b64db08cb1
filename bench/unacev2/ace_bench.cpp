// bench_unacev2 [fixture folder] [seconds per case]
//
// Decodes every entry of each sample archive over and over (headers, reading, decryption,
// decoding and the CRC, output thrown away) and reports MB/s of output, per archive and per
// decoding mode. Debian's unace 1.2b ("unace t", ACE 1.0 archives only) does the same work
// for comparison when it is installed. Modes that no sample uses are measured on synthetic
// streams made with the tests' bit writer.
#include "ace_bit_writer.h"
#include "archive_reader.h"
#include "bit_reader.h"
#include "decoder.h"
#include "entry_decoder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class Discard final : public unacev2::ByteSink {
public:
    bool Write(const std::uint8_t*, std::size_t) override { return true; }
};

class AllVolumes final : public unacev2::VolumeEvents {
    bool EnterVolume(const std::string&) override { return true; }
    void VolumeMissing(const std::string&) override {}
};

const char* const kModeNames[8] = {"2.0 LZ77",    "2.0 DELTA",    "2.0 EXE",      "2.0 SOUND8",
                                   "2.0 SOUND16", "2.0 SOUND32A", "2.0 SOUND32B", "2.0 PIC"};

struct Tally {
    double bytes = 0;
    double seconds = 0;
    void Add(double b, double s) {
        bytes += b;
        seconds += s;
    }
    double MBps() const { return seconds > 0 ? bytes / seconds / 1e6 : 0; }
};

std::map<std::string, Tally> g_modes;

// One pass over the archive; returns the output bytes. Each entry's time goes to the mode that
// produced most of its bytes.
double DecodeArchive(const fs::path& archive, bool& ok) {
    AllVolumes volumes;
    auto reader = std::make_unique<unacev2::ArchiveReader>(volumes);
    ok = reader->Open(archive.string(), 0x1FFFF) == unacev2::ReadStatus::Ok;
    if (!ok)
        return 0;
    const bool solid = reader->Main().flags & unacev2::kMainSolid;
    static unacev2::EntryDecoder decoder;
    double total = 0;
    unacev2::FileHeader e;
    while (reader->Next(e) == unacev2::ReadStatus::Ok) {
        std::uint64_t before[8];
        std::copy(decoder.Core().ModeBytes(), decoder.Core().ModeBytes() + 8, before);
        Discard discard;
        unacev2::CrcSink crc(&discard);
        const auto start = Clock::now();
        const auto st = decoder.Decode(e, solid, reader->Data(), "1234", crc);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        reader->FinishEntry();
        ok = ok && st == unacev2::DecodeStatus::Ok && crc.Crc() == reader->LastPart().crc;
        total += static_cast<double>(e.size);
        if (e.IsDirectory() || e.size == 0)
            continue;
        std::string mode = e.method == unacev2::kMethodStored ? "stored" : "1.0 LZ77";
        if (e.method == unacev2::kMethodBlocked) {
            int best = 0;
            for (int m = 1; m < 8; ++m) {
                if (decoder.Core().ModeBytes()[m] - before[m] >
                    decoder.Core().ModeBytes()[best] - before[best])
                    best = m;
            }
            mode = kModeNames[best];
        }
        g_modes[mode].Add(static_cast<double>(e.size), seconds);
    }
    return total;
}

// unace exits 0 also when it skips an archive it cannot read, so a first extraction into a
// scratch folder shows whether it really produced the files.
double RunUnace(const fs::path& archive, double budget, double& bytesPerRun) {
    const fs::path scratch = fs::temp_directory_path() / "ace-bench-unace";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    const std::string extract = "cd '" + scratch.string() + "' && /usr/bin/unace x -y '" +
                                archive.string() + "' </dev/null >/dev/null 2>&1";
    std::system(extract.c_str());
    std::size_t files = 0;
    for (const auto& it : fs::recursive_directory_iterator(scratch))
        files += it.is_regular_file();
    fs::remove_all(scratch);
    if (files == 0)
        return 0;
    const std::string cmd =
        "/usr/bin/unace t -y '" + archive.string() + "' </dev/null >/dev/null 2>&1";
    int runs = 0;
    const auto start = Clock::now();
    double seconds = 0;
    while (seconds < budget) {
        if (std::system(cmd.c_str()) != 0)
            return 0;
        ++runs;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return bytesPerRun * runs / seconds / 1e6;
}

// ---- synthetic streams for the modes without samples ----

using tw::test::ace::BitWriter;
using tw::test::ace::TableWriter;

struct Synthetic {
    std::string name;
    std::vector<std::uint8_t> stream;
    std::size_t size;
};

void SwitchTo(BitWriter& w, const TableWriter& main, unsigned mode) {
    main.Emit(w, 283);
    w.Put(mode, 8);
}

// A DELTA run over a slowly changing 4-channel signal, coded as literals with repeats.
Synthetic MakeDelta() {
    const TableWriter main(std::vector<std::uint8_t>(284, 9), 11);
    const TableWriter length(std::vector<std::uint8_t>(256, 8), 11);
    BitWriter w;
    const std::size_t blocks = 64;
    const unsigned blockLength = 65536;
    std::mt19937 rng(1);
    unsigned left = 0;
    for (std::size_t b = 0; b < blocks; ++b) {
        for (unsigned i = 0; i < blockLength + 1;) {
            if (left == 0) {
                main.Transmit(w);
                length.Transmit(w);
                left = 30000;
                w.Put(left, 15);
            }
            --left;
            if (i == 0) {
                SwitchTo(w, main, 1);
                w.Put(4, 8);
                w.Put(blockLength, 17);
                ++i;
            } else if (rng() % 4 == 0 && i > 64 && i + 20 < blockLength) {
                main.Emit(w, 256); // repeat distance 1 (raw 0), 10 bytes
                length.Emit(w, 8);
                i += 10;
            } else {
                main.Emit(w, static_cast<unsigned>(rng() % 3));
                ++i;
            }
        }
    }
    return {"2.0 DELTA (synthetic)", w.Finish(), blocks * blockLength};
}

// An EXE run: code-like bytes with frequent CALL opcodes, literals and repeats.
Synthetic MakeExe() {
    const TableWriter main(std::vector<std::uint8_t>(284, 9), 11);
    const TableWriter length(std::vector<std::uint8_t>(256, 8), 11);
    BitWriter w;
    std::mt19937 rng(4);
    const std::size_t size = 4 << 20;
    unsigned left = 0;
    for (std::size_t i = 0; i < size;) {
        if (left == 0) {
            main.Transmit(w);
            length.Transmit(w);
            left = 30000;
            w.Put(left, 15);
        }
        --left;
        if (i == 0) {
            SwitchTo(w, main, 2);
            w.Put(1, 8);
            --left; // the switch code counts as a symbol too
        }
        if (rng() % 4 == 0 && i > 64 && i + 20 < size) {
            main.Emit(w, 256);
            length.Emit(w, 8);
            i += 10;
        } else {
            main.Emit(w, rng() % 8 == 0 ? 0xE8u : static_cast<unsigned>(rng() % 64));
            ++i;
        }
    }
    return {"2.0 EXE (synthetic)", w.Finish(), size};
}

// SOUND: random small residuals over flat models.
Synthetic MakeSound(unsigned mode, const char* name) {
    const TableWriter main(std::vector<std::uint8_t>(284, 9), 11);
    const TableWriter length(std::vector<std::uint8_t>(256, 8), 11);
    const TableWriter model(std::vector<std::uint8_t>(289, 9), 10);
    const unsigned channels = mode == 3 ? 1 : mode == 4 ? 2 : 3;
    BitWriter w;
    main.Transmit(w);
    length.Transmit(w);
    w.Put(1, 15);
    SwitchTo(w, main, mode);
    std::mt19937 rng(2);
    const std::size_t size = 4 << 20;
    unsigned left = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (left == 0) {
            for (unsigned t = 0; t < 3 * channels; ++t)
                model.Transmit(w);
            left = 32000;
            w.Put(left, 15);
        }
        --left;
        model.Emit(w, static_cast<unsigned>(32 + rng() % 16)); // state 0, never a run
    }
    return {name, w.Finish(), size};
}

// PIC: 3 planes, 3072-byte rows of a flat image. Every residual is zero, so each pixel stays in
// the first context of its plane set and the Golomb parameter follows from that context's counts
// alone; the per-pixel work (gradients, context, prediction, error update) is the full one.
Synthetic MakePic() {
    const TableWriter main(std::vector<std::uint8_t>(284, 9), 11);
    const TableWriter length(std::vector<std::uint8_t>(256, 8), 11);
    BitWriter w;
    main.Transmit(w);
    length.Transmit(w);
    w.Put(1, 15);
    SwitchTo(w, main, 7);
    const unsigned width = 3072;
    const unsigned planes = 3;
    w.PutGolombRice(width, 12);
    w.PutGolombRice(planes, 2);
    int used[2] = {0, 0};
    int avg[2] = {4, 4};
    const std::size_t rows = 1400;
    for (std::size_t r = 0; r < rows; ++r) {
        w.Put(1, 1);
        for (unsigned p = 0; p < planes; ++p) {
            if (p > 0)
                w.Put(0, 2); // no transform against the previous plane
            const int set = p == 0 ? 0 : 1;
            for (unsigned x = p; x < width; x += planes) {
                ++used[set];
                unsigned k = 0;
                for (int q = avg[set] / used[set]; q != 0; q >>= 1)
                    ++k;
                w.PutGolombRice(0, k);
                if (used[set] == 128) {
                    used[set] = 64;
                    avg[set] >>= 1;
                }
            }
        }
    }
    return {"2.0 PIC (synthetic)", w.Finish(), rows * width};
}

void BenchSynthetic(const Synthetic& s, double budget) {
    auto decoder = std::make_unique<unacev2::Decoder>();
    double bytes = 0;
    const auto start = Clock::now();
    double seconds = 0;
    bool ok = true;
    while (seconds < budget) {
        unacev2::MemorySource src(s.stream.data(), s.stream.size());
        auto in = std::make_unique<unacev2::BitReader>(src);
        Discard discard;
        unacev2::CrcSink crc(&discard);
        decoder->ResetStream();
        const auto st = decoder->DecodeFile(unacev2::kMethodBlocked, s.size, *in, crc);
        ok = ok && st == unacev2::DecodeStatus::Ok;
        bytes += static_cast<double>(s.size);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    std::printf("  %-24s %8.1f MB/s%s\n", s.name.c_str(), bytes / seconds / 1e6,
                ok ? "" : "  (DECODE FAILED)");
}

} // namespace

int main(int argc, char** argv) {
    const fs::path dir = argc > 1 && argv[1][0] != '\0'
                             ? fs::path(argv[1])
                             : fs::path(TW_SOURCE_DIR) / ".." / "shared" / "fixtures" / "ace";
    const double budget = argc > 2 ? std::atof(argv[2]) : 2.0;
    const bool haveUnace = fs::exists("/usr/bin/unace");

    std::printf("archive                 output KB   ours MB/s  unace 1.2b MB/s\n");
    for (const char* name :
         {"onefile.ace", "zdir.ace", "multivolume.ace", "ALCHT.ACE", "dir2.ace", "passwd2.ace"}) {
        const fs::path archive = dir / name;
        if (!fs::exists(archive)) {
            std::printf("%-22s  missing\n", name);
            continue;
        }
        bool ok = true;
        double bytes = 0;
        const auto start = Clock::now();
        double seconds = 0;
        double perRun = 0;
        while (seconds < budget) {
            perRun = DecodeArchive(archive, ok);
            bytes += perRun;
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
        }
        const double unace = haveUnace ? RunUnace(archive, budget, perRun) : 0;
        char theirs[32] = "cannot read";
        if (unace > 0)
            std::snprintf(theirs, sizeof theirs, "%.1f", unace);
        std::printf("%-22s %10.0f %11.1f  %15s%s\n", name, perRun / 1024, bytes / seconds / 1e6,
                    theirs, ok ? "" : "  (CRC FAILED)");
    }
    std::printf("\nper mode (sample archives, decode time only):\n");
    for (const auto& [mode, t] : g_modes)
        std::printf("  %-24s %8.1f MB/s  (%.1f MB decoded)\n", mode.c_str(), t.MBps(),
                    t.bytes / 1e6);
    std::printf("\nsynthetic streams:\n");
    BenchSynthetic(MakeDelta(), budget);
    BenchSynthetic(MakeExe(), budget);
    BenchSynthetic(MakeSound(3, "2.0 SOUND8 (synthetic)"), budget);
    BenchSynthetic(MakeSound(4, "2.0 SOUND16 (synthetic)"), budget);
    BenchSynthetic(MakeSound(5, "2.0 SOUND32A (synthetic)"), budget);
    BenchSynthetic(MakeSound(6, "2.0 SOUND32B (synthetic)"), budget);
    BenchSynthetic(MakePic(), budget);
    return 0;
}
