// The LZW decoder that turns a sub-image's image data into its pixels.
#pragma once

class TByteStream;
class TGIFSubImage;

// Fills the sub-image's pixels (width x height, one index per byte) from the image
// data at the stream position and leaves the stream after its zero-length block.
// Undecoded pixels keep the transparent index (or 0). Short or damaged data warns
// and decoding goes on with what was read; a circular code table raises
// "Circular decoder table entry"; a minimum code size outside 1..8 raises "Invalid GIF data".
void Decompress(TGIFSubImage& subImage, TByteStream& stream);
