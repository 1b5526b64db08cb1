#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::string TypeName(std::uint32_t type);
// The value's data as the query prints it: REG_DWORD as 0x hex, REG_MULTI_SZ joined by "\0",
// REG_BINARY as hex digits.
std::string FormatData(const platform::registry::Value& value);
// "    NAME    TYPE    DATA"
std::string FormatValueLine(const platform::registry::Value& value);
// The bytes to store for `text` as `type`; nothing when the text is no valid number.
std::optional<std::vector<std::uint8_t>> EncodeData(std::uint32_t type, const std::string& text);
