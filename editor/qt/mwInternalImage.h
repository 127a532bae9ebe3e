// The bookmark glyph strip: one process-wide image of equal glyphs side by
// side, created with its first user and freed with its last. Used on the
// user-interface thread only.
#pragma once

#include <string>

class QImage;
class QPainter;

class TmwInternalImage {
public:
    // The strip named "mweInternalImages" holds the ten bookmark digits 0..9;
    // any other name gives an empty strip, which draws nothing.
    TmwInternalImage(const std::string& name, int count);
    ~TmwInternalImage();
    TmwInternalImage(const TmwInternalImage&) = delete;
    TmwInternalImage& operator=(const TmwInternalImage&) = delete;

    int Count() const { return count_; }
    int GlyphWidth() const { return glyphWidth_; }
    int GlyphHeight() const { return glyphHeight_; }

    // Draws glyph number into a row of lineHeight pixels whose top is y:
    // centred when it fits, its middle rows when the glyph is taller.
    // Numbers outside 0..Count-1 draw nothing.
    void DrawMark(QPainter& canvas, int number, int x, int y, int lineHeight) const;

    // Users alive now; the strip exists while this is above 0.
    static int RefCount();

private:
    const QImage* image_ = nullptr;
    int count_;
    int glyphWidth_ = 0;
    int glyphHeight_ = 0;
};
