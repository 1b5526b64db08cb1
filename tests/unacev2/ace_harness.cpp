#include "ace_harness.h"

#include "support/fixtures.h"

#include <algorithm>
#include <nettle/md5.h>

namespace tw::test::ace {
namespace {

Harness* g_current = nullptr;

std::int32_t Info(AceCallbackRecord* r) {
    return Harness::Dispatch("info", r);
}
std::int32_t Error(AceCallbackRecord* r) {
    return Harness::Dispatch("error", r);
}
std::int32_t Request(AceCallbackRecord* r) {
    return Harness::Dispatch("request", r);
}
std::int32_t State(AceCallbackRecord* r) {
    return Harness::Dispatch("state", r);
}

} // namespace

Harness::Harness() {
    g_current = this;
    AceInitRecord init{};
    init.headerSearchSize = 0x1FFFF;
    init.bufferSize = 0x2FFFF;
    init.tempFolder = "/tmp";
    init.infoRoutine = Info;
    init.errorRoutine = Error;
    init.requestRoutine = Request;
    init.stateRoutine = State;
    ACEInitDll(&init);
}

Harness::~Harness() {
    g_current = nullptr;
}

std::int32_t Harness::Dispatch(const char* routine, AceCallbackRecord* record) {
    return g_current != nullptr ? g_current->Answer(routine, record) : ACE_ANSWER_CANCEL;
}

std::int32_t Harness::Answer(const char* routine, AceCallbackRecord* r) {
    Call c;
    c.routine = routine;
    c.type = r->type;
    c.code = r->code;
    c.operation = r->operation;
    if (r->archive != nullptr && r->archive->archiveName != nullptr)
        c.archive = r->archive->archiveName;
    if (r->entry != nullptr && r->type == ACE_RECORD_ENTRY) {
        c.entry = r->entry->name != nullptr ? r->entry->name : "";
        c.target = r->entry->targetPath != nullptr ? r->entry->targetPath : "";
        c.attributes = r->entry->attributes;
    }
    calls.push_back(c);
    const std::string which = routine;
    if (which == "info")
        return infoAnswer;
    if (which == "error")
        return errorAnswer;
    if (which == "state")
        return stateAnswer ? stateAnswer(c) : ACE_ANSWER_OK;
    if (c.code == ACE_REQUEST_OVERWRITE)
        return overwriteAnswer;
    if (c.code == ACE_REQUEST_VOLUME)
        return volumeAnswer;
    if (c.code == ACE_REQUEST_PASSWORD && passwordToGive != nullptr)
        r->global->password = passwordToGive;
    return ACE_ANSWER_OK;
}

std::int32_t Harness::List(const std::filesystem::path& archive) {
    AceListRecord list{};
    list.files.sourceFolder = "";
    list.files.fileList = "";
    list.files.excludeList = "";
    return ACEList(archive.c_str(), &list);
}

std::int32_t Harness::Test(const std::filesystem::path& archive, const char* password) {
    AceTestRecord test{};
    test.files.sourceFolder = "";
    test.files.fileList = "";
    test.files.excludeList = "";
    test.password = password;
    return ACETest(archive.c_str(), &test);
}

std::int32_t Harness::Extract(const std::filesystem::path& archive,
                              const std::filesystem::path& dest, const char* password,
                              const char* excludeList, const char* fileList) {
    const std::string destination = dest.string() + "/";
    AceExtractRecord extract{};
    extract.files.sourceFolder = "";
    extract.files.fileList = fileList;
    extract.files.excludeList = excludeList;
    extract.destination = destination.c_str();
    extract.password = password;
    return ACEExtract(archive.c_str(), &extract);
}

std::vector<Call> Harness::Find(const std::string& routine, std::uint32_t code) const {
    std::vector<Call> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out),
                 [&](const Call& c) { return c.routine == routine && c.code == code; });
    return out;
}

std::string Md5Hex(const std::string& bytes) {
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
    std::uint8_t digest[MD5_DIGEST_SIZE];
    md5_digest(&ctx, sizeof digest, digest);
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : digest) {
        out.push_back(hex[b >> 4]);
        out.push_back(hex[b & 15]);
    }
    return out;
}

std::map<std::string, std::string> Md5Tree(const std::filesystem::path& root) {
    std::map<std::string, std::string> out;
    if (!std::filesystem::exists(root))
        return out;
    for (const auto& it : std::filesystem::recursive_directory_iterator(root)) {
        if (it.is_regular_file())
            out[std::filesystem::relative(it.path(), root).generic_string()] =
                Md5Hex(ReadFile(it.path()));
    }
    return out;
}

std::vector<std::string> FolderTree(const std::filesystem::path& root) {
    std::vector<std::string> out;
    if (!std::filesystem::exists(root))
        return out;
    for (const auto& it : std::filesystem::recursive_directory_iterator(root)) {
        if (it.is_directory())
            out.push_back(std::filesystem::relative(it.path(), root).generic_string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace tw::test::ace
