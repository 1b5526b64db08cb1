#include "result_code.h"

#include "unzip32.h"

#include <array>

namespace unzip32 {
namespace {

// Most serious first; the header documents the same order.
constexpr std::array kPriority = {UZ_STOPPED,      UZ_BADPARAM, UZ_NOTZIP,      UZ_MEMORY,
                                  UZ_BADSTRUCTURE, UZ_BADDATA,  UZ_WRITEFAILED, UZ_PASSWORD,
                                  UZ_SKIPPED,      UZ_NOMATCH,  UZ_OK};

int Rank(int code) {
    for (std::size_t i = 0; i < kPriority.size(); ++i)
        if (kPriority[i] == code)
            return static_cast<int>(i);
    return static_cast<int>(kPriority.size());
}

} // namespace

void ResultCode::Note(int code) {
    if (Rank(code) < Rank(code_))
        code_ = code;
}

} // namespace unzip32
