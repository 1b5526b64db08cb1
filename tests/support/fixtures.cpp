#include "support/fixtures.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace tw::test {

std::filesystem::path SourceDir() {
    return TW_SOURCE_DIR;
}
std::filesystem::path BinDir() {
    return TW_BIN_DIR;
}

std::filesystem::path SharedFixtures(const std::string& sub) {
    const auto dir = SourceDir().parent_path() / "shared" / "fixtures" / sub;
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path{};
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace tw::test
