// Writes the fuzz target's seed corpus into a folder: well-formed calls of every DAT the
// dispatcher knows, capability containers of every kind and item type, claimed and unclaimed
// events, failed calls, and a supported-caps array long enough to overflow the text buffer.
//
//   make_corpus FOLDER
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DataBlock.h"
#include "FuzzCall.h"
#include "TwainTypes.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <typename T>
Bytes BytesOf(const T& value) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
    return Bytes(p, p + sizeof(T));
}

TW_FIX32 Fix(int whole, unsigned frac = 0) { return TW_FIX32{static_cast<TW_INT16>(whole), static_cast<TW_UINT16>(frac)}; }

template <size_t N>
void SetText(char (&field)[N], const char* text) {
    strncpy(field, text, N - 1);
}

TW_IDENTITY Identity() {
    TW_IDENTITY id{};
    id.Id = reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(0x1234));
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 10;
    id.Version.Language = 2;
    id.Version.Country = 1;
    SetText(id.Version.Info, "1.10 release");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 9;
    id.SupportedGroups = DG_CONTROL | DG_IMAGE;
    SetText(id.Manufacturer, "Maker");
    SetText(id.ProductFamily, "Family");
    SetText(id.ProductName, "Product");
    return id;
}

class Corpus {
public:
    explicit Corpus(std::string folder) : m_folder(std::move(folder)) {}

    // One call: the data block must have the size the monitor knows for the DAT.
    void Call(const char* name, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_UINT16 RetCode, const Bytes& block,
              int state = 4, const Bytes& container = Bytes(), uint8_t flags = 0) {
        if (block.size() != DataBlockSize(DAT)) {
            fprintf(stderr, "make_corpus: %s: block of %zu bytes, the monitor expects %zu\n", name, block.size(),
                    DataBlockSize(DAT));
            m_bFailed = true;
            return;
        }
        fuzzcall::Header header;
        header.rawDg = DG;
        header.rawDat = DAT;
        header.rawMsg = MSG;
        header.rawRet = RetCode;
        header.containerSize = static_cast<uint16_t>(container.size());
        header.state = static_cast<uint8_t>(state);
        header.flags = flags;
        Bytes out;
        fuzzcall::WriteHeader(out, header);
        out.insert(out.end(), block.begin(), block.end());
        out.insert(out.end(), container.begin(), container.end());
        const Bytes origin = BytesOf(Identity());
        out.insert(out.end(), origin.begin(), origin.end());
        Write(name, out);
    }

    // A capability call with its container.
    void Capability(const char* name, TW_UINT16 MSG, TW_UINT16 Cap, TW_UINT16 ConType, const Bytes& container,
                    TW_UINT16 RetCode = TWRC_SUCCESS) {
        TW_CAPABILITY cap{};
        cap.Cap = Cap;
        cap.ConType = ConType;
        Call(name, DG_CONTROL, DAT_CAPABILITY, MSG, RetCode, BytesOf(cap), 4, container);
    }

    bool Failed() const { return m_bFailed; }

private:
    void Write(const char* name, const Bytes& bytes) {
        const std::string path = m_folder + "/" + name;
        FILE* file = fopen(path.c_str(), "wb");
        if (file == nullptr || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
            m_bFailed = true;
        }
        if (file != nullptr) fclose(file);
    }

    std::string m_folder;
    bool m_bFailed = false;
};

// Container builders: the fixed fields, then the items.
Bytes OneValue(TW_UINT16 ItemType, const Bytes& item) {
    Bytes out = BytesOf(ItemType);
    out.resize(offsetof(TW_ONEVALUE, Item), 0);
    out.insert(out.end(), item.begin(), item.end());
    if (out.size() < sizeof(TW_ONEVALUE)) out.resize(sizeof(TW_ONEVALUE), 0);
    return out;
}

Bytes ListHeader(TW_UINT16 ItemType, TW_UINT32 NumItems, size_t nFields) {
    Bytes out(nFields, 0);
    memcpy(out.data(), &ItemType, sizeof ItemType);
    memcpy(out.data() + offsetof(TW_ARRAY, NumItems), &NumItems, sizeof NumItems);
    return out;
}

