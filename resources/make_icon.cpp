// Writes the launcher's icon, a framed landscape picture, as a 32x32
// 16-colour .ico file:  make_icon OUTPUT.ico
//
// Each character below is one pixel: a hex digit picks a colour of the
// standard 16-colour palette, '.' is transparent.
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;

const char* const kPixels[kSize] = {
    "................................", "................................", ".000000000000000000000000000000.",
    ".077777777777777777777777777770.", ".0777777777777777777777777777708", ".0778888888888888888888888887708",
    ".0778EEEEEEEEEEEEEEEEEEEEEE87708", ".0778EEEEEEEEEEEEEEEEEEEEEE87708", ".0778EEEEEEEEEEEEEEEBBBEEEE87708",
    ".0778EEEEEEEEEEEEEEBBBBBEEE87708", ".0778EEEEEEEEEEEEEEBBBBBEEE87708", ".0778EEEEEEFEEEEEEEBBBBBEEE87708",
    ".0778EEEEEFFFEEEEEEEBBBEEEE87708", ".0778EEEE22222EEEEEEEEEEEEE87708", ".0778EEE2222222EEEEEAEEEEEE87708",
    ".0778EE222222222EEEAAAEEEEE87708", ".0778E22222222222EAAAAAEEEE87708", ".07782222222222222AAAAAAEEE87708",
    ".077822222222222222AAAAAAEE87708", ".0778222222222222222AAAAAAE87708", ".07782222222222222222AAAAAA87708",
    ".077822222222222222222AAAAA87708", ".0778222222222222222222AAAA87708", ".077822A2222A2222A2222A222287708",
    ".07782A2222A2222A2222A2222A87708", ".0778A2222A2222A2222A2222A287708", ".0778888888888888888888888887708",
    ".0777777777777777777777777777708", ".0777777777777777777777777777708", ".0000000000000000000000000000008",
    "...88888888888888888888888888888", "................................",
};

// Blue, green, red, reserved: the order a DIB palette stores.
const std::uint8_t kPalette[16][4] = {
    {0x00, 0x00, 0x00, 0}, {0x00, 0x00, 0x80, 0}, {0x00, 0x80, 0x00, 0}, {0x00, 0x80, 0x80, 0},
    {0x80, 0x00, 0x00, 0}, {0x80, 0x00, 0x80, 0}, {0x80, 0x80, 0x00, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0x80, 0x80, 0x80, 0}, {0x00, 0x00, 0xFF, 0}, {0x00, 0xFF, 0x00, 0}, {0x00, 0xFF, 0xFF, 0},
    {0xFF, 0x00, 0x00, 0}, {0xFF, 0x00, 0xFF, 0}, {0xFF, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0xFF, 0},
};

class Bytes {
public:
    void U8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
    void U16(unsigned v) { U8(v & 0xFF), U8(v >> 8); }
    void U32(unsigned long v) { U16(v & 0xFFFF), U16(v >> 16); }
    std::vector<std::uint8_t> data;
};

int ColourOf(char pixel) {
    if (pixel >= '0' && pixel <= '9') return pixel - '0';
    if (pixel >= 'A' && pixel <= 'F') return pixel - 'A' + 10;
    return 0;  // transparent: black under a set mask bit
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    constexpr unsigned kHeaderSize = 40, kPaletteSize = 16 * 4;
    constexpr unsigned kColourBits = kSize * kSize / 2, kMaskBits = kSize * kSize / 8;
    constexpr unsigned kImageSize = kHeaderSize + kPaletteSize + kColourBits + kMaskBits;

    Bytes ico;
    ico.U16(0), ico.U16(1), ico.U16(1);  // reserved, type icon, one image
    ico.U8(kSize), ico.U8(kSize), ico.U8(16), ico.U8(0), ico.U16(1), ico.U16(4);
    ico.U32(kImageSize), ico.U32(6 + 16);

    ico.U32(kHeaderSize), ico.U32(kSize), ico.U32(kSize * 2);  // height counts colour rows and mask rows
    ico.U16(1), ico.U16(4), ico.U32(0), ico.U32(kColourBits + kMaskBits);
    ico.U32(0), ico.U32(0), ico.U32(16), ico.U32(0);
    for (const auto& colour : kPalette)
        for (std::uint8_t part : colour) ico.U8(part);

    for (int row = kSize - 1; row >= 0; --row)  // bottom-up
        for (int x = 0; x < kSize; x += 2) ico.U8(ColourOf(kPixels[row][x]) << 4 | ColourOf(kPixels[row][x + 1]));
    for (int row = kSize - 1; row >= 0; --row)
        for (int x = 0; x < kSize; x += 8) {
            unsigned mask = 0;
            for (int bit = 0; bit < 8; ++bit) mask = mask << 1 | (kPixels[row][x + bit] == '.' ? 1u : 0u);
            ico.U8(mask);
        }

    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(ico.data.data(), 1, ico.data.size(), out) != ico.data.size() ||
        std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
