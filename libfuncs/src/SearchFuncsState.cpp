#include "KelmLibraryFuncs/SearchFuncs.h"

#include "SearchState.h"

#include "KelmLibraryFuncs/DateTimeFuncs.h"

#include <KelmLibraryUtils/DateTimeUtils.h>

#include <ctime>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::DateTimeUtils;

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// Taken when the library is loaded, as UTC: the local day it falls on is
// worked out at first use, under the time zone the process then runs in.
const timespec kLoaded = Now();

} // namespace

SearchState InitialSearchState() {
    const auto today = DateTimeUtils::FromFileTime(KelmPlatform::FileTimeFromTimespec(kLoaded));
    SearchState state;
    state.from = DateTimeUtils::GetBeginDateTime(DateTimeFuncs::GetCalDateTime(today, 0, 0, -7));
    state.to = DateTimeUtils::GetEndDateTime(today);
    return state;
}

SearchState& TheSearchState() {
    static SearchState state = InitialSearchState();
    return state;
}

void SearchFuncs::ResetSearchConditions() {
    TheSearchState() = InitialSearchState();
}

int SearchFuncs::GetSearchClosed() {
    return TheSearchState().closed;
}
void SearchFuncs::SetSearchClosed(int closed) {
    TheSearchState().closed = closed;
}
int SearchFuncs::GetDateTimeSearch() {
    return TheSearchState().dateTimeSearch;
}
void SearchFuncs::SetDateTimeSearch(int search) {
    TheSearchState().dateTimeSearch = search;
}
int SearchFuncs::GetDateTimeTarget() {
    return TheSearchState().dateTimeTarget;
}
void SearchFuncs::SetDateTimeTarget(int target) {
    TheSearchState().dateTimeTarget = target;
}
int SearchFuncs::GetDateTimeRange() {
    return TheSearchState().dateTimeRange;
}
void SearchFuncs::SetDateTimeRange(int range) {
    TheSearchState().dateTimeRange = range;
}
SearchFuncs::DateTimeValue SearchFuncs::GetDateTimeFromDateTime() {
    return TheSearchState().from;
}
void SearchFuncs::SetDateTimeFromDateTime(const DateTimeValue& value) {
    TheSearchState().from = value;
}
SearchFuncs::DateTimeValue SearchFuncs::GetDateTimeToDateTime() {
    return TheSearchState().to;
}
void SearchFuncs::SetDateTimeToDateTime(const DateTimeValue& value) {
    TheSearchState().to = value;
}
int SearchFuncs::GetSizeSearch() {
    return TheSearchState().sizeSearch;
}
void SearchFuncs::SetSizeSearch(int search) {
    TheSearchState().sizeSearch = search;
}
int SearchFuncs::GetSizeTarget() {
    return TheSearchState().sizeTarget;
}
void SearchFuncs::SetSizeTarget(int target) {
    TheSearchState().sizeTarget = target;
}
int SearchFuncs::GetSizeRange() {
    return TheSearchState().sizeRange;
}
void SearchFuncs::SetSizeRange(int range) {
    TheSearchState().sizeRange = range;
}
std::int64_t SearchFuncs::GetSizeFromSize() {
    return TheSearchState().fromSize;
}
void SearchFuncs::SetSizeFromSize(std::int64_t size) {
    TheSearchState().fromSize = size;
}
std::int64_t SearchFuncs::GetSizeToSize() {
    return TheSearchState().toSize;
}
void SearchFuncs::SetSizeToSize(std::int64_t size) {
    TheSearchState().toSize = size;
}

} // namespace KelmLibraryFuncs