template <typename T>
Bytes Array(TW_UINT16 ItemType, const std::vector<T>& items) {
    Bytes out = ListHeader(ItemType, static_cast<TW_UINT32>(items.size()), offsetof(TW_ARRAY, ItemList));
    for (const T& item : items) {
        const Bytes b = BytesOf(item);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

template <typename T>
Bytes Enumeration(TW_UINT16 ItemType, const std::vector<T>& items, TW_UINT32 current, TW_UINT32 deflt) {
    Bytes out = ListHeader(ItemType, static_cast<TW_UINT32>(items.size()), offsetof(TW_ENUMERATION, ItemList));
    memcpy(out.data() + offsetof(TW_ENUMERATION, CurrentIndex), &current, sizeof current);
    memcpy(out.data() + offsetof(TW_ENUMERATION, DefaultIndex), &deflt, sizeof deflt);
    for (const T& item : items) {
        const Bytes b = BytesOf(item);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

Bytes Range(TW_UINT16 ItemType, TW_UINT32 min, TW_UINT32 max, TW_UINT32 step, TW_UINT32 deflt, TW_UINT32 current) {
    TW_RANGE range{ItemType, min, max, step, deflt, current};
    return BytesOf(range);
}

TW_UINT32 FixBits(int whole, unsigned frac = 0) {
    const TW_FIX32 f = Fix(whole, frac);
    TW_UINT32 bits;
    memcpy(&bits, &f, sizeof bits);
    return bits;
}

// A block of the DAT's size filled with a recognisable pattern, for structures whose seeds need
// no particular values.
Bytes Pattern(TW_UINT16 DAT, uint8_t seed) {
    Bytes out(DataBlockSize(DAT));
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(seed + i * 7);
    return out;
}

void WriteCapabilities(Corpus& corpus) {
    const TW_UINT16 kDontCare = TWON_DONTCARE16;
    corpus.Capability("cap_onevalue_uint16", MSG_GETCURRENT, ICAP_UNITS, TWON_ONEVALUE,
                      OneValue(TWTY_UINT16, BytesOf(TW_UINT16{0})));
    corpus.Capability("cap_onevalue_fix32", MSG_SET, ICAP_XRESOLUTION, TWON_ONEVALUE,
                      OneValue(TWTY_FIX32, BytesOf(Fix(300))));
    corpus.Capability("cap_onevalue_bool", MSG_GET, CAP_FEEDERENABLED, TWON_ONEVALUE,
                      OneValue(TWTY_BOOL, BytesOf(TW_BOOL{1})));
    corpus.Capability("cap_onevalue_int32", MSG_QUERYSUPPORT, ICAP_PIXELTYPE, TWON_ONEVALUE,
                      OneValue(TWTY_INT32, BytesOf(TW_INT32{0x1F})));
    corpus.Capability("cap_onevalue_int8", MSG_GET, CAP_XFERCOUNT, TWON_ONEVALUE, OneValue(TWTY_INT8, {0xFF}));
    corpus.Capability("cap_onevalue_uint8", MSG_GET, CAP_XFERCOUNT, TWON_ONEVALUE, OneValue(TWTY_UINT8, {0x80}));
    corpus.Capability("cap_onevalue_int16", MSG_GET, CAP_XFERCOUNT, TWON_ONEVALUE,
                      OneValue(TWTY_INT16, BytesOf(TW_INT16{-1})));
    corpus.Capability("cap_onevalue_uint32", MSG_GET, CAP_XFERCOUNT, TWON_ONEVALUE,
                      OneValue(TWTY_UINT32, BytesOf(TW_UINT32{0xFFFFFFFFu})));
    TW_FRAME frame{Fix(0), Fix(0), Fix(8, 0x8000), Fix(11)};
    corpus.Capability("cap_onevalue_frame", MSG_GET, ICAP_FRAMES, TWON_ONEVALUE, OneValue(TWTY_FRAME, BytesOf(frame)));
    Bytes text(sizeof(TW_STR255), 0);
    memcpy(text.data(), "Zorva product name", 18);
    corpus.Capability("cap_onevalue_str255", MSG_GET, CAP_ZV_PRODUCTNAME, TWON_ONEVALUE, OneValue(TWTY_STR255, text));
    text.resize(sizeof(TW_STR32));
    corpus.Capability("cap_onevalue_str32", MSG_GET, CAP_ZV_PRODUCTNAME, TWON_ONEVALUE, OneValue(TWTY_STR32, text));
    corpus.Capability("cap_onevalue_zv_version", MSG_GET, CAP_ZV_VERSION, TWON_ONEVALUE,
                      OneValue(TWTY_UINT16, BytesOf(TW_UINT16{0x0203})));
    corpus.Capability("cap_onevalue_zv_uimode", MSG_GET, CAP_ZV_UIMODE, TWON_ONEVALUE,
                      OneValue(TWTY_UINT16, BytesOf(TW_UINT16{1})));
    corpus.Capability("cap_onevalue_zv_filmtype", MSG_GET, ICAP_ZV_FILMTYPE, TWON_ONEVALUE,
                      OneValue(TWTY_UINT16, BytesOf(TW_UINT16{2})));
    corpus.Capability("cap_onevalue_short", MSG_GET, ICAP_UNITS, TWON_ONEVALUE, Bytes{4, 0});

    corpus.Capability("cap_enum_pixeltype", MSG_GET, ICAP_PIXELTYPE, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {0, 1, 2}, 2, 2));
    corpus.Capability("cap_enum_bitdepth", MSG_GET, ICAP_BITDEPTH, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {1, 8, 16, 24, 48}, 1, 1));
    corpus.Capability("cap_enum_resolution", MSG_GET, ICAP_XRESOLUTION, TWON_ENUMERATION,
                      Enumeration<TW_FIX32>(TWTY_FIX32, {Fix(75), Fix(150), Fix(300), Fix(600), Fix(1200)}, 2, 2));
    corpus.Capability("cap_enum_sizes", MSG_GET, ICAP_SUPPORTEDSIZES, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {0, 1, 2, 3, 4, 5}, 0, 0));
    corpus.Capability("cap_enum_compression", MSG_GET, ICAP_COMPRESSION, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {0, 1, 5, 6}, 0, 0));
    corpus.Capability("cap_enum_xfermech", MSG_GET, ICAP_XFERMECH, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {0, 1, 2}, 0, 0));
    corpus.Capability("cap_enum_orientation", MSG_GET, ICAP_ORIENTATION, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {0, 1, 2, 3}, 0, 0));
    corpus.Capability("cap_enum_frames", MSG_GET, ICAP_FRAMES, TWON_ENUMERATION,
                      Enumeration<TW_FRAME>(TWTY_FRAME, {frame, frame}, 0, 0));
    corpus.Capability("cap_enum_empty", MSG_GET, ICAP_PIXELTYPE, TWON_ENUMERATION,
                      Enumeration<TW_UINT16>(TWTY_UINT16, {}, 0, 0));
    Bytes names = ListHeader(TWTY_STR32, 2, offsetof(TW_ENUMERATION, ItemList));
    for (const char* name : {"First", "Second"}) {
        Bytes item(sizeof(TW_STR32), 0);
        memcpy(item.data(), name, strlen(name));
        names.insert(names.end(), item.begin(), item.end());
    }
    corpus.Capability("cap_enum_str32", MSG_GET, CAP_ZV_PRODUCTNAME, TWON_ENUMERATION, names);
    std::vector<TW_UINT16> caps;
    for (TW_UINT16 i = 0; i < 400; ++i) caps.push_back(static_cast<TW_UINT16>(i % 2 == 0 ? 0x1100 + i / 2 : 0x8001 + i % 32));
    corpus.Capability("cap_array_supportedcaps_400", MSG_GET, CAP_SUPPORTEDCAPS, TWON_ARRAY,
                      Array<TW_UINT16>(TWTY_UINT16, caps));
    corpus.Capability("cap_array_supportedcaps_10", MSG_GET, CAP_SUPPORTEDCAPS, TWON_ARRAY,
                      Array<TW_UINT16>(TWTY_UINT16, {0x0001, 0x0100, 0x0101, 0x1005, 0x1118, 0x8001, 0x800C, 0x800F, 0x8003, 0x1122}));
    corpus.Capability("cap_array_uint32", MSG_GET, CAP_XFERCOUNT, TWON_ARRAY, Array<TW_UINT32>(TWTY_UINT32, {1, 2, 3}));
    corpus.Capability("cap_array_bool", MSG_GET, CAP_UICONTROLLABLE, TWON_ARRAY, Array<TW_BOOL>(TWTY_BOOL, {0, 1}));
    corpus.Capability("cap_array_frames", MSG_GET, ICAP_FRAMES, TWON_ARRAY, Array<TW_FRAME>(TWTY_FRAME, {frame}));
    corpus.Capability("cap_array_truncated", MSG_GET, CAP_SUPPORTEDCAPS, TWON_ARRAY,
                      ListHeader(TWTY_UINT16, 1000, offsetof(TW_ARRAY, ItemList)));

    corpus.Capability("cap_range_brightness", MSG_GET, ICAP_BRIGHTNESS, TWON_RANGE,
                      Range(TWTY_FIX32, FixBits(-1000), FixBits(1000), FixBits(1), FixBits(0), FixBits(0)));
    corpus.Capability("cap_range_contrast", MSG_GETDEFAULT, ICAP_CONTRAST, TWON_RANGE,
                      Range(TWTY_FIX32, FixBits(-100), FixBits(100), FixBits(0, 0x8000), FixBits(0), FixBits(10)));
    corpus.Capability("cap_range_uint16", MSG_GET, ICAP_PIXELTYPE, TWON_RANGE, Range(TWTY_UINT16, 0, 2, 1, 0, 2));
    corpus.Capability("cap_range_frame", MSG_GET, ICAP_FRAMES, TWON_RANGE, Range(TWTY_FRAME, 0, 1, 2, 3, 4));
    corpus.Capability("cap_range_str255", MSG_GET, CAP_ZV_PRODUCTNAME, TWON_RANGE, Range(TWTY_STR255, 0x41, 0x42, 0, 0, 0));

    corpus.Capability("cap_failure", MSG_GET, ICAP_PIXELTYPE, TWON_ONEVALUE,
                      OneValue(TWTY_UINT16, BytesOf(TW_UINT16{0})), TWRC_FAILURE);
    corpus.Capability("cap_dontcare", MSG_RESET, ICAP_PIXELTYPE, kDontCare, Bytes());
    corpus.Capability("cap_unknown_cap", MSG_GET, 0x7777, TWON_ONEVALUE, OneValue(0x33, BytesOf(TW_UINT32{7})));
}

