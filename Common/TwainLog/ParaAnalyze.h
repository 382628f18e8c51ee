// The analyser: turns one TWAIN call into transcript text.
//
// One global instance, g_cParaAnalyze, serves the entry's calls one at a time (the entry holds its
// lock while it renders). Each rendering stores the call in the members below and appends lines to
// the text buffer m_pszOutput, which belongs to the call.
// The data block belongs to the application: every formatter only reads it.
#ifndef TWAINMON_PARAANALYZE_H
#define TWAINMON_PARAANALYZE_H

#include <cstddef>

#include "CompiledFormat.h"
#include "FieldFormat.h"
#include "TextBuffer.h"
#include "TwainTypes.h"

// Appends printf-style text (a line, or a piece of one) to the rendering's text buffer, from inside
// the analyser's members. The format must be a string literal: the compiler checks the arguments
// against it and splits it into its pieces (CompiledFormat.h).
#define TW_OUT(...) TWAINMON_APPEND(*m_pszOutput, __VA_ARGS__)

// Appends the line of a field shown by its name, in one step: the name of code in names (a name
// table, or a NameSet), the code widened by the field's own type, fills the format's %s, and the
// line end its second %s. The name is copied from its row at its known length.
//   TW_NAMED("    ConType    = [%s]%s", twon_macros, pCap->ConType);
#define TW_NAMED(format, names, code)                                                        \
    do {                                                                                     \
        char szNotFound_[kNameBufferSize];                                                   \
        TWAINMON_APPEND_LINE_WITH(*m_pszOutput, format, NameOf(names, code, szNotFound_)); \
    } while (0)

class CParaAnalyze {
public:
    // Constant initialisation: the global analyser is ready before any load-time code runs.
    constexpr CParaAnalyze()
        : m_pOrigin(nullptr),
          m_pDest(nullptr),
          m_DG(0),
          m_DAT(0),
          m_MSG(0),
          m_pData(nullptr),
          m_RetCode(0),
          m_pszOutput(nullptr),
          m_nTwainStatus(0),
          m_lTripletCount(0),
          m_szName{},
          m_szSource{'A', 'P', 'P'} {}
    ~CParaAnalyze() {}

    CParaAnalyze(const CParaAnalyze&) = delete;
    CParaAnalyze& operator=(const CParaAnalyze&) = delete;

    // ---- Triplet line and log header ----------------------------------------------------------
    void Init(const char* pszSource);
    bool TripletAnalyze(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, unsigned int DG, unsigned short DAT,
                        unsigned short MSG, char* pData, CTextBuffer* pszOutput);
    bool CreateStringOfTriplet();
    bool GetStringOfCapability(const TW_CAPABILITY* pCap, char* pszOutput, unsigned int size);
    bool HeaderMake(CTextBuffer* pszOutput);

    // ---- TWAIN state tracker ------------------------------------------------------------------
    int UpDateTwainStatus(unsigned int DG, unsigned short DAT, unsigned short MSG, char* pData);
    int SetTwainStatus(int nStatus);
    int GetTwainStatus() const;
    // Nothing in the monitor calls these two: they stay as the tracker's documented interface.
    int MakeTwainStatusString(char* pszOutput);  // pszOutput: at least 256 bytes
    void InitTwainStatus();

    // ---- Result report and dispatch -----------------------------------------------------------
    bool ParaAnalyze(TW_IDENTITY* pOrigin, TW_IDENTITY* pDest, unsigned int DG, unsigned short DAT,
                     unsigned short MSG, char* pData, unsigned short RetCode, CTextBuffer* pszOutput);
    bool ResultMake();
    // False for a call whose result is not shown: a transfer-ready notice, or a window event the
    // source did not claim with a transfer-ready or close request. Decided from the call alone,
    // touching no member.
    static bool ResultShown(unsigned short DAT, unsigned short MSG, const char* pData, unsigned short RetCode);
    // True for a window event the source did not claim: it renders no text at all, neither a
    // triplet line nor a result. Decided from the call alone, touching no member.
    static bool IsUnclaimedEvent(unsigned short DAT, unsigned short MSG, const char* pData, unsigned short RetCode) {
        return DAT == DAT_EVENT && !ResultShown(DAT, MSG, pData, RetCode);
    }

