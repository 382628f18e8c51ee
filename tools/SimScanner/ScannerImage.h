// The page the simulated scanner produces: its geometry from the negotiated capabilities, its
// pixels (a deterministic test pattern) and its encodings for native and file transfers.
#ifndef TWAINMON_SIMSCANNER_SCANNERIMAGE_H
#define TWAINMON_SIMSCANNER_SCANNERIMAGE_H

#include <cstddef>
#include <string>

#include "Capabilities.h"
#include "TwainTypes.h"

namespace simscan {

struct PageGeometry {
    double xResolution = 0;
    double yResolution = 0;
    TW_FRAME frame = {};
    TW_UINT16 pixelType = 0;
    TW_INT16 samplesPerPixel = 0;
    TW_INT16 bitsPerSample = 0;
    TW_INT16 bitsPerPixel = 0;
    TW_INT32 width = 0;   // pixels
    TW_INT32 length = 0;  // rows
    TW_UINT32 bytesPerRow = 0;  // rows of a memory transfer are not padded

    // The bytes of the whole page.
    size_t ImageBytes() const { return static_cast<size_t>(bytesPerRow) * static_cast<size_t>(length); }
};

// The page the current settings give: the frame at the current resolution, in the current
// pixel type (black and white 1 bit, grey 8 bits, RGB 3 x 8 bits).
PageGeometry DescribePage(const CCapabilityTable& caps);

// Writes rows [firstRow, firstRow + rows) of the page, bytesPerRow each, to out.
void RenderRows(const PageGeometry& page, TW_UINT32 firstRow, TW_UINT32 rows, unsigned char* out);

// The page as a device-independent bitmap (header, palette, bottom-up rows padded to 4 bytes),
// with the 14-byte file header in front when withFileHeader is set (a .bmp file).
std::string EncodeBitmap(const PageGeometry& page, bool withFileHeader);

// The largest page the scanner will hold in memory for a native or file transfer.
constexpr size_t kMaxEncodedBytes = 256u * 1024u * 1024u;

}  // namespace simscan

#endif  // TWAINMON_SIMSCANNER_SCANNERIMAGE_H
