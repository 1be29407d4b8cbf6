#pragma once
// The process-wide search state behind SearchFuncs' getters and setters.
#include <KelmLibraryUtils/DateTimeValue.h>

#include <cstdint>

namespace KelmLibraryFuncs {

struct SearchState {
    int closed = 0;
    int dateTimeSearch = 0;
    int dateTimeTarget = 0;
    int dateTimeRange = 0;
    KelmLibraryUtils::DateTimeValue from;
    KelmLibraryUtils::DateTimeValue to;
    int sizeSearch = 0;
    int sizeTarget = 0;
    int sizeRange = 0;
    std::int64_t fromSize = 0;
    std::int64_t toSize = 1024;
};

// The one state of the process, made on first use.
SearchState& TheSearchState();
SearchState InitialSearchState();

} // namespace KelmLibraryFuncs