void WriteControl(Corpus& corpus) {
    const TW_IDENTITY id = Identity();
    corpus.Call("identity_get", DG_CONTROL, DAT_IDENTITY, MSG_GET, TWRC_SUCCESS, BytesOf(id), 3);
    corpus.Call("identity_opends", DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWRC_SUCCESS, BytesOf(id), 3);
    corpus.Call("identity_closeds", DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, TWRC_SUCCESS, BytesOf(id), 4);
    TW_IDENTITY full = id;
    memset(full.Manufacturer, 'M', sizeof full.Manufacturer);  // no NUL: the field's end bounds it
    memset(full.ProductName, 'P', sizeof full.ProductName);
    memset(full.Version.Info, 'I', sizeof full.Version.Info);
    corpus.Call("identity_unterminated", DG_CONTROL, DAT_IDENTITY, MSG_GET, TWRC_SUCCESS, BytesOf(full), 3);
    corpus.Call("parent_opendsm", DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWRC_SUCCESS, Bytes(), 2);
    corpus.Call("parent_closedsm", DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, TWRC_SUCCESS, Bytes(), 3);
    corpus.Call("null_xferready", DG_CONTROL, DAT_NULL, MSG_XFERREADY, TWRC_SUCCESS, Bytes(), 5);
    corpus.Call("null_closedsreq", DG_CONTROL, DAT_NULL, MSG_CLOSEDSREQ, TWRC_SUCCESS, Bytes(), 5);

    TW_EVENT event{};
    event.TWMessage = MSG_XFERREADY;
    corpus.Call("event_xferready", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWRC_DSEVENT, BytesOf(event), 5);
    event.TWMessage = MSG_CLOSEDSREQ;
    corpus.Call("event_closedsreq", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWRC_DSEVENT, BytesOf(event), 5);
    event.TWMessage = MSG_NULL;
    corpus.Call("event_claimed_null", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWRC_DSEVENT, BytesOf(event), 5);
    corpus.Call("event_unclaimed", DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, TWRC_NOTDSEVENT, BytesOf(event), 5);

    TW_PENDINGXFERS pending{};
    pending.Count = 1;
    corpus.Call("pendingxfers_endxfer", DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, TWRC_SUCCESS, BytesOf(pending), 7);
    pending.Count = 0;
    corpus.Call("pendingxfers_reset", DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, TWRC_SUCCESS, BytesOf(pending), 6);
    pending.Count = 0xFFFF;
    corpus.Call("pendingxfers_get", DG_CONTROL, DAT_PENDINGXFERS, MSG_GET, TWRC_SUCCESS, BytesOf(pending), 6);

    TW_SETUPMEMXFER memxfer{1024, 65536, 32768};
    corpus.Call("setupmemxfer_get", DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, TWRC_SUCCESS, BytesOf(memxfer), 6);
    TW_SETUPFILEXFER filexfer{};
    SetText(filexfer.FileName, "/tmp/scan0001.tif");
    filexfer.Format = 0;
    filexfer.VRefNum = -1;
    corpus.Call("setupfilexfer_set", DG_CONTROL, DAT_SETUPFILEXFER, MSG_SET, TWRC_SUCCESS, BytesOf(filexfer), 4);
    memset(filexfer.FileName, 'x', sizeof filexfer.FileName);
    corpus.Call("setupfilexfer_unterminated", DG_CONTROL, DAT_SETUPFILEXFER, MSG_GET, TWRC_SUCCESS,
                BytesOf(filexfer), 4);

    TW_STATUS status{TWCC_BADCAP, 0};
    corpus.Call("status_get", DG_CONTROL, DAT_STATUS, MSG_GET, TWRC_SUCCESS, BytesOf(status), 4);
    status.ConditionCode = 0x9999;
    corpus.Call("status_unknown", DG_CONTROL, DAT_STATUS, MSG_GET, TWRC_SUCCESS, BytesOf(status), 4);

    TW_USERINTERFACE ui{};
    ui.ShowUI = 1;
    corpus.Call("userinterface_enableds", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWRC_SUCCESS, BytesOf(ui), 4);
    corpus.Call("userinterface_disableds", DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, TWRC_SUCCESS, BytesOf(ui), 5);
    corpus.Call("userinterface_failure", DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWRC_FAILURE, BytesOf(ui), 4);

    corpus.Call("xfergroup_get", DG_CONTROL, DAT_XFERGROUP, MSG_GET, TWRC_SUCCESS, BytesOf(TW_UINT32{DG_IMAGE}), 4);
    corpus.Call("twunkidentity", DG_CONTROL, DAT_TWUNKIDENTITY, MSG_GET, TWRC_SUCCESS, Bytes(), 4);
    TW_CUSTOMDSDATA custom{};
    custom.InfoLength = 128;
    corpus.Call("customdsdata_get", DG_CONTROL, DAT_CUSTOMDSDATA, MSG_GET, TWRC_SUCCESS, BytesOf(custom), 4);
    for (TW_UINT16 dat : {0x000D, 0x000E, 0x000F, 0x0010, 0x0201, 0x0202, 0x0203, 0x0301, 0x8015, 0x8016, 0x8017}) {
        const std::string name = "other_dat_" + std::to_string(dat);
        corpus.Call(name.c_str(), DG_CONTROL, dat, MSG_GET, TWRC_SUCCESS, Bytes(DataBlockSize(dat)), 4);
    }
    corpus.Call("unknown_retcode", DG_CONTROL, DAT_NULL, MSG_NULL, 10, Bytes(), 4);
}

