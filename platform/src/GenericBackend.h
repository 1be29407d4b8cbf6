#pragma once
#include "Backend.h"

namespace KelmPlatform {

class GenericBackend : public Backend {
public:
    FileTime StoredCreated(const ItemState& item) const override;
    int WriteCreated(const ItemState& item, FileTime created) const override;
    bool IsReadOnly(const ItemState& item) const override;
    std::uint32_t Attributes(const ItemState& item) const override;
    int WriteAttributes(const ItemState& item, std::uint32_t attributes) const override;
};

} // namespace KelmPlatform
