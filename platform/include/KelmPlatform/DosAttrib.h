#pragma once
// Samba's stored DOS attributes, the value of the xattr "user.DOSATTRIB".
// Reading accepts the legacy "0x<hex>" text and the NDR blob versions 1 to 5;
// writing produces version 3, which Samba and Wine both read.
#include "KelmPlatform/FileTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace KelmPlatform {

inline constexpr const char* kDosAttribName = "user.DOSATTRIB";

struct DosInfo {
    bool hasAttributes = false;
    std::uint32_t attributes = 0;
    FileTime createTime = 0; // 0 when none is stored
};

std::optional<DosInfo> DecodeDosAttrib(std::string_view value);
std::string EncodeDosAttrib(std::uint32_t attributes, FileTime createTime);

} // namespace KelmPlatform
