// A second corpus of 30 GIF files, made by ImageMagick's convert from its
// built-in pictures and from seeded plasma: the kinds of files other programs
// write for web pages. Frames rotated, zoomed, scrolled, morphed, faded and
// blinked; each frame on a table of its own or all on one; optimised by
// ImageMagick to frame differences over transparency, with frames that restore
// the background or the picture before them; dithered, ordered-dithered and
// flat; interlaced; grey; web-safe; stills. The optimiser's benchmark measures
// it beside gifsicle; the optimiser's tests check that every file still shows
// the same. The same convert makes the same bytes each time.
#pragma once

#include "bench/GIFCorpus.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace gifcorpus {

inline bool HaveConvert()
{
    return std::system("command -v convert >/dev/null 2>&1") == 0;
}

// Every file convert makes in folder, read back; a recipe convert refuses is left out.
inline std::vector<File> MagickFiles(const std::string& folder)
{
    struct Recipe {
        const char* name;
        const char* arguments; // convert's, before the output file
    };
    static const Recipe recipes[] = {
        {"spin-logo.gif", "logo: -resize 320x240! -duplicate 11 -virtual-pixel white -distort SRT '%[fx:t*30]' "
                          "-set delay 8 -loop 0"},
        {"spin-logo-optimized.gif", "logo: -resize 320x240! -duplicate 11 -virtual-pixel white "
                                    "-distort SRT '%[fx:t*30]' -set delay 8 -loop 0 -layers Optimize"},
        {"zoom-wizard.gif", "wizard: -resize 200x240! -duplicate 15 -virtual-pixel white "
                            "-distort SRT '%[fx:1+t*0.04],0' -set delay 6 -loop 0"},
        {"zoom-wizard-global.gif", "wizard: -resize 200x240! -duplicate 15 -virtual-pixel white "
                                   "-distort SRT '%[fx:1+t*0.04],0' "
                                   "\\( -clone 0--1 -append -colors 256 -unique-colors -write mpr:map +delete \\) "
                                   "-remap mpr:map -set delay 6 -loop 0"},
        {"banner-scroll.gif", "logo: -resize 468x60^ -gravity center -extent 468x60 -duplicate 23 "
                              "-virtual-pixel tile -distort SRT '0,0 1 0 %[fx:t*12],0' -set delay 6 -loop 0"},
        {"banner-scroll-transparent.gif", "logo: -resize 468x60^ -gravity center -extent 468x60 -duplicate 23 "
                                          "-virtual-pixel tile -distort SRT '0,0 1 0 %[fx:t*12],0' -set delay 6 "
                                          "-loop 0 -layers OptimizeTransparency"},
        {"morph-plasma.gif", "-seed 5 -size 240x180 plasma: -seed 6 plasma: -seed 7 plasma: -morph 5 "
                             "-set delay 10 -loop 0"},
        {"morph-plasma-64.gif", "-seed 8 -size 240x180 plasma: -seed 9 plasma: -morph 5 +dither -colors 64 "
                                "-set delay 10 -loop 0"},
        {"slides.gif", "rose: wizard: logo: granite: -resize 200x150! -set delay 200 -loop 0"},
        {"slides-interlaced.gif", "rose: wizard: logo: granite: -resize 200x150! -set delay 200 -loop 0 "
                                  "-interlace GIF"},
        {"slides-web.gif", "rose: wizard: logo: granite: -resize 200x150! -set delay 200 -loop 0 -remap netscape:"},
        {"ball-background.gif", "-size 200x150 xc:none -fill red -stroke black -draw 'circle 15,75 15,62' "
                                "-duplicate 19 -virtual-pixel transparent "
                                "-distort SRT '0,0 1 0 %[fx:t*9],%[fx:40*sin(t/3)]' -set dispose Background "
                                "-set delay 5 -loop 0"},
        {"sprite-previous.gif", "granite: -resize 200x150! \\( -size 200x150 xc:none -fill yellow -stroke black "
                                "-draw 'rectangle 10,60 40,90' -duplicate 15 -virtual-pixel transparent "
                                "-distort SRT '0,0 1 0 %[fx:t*10],0' -set dispose Previous \\) "
                                "-set delay 7 -loop 0"},
        {"gradient-cycle.gif", "-size 300x60 gradient:navy-gold -duplicate 15 -virtual-pixel mirror "
                               "-distort SRT '0,0 1 0 0,%[fx:t*8]' -set delay 8 -loop 0"},
        {"gradient-ordered.gif", "-size 300x60 gradient:navy-gold -duplicate 15 -virtual-pixel mirror "
                                 "-distort SRT '0,0 1 0 0,%[fx:t*8]' -ordered-dither o8x8,6 -set delay 8 -loop 0"},
        {"granite-pan-grey.gif", "granite: -resize 256x128! -duplicate 15 -virtual-pixel tile "
                                 "-distort SRT '0,0 1 0 %[fx:t*16],%[fx:t*8]' -colorspace Gray "
                                 "-set delay 4 -loop 0"},
        {"spinner-32.gif", "-size 32x32 radial-gradient:white-blue -fill black -draw 'rectangle 14,0 18,12' "
                           "-duplicate 11 -virtual-pixel white -distort SRT '%[fx:t*30]' -colors 8 "
                           "-set delay 8 -loop 0"},
        {"blink-64.gif", "-size 64x64 pattern:checkerboard -fill red -draw 'circle 32,32 32,20' "
                         "\\( +clone -negate \\) -set delay 50 -loop 0"},
        {"logo-still.gif", "logo: -resize 480x360!"},
        {"wizard-still.gif", "wizard:"},
        {"photo-still.gif", "-seed 11 -size 400x300 plasma:fractal -blur 0x1"},
        {"photo-16.gif", "-seed 12 -size 400x300 plasma:fractal -colors 16"},
        {"plasma-scroll.gif", "-seed 13 -size 480x120 plasma: -duplicate 19 -virtual-pixel tile "
                              "-distort SRT '0,0 1 0 %[fx:t*24],0' -set delay 5 -loop 0"},
        {"rose-wobble.gif", "rose: -resize 140x92! -duplicate 9 -virtual-pixel edge "
                            "-distort SRT '%[fx:1+0.02*t],%[fx:t*3]' -set delay 10 -loop 3"},
        {"logo-swirl-plus.gif", "logo: -resize 160x120! -duplicate 29 -virtual-pixel white "
                                "-distort SRT '%[fx:0.5+t/30],%[fx:t*12]' -set delay 3 -loop 0 -layers OptimizePlus"},
        {"bar-fall.gif", "-size 120x120 xc:white -fill blue -draw 'rectangle 0,0 119,9' -duplicate 11 "
                         "-virtual-pixel white -distort SRT '0,0 1 0 0,%[fx:t*10]' -set delay 6 -loop 0 "
                         "-layers Optimize"},
        {"netscape-roll.gif", "netscape: -resize 216x144! -duplicate 7 -virtual-pixel tile "
                              "-distort SRT '0,0 1 0 %[fx:t*27],0' -set delay 25 -loop 0"},
        {"fade-grey.gif", "-size 160x120 gradient:black-white -duplicate 9 -fx 'u*(0.5+t/18)' -set delay 10 -loop 0"},
        {"dimming.gif", "logo: -resize 320x240! \\( +clone -fill black -colorize 50% \\) "
                        "\\( +clone -fill black -colorize 50% \\) \\( -clone 1 \\) -set delay 40 -loop 0 "
                        "-layers Optimize"},
        {"icon-rose.gif", "rose: -resize 35x23! -duplicate 7 -virtual-pixel white -distort SRT '%[fx:t*45]' "
                          "-set delay 10 -loop 0"},
    };
    std::vector<File> files;
    for (const Recipe& r : recipes) {
        const std::filesystem::path path = std::filesystem::path(folder) / r.name;
        const std::string command = std::string("convert ") + r.arguments + " '" + path.string() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0 || !std::filesystem::exists(path))
            continue;
        std::ifstream in(path, std::ios::binary);
        files.push_back({r.name, std::string(std::istreambuf_iterator<char>(in), {})});
    }
    return files;
}

} // namespace gifcorpus
