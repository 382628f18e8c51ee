// make_corpus FOLDER: writes the fuzz target's seeds (layout in FuzzCall.h): every DAT the dispatcher
// knows with three kinds of block, calls that move the tracked state, claimed and unclaimed events,
// failed calls, containers of every kind and item type, capabilities whose values have names, and a
// supported-caps array long enough to overflow the text buffer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "DataBlock.h"
#include "FuzzCall.h"
#include "TwainTypes.h"

namespace {

using Bytes = std::vector<uint8_t>;
using fuzzcall::kRawSelector;

std::string g_folder;

// Stores the low n bytes (at most 8) of value at out[at], little-endian as the structures are.
void Set(Bytes& out, size_t at, uint64_t value, size_t n = 4) {
    for (size_t i = 0; i < n && i < 8 && at + i < out.size(); ++i) out[at + i] = uint8_t(value >> 8 * i);
}

// The origin of every seed, and DAT_IDENTITY's readable block.
const TW_IDENTITY kIdentity = {reinterpret_cast<TW_MEMREF>(static_cast<uintptr_t>(0x1234)),
                               {1, 10, TWLG_ENGLISH_USA, TWCY_USA, "1.10 release"}, 1, 9, DG_CONTROL | DG_IMAGE,
                               "Maker", "Family", "Product"};
const Bytes kIdentityBytes(reinterpret_cast<const uint8_t*>(&kIdentity), reinterpret_cast<const uint8_t*>(&kIdentity + 1));

// One seed, in the file <tag>_<number>: the header naming the call by its raw codes, the data block
// (cut or padded to its DAT's structure), the container and the origin.
void Seed(const char* tag, TW_UINT16 DAT, TW_UINT16 MSG, TW_UINT16 rc, const Bytes& block, uint8_t state = 4,
          const Bytes& container = {}, uint8_t flags = 0) {
    static int nSeeds = 0;
    const TW_UINT32 DG = (DAT >> 8) == 0x01 ? DG_IMAGE : (DAT >> 8) == 0x02 ? DG_AUDIO : DG_CONTROL;
    const fuzzcall::Header header{kRawSelector, kRawSelector, kRawSelector, kRawSelector, DAT, MSG, rc,
                                  static_cast<uint16_t>(container.size()), DG, state, flags};
    Bytes out;
    fuzzcall::WriteHeader(out, header);
    out.insert(out.end(), block.begin(), block.end());
    out.resize(fuzzcall::kHeaderSize + DataBlockSize(DAT));
    for (const Bytes* part : {&container, &kIdentityBytes}) out.insert(out.end(), part->begin(), part->end());
    const std::string path = g_folder + "/" + tag + "_" + std::to_string(++nSeeds);
    std::ofstream file(path, std::ios::binary);
    if (!file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size())).flush()) {
        fprintf(stderr, "make_corpus: cannot write %s\n", path.c_str());
        exit(1);
    }
}

// A data block: 0 zeros (DAT_IDENTITY: a readable identity); 1 small values in every field (counts
// and indexes that fit, texts of one byte); 2 a pattern (large counts, texts without an end). Then
// the field at `at` set to value.
Bytes Block(TW_UINT16 DAT, int kind, size_t at = 0, uint32_t value = 0) {
    Bytes out = kind == 0 && DAT == DAT_IDENTITY ? kIdentityBytes : Bytes(DataBlockSize(DAT));
    for (size_t i = 0; kind != 0 && i < out.size(); ++i) out[i] = uint8_t(kind == 1 ? (i % 4 ? 0 : 2) : 0x41 + 7 * i);
    if (value != 0) Set(out, at, value);
    return out;
}

// The capabilities whose values the log names, then others and one it does not know.
const TW_UINT16 kCaps[] = {ICAP_COMPRESSION,   ICAP_PIXELTYPE,   ICAP_UNITS,        ICAP_XFERMECH,
                           ICAP_ORIENTATION,   ICAP_SUPPORTEDSIZES, CAP_SUPPORTEDCAPS, CAP_ZV_VERSION,
                           CAP_ZV_UIMODE,      ICAP_ZV_FILMTYPE, CAP_XFERCOUNT,     ICAP_XRESOLUTION,
                           ICAP_FRAMES,        CAP_ZV_PRODUCTNAME, CAP_FEEDERENABLED, 0x7777};

// A container: a range (minimum, maximum, step, default, current: 1, 5, 1, 2, 3); or an array, an
// enumeration (current index 1, default 2) or a one value of n items, item k the text "A", "B", ... or
// the number k, from the ninth on a capability's code (so that a long supported-caps list names them).
Bytes Container(TW_UINT16 ConType, TW_UINT16 ItemType, size_t nItemSize, uint32_t n = 3) {
    const bool bText = ItemType >= TWTY_STR32 && ItemType <= TWTY_STR255;
    const size_t nFixed = ConType == TWON_ARRAY         ? offsetof(TW_ARRAY, ItemList)
                          : ConType == TWON_ENUMERATION ? offsetof(TW_ENUMERATION, ItemList)
                                                        : offsetof(TW_ONEVALUE, Item);
    if (ConType == TWON_ONEVALUE) n = 1;
    Bytes out(ConType == TWON_RANGE ? sizeof(TW_RANGE) : std::max(nFixed + n * nItemSize, sizeof(TW_ONEVALUE)));
    Set(out, 0, ItemType, 2);
    for (size_t i = 0; ConType == TWON_RANGE && i < 5; ++i) Set(out, offsetof(TW_RANGE, MinValue) + 4 * i, "\1\5\1\2\3"[i]);
    if (ConType == TWON_RANGE) return out;
    if (ConType != TWON_ONEVALUE) Set(out, offsetof(TW_ARRAY, NumItems), n);
    if (ConType == TWON_ENUMERATION) Set(out, offsetof(TW_ENUMERATION, CurrentIndex), 1 | uint64_t{2} << 32, 8);
    for (uint32_t k = 0; k < n; ++k) {
        Set(out, nFixed + k * nItemSize, bText ? 'A' + k % 26 : k < 8 ? k : kCaps[k % 16], bText ? 1 : nItemSize);
    }
    return out;
}