    // A data block shown by the formatter of its structure T (the rows of kDataTypes, DataBlock.h).
    template <typename T, bool (CParaAnalyze::*Format)(const T*)>
    bool Show(const char* pData) {
        return (this->*Format)(reinterpret_cast<const T*>(pData));
    }
    // DAT_PARENT: the application identity the data-source manager was opened for.
    bool ShowParent(const char* pData);

    // ---- Capability values and containers -----------------------------------------------------
    // (ParaAnalyzeValue.cpp, TwAnalyzeCap.cpp)
    // Value texts. A value is read at pValue, where nAvail bytes of its container remain: nothing
    // past them is read. Each writes one NUL-terminated text of at most nOutput bytes to pszOutput
    // and returns its length.
    size_t ValToStr(TW_UINT16 Cap, TW_UINT16 ItemType, const void* pValue, size_t nAvail, char* pszOutput,
                    size_t nOutput);
    size_t ValToCap(TW_UINT16 Cap, TW_UINT16 Value, char* pszOutput, size_t nOutput);
    size_t MakeCapSupportedCaps(TW_UINT16 Value, char* pszOutput, size_t nOutput);
    size_t MakeCapZvVersion(TW_UINT16 Value, char* pszOutput, size_t nOutput);
    // The item list of an array or enumeration: NumItems items of ItemType from pItemList, where
    // nAvail bytes of the container remain; only items lying wholly inside them are read.
    void MakeItemList(TW_UINT16 Cap, TW_UINT16 ItemType, TW_UINT32 NumItems, const void* pItemList, size_t nAvail);

    // The TW_CAPABILITY block; its container is read only between lock and unlock of the handle,
    // and not at all for a failed call. Each container formatter gets the container's size in bytes.
    bool TwCapabilityAnalyze(const TW_CAPABILITY* pCap);
    // The documented name of the operation, misspelling and all: kept, as others name it so.
    bool TwContainerAnalyaze(const TW_CAPABILITY* pCap);
    bool TwOneValueAnalyze(TW_UINT16 Cap, const TW_ONEVALUE* pOneValue, size_t nSize);
    bool TwEnumerationAnalyze(TW_UINT16 Cap, const TW_ENUMERATION* pEnumeration, size_t nSize);
    bool TwArrayAnalyze(TW_UINT16 Cap, const TW_ARRAY* pArray, size_t nSize);
    bool TwRangeAnalyze(TW_UINT16 Cap, const TW_RANGE* pRange, size_t nSize);

    // ---- Control structures (TwAnalyzeControl.cpp) --------------------------------------------
    bool TwIdentityAnalyze(const TW_IDENTITY* pIdentity);
    bool TwVersionAnalyze(const TW_VERSION* pVersion);
    bool TwStatusAnalyze(const TW_STATUS* pStatus);
    bool TwUserInterfaceAnalyze(const TW_USERINTERFACE* pUI);
    bool TwPendingXfersAnalyze(const TW_PENDINGXFERS* pPending);
    bool TwEventAnalyze(const TW_EVENT* pEvent);
    bool TwCustomDsDataAnalyze(const TW_CUSTOMDSDATA* pCustom);

    // ---- Image description structures (TwAnalyzeImage.cpp) ------------------------------------
    bool TwImageInfoAnalyze(const TW_IMAGEINFO* pInfo);
    bool TwImageLayoutAnalyze(const TW_IMAGELAYOUT* pLayout);
    bool TwFrameAnalyze(const TW_FRAME* pFrame);
    bool TwExtImageInfoAnalyze(const TW_EXTIMAGEINFO* pExtInfo);
    bool TwInfoAnalyze(const TW_INFO* pInfo);

    // ---- Transfer structures (TwAnalyzeXfer.cpp) ----------------------------------------------
    bool TwSetupMemXferAnalyze(const TW_SETUPMEMXFER* pSetup);
    bool TwSetupFileXferAnalyze(const TW_SETUPFILEXFER* pSetup);
    bool TwImageMemXferAnalyze(const TW_IMAGEMEMXFER* pXfer);
    bool TwMemoryAnalyze(const TW_MEMORY* pMemory);
    bool TwJpegCompressionAnalyze(const TW_JPEGCOMPRESSION* pJpeg);
    bool TwUint32(const TW_UINT32* pData);

