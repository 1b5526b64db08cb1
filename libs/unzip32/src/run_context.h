#pragma once

#include "entry_selection.h"
#include "options.h"
#include "password_source.h"
#include "print_protocol.h"
#include "result_code.h"
#include "twlib/destination_folder.h"

#include <cstdint>
#include <memory>

namespace unzip32 {

// Everything one call shares between its loop and the handling of single entries.
struct RunContext {
    RunContext(const RunOptions& runOptions, USERFUNCTIONS* userFunctions)
        : options(runOptions), functions(userFunctions),
          printer(userFunctions, runOptions.quiet, runOptions.archivePath),
          passwords(userFunctions), selection(runOptions) {}

    const RunOptions& options;
    USERFUNCTIONS* functions;
    Printer printer;
    ResultCode result;
    PasswordSource passwords;
    EntrySelection selection;
    std::unique_ptr<twlib::DestinationFolder> destination; // extract mode only
    bool dataErrors = false;
    std::uint64_t incorrectPasswords = 0;
    std::uint64_t missingPasswords = 0;
};

} // namespace unzip32