void Capability(TW_UINT16 MSG, TW_UINT16 Cap, TW_UINT16 ConType, const Bytes& container, TW_UINT16 rc = 0,
                uint8_t flags = 0) {  // TW_CAPABILITY: Cap, then ConType
    Seed("cap", DAT_CAPABILITY, MSG, rc, Block(DAT_CAPABILITY, 0, 0, Cap | uint32_t{ConType} << 16), 4, container, flags);
}

// Calls that move the tracked state, a failure and a return code past the named ones: DAT, MSG,
// return code (1 TWRC_FAILURE, 6 TWRC_XFERDONE), state before.
const TW_UINT16 kStateCalls[][4] = {
    {DAT_PARENT, MSG_OPENDSM, 0, 2},       {DAT_PARENT, MSG_CLOSEDSM, 0, 3},          {DAT_IDENTITY, MSG_OPENDS, 0, 3},
    {DAT_IDENTITY, MSG_CLOSEDS, 0, 4},     {DAT_USERINTERFACE, MSG_ENABLEDS, 0, 4},   {DAT_NULL, MSG_XFERREADY, 0, 5},
    {DAT_NULL, MSG_CLOSEDSREQ, 0, 5},      {DAT_USERINTERFACE, MSG_DISABLEDS, 0, 5},  {DAT_PENDINGXFERS, MSG_ENDXFER, 0, 7},
    {DAT_PENDINGXFERS, MSG_RESET, 0, 6},   {DAT_IMAGEMEMXFER, MSG_GET, 6, 7},         {DAT_IMAGENATIVEXFER, MSG_GET, 6, 6},
    {DAT_IMAGEFILEXFER, MSG_GET, 6, 6},    {DAT_USERINTERFACE, MSG_ENABLEDS, 1, 4},   {DAT_NULL, MSG_NULL, 10, 4},
    {DAT_ZV_TWAINCALLBACKMSG, MSG_ZV_XFERREQUEST, 0, 5}};
const TW_UINT16 kCapMsgs[] = {MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET, MSG_RESET, MSG_QUERYSUPPORT};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_corpus FOLDER\n");
        return 2;
    }
    g_folder = argv[1];
    for (TW_UINT16 DAT : fuzzcall::KnownDats()) {
        for (int kind = 0; kind < 3; ++kind) Seed("dat", DAT, MSG_GET, 0, Block(DAT, kind));
    }
    for (const auto& c : kStateCalls) Seed("call", c[0], c[1], c[2], Block(c[0], c[0] == DAT_IDENTITY ? 0 : 1), c[3] & 7);
    for (TW_UINT16 message : {MSG_XFERREADY, MSG_CLOSEDSREQ, MSG_NULL, MSG_DEVICEEVENT}) {
        for (TW_UINT16 rc : {TWRC_DSEVENT, TWRC_NOTDSEVENT}) {  // claimed, and not: nothing is shown
            Seed("event", DAT_EVENT, MSG_PROCESSEVENT, rc, Block(DAT_EVENT, 0, offsetof(TW_EVENT, TWMessage), message), 5);
        }
    }
    // Every container kind with every item type, the message and the capability going round their lists.
    for (TW_UINT16 n = 0; n < 4 * 14; ++n) {
        const TW_UINT16 ConType = TWON_ARRAY + n / 14, type = n % 14;  // TWON_ARRAY to TWON_RANGE
        Capability(kCapMsgs[n % 6], kCaps[n % 16], ConType, Container(ConType, type, type <= TWTY_STR255 ? ItemSize(type) : 4));
    }
    for (TW_UINT16 Cap : kCaps) Capability(MSG_GET, Cap, TWON_ENUMERATION, Container(TWON_ENUMERATION, TWTY_UINT16, 2, 8));
    Capability(MSG_GET, CAP_SUPPORTEDCAPS, TWON_ARRAY, Container(TWON_ARRAY, TWTY_UINT16, 2, 400));  // overflows the text
    Capability(MSG_GET, ICAP_PIXELTYPE, TWON_ENUMERATION, Container(TWON_ENUMERATION, TWTY_UINT16, 2, 0));
    // By hand: an array that claims 1000 items and holds none, a one value cut after its item type.
    Capability(MSG_GET, CAP_SUPPORTEDCAPS, TWON_ARRAY, Bytes{TWTY_UINT16, 0, 0, 0, 0xE8, 0x03, 0, 0});
    Capability(MSG_GET, ICAP_UNITS, TWON_ONEVALUE, Bytes{TWTY_UINT16, 0});
    // Containers that must stay untouched (the fuzz target poisons them: no container kind, a failed
    // call), and a null one.
    Capability(MSG_RESET, ICAP_PIXELTYPE, TWON_DONTCARE16, {}, 0, fuzzcall::kFlagUntouchableContainer);
    Capability(MSG_GET, ICAP_PIXELTYPE, TWON_ONEVALUE, {}, TWRC_FAILURE, fuzzcall::kFlagUntouchableContainer);
    Capability(MSG_GET, ICAP_PIXELTYPE, TWON_ONEVALUE, {}, 0, fuzzcall::kFlagNullContainer);
    return 0;
}
