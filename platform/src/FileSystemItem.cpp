#include "KelmPlatform/FileSystemItem.h"

#include <cerrno>

namespace KelmPlatform {

// Placeholder until the backends land.
int ReadItemTimes(const std::wstring&, ItemTimes&) { return 0; }
int WriteItemTimes(const std::wstring&, const ItemTimes&) { return 0; }
int ReadItemAttributes(const std::wstring&, std::uint32_t&) { return 0; }
int WriteItemAttributes(const std::wstring&, std::uint32_t) { return 0; }
int BlockMarkExists(const std::wstring&) { return 0; }
int RemoveBlockMark(const std::wstring&) { return 1; }

namespace {
thread_local int t_lastError = 0;
}
int LastError() { return t_lastError; }
void SetLastError(int error) { t_lastError = error; }

} // namespace KelmPlatform
