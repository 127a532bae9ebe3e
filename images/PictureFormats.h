// The picture loader's table of file formats: which graphic class reads a file
// of a given extension. A later registration for an extension wins over an earlier one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TGraphic;

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

struct TPictureFormat {
    std::string Extension; // lower case, without the dot
    std::string Description;
    std::string ClassName;
    TGraphicFactory Create;
};

class TPictureFormats {
public:
    void Register(TPictureFormat format);
    // Drops every registration of the class.
    void Unregister(const std::string& className);
    // The latest registration for the extension (any case, dot or not); none when unknown.
    const TPictureFormat* Find(const std::string& extension) const;
    const std::vector<TPictureFormat>& Formats() const { return formats_; }

private:
    std::vector<TPictureFormat> formats_;
};

// The program's table, made on first use with the image tools' classes registered.
TPictureFormats& PictureFormats();

// A graphic of the class registered for the file's extension, read from the file.
// Raises EInvalidGraphic "Unknown picture file extension (.<ext>)" for an unknown one.
std::unique_ptr<TGraphic> LoadPicture(const std::string& path);
