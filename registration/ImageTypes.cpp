#include "ImageTypes.h"

#include <cstring>

#include "AnsiText.h"

namespace lv {

std::string TypeNameFor(const std::string& extension) { return "Lumivue" + extension + "Image"; }

namespace {

struct FormatDescription {
    const char* extensions;  // space-separated, each with its dot
    const char* description;
};

constexpr FormatDescription kDescriptions[] = {
    {".jpeg .jpg .jpe", "JPEG Bitmap"},
    {".bmp .dib .rle", "Windows Bitmap"},
    {".ico", "Windows Icon"},
    {".cur", "Windows Cursor"},
    {".png", "Portable Network Graphics"},
    {".wmf", "Windows Metafile"},
    {".emf", "Enhanced Windows Metafile"},
    {".gif", "CompuServe Bitmap"},
    {".pcx", "PaintBrush"},
    {".jp2", "JPEG2000"},
    {".j2k .jpc .j2c", "JPEG2000 Code Stream"},
    {".tif .tiff .fax .g3n .g3f", "TIFF Bitmap"},
    {".tga .targa .vda .icb .vst .win", "Targa Bitmap"},
    {".pxm .ppm .pgm .pbm", "Portable Pixmap, GreyMap, BitMap"},
};

// From the last dot after the last '\\' or ':' to the end; empty without one.
std::string ExtensionOf(const std::string& name) {
    const std::size_t folderEnd = FindLastOf(name, "\\:");
    const std::size_t start = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    const std::string fileName = name.substr(start);
    const std::size_t dot = FindLastOf(fileName, ".");
    return dot == std::string::npos ? std::string() : fileName.substr(dot);
}

bool ListsExtension(const char* list, const std::string& extension) {
    for (const char* entry = list; *entry != '\0';) {
        const std::size_t length = std::strcspn(entry, " ");
        if (extension.size() == length && extension.compare(0, length, entry, length) == 0) return true;
        entry += length;
        if (*entry == ' ') ++entry;
    }
    return false;
}

}  // namespace

std::string GetFileTypeDescription(const std::string& name) {
    const std::string extension = AsciiLowerCase(ExtensionOf(name));
    if (extension.empty()) return "Unknown";
    for (const FormatDescription& format : kDescriptions) {
        if (ListsExtension(format.extensions, extension)) return format.description;
    }
    return "Unknown";
}

}  // namespace lv
