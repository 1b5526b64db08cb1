#pragma once

namespace unacev2 {

enum class DecodeStatus {
    Ok,
    Corrupt,   // the packed data breaks a rule of the format (or the password is wrong)
    ReadError, // the packed bytes could not be read
    Cancelled, // the sink asked to stop
};

} // namespace unacev2
