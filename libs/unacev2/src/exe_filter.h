#pragma once

#include "byte_io.h"

#include <cstdint>
#include <vector>

namespace unacev2 {

// Undoes ACE's x86 CALL/JMP conversion. Within one run of EXE-mode output, every 0xE8 or 0xE9
// followed by at least four more bytes of that run gets its operand turned from an absolute
// back into a relative address: CALL's 32-bit operand in exe mode 1, its 16-bit one in mode 0,
// JMP's 16-bit one always. The last bytes of a chunk wait for the next chunk of the same run.
class ExeFilter {
public:
    void Reset() { held_.clear(); }

    // data starts at file offset `offset` (after anything held back). With runEnds the held
    // bytes leave too, unconverted.
    bool Process(const std::uint8_t* data, std::size_t size, std::uint64_t offset, unsigned exeMode,
                 bool runEnds, ByteSink& out);
    // Ends the run without new data.
    bool Finish(ByteSink& out);

    // Converts buf in place from its start; returns the index of the first byte left for the
    // next chunk. base is the file offset of buf[0].
    static std::size_t Convert(std::uint8_t* buf, std::size_t size, std::uint64_t base,
                               unsigned exeMode);

private:
    std::vector<std::uint8_t> held_;
    std::vector<std::uint8_t> work_;
};

// Undoes ACE's DELTA transform on one block: a running sum, then the planes of `distance`
// interleaved again. False when the block does not split into whole planes.
bool DeltaDecode(const std::uint8_t* in, std::size_t size, unsigned distance, std::uint8_t& last,
                 std::uint8_t* out);

} // namespace unacev2
