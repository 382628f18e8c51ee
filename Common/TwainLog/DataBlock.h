// The data types: for each DAT whose data block the monitor knows, the size of the structure the
// block holds, the name its block shows and the formatter that shows it. The dispatch, the event
// gate, the reader of transcripts, the fuzz target, the property test and the benchmark all read
// this one table: a data type is added by a row here and its formatter.
#ifndef TWAINMON_DATABLOCK_H
#define TWAINMON_DATABLOCK_H

#include <cstddef>
#include <iterator>

#include "ParaAnalyze.h"
#include "TwainTypes.h"

struct DataType {
    TW_UINT16 dat;
    size_t size;            // bytes of the structure the block holds; 0 when the monitor never reads it
    const char* structure;  // the name the block's first line shows: "  TW_IDENTITY = {"
    bool (CParaAnalyze::*show)(const char* pData);
};

// A DAT whose block holds the structure T, shown under its name by the formatter of T.
#define TWAINMON_BLOCK(dat, T, formatter) \
    DataType{dat, sizeof(T), #T, &CParaAnalyze::Show<T, &CParaAnalyze::formatter>}

// In DAT order. A DAT without a row shows no block.
inline constexpr DataType kDataTypes[] = {
    TWAINMON_BLOCK(DAT_CAPABILITY, TW_CAPABILITY, TwCapabilityAnalyze),
    TWAINMON_BLOCK(DAT_EVENT, TW_EVENT, TwEventAnalyze),
    TWAINMON_BLOCK(DAT_IDENTITY, TW_IDENTITY, TwIdentityAnalyze),
    // The block is not read: the application's identity is shown when the manager is opened.
    DataType{DAT_PARENT, 0, "pOrigin:TW_IDENTITY", &CParaAnalyze::ShowParent},
    TWAINMON_BLOCK(DAT_PENDINGXFERS, TW_PENDINGXFERS, TwPendingXfersAnalyze),
    TWAINMON_BLOCK(DAT_SETUPMEMXFER, TW_SETUPMEMXFER, TwSetupMemXferAnalyze),
    TWAINMON_BLOCK(DAT_SETUPFILEXFER, TW_SETUPFILEXFER, TwSetupFileXferAnalyze),
    TWAINMON_BLOCK(DAT_STATUS, TW_STATUS, TwStatusAnalyze),
    TWAINMON_BLOCK(DAT_USERINTERFACE, TW_USERINTERFACE, TwUserInterfaceAnalyze),
    TWAINMON_BLOCK(DAT_XFERGROUP, TW_UINT32, TwUint32),
    TWAINMON_BLOCK(DAT_CUSTOMDSDATA, TW_CUSTOMDSDATA, TwCustomDsDataAnalyze),
    TWAINMON_BLOCK(DAT_IMAGEINFO, TW_IMAGEINFO, TwImageInfoAnalyze),
    TWAINMON_BLOCK(DAT_IMAGELAYOUT, TW_IMAGELAYOUT, TwImageLayoutAnalyze),
    TWAINMON_BLOCK(DAT_IMAGEMEMXFER, TW_IMAGEMEMXFER, TwImageMemXferAnalyze),
    // A handle, of which the low 32 bits are shown.
    DataType{DAT_IMAGENATIVEXFER, sizeof(TW_HANDLE), "TW_UINT32", &CParaAnalyze::Show<TW_UINT32, &CParaAnalyze::TwUint32>},
    TWAINMON_BLOCK(DAT_CIECOLOR, TW_CIECOLOR, TwCieColorAnalyze),
    TWAINMON_BLOCK(DAT_GRAYRESPONSE, TW_GRAYRESPONSE, TwGrayResponseAnalyze),
    TWAINMON_BLOCK(DAT_RGBRESPONSE, TW_RGBRESPONSE, TwRgbResponseAnalyze),
    TWAINMON_BLOCK(DAT_JPEGCOMPRESSION, TW_JPEGCOMPRESSION, TwJpegCompressionAnalyze),
    TWAINMON_BLOCK(DAT_PALETTE8, TW_PALETTE8, TwPalette8Analyze),
    TWAINMON_BLOCK(DAT_EXTIMAGEINFO, TW_EXTIMAGEINFO, TwExtImageInfoAnalyze),
    TWAINMON_BLOCK(DAT_ZV_AUTOEXPOSURE, TWZV_AUTOEXPOSURE, TwZvAutoExposureAnalyze),
    TWAINMON_BLOCK(DAT_ZV_RGBMATRIX, TWZV_RGBMATRIX, TwZvRgbMatrixAnalyze),
    TWAINMON_BLOCK(DAT_ZV_COLORSMOOTHING, TWZV_COLORSMOOTHING, TwZvColorSmoothingAnalyze),
    TWAINMON_BLOCK(DAT_ZV_HARDWAREINFO, TWZV_HARDWAREINFO, TwHardwareInfoAnalyze),
    TWAINMON_BLOCK(DAT_ZV_SKEWINFO, TWZV_LOCATIONDATA, TwZvSkewInfoAnalyze),
    TWAINMON_BLOCK(DAT_ZV_UNSHARPMASKPARAM, TWZV_USMPARAM, TwUnsharpMaskAnalyze),
    TWAINMON_BLOCK(DAT_ZV_SETTINGFRAME, TWZV_SETTINGFRAME, TwZvSettingFrameAnalyze),
    TWAINMON_BLOCK(DAT_ZV_USMINFO, TWZV_USMINFO, TwZvUsmInfoAnalyze),
};

#undef TWAINMON_BLOCK

namespace datablock {
constexpr bool Ascending() {
    for (size_t i = 1; i < std::size(kDataTypes); ++i) {
        if (kDataTypes[i - 1].dat >= kDataTypes[i].dat) return false;
    }
    return true;
}
static_assert(Ascending(), "kDataTypes is in DAT order");
}  // namespace datablock

// The row of a DAT (by binary search), or nullptr when the monitor shows no block for it.
constexpr const DataType* FindDataType(TW_UINT16 DAT) {
    size_t lo = 0;
    size_t hi = std::size(kDataTypes);
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (kDataTypes[mid].dat < DAT) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo < std::size(kDataTypes) && kDataTypes[lo].dat == DAT ? &kDataTypes[lo] : nullptr;
}

// The size in bytes of the structure a DAT's data block holds, or 0 when the monitor does not
// know it (no data block, or one it never reads).
constexpr size_t DataBlockSize(TW_UINT16 DAT) {
    const DataType* type = FindDataType(DAT);
    return type != nullptr ? type->size : 0;
}

#endif  // TWAINMON_DATABLOCK_H
