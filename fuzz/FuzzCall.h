// The byte layout of one fuzz input: a fixed header that names the call, then the bytes of the
// data block, of the capability container and of the origin identity. Shared by the fuzz target,
// which decodes it, and the seed generator, which encodes well-formed calls.
//
// Header (20 bytes, little-endian):
//   0  u8  DAT selector: below kRawSelector an index into KnownDats() (taken modulo its size), so
//          most inputs name a DAT the dispatcher knows; otherwise the raw DAT at offset 4
//   1  u8  MSG selector: the same for KnownMsgs() and the raw MSG at offset 6
//   2  u8  return code selector: below kRawSelector the code selector % twrc_macros.count (the
//          return-code table's row count): TWRC_SUCCESS up to one past the last named code, as the
//          table's TWRC_CUSTOMBASE row counts too; otherwise the raw code at offset 8
//   3  u8  DG selector: below kRawSelector one of DG_CONTROL, DG_IMAGE, DG_AUDIO; otherwise the raw
//          DG at offset 12
//   4  u16 raw DAT      6  u16 raw MSG      8  u16 raw return code
//   10 u16 container size in bytes (DAT_CAPABILITY with a real container handle)
//   12 u32 raw DG
//   16 u8  tracked TWAIN state before the call (taken modulo 8)
//   17 u8  flags (kFlag...)
//   18 u16 reserved
// Then DataBlockSize(DAT) bytes of data block, the container's bytes, and sizeof(TW_IDENTITY)
// bytes of origin identity (each absent part left out). Bytes missing at the end read as zero.
#ifndef TWAINMON_FUZZ_FUZZCALL_H
#define TWAINMON_FUZZ_FUZZCALL_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "DataBlock.h"
#include "TwainTypes.h"

namespace fuzzcall {

constexpr size_t kHeaderSize = 20;
constexpr uint8_t kRawSelector = 0xF0;

constexpr uint8_t kFlagNullData = 0x01;       // the data pointer is null
constexpr uint8_t kFlagNullOrigin = 0x02;     // the origin identity pointer is null
constexpr uint8_t kFlagNullContainer = 0x04;  // hContainer is null
// hContainer points at memory that must not be touched, used when the call gives no reason to
// read the container (a failed call, or a ConType other than the four containers).
constexpr uint8_t kFlagUntouchableContainer = 0x08;

// Every DAT the name tables know: the ones with a formatter first (kDataTypes), capabilities and
// events again (for their containers and the claimed-event rule), then the rest.
inline const std::vector<TW_UINT16>& KnownDats() {
    static const std::vector<TW_UINT16> dats = [] {
        std::vector<TW_UINT16> codes;
        for (const DataType& type : kDataTypes) codes.push_back(type.dat);
        codes.insert(codes.end(), {DAT_CAPABILITY, DAT_CAPABILITY, DAT_CAPABILITY, DAT_CAPABILITY, DAT_EVENT});
        for (const NameTable* table : {&dat_macros, &dat_zv_macros}) {
            for (const MacroEntry& row : *table) {
                if (FindDataType(static_cast<TW_UINT16>(row.value)) == nullptr) codes.push_back(static_cast<TW_UINT16>(row.value));
            }
        }
        return codes;
    }();
    return dats;
}

// Every MSG the name tables know, window events twice.
inline const std::vector<TW_UINT16>& KnownMsgs() {
    static const std::vector<TW_UINT16> msgs = [] {
        std::vector<TW_UINT16> codes{MSG_PROCESSEVENT};
        for (const NameTable* table : {&msg_macros, &msg_zv_macros}) {
            for (const MacroEntry& row : *table) codes.push_back(static_cast<TW_UINT16>(row.value));
        }
        return codes;
    }();
    return msgs;
}

struct Header {
    uint8_t datSelect = kRawSelector;
    uint8_t msgSelect = kRawSelector;
    uint8_t retSelect = kRawSelector;
    uint8_t dgSelect = kRawSelector;
    uint16_t rawDat = 0;
    uint16_t rawMsg = 0;
    uint16_t rawRet = 0;
    uint16_t containerSize = 0;
    uint32_t rawDg = 0;
    uint8_t state = 0;
    uint8_t flags = 0;

    TW_UINT16 Dat() const {
        return datSelect < kRawSelector ? KnownDats()[datSelect % KnownDats().size()] : rawDat;
    }
    TW_UINT16 Msg() const {
        return msgSelect < kRawSelector ? KnownMsgs()[msgSelect % KnownMsgs().size()] : rawMsg;
    }
    TW_UINT16 RetCode() const { return retSelect < kRawSelector ? static_cast<TW_UINT16>(retSelect % twrc_macros.count) : rawRet; }
    TW_UINT32 Dg() const {
        return dgSelect < kRawSelector ? static_cast<TW_UINT32>(dg_macros.rows[dgSelect % dg_macros.count].value) : rawDg;
    }
    int State() const { return state % 8; }
};

// Reads the input front to back; past its end every byte reads as zero.
class Reader {
public:
    Reader(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}

    void Take(void* pOut, size_t n) {
        const size_t nHave = m_nPos < m_nSize ? (m_nSize - m_nPos < n ? m_nSize - m_nPos : n) : 0;
        if (nHave != 0) memcpy(pOut, m_pData + m_nPos, nHave);
        if (nHave < n) memset(static_cast<uint8_t*>(pOut) + nHave, 0, n - nHave);
        m_nPos += n;
    }
    template <typename T>
    T Get() {
        unsigned char bytes[sizeof(T)];
        Take(bytes, sizeof bytes);
        T value = 0;
        for (size_t i = sizeof(T); i-- > 0;) value = static_cast<T>((value << 8) | bytes[i]);
        return value;
    }

private:
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
};

inline Header ReadHeader(Reader& reader) {
    Header h;
    h.datSelect = reader.Get<uint8_t>();
    h.msgSelect = reader.Get<uint8_t>();
    h.retSelect = reader.Get<uint8_t>();
    h.dgSelect = reader.Get<uint8_t>();
    h.rawDat = reader.Get<uint16_t>();
    h.rawMsg = reader.Get<uint16_t>();
    h.rawRet = reader.Get<uint16_t>();
    h.containerSize = reader.Get<uint16_t>();
    h.rawDg = reader.Get<uint32_t>();
    h.state = reader.Get<uint8_t>();
    h.flags = reader.Get<uint8_t>();
    reader.Get<uint16_t>();
    return h;
}

// Appends the little-endian bytes of value.
template <typename T>
void Put(std::vector<uint8_t>& out, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i)));
}

inline void WriteHeader(std::vector<uint8_t>& out, const Header& h) {
    Put(out, h.datSelect);
    Put(out, h.msgSelect);
    Put(out, h.retSelect);
    Put(out, h.dgSelect);
    Put(out, h.rawDat);
    Put(out, h.rawMsg);
    Put(out, h.rawRet);
    Put(out, h.containerSize);
    Put(out, h.rawDg);
    Put(out, h.state);
    Put(out, h.flags);
    Put(out, static_cast<uint16_t>(0));
}

}  // namespace fuzzcall

#endif  // TWAINMON_FUZZ_FUZZCALL_H
