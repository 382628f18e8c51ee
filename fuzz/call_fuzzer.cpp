// libFuzzer target: one TWAIN call made from the input (layout in FuzzCall.h), rendered as the entry
// renders it: the triplet line, then the result report with the data block and the state update.
//
// The data block is allocated with exactly the size of its DAT's structure, so AddressSanitizer
// stops any read outside it, and a capability's container lives in a handle made as a strict host
// makes it (HostMemory.h): a header of two words and a block of the size the input names, each
// flush against a guard page, so a read or write past either faults. After both renderings the invariants of the entry's contract are checked:
// the text is NUL-terminated at its length and fits the buffer, nothing the host owns changed, the
// report is the same when rendered again, and the few rules that decide whether anything is shown
// held.
#include <CoreServices/CoreServices.h>
#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "DataBlock.h"
#include "FuzzCall.h"
#include "HostMemory.h"
#include "ParaAnalyze.h"
#include "TextBuffer.h"

namespace {

// One analyser for the whole run, like the module's global one: its line counter runs on.
CParaAnalyze g_analyser;

// Memory that no rendering may read: the container handle of a call whose container must stay
// untouched. Poisoned once, so a read of it is reported as a fault.
alignas(16) char g_untouchable[64];

void Check(bool bHolds, const char* pszWhat) {
    if (bHolds) return;
    fprintf(stderr, "call_fuzzer: invariant broken: %s\n", pszWhat);
    abort();
}

bool EndsWithCrLf(const CTextBuffer& text) {
    return text.Length() >= 2 && text.Text()[text.Length() - 2] == '\r' && text.Text()[text.Length() - 1] == '\n';
}

void CheckText(const CTextBuffer& text) {
    Check(text.Length() <= CTextBuffer::kRoom, "text longer than the buffer's room");
    Check(text.Text()[text.Length()] == '\0', "text not NUL-terminated at its length");
    Check(memchr(text.Text(), '\0', text.Length()) == nullptr, "NUL byte inside the text");
    Check(!text.Overflowed() || text.Full(), "overflow flagged, but the buffer was not filled");
    Check(text.Empty() || text.Overflowed() || EndsWithCrLf(text), "text does not end with CR LF");
}

bool IsContainerType(TW_UINT16 ConType) {
    return ConType == TWON_ARRAY || ConType == TWON_ENUMERATION || ConType == TWON_ONEVALUE || ConType == TWON_RANGE;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    ASAN_POISON_MEMORY_REGION(g_untouchable, sizeof g_untouchable);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pInput, size_t nInput) {
    fuzzcall::Reader reader(pInput, nInput);
    const fuzzcall::Header header = fuzzcall::ReadHeader(reader);
    const TW_UINT32 DG = header.Dg();
    const TW_UINT16 DAT = header.Dat();
    const TW_UINT16 MSG = header.Msg();
    const TW_UINT16 RetCode = header.RetCode();

    // The data block: exactly its structure's size, any content.
    const size_t nBlock = DataBlockSize(DAT);
    std::unique_ptr<char[]> block(new char[nBlock]);
    reader.Take(block.get(), nBlock);

    // A capability's container, in a host's handle of any size, or a null or untouchable handle.
    Handle hContainer = nullptr;
    if (DAT == DAT_CAPABILITY) {
        TW_CAPABILITY cap;
        memcpy(&cap, block.get(), sizeof cap);
        const bool bUntouched = RetCode == TWRC_FAILURE || !IsContainerType(cap.ConType);
        if ((header.flags & fuzzcall::kFlagNullContainer) != 0) {
            cap.hContainer = nullptr;
        } else if ((header.flags & fuzzcall::kFlagUntouchableContainer) != 0 && bUntouched) {
            cap.hContainer = reinterpret_cast<TW_HANDLE>(g_untouchable);
        } else {
            hContainer = hostmem::NewHandle(header.containerSize);
            Check(hContainer != nullptr, "no memory for the container");
            reader.Take(*hContainer, header.containerSize);
            cap.hContainer = hContainer;
        }
        memcpy(block.get(), &cap, sizeof cap);
    }

    std::unique_ptr<TW_IDENTITY> origin(new TW_IDENTITY);
    reader.Take(origin.get(), sizeof(TW_IDENTITY));

    // Copies of everything the host owns, to prove that rendering only reads.
    const std::vector<char> blockBefore(block.get(), block.get() + nBlock);
    std::vector<char> containerBefore;
    char* pContainerData = nullptr;
    if (hContainer != nullptr) {
        pContainerData = *hContainer;
        containerBefore.assign(pContainerData, pContainerData + header.containerSize);
    }
    const TW_IDENTITY originBefore = *origin;

    char* pData = (header.flags & fuzzcall::kFlagNullData) != 0 ? nullptr : block.get();
    TW_IDENTITY* pOrigin = (header.flags & fuzzcall::kFlagNullOrigin) != 0 ? nullptr : origin.get();
    const int nStateBefore = header.State();
    g_analyser.SetTwainStatus(nStateBefore);

    CTextBuffer text;
    g_analyser.TripletAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, &text);
    CheckText(text);
    // The triplet text is one line or nothing; window events never have one.
    const char* pLineEnd = static_cast<const char*>(memchr(text.Text(), '\n', text.Length()));
    Check(text.Empty() || pLineEnd == text.Text() + text.Length() - 1, "triplet text is not exactly one line");
    Check(MSG != MSG_PROCESSEVENT || text.Empty(), "a window event got a triplet line");

    text.Clear();
    g_analyser.ParaAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, RetCode, &text);
    CheckText(text);
    if (DAT == DAT_EVENT && MSG == MSG_PROCESSEVENT && RetCode != TWRC_DSEVENT) {
        Check(text.Empty(), "an unclaimed event left text");
    }

    // The report depends on the call and the tracked state alone: a fresh analyser in the same
    // state renders the same text (a formatter showing a stale name or an unset buffer would not).
    {
        CParaAnalyze fresh;
        fresh.SetTwainStatus(nStateBefore);
        CTextBuffer again;
        fresh.ParaAnalyze(pOrigin, nullptr, DG, DAT, MSG, pData, RetCode, &again);
        Check(again.Length() == text.Length() && memcmp(again.Text(), text.Text(), text.Length()) == 0,
              "the same call rendered twice gave different reports");
    }

    const int nStateAfter = g_analyser.GetTwainStatus();
    Check(nStateAfter >= 0 && nStateAfter <= 7, "tracked state left 0 to 7");
    Check(RetCode != TWRC_FAILURE || nStateAfter == nStateBefore, "a failed call changed the tracked state");

    Check(nBlock == 0 || memcmp(blockBefore.data(), block.get(), nBlock) == 0, "the data block was changed");
    Check(memcmp(&originBefore, origin.get(), sizeof(TW_IDENTITY)) == 0, "the origin identity was changed");
    if (hContainer != nullptr) {
        Check(*hContainer == pContainerData, "the container handle's block was moved");
        Check(GetHandleSize(hContainer) == header.containerSize, "the container handle was resized");
        Check(header.containerSize == 0 || memcmp(containerBefore.data(), pContainerData, header.containerSize) == 0,
              "the container was changed");
        hostmem::FreeHandle(hContainer);
    }
    return 0;
}
