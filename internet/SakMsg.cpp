// The message's attachment list.
#include "internet/SakMsg.h"

TAttachedFile& TAttachedFiles::Add(const std::string& path, const std::string& fileName, const std::string& contentType)
{
    TAttachedFile& item = items_.emplace_back();
    item.Path = path;
    item.FileName = fileName;
    if (!contentType.empty())
        item.ContentType = contentType;
    return item;
}
