// TWAIN 1.x data types and codes as the monitor reads them, plus the maker's ZV extension structures.
//
// Layout: natural alignment of a 64-bit build, host byte order. TW_INT32/TW_UINT32 are 32-bit,
// TW_HANDLE, TW_MEMREF and TW_IDENTITY.Id are 8 bytes, TW_INFO is the 1.x form with a 32-bit Item.
// These structures are shared in memory with the application and the real data source, so every
// size and offset is checked at compile time at the end of this file.
#ifndef TWAINMON_TWAINTYPES_H
#define TWAINMON_TWAINTYPES_H

#include <cstddef>
#include <cstdint>

#include "twaintbl.h"

// ---------------------------------------------------------------------------------------------
// Basic types
// ---------------------------------------------------------------------------------------------
typedef int8_t TW_INT8;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint8_t TW_UINT8;
typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef uint16_t TW_BOOL;
typedef char* TW_MEMREF;
typedef char** TW_HANDLE;  // a platform memory handle (see Platform/include/CoreServices)

typedef char TW_STR32[34];
typedef char TW_STR64[66];
typedef char TW_STR128[130];
typedef char TW_STR255[256];

// ---------------------------------------------------------------------------------------------
// Structures of the TWAIN standard
// ---------------------------------------------------------------------------------------------
struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_FRAME {
    TW_FIX32 Left;
    TW_FIX32 Top;
    TW_FIX32 Right;
    TW_FIX32 Bottom;
};

struct TW_DECODEFUNCTION {
    TW_FIX32 StartIn;
    TW_FIX32 BreakIn;
    TW_FIX32 EndIn;
    TW_FIX32 StartOut;
    TW_FIX32 BreakOut;
    TW_FIX32 EndOut;
    TW_FIX32 Gamma;
    TW_FIX32 SampleCount;
};

struct TW_ELEMENT8 {
    TW_UINT8 Index;
    TW_UINT8 Channel1;
    TW_UINT8 Channel2;
    TW_UINT8 Channel3;
};

struct TW_MEMORY {
    TW_UINT32 Flags;
    TW_UINT32 Length;
    TW_MEMREF TheMem;
};

struct TW_INFO {
    TW_UINT16 InfoID;
    TW_UINT16 ItemType;
    TW_UINT16 NumItems;
    TW_UINT16 CondCode;
    TW_UINT32 Item;
};

struct TW_CIEPOINT {
    TW_FIX32 X;
    TW_FIX32 Y;
    TW_FIX32 Z;
};

struct TW_TRANSFORMSTAGE {
    TW_DECODEFUNCTION Decode[3];
    TW_FIX32 Mix[3][3];
};

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_ARRAY {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT8 ItemList[1];
};

