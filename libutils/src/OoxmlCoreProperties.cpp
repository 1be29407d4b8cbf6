#include "KelmLibraryUtils/OoxmlCoreProperties.h"

#include <zip.h>

#include <array>
#include <unistd.h>

namespace KelmLibraryUtils {
namespace {

constexpr const char* kDefaultCorePart = "docProps/core.xml";
constexpr const char* kPackageRelationships = "_rels/.rels";

class Archive {
public:
    explicit Archive(zip_t* archive) : m_archive(archive) {}
    ~Archive() {
        if (m_archive)
            zip_discard(m_archive);
    }
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    zip_t* Get() const { return m_archive; }

private:
    zip_t* m_archive;
};

// One part's bytes, failing past kMaxPartSize whatever the archive claims.
bool ReadPart(zip_t* archive, const std::string& name, std::string& bytes) {
    bytes.clear();
    const zip_int64_t index = zip_name_locate(archive, name.c_str(), ZIP_FL_NOCASE);
    if (index < 0)
        return false;
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        return false;
    std::array<char, 16384> buffer;
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer.data(), buffer.size());
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (bytes.size() + static_cast<std::size_t>(n) > OoxmlCoreProperties::kMaxPartSize) {
            ok = false;
            break;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(n));
    }
    zip_fclose(file);
    return ok;
}

int ReadArchive(zip_t* archive, OoxmlCoreProperties::Dates& dates) {
    dates = OoxmlCoreProperties::Dates{};
    if (!archive)
        return 0;
    std::string relationships, part = kDefaultCorePart, xml;
    if (ReadPart(archive, kPackageRelationships, relationships)) {
        const std::string named = OoxmlCoreProperties::FindCorePart(relationships);
        if (!named.empty())
            part = named;
    }
    return ReadPart(archive, part, xml) && OoxmlCoreProperties::ParseCoreXml(xml, dates);
}

bool EqualsIgnoringAsciiCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        const wchar_t x = (a[i] >= L'A' && a[i] <= L'Z') ? a[i] - L'A' + L'a' : a[i];
        if (x != b[i])
            return false;
    }
    return i == a.size() && !b[i];
}

} // namespace

int OoxmlCoreProperties::IsHandledExtension(const std::wstring& extension) {
    static const wchar_t* const kExtensions[] = {L".docx", L".docm", L".dotx", L".dotm", L".xlsx",
                                                 L".xlsm", L".xlsb", L".xltx", L".xltm", L".pptx",
                                                 L".pptm", L".potx", L".potm"};
    for (const wchar_t* known : kExtensions)
        if (EqualsIgnoringAsciiCase(extension, known))
            return 1;
    return 0;
}

int OoxmlCoreProperties::ReadDescriptor(int fd, Dates& dates) {
    dates = Dates{};
    // libzip closes the descriptor it is given; it gets a copy.
    const int copy = fd >= 0 ? dup(fd) : -1;
    if (copy < 0)
        return 0;
    int error = 0;
    zip_t* archive = zip_fdopen(copy, 0, &error);
    if (!archive) {
        close(copy);
        return 0;
    }
    const Archive owner(archive);
    return ReadArchive(archive, dates);
}

int OoxmlCoreProperties::ReadBuffer(const void* data, std::size_t size, Dates& dates) {
    dates = Dates{};
    if (!data || size == 0)
        return 0;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    if (!archive && source)
        zip_source_free(source);
    zip_error_fini(&error);
    const Archive owner(archive);
    return ReadArchive(archive, dates);
}

} // namespace KelmLibraryUtils
