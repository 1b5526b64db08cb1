#include "settings/settings_store.h"

#include <cstring>

namespace registry = platform::registry;

namespace {

constexpr std::size_t kDwordSize = 4;
constexpr std::size_t kTextBufferSize = 260;

std::string Utf8(const QString& text) {
    return text.toStdString();
}

} // namespace

bool CreateKey(RegistryRoot root, const QString& path) {
    return registry::CreateKey(root, Utf8(path));
}

std::uint32_t ReadDword(RegistryRoot root, const QString& path, const QString& name,
                        std::uint32_t defaultValue) {
    const std::string key = Utf8(path);
    if (!registry::KeyExists(root, key) && !registry::CreateKey(root, key))
        return defaultValue;
    const auto value = registry::QueryValue(root, key, Utf8(name));
    if (!value || value->data.size() > kDwordSize)
        return defaultValue;
    std::uint8_t buffer[kDwordSize];
    for (std::size_t i = 0; i < kDwordSize; ++i)
        buffer[i] = static_cast<std::uint8_t>(defaultValue >> (8 * i));
    std::memcpy(buffer, value->data.data(), value->data.size());
    return std::uint32_t(buffer[0]) | std::uint32_t(buffer[1]) << 8 |
           std::uint32_t(buffer[2]) << 16 | std::uint32_t(buffer[3]) << 24;
}

QString ReadString(RegistryRoot root, const QString& path, const QString& name,
                   const QString& defaultValue) {
    const auto value = registry::QueryValue(root, Utf8(path), Utf8(name));
    if (!value || value->data.size() > kTextBufferSize)
        return defaultValue;
    const auto* bytes = reinterpret_cast<const char*>(value->data.data());
    return QString::fromUtf8(bytes, static_cast<qsizetype>(strnlen(bytes, value->data.size())));
}

bool WriteDword(RegistryRoot root, const QString& path, const QString& name, std::uint32_t value) {
    const std::vector<std::uint8_t> data = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return registry::SetValue(root, Utf8(path), Utf8(name), registry::REG_DWORD, data);
}

bool WriteString(RegistryRoot root, const QString& path, const QString& name, const QString& text) {
    const std::string bytes = Utf8(text);
    std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
    data.push_back(0);
    return registry::SetValue(root, Utf8(path), Utf8(name), registry::REG_SZ, data);
}

bool DeleteValue(RegistryRoot root, const QString& path, const QString& name) {
    return registry::DeleteValue(root, Utf8(path), Utf8(name));
}

bool DeleteTree(RegistryRoot root, const QString& path) {
    return registry::DeleteTree(root, Utf8(path));
}