    // ---- Colour and tone structures (TwAnalyzeColor.cpp) --------------------------------------
    bool TwCieColorAnalyze(const TW_CIECOLOR* pCie);
    bool TwTransformStageAnalyze(const TW_TRANSFORMSTAGE* pStage);
    bool TwDecodeFunctionAnalyze(const TW_DECODEFUNCTION* pDecode);
    bool TwCiePointAnalyze(const TW_CIEPOINT* pPoint);
    bool TwGrayResponseAnalyze(const TW_GRAYRESPONSE* pResponse);
    bool TwRgbResponseAnalyze(const TW_RGBRESPONSE* pResponse);
    bool TwElement8Analyze(const TW_ELEMENT8* pElement);
    bool TwPalette8Analyze(const TW_PALETTE8* pPalette);

    // ---- The maker's extension structures (TwAnalyzeZv.cpp) -----------------------------------
    bool TwHardwareInfoAnalyze(const TWZV_HARDWAREINFO* pInfo);
    void SetColorCoeffData(const TW_FIX32* pCoeff);
    bool TwZvAutoExposureAnalyze(const TWZV_AUTOEXPOSURE* pExposure);
    bool TwZvRgbMatrixAnalyze(const TWZV_RGBMATRIX* pMatrix);
    bool TwZvColorSmoothingAnalyze(const TWZV_COLORSMOOTHING* pSmoothing);
    bool TwUnsharpMaskAnalyze(const TWZV_USMPARAM* pParam);
    bool TwZvUsmInfoAnalyze(const TWZV_USMINFO* pInfo);
    bool TwZvReviseBaseParamAnalyze(const TWZV_REVISEBASEPARM* pParam);
    bool TwZvThresholdInfoAnalyze(const TWZV_THRESHOLDINFO* pInfo);
    bool TwZvSkewInfoAnalyze(const TWZV_LOCATIONDATA* pLocation);
    bool TwZvSettingFrameAnalyze(const TWZV_SETTINGFRAME* pFrame);

    // A read-only view for the tests.
    long TripletCount() const { return m_lTripletCount; }

private:
    // The frame a container block shares (TwAnalyzeCap.cpp): its opening line, then showFields(
    // reader, fields) with the fixed fields copied, or one line saying the container of nSize bytes
    // is smaller than its nFields bytes of fixed fields; then its closing brace.
    template <typename T, typename ShowFields>
    bool TwContainerBlock(const char* pszName, const T* pContainer, size_t nSize, size_t nFields, ShowFields showFields);
    // One line of an item list whose value is a fixed text.
    void MakeItemLine(TW_UINT32 nIndex, const char* pszValue, bool bLast);
    // The state line: a blank line, then the tracked state.
    void PutTwainStatus(linefmt::Sink& sink) const;
    // Hands the data block to the dispatcher of the call's DAT.
    void DispatchDat();
    // An item line (MakeItemLine) whose value writeValue(pszOut, nOut) writes in place and returns
    // the length of (ParaAnalyzeValue.cpp).
    template <typename WriteValue>
    void WriteItemLine(TW_UINT32 nIndex, bool bLast, WriteValue writeValue);
    // The values of a short array as "%d" each, separated by commas without blanks, then "}" and
    // the line end.
    template <typename T, size_t N>
    void MakeNumberList(const T (&values)[N]) {
        for (size_t i = 0; i + 1 < N; ++i) TW_OUT("%d,", values[i]);
        TW_OUT("%d}%s", values[N - 1], twfmt::CRLF);
    }
    // The body shared by the TW_GRAYRESPONSE and TW_RGBRESPONSE blocks, under the structure's name.
    bool TwResponseAnalyze(const char* pszStructure, const TW_ELEMENT8* pResponse);

    TW_IDENTITY* m_pOrigin;
    TW_IDENTITY* m_pDest;
    TW_UINT32 m_DG;
    TW_UINT16 m_DAT;
    TW_UINT16 m_MSG;
    char* m_pData;
    TW_UINT16 m_RetCode;
    CTextBuffer* m_pszOutput;
    int m_nTwainStatus;
    long m_lTripletCount;
    char m_szName[64];
    char m_szSource[32];
};

extern CParaAnalyze g_cParaAnalyze;

#endif  // TWAINMON_PARAANALYZE_H
