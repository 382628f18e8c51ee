// The simulated page: geometry, test pattern and bitmap encoding.
#include "ScannerImage.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "FieldFormat.h"

namespace simscan {

PageGeometry DescribePage(const CCapabilityTable& caps) {
    PageGeometry page;
    page.xResolution = caps.CurrentFix32(ICAP_XRESOLUTION);
    page.yResolution = caps.CurrentFix32(ICAP_YRESOLUTION);
    page.frame = caps.CurrentFrame();
    page.pixelType = caps.CurrentUint16(ICAP_PIXELTYPE);
    switch (page.pixelType) {
        case TWPT_BW:
            page.samplesPerPixel = 1;
            page.bitsPerSample = 1;
            break;
        case TWPT_GRAY:
            page.samplesPerPixel = 1;
            page.bitsPerSample = 8;
            break;
        default:
            page.pixelType = TWPT_RGB;
            page.samplesPerPixel = 3;
            page.bitsPerSample = 8;
            break;
    }
    page.bitsPerPixel = static_cast<TW_INT16>(page.samplesPerPixel * page.bitsPerSample);

    // The frame is kept in inches.
    const double widthInches = twfmt::Fix32(page.frame.Right) - twfmt::Fix32(page.frame.Left);
    const double lengthInches = twfmt::Fix32(page.frame.Bottom) - twfmt::Fix32(page.frame.Top);
    page.width = static_cast<TW_INT32>(std::lround(widthInches * page.xResolution));
    page.length = static_cast<TW_INT32>(std::lround(lengthInches * page.yResolution));
    if (page.width < 1) page.width = 1;
    if (page.length < 1) page.length = 1;
    page.bytesPerRow = static_cast<TW_UINT32>((static_cast<size_t>(page.width) * page.bitsPerPixel + 7) / 8);
    return page;
}

namespace {

// The pattern: red rises from left to right, green from top to bottom, blue is a checkerboard
// of 32-pixel squares; grey is their mean; black and white the checkerboard of 8-pixel squares.
unsigned char Red(const PageGeometry& page, TW_INT32 x) {
    return static_cast<unsigned char>(page.width > 1 ? x * 255 / (page.width - 1) : 0);
}
unsigned char Green(const PageGeometry& page, TW_UINT32 y) {
    return static_cast<unsigned char>(page.length > 1 ? y * 255 / static_cast<TW_UINT32>(page.length - 1) : 0);
}
unsigned char Blue(TW_INT32 x, TW_UINT32 y) {
    return ((static_cast<TW_UINT32>(x) / 32 + y / 32) % 2) != 0 ? 208 : 48;
}

}  // namespace

void RenderRows(const PageGeometry& page, TW_UINT32 firstRow, TW_UINT32 rows, unsigned char* out) {
    for (TW_UINT32 y = firstRow; y < firstRow + rows; ++y) {
        unsigned char* row = out + static_cast<size_t>(y - firstRow) * page.bytesPerRow;
        memset(row, 0, page.bytesPerRow);
        for (TW_INT32 x = 0; x < page.width; ++x) {
            switch (page.pixelType) {
                case TWPT_BW:
                    if (((static_cast<TW_UINT32>(x) / 8 + y / 8) % 2) != 0) row[x / 8] |= 0x80 >> (x % 8);
                    break;
                case TWPT_GRAY:
                    row[x] = static_cast<unsigned char>((Red(page, x) + Green(page, y) + Blue(x, y)) / 3);
                    break;
                default:
                    row[3 * x + 0] = Red(page, x);
                    row[3 * x + 1] = Green(page, y);
                    row[3 * x + 2] = Blue(x, y);
                    break;
            }
        }
    }
}

namespace {

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, unsigned long v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string EncodeBitmap(const PageGeometry& page, bool withFileHeader) {
    const unsigned nPaletteEntries = page.bitsPerPixel == 1 ? 2 : page.bitsPerPixel == 8 ? 256 : 0;
    const size_t nStride = (static_cast<size_t>(page.width) * page.bitsPerPixel + 31) / 32 * 4;
    const size_t nPixelBytes = nStride * static_cast<size_t>(page.length);
    const size_t nInfoBytes = 40 + 4 * nPaletteEntries;
    const size_t nFileHeader = withFileHeader ? 14 : 0;
    // Metres per inch: 0.0254.
    const unsigned long xPelsPerMeter = static_cast<unsigned long>(std::lround(page.xResolution / 0.0254));
    const unsigned long yPelsPerMeter = static_cast<unsigned long>(std::lround(page.yResolution / 0.0254));

    std::string out;
    out.reserve(nFileHeader + nInfoBytes + nPixelBytes);
    if (withFileHeader) {
        out += "BM";
        Put32(out, nFileHeader + nInfoBytes + nPixelBytes);
        Put32(out, 0);
        Put32(out, nFileHeader + nInfoBytes);
    }
    Put32(out, 40);
    Put32(out, static_cast<unsigned long>(page.width));
    Put32(out, static_cast<unsigned long>(page.length));  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(page.bitsPerPixel));
    Put32(out, 0);  // no compression
    Put32(out, nPixelBytes);
    Put32(out, xPelsPerMeter);
    Put32(out, yPelsPerMeter);
    Put32(out, nPaletteEntries);
    Put32(out, 0);
    for (unsigned i = 0; i < nPaletteEntries; ++i) {
        const char level = static_cast<char>(nPaletteEntries == 2 ? i * 255 : i);
        out += level;
        out += level;
        out += level;
        out += '\0';
    }

    std::vector<unsigned char> row(page.bytesPerRow);
    for (TW_INT32 y = page.length - 1; y >= 0; --y) {
        RenderRows(page, static_cast<TW_UINT32>(y), 1, row.data());
        std::string line(nStride, '\0');
        if (page.bitsPerPixel == 24) {
            for (TW_INT32 x = 0; x < page.width; ++x) {  // stored blue, green, red
                line[3 * x + 0] = static_cast<char>(row[3 * x + 2]);
                line[3 * x + 1] = static_cast<char>(row[3 * x + 1]);
                line[3 * x + 2] = static_cast<char>(row[3 * x + 0]);
            }
        } else {
            memcpy(&line[0], row.data(), row.size());
        }
        out += line;
    }
    return out;
}

}  // namespace simscan