struct TW_ENUMERATION {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT32 CurrentIndex;
    TW_UINT32 DefaultIndex;
    TW_UINT8 ItemList[1];
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

struct TW_RANGE {
    TW_UINT16 ItemType;
    TW_UINT32 MinValue;
    TW_UINT32 MaxValue;
    TW_UINT32 StepSize;
    TW_UINT32 DefaultValue;
    TW_UINT32 CurrentValue;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_CIECOLOR {
    TW_UINT16 ColorSpace;
    TW_INT16 LowEndian;
    TW_INT16 DeviceDependent;
    TW_INT32 VersionNumber;
    TW_TRANSFORMSTAGE StageABC;
    TW_TRANSFORMSTAGE StageLMN;
    TW_CIEPOINT WhitePoint;
    TW_CIEPOINT BlackPoint;
    TW_CIEPOINT WhitePaper;
    TW_CIEPOINT BlackInk;
    TW_FIX32 Samples[1];
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_GRAYRESPONSE {
    TW_ELEMENT8 Response[1];
};

struct TW_IDENTITY {
    TW_MEMREF Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};
typedef TW_IDENTITY* pTW_IDENTITY;

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber;
    TW_UINT32 PageNumber;
    TW_UINT32 FrameNumber;
};

struct TW_IMAGEMEMXFER {
    TW_UINT16 Compression;
    TW_UINT32 BytesPerRow;
    TW_UINT32 Columns;
    TW_UINT32 Rows;
    TW_UINT32 XOffset;
    TW_UINT32 YOffset;
    TW_UINT32 BytesWritten;
    TW_MEMORY Memory;
};

struct TW_JPEGCOMPRESSION {
    TW_UINT16 ColorSpace;
    TW_UINT32 SubSampling;
    TW_UINT16 NumComponents;
    TW_UINT16 RestartFrequency;
    TW_UINT16 QuantMap[4];
    TW_MEMORY QuantTable[4];
    TW_UINT16 HuffmanMap[4];
    TW_MEMORY HuffmanDC[2];
    TW_MEMORY HuffmanAC[2];
};

struct TW_PALETTE8 {
    TW_UINT16 NumColors;
    TW_UINT16 PaletteType;
    TW_ELEMENT8 Colors[256];
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    union {
        TW_UINT32 EOJ;
        TW_UINT32 Reserved;
    };
};

struct TW_RGBRESPONSE {
    TW_ELEMENT8 Response[1];
};

struct TW_SETUPFILEXFER {
    TW_STR255 FileName;
    TW_UINT16 Format;
    TW_INT16 VRefNum;
};

struct TW_SETUPMEMXFER {
    TW_UINT32 MinBufSize;
    TW_UINT32 MaxBufSize;
    TW_UINT32 Preferred;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_CUSTOMDSDATA {
    TW_UINT32 InfoLength;
    TW_HANDLE hData;
};

struct TW_EXTIMAGEINFO {
    TW_UINT32 NumInfos;
    TW_INFO Info[1];
};

// ---------------------------------------------------------------------------------------------
// The maker's ZV extension structures
// ---------------------------------------------------------------------------------------------
struct TWZV_HARDWAREINFO {
    TW_UINT32 ModelID;
    TW_UINT8 ProductName[34];  // length-prefixed: first byte is the number of characters
    TW_UINT8 ModelName[34];    // length-prefixed
    TW_UINT32 OptXResolution;
    TW_UINT32 OptYResolution;
    TW_UINT32 MinResolution;
    TW_UINT32 MaxResolution;
    TW_UINT32 MaxMoireResolution;
    TW_UINT32 MaxPixelofWidth;
    TW_UINT32 PixelSizeofFB[2];
    TW_UINT32 PixelSizeofADF[2];
    TW_UINT32 PixelSizeofTPU[2];
    TW_UINT32 BitDepth;
    TW_UINT16 InterfaceSupport;
    TW_UINT32 CommandType;
    TW_UINT32 ConnectInterfaceType;
    // The stand-alone mode flag lies somewhere in these 8 bytes; it is shown as set when any of
    // them is non-zero.
    TW_UINT8 StandAloneModeSupport[8];
    TW_UINT16 FullAutoModeSupport;
    TW_UINT16 SimpleModeSupport;
    TW_UINT16 DocumentModeSupport;
    TW_UINT16 AdvancedModeSupport;
    TW_UINT16 VRXSupport;
    TW_UINT16 FIT3;
    TW_UINT16 AutoLayoutSupportFB;
    TW_UINT16 AutoLayoutSupportADF;
    TW_UINT16 HalftoneSupport;
    TW_UINT16 HTModeSupport;
    TW_UINT16 HTDitherSupport;
    TW_UINT16 HTKDWSupport;
    TW_UINT16 HTJQNSupport;
    TW_UINT16 TableArrangement;
    TW_UINT16 OptionSupport;
    TW_UINT16 FocusSupport;
    TW_UINT32 FocusArea[2];
    char ProfileNameFB[34];
    char ProfileNameTPU[34];
    TW_FIX32 ColorCorrectionFB[9];
    TW_FIX32 ColorCorrectionPOSI[9];
    TW_FIX32 ColorCorrectionNEGA[9];
    TW_FIX32 VRXColorCorrectionFB[9];
    TW_FIX32 VRXColorCorrectionPOSI[9];
    TW_FIX32 VRXColorCorrectionNEGA[9];
    // Firmware version text. Its room is ours to fix: 64 bytes, and the text is never read past
    // them, with or without a NUL.
    char ROMVersion[64];
};

struct TWZV_AUTOEXPOSURE {
    TW_UINT32 Handle;
    TW_INT16 Left;
    TW_INT16 Top;
    TW_INT16 Right;
    TW_INT16 Bottom;
    TW_UINT16 FilmType;
    TW_UINT16 PreScanGamma;
    TW_FIX32 ScreenGamma;
    TW_UINT16 GrayBalance;
};

struct TWZV_RGBMATRIX {
    TW_FIX32 ColorCoeff[9];
};

struct TWZV_COLORSMOOTHING {
    TW_UINT32 Handle;
    TW_UINT32 LeftX;
    TW_UINT32 LeftY;
    TW_UINT32 TopX;
    TW_UINT32 TopY;
    TW_UINT32 RightX;
    TW_UINT32 RightY;
    TW_UINT32 BottomX;
    TW_UINT32 BottomY;
    TW_UINT32 Reserved;
};

struct TWZV_USMPARAM {
    TW_INT16 Amount;
    TW_INT16 Radius;
    TW_INT16 Threshold;
};

struct TWZV_THRESHOLDINFO {
    TW_UINT16 ShadowL;
    TW_UINT16 ShadowH;
    TW_UINT16 HighlightH;
    TW_UINT16 HighlightL;
};

struct TWZV_REVISEBASEPARM {
    TWZV_THRESHOLDINFO InputRevise;
    TWZV_THRESHOLDINFO OutputRevise;
    TW_UINT16 BlurMax;
};

struct TWZV_USMINFO {
    TW_UINT16 InputResolution;
    TW_UINT16 InUSMLevel;
    TW_UINT16 InFilmType;
    TWZV_USMPARAM USMParm;
    TWZV_REVISEBASEPARM ReviseParm;
};

struct TWZV_LOCATIONDATA {
    TW_INT16 BitsPerPixel;
    TW_UINT32 topPoint;
    TW_UINT32 leftPoint;
    TW_UINT32 locateW;
    TW_UINT32 locateH;
    TW_UINT32 ActualImgW;
    TW_UINT32 ActualImgH;
    TW_UINT32 xTangent;
    TW_UINT32 yTangent;
    TW_FIX32 Theta;
};

struct TWZV_SETTINGFRAME {
    TW_UINT16 NumFrame;
    TW_UINT16 CurrentNum;
};

// The bytes one item of an item type takes in a container's item list; 0 for a type above
// TWTY_STR255, whose size is unknown.
constexpr size_t ItemSize(TW_UINT16 ItemType) {
    constexpr size_t kSizes[] = {
        sizeof(TW_INT8),  sizeof(TW_INT16), sizeof(TW_INT32), sizeof(TW_UINT8),  sizeof(TW_UINT16),
        sizeof(TW_UINT32), sizeof(TW_BOOL), sizeof(TW_FIX32), sizeof(TW_FRAME),  sizeof(TW_STR32),
        sizeof(TW_STR64), sizeof(TW_STR128), sizeof(TW_STR255)};
    static_assert(sizeof(kSizes) / sizeof(kSizes[0]) == TWTY_STR255 + 1, "one size per item type");
    return ItemType < sizeof(kSizes) / sizeof(kSizes[0]) ? kSizes[ItemType] : 0;
}

// ---------------------------------------------------------------------------------------------
// Codes without a name table: the transcript never names them. (The named codes are declared
// with their names, in twaintbl.h.)
// ---------------------------------------------------------------------------------------------
enum : TW_UINT16 {  // TW_PALETTE8.PaletteType
    TWPA_RGB = 0,
    TWPA_GRAY = 1,
};

enum : TW_INT32 {  // the operations a capability supports, as MSG_QUERYSUPPORT reports them
    TWQC_GET = 0x0001,
    TWQC_SET = 0x0002,
    TWQC_GETDEFAULT = 0x0004,
    TWQC_GETCURRENT = 0x0008,
    TWQC_RESET = 0x0010,
};

enum : TW_UINT32 {  // TW_MEMORY.Flags: who owns the block and what it holds
    TWMF_APPOWNS = 0x0001,
    TWMF_DSMOWNS = 0x0002,
    TWMF_DSOWNS = 0x0004,
    TWMF_POINTER = 0x0008,
    TWMF_HANDLE = 0x0010,
};

enum : TW_UINT16 {  // TW_INFO.InfoID of DAT_EXTIMAGEINFO
    TWEI_DOCUMENTNUMBER = 0x123A,
    TWEI_PAGENUMBER = 0x123B,
};

// ---------------------------------------------------------------------------------------------
// Layout checks
// ---------------------------------------------------------------------------------------------
#define TWAINMON_CHECK_SIZE(T, size, align) \
    static_assert(sizeof(T) == (size), #T " size");  \
    static_assert(alignof(T) == (align), #T " alignment")
#define TWAINMON_CHECK_AT(T, field, offset) static_assert(offsetof(T, field) == (offset), #T "." #field)

TWAINMON_CHECK_SIZE(TW_FIX32, 4, 2);
TWAINMON_CHECK_AT(TW_FIX32, Frac, 2);
TWAINMON_CHECK_SIZE(TW_DECODEFUNCTION, 32, 2);
TWAINMON_CHECK_AT(TW_DECODEFUNCTION, SampleCount, 28);
TWAINMON_CHECK_SIZE(TW_ELEMENT8, 4, 1);
TWAINMON_CHECK_SIZE(TW_FRAME, 16, 2);
TWAINMON_CHECK_AT(TW_FRAME, Bottom, 12);
TWAINMON_CHECK_SIZE(TW_MEMORY, 16, 8);
TWAINMON_CHECK_AT(TW_MEMORY, Length, 4);
TWAINMON_CHECK_AT(TW_MEMORY, TheMem, 8);
TWAINMON_CHECK_SIZE(TW_INFO, 12, 4);
TWAINMON_CHECK_AT(TW_INFO, CondCode, 6);
TWAINMON_CHECK_AT(TW_INFO, Item, 8);
TWAINMON_CHECK_SIZE(TW_CIEPOINT, 12, 2);
TWAINMON_CHECK_SIZE(TW_TRANSFORMSTAGE, 132, 2);
TWAINMON_CHECK_AT(TW_TRANSFORMSTAGE, Mix, 96);
TWAINMON_CHECK_SIZE(TW_VERSION, 42, 2);
TWAINMON_CHECK_AT(TW_VERSION, Country, 6);
TWAINMON_CHECK_AT(TW_VERSION, Info, 8);
TWAINMON_CHECK_SIZE(TW_ARRAY, 12, 4);
TWAINMON_CHECK_AT(TW_ARRAY, NumItems, 4);
TWAINMON_CHECK_AT(TW_ARRAY, ItemList, 8);
TWAINMON_CHECK_SIZE(TW_ENUMERATION, 20, 4);
TWAINMON_CHECK_AT(TW_ENUMERATION, CurrentIndex, 8);
TWAINMON_CHECK_AT(TW_ENUMERATION, DefaultIndex, 12);
TWAINMON_CHECK_AT(TW_ENUMERATION, ItemList, 16);
TWAINMON_CHECK_SIZE(TW_ONEVALUE, 8, 4);
TWAINMON_CHECK_AT(TW_ONEVALUE, Item, 4);
TWAINMON_CHECK_SIZE(TW_RANGE, 24, 4);
TWAINMON_CHECK_AT(TW_RANGE, MinValue, 4);
TWAINMON_CHECK_AT(TW_RANGE, CurrentValue, 20);
TWAINMON_CHECK_SIZE(TW_CAPABILITY, 16, 8);
TWAINMON_CHECK_AT(TW_CAPABILITY, ConType, 2);
TWAINMON_CHECK_AT(TW_CAPABILITY, hContainer, 8);
TWAINMON_CHECK_SIZE(TW_CIECOLOR, 328, 4);
TWAINMON_CHECK_AT(TW_CIECOLOR, LowEndian, 2);
TWAINMON_CHECK_AT(TW_CIECOLOR, DeviceDependent, 4);
TWAINMON_CHECK_AT(TW_CIECOLOR, VersionNumber, 8);
TWAINMON_CHECK_AT(TW_CIECOLOR, StageABC, 12);
TWAINMON_CHECK_AT(TW_CIECOLOR, StageLMN, 144);
TWAINMON_CHECK_AT(TW_CIECOLOR, WhitePoint, 276);
TWAINMON_CHECK_AT(TW_CIECOLOR, BlackPoint, 288);
TWAINMON_CHECK_AT(TW_CIECOLOR, WhitePaper, 300);
TWAINMON_CHECK_AT(TW_CIECOLOR, BlackInk, 312);
TWAINMON_CHECK_AT(TW_CIECOLOR, Samples, 324);
TWAINMON_CHECK_SIZE(TW_EVENT, 16, 8);
TWAINMON_CHECK_AT(TW_EVENT, TWMessage, 8);
TWAINMON_CHECK_SIZE(TW_GRAYRESPONSE, 4, 1);
TWAINMON_CHECK_SIZE(TW_IDENTITY, 168, 8);
TWAINMON_CHECK_AT(TW_IDENTITY, Version, 8);
TWAINMON_CHECK_AT(TW_IDENTITY, ProtocolMajor, 50);
TWAINMON_CHECK_AT(TW_IDENTITY, ProtocolMinor, 52);
TWAINMON_CHECK_AT(TW_IDENTITY, SupportedGroups, 56);
TWAINMON_CHECK_AT(TW_IDENTITY, Manufacturer, 60);
TWAINMON_CHECK_AT(TW_IDENTITY, ProductFamily, 94);
TWAINMON_CHECK_AT(TW_IDENTITY, ProductName, 128);
TWAINMON_CHECK_SIZE(TW_IMAGEINFO, 44, 4);
TWAINMON_CHECK_AT(TW_IMAGEINFO, ImageWidth, 8);
TWAINMON_CHECK_AT(TW_IMAGEINFO, ImageLength, 12);
TWAINMON_CHECK_AT(TW_IMAGEINFO, SamplesPerPixel, 16);
TWAINMON_CHECK_AT(TW_IMAGEINFO, BitsPerSample, 18);
TWAINMON_CHECK_AT(TW_IMAGEINFO, BitsPerPixel, 34);
TWAINMON_CHECK_AT(TW_IMAGEINFO, Planar, 36);
TWAINMON_CHECK_AT(TW_IMAGEINFO, PixelType, 38);
TWAINMON_CHECK_AT(TW_IMAGEINFO, Compression, 40);
TWAINMON_CHECK_SIZE(TW_IMAGELAYOUT, 28, 4);
TWAINMON_CHECK_AT(TW_IMAGELAYOUT, DocumentNumber, 16);
TWAINMON_CHECK_AT(TW_IMAGELAYOUT, FrameNumber, 24);
TWAINMON_CHECK_SIZE(TW_IMAGEMEMXFER, 48, 8);
TWAINMON_CHECK_AT(TW_IMAGEMEMXFER, BytesPerRow, 4);
TWAINMON_CHECK_AT(TW_IMAGEMEMXFER, BytesWritten, 24);
TWAINMON_CHECK_AT(TW_IMAGEMEMXFER, Memory, 32);
TWAINMON_CHECK_SIZE(TW_JPEGCOMPRESSION, 160, 8);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, SubSampling, 4);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, NumComponents, 8);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, RestartFrequency, 10);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, QuantMap, 12);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, QuantTable, 24);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, HuffmanMap, 88);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, HuffmanDC, 96);
TWAINMON_CHECK_AT(TW_JPEGCOMPRESSION, HuffmanAC, 128);
TWAINMON_CHECK_SIZE(TW_PALETTE8, 1028, 2);
TWAINMON_CHECK_AT(TW_PALETTE8, Colors, 4);
TWAINMON_CHECK_SIZE(TW_PENDINGXFERS, 8, 4);
TWAINMON_CHECK_AT(TW_PENDINGXFERS, EOJ, 4);
TWAINMON_CHECK_SIZE(TW_RGBRESPONSE, 4, 1);
TWAINMON_CHECK_SIZE(TW_SETUPFILEXFER, 260, 2);
TWAINMON_CHECK_AT(TW_SETUPFILEXFER, Format, 256);
TWAINMON_CHECK_AT(TW_SETUPFILEXFER, VRefNum, 258);
TWAINMON_CHECK_SIZE(TW_SETUPMEMXFER, 12, 4);
TWAINMON_CHECK_AT(TW_SETUPMEMXFER, Preferred, 8);
TWAINMON_CHECK_SIZE(TW_STATUS, 4, 2);
TWAINMON_CHECK_SIZE(TW_USERINTERFACE, 16, 8);
TWAINMON_CHECK_AT(TW_USERINTERFACE, ModalUI, 2);
TWAINMON_CHECK_AT(TW_USERINTERFACE, hParent, 8);
TWAINMON_CHECK_SIZE(TW_CUSTOMDSDATA, 16, 8);
TWAINMON_CHECK_AT(TW_CUSTOMDSDATA, hData, 8);
TWAINMON_CHECK_SIZE(TW_EXTIMAGEINFO, 16, 4);
TWAINMON_CHECK_AT(TW_EXTIMAGEINFO, Info, 4);

TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ProductName, 4);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ModelName, 38);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, OptXResolution, 72);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, OptYResolution, 76);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, MinResolution, 80);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, MaxResolution, 84);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, MaxMoireResolution, 88);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, MaxPixelofWidth, 92);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, PixelSizeofFB, 96);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, PixelSizeofADF, 104);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, PixelSizeofTPU, 112);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, BitDepth, 120);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, InterfaceSupport, 124);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, CommandType, 128);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ConnectInterfaceType, 132);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, StandAloneModeSupport, 136);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, FullAutoModeSupport, 144);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, SimpleModeSupport, 146);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, DocumentModeSupport, 148);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, AdvancedModeSupport, 150);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, VRXSupport, 152);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, FIT3, 154);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, AutoLayoutSupportFB, 156);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, AutoLayoutSupportADF, 158);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, HalftoneSupport, 160);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, HTModeSupport, 162);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, HTDitherSupport, 164);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, HTKDWSupport, 166);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, HTJQNSupport, 168);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, TableArrangement, 170);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, OptionSupport, 172);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, FocusSupport, 174);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, FocusArea, 176);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ProfileNameFB, 184);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ProfileNameTPU, 218);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ColorCorrectionFB, 252);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ColorCorrectionPOSI, 288);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ColorCorrectionNEGA, 324);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, VRXColorCorrectionFB, 360);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, VRXColorCorrectionPOSI, 396);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, VRXColorCorrectionNEGA, 432);
TWAINMON_CHECK_AT(TWZV_HARDWAREINFO, ROMVersion, 468);
TWAINMON_CHECK_SIZE(TWZV_HARDWAREINFO, 532, 4);

TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, Left, 4);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, Top, 6);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, Right, 8);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, Bottom, 10);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, FilmType, 12);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, PreScanGamma, 14);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, ScreenGamma, 16);
TWAINMON_CHECK_AT(TWZV_AUTOEXPOSURE, GrayBalance, 20);
TWAINMON_CHECK_SIZE(TWZV_RGBMATRIX, 36, 2);
TWAINMON_CHECK_SIZE(TWZV_COLORSMOOTHING, 40, 4);
TWAINMON_CHECK_AT(TWZV_COLORSMOOTHING, Reserved, 36);
TWAINMON_CHECK_SIZE(TWZV_USMPARAM, 6, 2);
TWAINMON_CHECK_AT(TWZV_USMPARAM, Threshold, 4);
TWAINMON_CHECK_SIZE(TWZV_THRESHOLDINFO, 8, 2);
TWAINMON_CHECK_AT(TWZV_THRESHOLDINFO, HighlightL, 6);
TWAINMON_CHECK_SIZE(TWZV_REVISEBASEPARM, 18, 2);
TWAINMON_CHECK_AT(TWZV_REVISEBASEPARM, OutputRevise, 8);
TWAINMON_CHECK_AT(TWZV_REVISEBASEPARM, BlurMax, 16);
TWAINMON_CHECK_SIZE(TWZV_USMINFO, 30, 2);
TWAINMON_CHECK_AT(TWZV_USMINFO, InFilmType, 4);
TWAINMON_CHECK_AT(TWZV_USMINFO, USMParm, 6);
TWAINMON_CHECK_AT(TWZV_USMINFO, ReviseParm, 12);
TWAINMON_CHECK_AT(TWZV_LOCATIONDATA, topPoint, 4);
TWAINMON_CHECK_AT(TWZV_LOCATIONDATA, yTangent, 32);
TWAINMON_CHECK_AT(TWZV_LOCATIONDATA, Theta, 36);
TWAINMON_CHECK_SIZE(TWZV_LOCATIONDATA, 40, 4);
TWAINMON_CHECK_SIZE(TWZV_SETTINGFRAME, 4, 2);
TWAINMON_CHECK_AT(TWZV_SETTINGFRAME, CurrentNum, 2);

#undef TWAINMON_CHECK_SIZE
#undef TWAINMON_CHECK_AT

#endif  // TWAINMON_TWAINTYPES_H
