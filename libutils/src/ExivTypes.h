#pragma once
// Exiv2 0.27 hands out objects in std::auto_ptr, which C++20 compilers warn
// about wherever the type is named. It is named only here; callers hold the
// results in `auto`.
#include <exiv2/basicio.hpp>
#include <exiv2/image.hpp>

namespace KelmLibraryUtils {

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
// Opens an image over `io`, taking ownership of it.
inline Exiv2::Image::AutoPtr OpenExivImage(Exiv2::BasicIo* io) {
    return Exiv2::ImageFactory::open(Exiv2::BasicIo::AutoPtr(io));
}
#pragma GCC diagnostic pop

} // namespace KelmLibraryUtils
