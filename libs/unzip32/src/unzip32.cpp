#include "unzip32.h"

#include "extraction_loop.h"
#include "options.h"

#include <new>

extern "C" int Wiz_SingleEntryUnzip(int includeCount, char** includeNames, int excludeCount,
                                    char** excludeNames, UZOPTIONS* options,
                                    USERFUNCTIONS* userFunctions) {
    if (userFunctions == nullptr)
        return UZ_BADPARAM;
    const auto run =
        unzip32::ReadOptions(includeCount, includeNames, excludeCount, excludeNames, options);
    if (!run)
        return UZ_BADPARAM;
    // No exception may cross the C interface.
    try {
        return unzip32::RunArchive(*run, userFunctions);
    } catch (const std::bad_alloc&) {
        return UZ_MEMORY;
    } catch (...) {
        return UZ_BADSTRUCTURE;
    }
}
