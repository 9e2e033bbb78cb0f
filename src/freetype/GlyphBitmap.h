#pragma once

namespace vardel::freetype {

// One rendered glyph as FreeType hands it over, in any of its packed pixel modes, to be copied into
// an atlas of one byte per pixel.
struct GlyphBitmap {
    // FreeType's pixel mode numbers.
    enum PixelMode { mono = 1, gray = 2, gray2 = 3, gray4 = 4 };

    // Writes the pixels as values 0 to 255, rows stride bytes apart, cut to the room of
    // roomWidth x roomRows pixels. Modes other than the four above write nothing.
    void copyTo(unsigned char* target, int stride, int roomWidth, int roomRows) const;

    // The first pixel row, as FreeType rendered it; not owned.
    const unsigned char* buffer;
    // Bytes from one row to the next; negative when the rows are stored bottom-up.
    int pitch;
    // Pixels in a row.
    int width;
    // Rows of pixels.
    int rows;
    // One of PixelMode.
    int pixelMode;
    // Grey levels of mode gray.
    int grays;
};

} // namespace vardel::freetype