void WriteImage(Corpus& corpus) {
    TW_IMAGEINFO info{};
    info.XResolution = Fix(300);
    info.YResolution = Fix(300);
    info.ImageWidth = 2550;
    info.ImageLength = 3300;
    info.SamplesPerPixel = 3;
    for (int i = 0; i < 3; ++i) info.BitsPerSample[i] = 8;
    info.BitsPerPixel = 24;
    info.Planar = 0;
    info.PixelType = 2;
    info.Compression = 0;
    corpus.Call("imageinfo_get", DG_IMAGE, DAT_IMAGEINFO, MSG_GET, TWRC_SUCCESS, BytesOf(info), 6);
    TW_IMAGELAYOUT layout{};
    layout.Frame = TW_FRAME{Fix(0), Fix(0), Fix(8, 0x8000), Fix(11)};
    layout.DocumentNumber = 1;
    layout.PageNumber = 1;
    layout.FrameNumber = 1;
    corpus.Call("imagelayout_get", DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, TWRC_SUCCESS, BytesOf(layout), 4);
    TW_IMAGEMEMXFER mem{};
    mem.Compression = 0;
    mem.BytesPerRow = 7650;
    mem.Columns = 2550;
    mem.Rows = 16;
    mem.BytesWritten = 7650 * 16;
    mem.Memory.Flags = 0x11;
    mem.Memory.Length = 65536;
    corpus.Call("imagememxfer_get", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, TWRC_SUCCESS, BytesOf(mem), 6);
    corpus.Call("imagememxfer_xferdone", DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, TWRC_XFERDONE, BytesOf(mem), 7);
    corpus.Call("imagenativexfer_get", DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, TWRC_XFERDONE, Bytes(sizeof(TW_HANDLE)), 6);
    corpus.Call("imagefilexfer_get", DG_IMAGE, DAT_IMAGEFILEXFER, MSG_GET, TWRC_XFERDONE, Bytes(), 6);

    TW_CIECOLOR cie{};
    cie.ColorSpace = 2;
    cie.VersionNumber = 1;
    for (int stage = 0; stage < 3; ++stage) {
        cie.StageABC.Decode[stage].Gamma = Fix(1);
        cie.StageABC.Mix[stage][stage] = Fix(1);
    }
    cie.WhitePoint = TW_CIEPOINT{Fix(0, 0xF333), Fix(1), Fix(1, 0x1666)};
    corpus.Call("ciecolor_get", DG_IMAGE, DAT_CIECOLOR, MSG_GET, TWRC_SUCCESS, BytesOf(cie), 4);
    corpus.Call("grayresponse_set", DG_IMAGE, DAT_GRAYRESPONSE, MSG_SET, TWRC_SUCCESS, Pattern(DAT_GRAYRESPONSE, 0), 4);
    corpus.Call("rgbresponse_set", DG_IMAGE, DAT_RGBRESPONSE, MSG_SET, TWRC_SUCCESS, Pattern(DAT_RGBRESPONSE, 1), 4);
    TW_JPEGCOMPRESSION jpeg{};
    jpeg.ColorSpace = 2;
    jpeg.SubSampling = 0x10001000;
    jpeg.NumComponents = 3;
    corpus.Call("jpegcompression_get", DG_IMAGE, DAT_JPEGCOMPRESSION, MSG_GET, TWRC_SUCCESS, BytesOf(jpeg), 4);
    TW_PALETTE8 palette{};
    palette.NumColors = 256;
    palette.PaletteType = 1;
    for (int i = 0; i < 256; ++i) {
        const TW_UINT8 v = static_cast<TW_UINT8>(i);
        palette.Colors[i] = TW_ELEMENT8{v, v, v, v};
    }
    corpus.Call("palette8_get", DG_IMAGE, DAT_PALETTE8, MSG_GET, TWRC_SUCCESS, BytesOf(palette), 4);
    palette.NumColors = 0xFFFF;
    corpus.Call("palette8_too_many", DG_IMAGE, DAT_PALETTE8, MSG_GET, TWRC_SUCCESS, BytesOf(palette), 4);
    TW_EXTIMAGEINFO ext{};
    ext.NumInfos = 1;
    ext.Info[0] = TW_INFO{0x1240, TWTY_UINT32, 1, 0, 42};
    corpus.Call("extimageinfo_get", DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, TWRC_SUCCESS, BytesOf(ext), 7);
    ext.NumInfos = 1000;
    corpus.Call("extimageinfo_too_many", DG_IMAGE, DAT_EXTIMAGEINFO, MSG_GET, TWRC_SUCCESS, BytesOf(ext), 7);
}

