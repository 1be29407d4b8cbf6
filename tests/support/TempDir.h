#pragma once
// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes away. Tests make their fixtures inside it.
#include <string>

namespace kelmtest {

class TempDir {
public:
    explicit TempDir(const std::string& tag = "kelm");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Native() const { return m_path; }
    std::wstring Path() const;
    // The native and wide path of `name` inside the folder.
    std::string NativeChild(const std::string& name) const { return m_path + "/" + name; }
    std::wstring Child(const std::wstring& name) const;

    // Creates a file with `contents` (native name) and returns its wide path.
    std::wstring MakeFile(const std::string& name, const std::string& contents = "x") const;
    std::wstring MakeFolder(const std::string& name) const;

private:
    std::string m_path;
};

} // namespace kelmtest
