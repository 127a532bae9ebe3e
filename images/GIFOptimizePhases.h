// The phases of GIF optimisation, each rewriting the image so that it shows the
// same animation; TGIFImage::Optimize runs those its options select.
#pragma once

#include <functional>
#include <vector>

class TEncodedSizes;
class TGIFImage;

// Reported once per frame a phase has done.
using TFrameDone = std::function<void()>;

// Walks the animation; per frame, by the options: pixels that repeat what is
// below become transparent (ooMerge), the frame shrinks to the area it changes
// (ooCrop), and pixels that may show either their colour or transparency take
// whichever encodes smaller (ooMerge). Answers the frames that change nothing;
// the sizes of what it encodes go to `sizes`.
std::vector<int> RewriteFrames(TGIFImage& image, bool merge, bool crop, TEncodedSizes& sizes, const TFrameDone& done);
// Deletes those frames (indices ascending) whose going leaves the animation as
// it was, their delays added to the frames before them.
void DeleteInvisibleFrames(TGIFImage& image, const std::vector<int>& invisible);

// Every colour table keeps only the colours its frames show, most used first,
// and each frame's transparent index is kept apart from them.
void ShrinkColorMaps(TGIFImage& image, const TFrameDone& done);
// As ShrinkColorMaps, then the tables are laid out as encodes smallest: as they
// are, all frames on one global table, or each frame on a table of its own.
// Sizes of image data it would encode are taken from `sizes` when there, and added.
void ArrangeColorMaps(TGIFImage& image, TEncodedSizes& sizes, const TFrameDone& done);
