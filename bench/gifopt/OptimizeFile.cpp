// Optimises one GIF file with every option, as the image optimiser window
// does, and writes the result: the optimiser benchmark runs it once per file,
// as gifsicle runs. It links the GIF library alone, so that starting it costs
// what starting such a program costs.
//   gifopt_file IN.gif OUT.gif
#include "images/GIFImage.h"
#include "images/GIFStream.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: gifopt_file IN.gif OUT.gif\n");
        return 2;
    }
    try {
        std::string bytes(std::filesystem::file_size(argv[1]), '\0');
        std::ifstream(argv[1], std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        TMemoryByteStream source(std::move(bytes));
        TGIFImage image;
        image.LoadFromStream(source);
        image.Optimize(ooAll, 0, 0, 8);
        TMemoryByteStream result;
        image.SaveToStream(result);
        std::ofstream(argv[2], std::ios::binary) << result.Data();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
}
