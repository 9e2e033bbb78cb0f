#pragma once

#include "container/Array.h"
#include "freetype/Forward.h"
#include "object/Object.h"
#include "types/String.h"

namespace vardel::freetype {

// The font files of one folder with the family and style FreeType reads from each, and fonts made
// from the one that best matches a wanted descriptor. One thread at a time uses a factory.
class FontFactory : public object::Object {
    VARDEL_CLASS_PATH(object::Object, FontFactory)

    // One usable font file.
    struct FontInfo {
        // The folder followed by the file name.
        types::String file;
        // The face's style and family names, lower case; the style is "" when the face has none.
        types::String style;
        // The face's family name, lower case.
        types::String family;
    };

    // Scans the current folder.
    FontFactory();
    FontFactory(const FontFactory&) = delete;
    FontFactory& operator=(const FontFactory&) = delete;

    // Discovery
    // Replaces the folder and lists again every file in it that FreeType can open, in listing
    // order. Subfolders and other files are skipped, as is everything when the folder cannot be
    // listed.
    void scan(const char* path);
    // Probes one file and records it when FreeType can open it.
    bool addFont(const char* file);

    // Creation
    // Loads the best match: 100 for the family plus 50 for the style, ties and no match at all
    // going to the file listed last. The caller owns the result. Throws NoMatchException when no
    // file is known, the IOException of a file that can no longer be opened, FreetypeException
    // when it no longer holds a face and FormatException when the face gives no font.
    Font* createFont(const Descriptor& descriptor);

    // Ends in a backslash unless empty.
    types::String directory;
    // The usable files of the folder, in listing order.
    container::Array<FontInfo> fonts;
};

} // namespace vardel::freetype
