#include "reg_arguments.h"

#include <algorithm>
#include <cctype>

namespace {

using platform::registry::ParseRoot;
using platform::registry::RootName;

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool IsSwitch(const std::string& arg, const char* name) {
    return (arg[0] == '/' || arg[0] == '-') && Upper(arg.substr(1)) == name;
}

std::optional<std::uint32_t> ParseType(const std::string& text) {
    const std::string type = Upper(text);
    if (type == "REG_SZ")
        return platform::registry::REG_SZ;
    if (type == "REG_DWORD")
        return platform::registry::REG_DWORD;
    return std::nullopt;
}

} // namespace

RegParseResult ParseRegArguments(const std::vector<std::string>& args) {
    RegArguments parsed;
    if (args.empty())
        return {std::nullopt, "no operation given"};
    const std::string operation = Upper(args[0]);
    if (operation == "/?" || operation == "-?" || operation == "--HELP" || operation == "-H")
        return {parsed, ""};
    if (operation == "QUERY")
        parsed.operation = RegArguments::Operation::Query;
    else if (operation == "ADD")
        parsed.operation = RegArguments::Operation::Add;
    else if (operation == "DELETE")
        parsed.operation = RegArguments::Operation::Delete;
    else
        return {std::nullopt, "unknown operation '" + args[0] + "'"};

    if (args.size() < 2)
        return {std::nullopt, "no key given"};
    const std::string& key = args[1];
    const auto slash = key.find('\\');
    const auto root = ParseRoot(key.substr(0, slash));
    if (!root)
        return {std::nullopt, "the key must start with HKLM, HKCR, HKEY_LOCAL_MACHINE or "
                              "HKEY_CLASSES_ROOT: '" +
                                  key + "'"};
    parsed.root = *root;
    parsed.keyPath = slash == std::string::npos ? std::string() : key.substr(slash + 1);
    while (!parsed.keyPath.empty() && parsed.keyPath.back() == '\\')
        parsed.keyPath.pop_back();
    parsed.displayKey =
        std::string(RootName(*root)) + (parsed.keyPath.empty() ? "" : "\\" + parsed.keyPath);

    bool typeGiven = false;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasNext = i + 1 < args.size();
        if (arg.empty())
            return {std::nullopt, "empty argument"};
        if (IsSwitch(arg, "V") && hasNext) {
            parsed.valueName = args[++i];
        } else if (IsSwitch(arg, "T") && hasNext &&
                   parsed.operation == RegArguments::Operation::Add) {
            const auto type = ParseType(args[++i]);
            if (!type)
                return {std::nullopt, "unsupported type '" + args[i] + "' (REG_SZ or REG_DWORD)"};
            parsed.type = *type;
            typeGiven = true;
        } else if (IsSwitch(arg, "D") && hasNext &&
                   parsed.operation == RegArguments::Operation::Add) {
            parsed.data = args[++i];
        } else if (IsSwitch(arg, "F") && parsed.operation != RegArguments::Operation::Query) {
            parsed.force = true;
        } else {
            return {std::nullopt, "unexpected argument '" + arg + "'"};
        }
    }
    if ((typeGiven || parsed.data) && !parsed.valueName)
        return {std::nullopt, "/t and /d need /v NAME"};
    if (parsed.operation == RegArguments::Operation::Delete && parsed.keyPath.empty())
        return {std::nullopt, "a root key cannot be deleted"};
    return {parsed, ""};
}
