// Loading and saving graphics as whole files.
#include "images/Graphic.h"

#include "images/GIFStream.h"
#include "platform/FileIO.h"

void TGraphic::LoadFromFile(const std::string& path)
{
    TMemoryByteStream stream(vx::ReadWholeFile(path));
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& path)
{
    TMemoryByteStream stream;
    SaveToStream(stream);
    vx::WriteFileAtomic(path, stream.Data());
}
