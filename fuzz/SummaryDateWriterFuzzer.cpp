// Runs the summary date writer on a copy of arbitrary bytes. The writer must
// not crash; when it reports success this system's reader must read the
// written date back, and when it fails the file must be as it was.
#include <KelmLibraryFuncs/OfficePropertyFuncs.h>
#include <KelmLibraryUtils/CompoundFile.h>
#include <KelmLibraryUtils/PropertySetReader.h>
#include <KelmPlatform/NativeName.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

using namespace KelmLibraryUtils;

const std::string& CopyPath() {
    static const std::string path = [] {
        const char* base = std::getenv("TMPDIR");
        return std::string(base && *base ? base : "/tmp") + "/summary-writer-fuzz-" +
               std::to_string(getpid()) + ".doc";
    }();
    return path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool ReadsDate(const std::string& file, std::uint32_t id, std::uint64_t fileTime) {
    const MemoryByteReader bytes(file.data(), file.size());
    CompoundFile compound(bytes);
    std::uint32_t entry = 0;
    CompoundFileStream layout;
    if (!compound.Open() || !compound.FindRootStream(L"\x05SummaryInformation", entry) ||
        !compound.GetStreamLayout(entry, layout))
        return false;
    const CompoundFileStreamReader stream(compound, std::move(layout));
    PropertySetReader reader(stream);
    PropertySetReader::Property property;
    return reader.OpenSection(PropertySetReader::kSummaryInformation) &&
           reader.ReadProperty(id, property) && property.type == PropertySetReader::kTypeFileTime &&
           property.fileTime == fileTime;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::ofstream(CopyPath(), std::ios::binary | std::ios::trunc) << input;
    const std::wstring path = KelmPlatform::FromNative(CopyPath());
    std::string expected = input;
    for (const std::uint32_t id : {12u, 11u}) {
        const std::uint64_t value = 0x01D9'0000'0000'0000ull + id;
        const int written =
            KelmLibraryFuncs::OfficePropertyFuncs::SetDumpProps(path, id, value, ClassId{});
        const std::string now = ReadBytes(CopyPath());
        if (written ? !ReadsDate(now, id, value) || now.size() != expected.size() : now != expected)
            std::abort();
        expected = now;
    }
    unlink(CopyPath().c_str());
    return 0;
}
