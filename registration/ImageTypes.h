// The picture formats the launcher registers, their file type names and
// their human-readable descriptions.
#pragma once

#include <array>
#include <string>

namespace lv {

// Lower case with the dot, in the order the registration passes visit them.
inline constexpr std::array<const char*, 32> ImageExtensions = {
    ".jpeg", ".jpg", ".jpe",  ".cur", ".ico", ".bmp", ".dib", ".rle",    //
    ".png",  ".wmf", ".emf",  ".gif", ".pcx", ".jp2", ".j2k", ".jpc",    //
    ".j2c",  ".tif", ".tiff", ".fax", ".g3n", ".g3f", ".tga", ".targa",  //
    ".vda",  ".icb", ".vst",  ".win", ".pxm", ".ppm", ".pgm", ".pbm",
};

// The file type an extension gets when it has none yet: "Lumivue.jpgImage" for ".jpg".
std::string TypeNameFor(const std::string& extension);

// The description for the extension of `name`, which may be a bare extension
// or a file name; "Unknown" for formats not listed. Letter case is ignored.
std::string GetFileTypeDescription(const std::string& name);

}  // namespace lv
