#include "volume_naming.h"

#include <cctype>

namespace unrar {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i])
            return false;
    return i == a.size() && b[i] == 0;
}

// Counts up the digits ending at `last`; a carry out of the first digit adds a "1" before it.
void Increment(std::string& name, std::size_t last) {
    std::size_t i = last;
    for (;;) {
        if (name[i] != '9') {
            ++name[i];
            return;
        }
        name[i] = '0';
        if (i == 0 || !IsDigit(name[i - 1])) {
            name.insert(i, 1, '1');
            return;
        }
        --i;
    }
}

std::string NextNewStyle(std::string name) {
    const std::size_t extensionDot = name.rfind('.');
    std::size_t last = extensionDot; // one past the last digit before the extension
    while (last > 0 && !IsDigit(name[last - 1]))
        --last;
    if (last == 0) {
        name.insert(extensionDot, "1");
        return name;
    }
    std::size_t first = last - 1;
    while (first > 0 && IsDigit(name[first - 1]))
        --first;
    // In name.part1of3.rar the volume number is the earlier group of the same dotted part.
    const std::size_t nameDot = name.find('.');
    for (std::size_t i = first; i > 0 && name[i - 1] != '.'; --i) {
        if (IsDigit(name[i - 1])) {
            if (nameDot < i - 1)
                last = i;
            break;
        }
    }
    Increment(name, last - 1);
    return name;
}

std::string NextOldStyle(std::string name) {
    const std::size_t dot = name.rfind('.');
    const std::string extension = name.substr(dot + 1);
    if (extension.size() < 3 || !IsDigit(extension[1]) || !IsDigit(extension[2])) {
        name.replace(dot + 2, std::string::npos, "00");
        return name;
    }
    std::size_t i = name.size() - 1;
    while (i > dot && IsDigit(name[i])) {
        if (name[i] != '9') {
            ++name[i];
            return name;
        }
        name[i] = '0';
        --i;
    }
    // The carry moves into the letter (.r99 to .s00); an all-digit extension starts over at .a00.
    if (i == dot)
        name[dot + 1] = 'a';
    else
        ++name[i];
    return name;
}

} // namespace

std::string NextVolumeName(const std::string& path, bool newNumbering) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string name = path.substr(folder.size());
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) {
        name = (dot == std::string::npos ? name : name.substr(0, dot)) + ".rar";
    } else {
        const std::string extension = name.substr(dot + 1);
        if (EqualsIgnoringCase(extension, "exe") || EqualsIgnoringCase(extension, "sfx"))
            name = name.substr(0, dot) + ".rar";
    }
    return folder + (newNumbering ? NextNewStyle(name) : NextOldStyle(name));
}

} // namespace unrar
