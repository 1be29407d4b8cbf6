#include <KelmLibraryUtils/LogUtils.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

using KelmLibraryUtils::LogUtils;

TEST(TheLastErrorMessage, isTheSystemTextWithoutLineEndAndResetsTheLastError) {
    for (const int error : {ENOENT, EACCES, ENOSPC, 123456}) {
        KelmPlatform::SetLastError(error);
        const std::wstring text = LogUtils::GetLastErrorMessage(error);
        EXPECT_EQ(text, KelmPlatform::FromNative(std::strerror(error)));
        EXPECT_FALSE(text.empty());
        EXPECT_NE(text.back(), L'\n');
        EXPECT_EQ(KelmPlatform::LastError(), 0);
    }
    KelmPlatform::SetLastError(EIO);
    EXPECT_EQ(LogUtils::GetLastErrorMessage(0), L"");
    EXPECT_EQ(KelmPlatform::LastError(), 0);
}
