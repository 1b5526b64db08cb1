#include "entry_name.h"

#include "unrar.h"

#include <twlib/codepage.h>
#include <vector>

namespace unrar {
namespace {

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Utf16ToUtf8(const std::vector<std::uint16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t cp = units[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

// The compact encoding: a high byte, then groups of four 2-bit opcodes, each taking its operands
// from the bytes that follow: 0 one low byte, 1 one low byte with the high byte, 2 a full unit,
// 3 a run copied from the narrow name (optionally shifted by a correction byte).
std::vector<std::uint16_t> DecodeCompactUtf16(std::string_view narrow, std::string_view enc) {
    std::vector<std::uint16_t> out;
    const std::size_t limit = narrow.size() + enc.size() + 256;
    std::size_t pos = 0;
    auto next = [&](unsigned& byte) {
        if (pos >= enc.size())
            return false;
        byte = static_cast<unsigned char>(enc[pos++]);
        return true;
    };
    unsigned high = 0;
    if (!next(high))
        return out;
    unsigned opcodes = 0;
    int left = 0;
    while (pos < enc.size() && out.size() < limit) {
        if (left == 0) {
            if (!next(opcodes))
                break;
            left = 4;
        }
        const unsigned op = (opcodes >> 6) & 3;
        opcodes <<= 2;
        --left;
        unsigned a = 0, b = 0;
        if (op == 0) {
            if (!next(a))
                break;
            out.push_back(static_cast<std::uint16_t>(a));
        } else if (op == 1) {
            if (!next(a))
                break;
            out.push_back(static_cast<std::uint16_t>(a | (high << 8)));
        } else if (op == 2) {
            if (!next(a) || !next(b))
                break;
            out.push_back(static_cast<std::uint16_t>(a | (b << 8)));
        } else {
            unsigned length = 0;
            if (!next(length))
                break;
            unsigned correction = 0;
            const bool corrected = (length & 0x80) != 0;
            if (corrected && !next(correction))
                break;
            length = (length & 0x7F) + 2;
            for (; length > 0 && out.size() < narrow.size(); --length) {
                const unsigned c = static_cast<unsigned char>(narrow[out.size()]);
                out.push_back(
                    corrected ? static_cast<std::uint16_t>(((c + correction) & 0xFF) | (high << 8))
                              : static_cast<std::uint16_t>(c));
            }
        }
    }
    return out;
}

} // namespace

std::string DecodeRar4UnicodeName(std::string_view field) {
    const auto nul = field.find('\0');
    if (nul == std::string_view::npos)
        return std::string(field);
    auto units = DecodeCompactUtf16(field.substr(0, nul), field.substr(nul + 1));
    while (!units.empty() && units.back() == 0)
        units.pop_back();
    for (auto& u : units)
        if (u == 0)
            u = '_';
    return Utf16ToUtf8(units);
}

std::string DecodeRar4NarrowName(std::string_view field, std::uint32_t hostOs) {
    if (hostOs == RAR_HOST_MSDOS || hostOs == RAR_HOST_OS2 || hostOs == RAR_HOST_WIN32)
        return twlib::Cp437ToUtf8(field);
    return std::string(field);
}

std::string WithSlashes(std::string name) {
    for (auto& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

} // namespace unrar