void WriteExtension(Corpus& corpus) {
    TWZV_HARDWAREINFO hw{};
    hw.ModelID = 0x1234;
    hw.ProductName[0] = 5;
    memcpy(hw.ProductName + 1, "Zorva", 5);
    hw.ModelName[0] = 33;  // the longest text the field holds
    memset(hw.ModelName + 1, 'M', 33);
    hw.OptXResolution = 2400;
    hw.BitDepth = 48;
    SetText(hw.ProfileNameFB, "Flatbed profile");
    SetText(hw.ROMVersion, "1.02");
    for (int i = 0; i < 9; ++i) hw.ColorCorrectionFB[i] = Fix(i % 4 == 0 ? 1 : 0);
    corpus.Call("zv_hardwareinfo", DG_CONTROL, DAT_ZV_HARDWAREINFO, MSG_GET, TWRC_SUCCESS, BytesOf(hw), 4);
    hw.ProductName[0] = 0xFF;  // a length past the field
    memset(hw.ROMVersion, 'R', sizeof hw.ROMVersion);
    corpus.Call("zv_hardwareinfo_bad_lengths", DG_CONTROL, DAT_ZV_HARDWAREINFO, MSG_GET, TWRC_SUCCESS, BytesOf(hw), 4);

    TWZV_AUTOEXPOSURE exposure{};
    exposure.Right = 100;
    exposure.Bottom = 200;
    exposure.ScreenGamma = Fix(2, 0x3333);
    corpus.Call("zv_autoexposure", DG_CONTROL, DAT_ZV_AUTOEXPOSURE, MSG_GET, TWRC_SUCCESS, BytesOf(exposure), 4);
    TWZV_RGBMATRIX matrix{};
    for (int i = 0; i < 9; ++i) matrix.ColorCoeff[i] = Fix(i % 4 == 0 ? 1 : 0);
    corpus.Call("zv_rgbmatrix", DG_CONTROL, DAT_ZV_RGBMATRIX, MSG_SET, TWRC_SUCCESS, BytesOf(matrix), 4);
    corpus.Call("zv_colorsmoothing", DG_CONTROL, DAT_ZV_COLORSMOOTHING, MSG_SET, TWRC_SUCCESS,
                Pattern(DAT_ZV_COLORSMOOTHING, 3), 4);
    corpus.Call("zv_event", DG_CONTROL, DAT_ZV_EVENT, MSG_GET, TWRC_SUCCESS, Bytes(DataBlockSize(DAT_ZV_EVENT)), 4);
    TWZV_LOCATIONDATA skew{};
    skew.BitsPerPixel = 24;
    skew.Theta = Fix(-1, 0x8000);
    corpus.Call("zv_skewinfo", DG_CONTROL, DAT_ZV_SKEWINFO, MSG_GET, TWRC_SUCCESS, BytesOf(skew), 6);
    TWZV_USMPARAM usm{100, 2, 5};
    corpus.Call("zv_unsharpmask", DG_CONTROL, DAT_ZV_UNSHARPMASKPARAM, MSG_SET, TWRC_SUCCESS, BytesOf(usm), 4);
    corpus.Call("zv_redcorrection", DG_CONTROL, DAT_ZV_REDCORRECTIONMATRIX, MSG_SET, TWRC_SUCCESS,
                Bytes(DataBlockSize(DAT_ZV_REDCORRECTIONMATRIX)), 4);
    corpus.Call("zv_callbackmsg", DG_CONTROL, DAT_ZV_TWAINCALLBACKMSG, MSG_ZV_XFERREQUEST, TWRC_SUCCESS,
                Bytes(DataBlockSize(DAT_ZV_TWAINCALLBACKMSG)), 5);
    TWZV_SETTINGFRAME frames{3, 1};
    corpus.Call("zv_settingframe", DG_CONTROL, DAT_ZV_SETTINGFRAME, MSG_GET, TWRC_SUCCESS, BytesOf(frames), 4);
    TWZV_USMINFO usmInfo{};
    usmInfo.InputResolution = 1200;
    usmInfo.USMParm = usm;
    usmInfo.ReviseParm.BlurMax = 3;
    corpus.Call("zv_usminfo", DG_CONTROL, DAT_ZV_USMINFO, MSG_GET, TWRC_SUCCESS, BytesOf(usmInfo), 4);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_corpus FOLDER\n");
        return 2;
    }
    Corpus corpus(argv[1]);
    WriteCapabilities(corpus);
    WriteControl(corpus);
    WriteImage(corpus);
    WriteExtension(corpus);
    return corpus.Failed() ? 1 : 0;
}
