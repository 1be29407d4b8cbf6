#include "TempDir.h"

#include <KelmPlatform/NativeName.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <sys/stat.h>

namespace kelmtest {

TempDir::TempDir(const std::string& tag) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + tag + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Make every entry writable again so removal works whatever a test left.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_symlink())
            chmod(it->path().c_str(), 0700);
    }
    std::filesystem::remove_all(m_path, ec);
}

std::wstring TempDir::Path() const {
    return KelmPlatform::FromNative(m_path);
}

std::wstring TempDir::Child(const std::wstring& name) const {
    return Path() + L"/" + name;
}

std::wstring TempDir::MakeFile(const std::string& name, const std::string& contents) const {
    std::ofstream(NativeChild(name), std::ios::binary) << contents;
    return KelmPlatform::FromNative(NativeChild(name));
}

std::wstring TempDir::MakeFolder(const std::string& name) const {
    mkdir(NativeChild(name).c_str(), 0755);
    return KelmPlatform::FromNative(NativeChild(name));
}

} // namespace kelmtest
