// The description of any file name: one of the table's, the same whatever the
// letter case, and the table's own for every registered extension's name.
#include "FuzzInput.h"
#include "ImageTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lvfuzz::Input input = lvfuzz::ReadInput(data, size);
    const std::string description = lv::GetFileTypeDescription(input.text);
    static const char* const kKnown[] = {"JPEG Bitmap",
                                         "Windows Bitmap",
                                         "Windows Icon",
                                         "Windows Cursor",
                                         "Portable Network Graphics",
                                         "Windows Metafile",
                                         "Enhanced Windows Metafile",
                                         "CompuServe Bitmap",
                                         "PaintBrush",
                                         "JPEG2000",
                                         "JPEG2000 Code Stream",
                                         "TIFF Bitmap",
                                         "Targa Bitmap",
                                         "Portable Pixmap, GreyMap, BitMap",
                                         "Unknown"};
    bool known = false;
    for (const char* k : kKnown) known = known || description == k;
    lvfuzz::Require(known);
    lvfuzz::Require(lv::GetFileTypeDescription(lvfuzz::AsciiUpperCase(input.text)) == description);
    // A registered extension appended as the file's own extension decides the description.
    const char* extension = lv::ImageExtensions[input.text.size() % lv::ImageExtensions.size()];
    lvfuzz::Require(lv::GetFileTypeDescription(input.text + "\\photo" + extension) ==
                    lv::GetFileTypeDescription(extension));
    return 0;
}
