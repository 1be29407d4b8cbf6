#include "KelmLibraryUtils/LogUtils.h"

#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <cstring>

namespace KelmLibraryUtils {

std::wstring LogUtils::GetLastErrorMessage(int error) {
    std::wstring text;
    if (error != 0) {
        char buffer[1024];
        // The GNU form: returns the text, which need not be in the buffer.
        text = KelmPlatform::FromNative(strerror_r(error, buffer, sizeof buffer));
        if (!text.empty() && text.back() == L'\n')
            text.pop_back();
        if (!text.empty() && text.back() == L'\r')
            text.pop_back();
    }
    KelmPlatform::SetLastError(0);
    return text;
}

} // namespace KelmLibraryUtils
