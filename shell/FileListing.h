// The file panel's model: the files of one folder that match a mask text,
// with their sizes, times and type names, sortable by any of them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

struct TFileObject {
    std::string Name;     // without folder
    std::string TypeName; // at most 80 characters; empty when unknown
    std::int64_t Time = 0; // last write, seconds since 1970
    std::int64_t Size = 0;
    int ImageIndex = -1;  // -1 until an icon is assigned
};

enum class TFileSort { None = 0, Name = 1, Size = 2, Date = 3, Type = 4 };

class TFileListing {
public:
    // The type name of a file (its full path); the listing keeps 80 characters.
    using TTypeNameOf = std::function<std::string(const std::string& path)>;
    explicit TFileListing(TTypeNameOf typeNameOf = {}) : typeNameOf_(std::move(typeNameOf)) {}

    // Lists the files of folder whose names match the mask text (loose masks,
    // strict match); names beginning with "." and folders are left out. An
    // unreadable folder lists nothing. Returns the count.
    int Load(const std::string& folder, std::string_view maskText);
    void Clear();
    // Stable; descending reverses the comparison.
    void Sort(TFileSort kind, bool ascending);
    // Asks every entry's type name anew, as the names change with the language.
    void RenameTypes();

    int Count() const { return static_cast<int>(files_.size()); }
    const TFileObject& operator[](int index) const { return files_.at(index); }
    TFileObject& operator[](int index) { return files_.at(index); }
    const std::string& Folder() const { return folder_; }
    std::int64_t TotalSize() const { return totalSize_; }
    std::string FullName(int index) const;

private:
    std::string TypeNameOf(const std::string& path) const;

    TTypeNameOf typeNameOf_;
    std::vector<TFileObject> files_;
    std::string folder_;
    std::int64_t totalSize_ = 0;
};

// The size with groups of three digits split by separator: 1234567 -> "1,234,567".
std::string FormatFileSize(std::uint64_t size, char separator);
// The path with "/" added when it does not end in one.
std::string AddBackslash(std::string_view path);

} // namespace vx::shell
