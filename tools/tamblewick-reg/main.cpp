// tamblewick-reg: query and change Tamblewick's settings store from a shell or a script.

#include "platform/registry.h"
#include "reg_arguments.h"
#include "reg_format.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace registry = platform::registry;

namespace {

constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

const char* const kUsage = R"(Usage:
  tamblewick-reg query  KEY [/v NAME]
  tamblewick-reg add    KEY [/v NAME] [/t REG_SZ|REG_DWORD] [/d DATA] [/f]
  tamblewick-reg delete KEY [/v NAME] [/f]

KEY is HKLM, HKCR, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT, then "\" and the key path,
for example HKLM\Software\Tamblewick. REG_DWORD data is decimal or 0x hex.
Without /f, add and delete ask before they replace or remove anything, and refuse
when there is no terminal to ask on.
The store is $XDG_CONFIG_HOME/tamblewick/registry.sqlite3 (~/.config/... by default).
Exit status: 0 done, 1 not found or refused, 2 bad usage.
)";

bool Confirm(const std::string& question) {
    if (!isatty(STDIN_FILENO)) {
        std::cerr << "ERROR: " << question << " Use /f to confirm without a terminal.\n";
        return false;
    }
    std::cout << question << " (Yes/No) " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

int NotFound() {
    std::cerr << "ERROR: The specified registry key or value was not found.\n";
    return kFailed;
}

int Query(const RegArguments& args) {
    if (!registry::KeyExists(args.root, args.keyPath))
        return NotFound();
    if (args.valueName) {
        const auto value = registry::QueryValue(args.root, args.keyPath, *args.valueName);
        if (!value)
            return NotFound();
        std::cout << "\n" << args.displayKey << "\n" << FormatValueLine(*value) << "\n\n";
        return 0;
    }
    std::cout << "\n" << args.displayKey << "\n";
    for (const auto& value : registry::Values(args.root, args.keyPath))
        std::cout << FormatValueLine(value) << "\n";
    std::cout << "\n";
    for (const auto& subKey : registry::SubKeys(args.root, args.keyPath))
        std::cout << args.displayKey << "\\" << subKey << "\n";
    return 0;
}

int Add(const RegArguments& args) {
    if (!args.valueName) {
        if (!registry::CreateKey(args.root, args.keyPath))
            return kFailed;
        std::cout << "The operation completed successfully.\n";
        return 0;
    }
    const auto data =
        EncodeData(args.type, args.data.value_or(args.type == registry::REG_DWORD ? "0" : ""));
    if (!data) {
        std::cerr << "ERROR: '" << *args.data << "' is not a number from 0 to 4294967295.\n";
        return kBadUsage;
    }
    if (!args.force && registry::QueryValue(args.root, args.keyPath, *args.valueName) &&
        !Confirm("Value " + *args.valueName + " exists, overwrite?"))
        return kFailed;
    if (!registry::SetValue(args.root, args.keyPath, *args.valueName, args.type, *data)) {
        std::cerr << "ERROR: The settings store " << registry::StorePath()
                  << " could not be written.\n";
        return kFailed;
    }
    std::cout << "The operation completed successfully.\n";
    return 0;
}

int Delete(const RegArguments& args) {
    if (args.valueName) {
        if (!registry::QueryValue(args.root, args.keyPath, *args.valueName))
            return NotFound();
        if (!args.force && !Confirm("Delete the registry value " + *args.valueName + "?"))
            return kFailed;
        if (!registry::DeleteValue(args.root, args.keyPath, *args.valueName))
            return NotFound();
    } else {
        if (!registry::KeyExists(args.root, args.keyPath))
            return NotFound();
        if (!args.force && !Confirm("Permanently delete the registry key " + args.displayKey + "?"))
            return kFailed;
        if (!registry::DeleteTree(args.root, args.keyPath))
            return NotFound();
    }
    std::cout << "The operation completed successfully.\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const auto parsed = ParseRegArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.arguments) {
        std::cerr << "ERROR: Invalid syntax: " << parsed.error << ".\n"
                  << "Type \"tamblewick-reg /?\" for usage.\n";
        return kBadUsage;
    }
    const RegArguments& args = *parsed.arguments;
    switch (args.operation) {
    case RegArguments::Operation::Query:
        return Query(args);
    case RegArguments::Operation::Add:
        return Add(args);
    case RegArguments::Operation::Delete:
        return Delete(args);
    case RegArguments::Operation::Help:
        break;
    }
    std::cout << kUsage;
    return 0;
}
