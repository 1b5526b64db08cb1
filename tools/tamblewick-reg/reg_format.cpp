#include "reg_format.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace registry = platform::registry;

std::string TypeName(std::uint32_t type) {
    switch (type) {
    case registry::REG_SZ:
        return "REG_SZ";
    case registry::REG_DWORD:
        return "REG_DWORD";
    case registry::REG_BINARY:
        return "REG_BINARY";
    case registry::REG_MULTI_SZ:
        return "REG_MULTI_SZ";
    default:
        return "REG_NONE";
    }
}

std::string FormatData(const registry::Value& value) {
    const auto& data = value.data;
    std::string text;
    switch (value.type) {
    case registry::REG_DWORD: {
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < data.size() && i < 4; ++i)
            number |= std::uint32_t(data[i]) << (8 * i);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%x", number);
        return buffer;
    }
    case registry::REG_SZ:
        text.assign(data.begin(), data.end());
        return std::string(text.c_str());
    case registry::REG_MULTI_SZ: {
        std::string joined;
        std::string current;
        for (const auto byte : data) {
            if (byte != 0) {
                current += static_cast<char>(byte);
                continue;
            }
            if (current.empty())
                break;
            joined += (joined.empty() ? "" : "\\0") + current;
            current.clear();
        }
        return joined;
    }
    default:
        for (const auto byte : data) {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, "%02X", byte);
            text += buffer;
        }
        return text;
    }
}

std::string FormatValueLine(const registry::Value& value) {
    return "    " + value.name + "    " + TypeName(value.type) + "    " + FormatData(value);
}

std::optional<std::vector<std::uint8_t>> EncodeData(std::uint32_t type, const std::string& text) {
    if (type == registry::REG_DWORD) {
        const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        if (text.empty() || text[0] == '-' || text[0] == '+')
            return std::nullopt;
        char* end = nullptr;
        errno = 0;
        const unsigned long long number = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
        if (errno != 0 || *end != '\0' || number > 0xFFFFFFFFull)
            return std::nullopt;
        const auto value = static_cast<std::uint32_t>(number);
        return std::vector<std::uint8_t>{
            static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}
