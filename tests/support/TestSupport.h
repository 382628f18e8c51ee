// Small helpers shared by the tests.
#ifndef TWAINMON_TESTSUPPORT_H
#define TWAINMON_TESTSUPPORT_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "TwainTypes.h"

namespace testsupport {

// A TW_FIX32 from its two fields: Whole (signed) and Frac (unsigned, in 1/65536).
inline TW_FIX32 Fix(int whole, unsigned int frac) {
    return TW_FIX32{static_cast<TW_INT16>(whole), static_cast<TW_UINT16>(frac)};
}

// A pointer or handle of the given value, never followed: for fields shown by their value only.
template <typename T>
T FakePointer(uint64_t value) {
    return reinterpret_cast<T>(static_cast<uintptr_t>(value));
}

// Joins lines, ending each with CR LF: the shape of every transcript block.
std::string Lines(const std::vector<std::string>& lines);

// The bytes a stream has put into its file so far (read through the descriptor, so text still
// waiting in the stream's buffer is not among them).
std::string FileBytesOnDisk(FILE* file);

// The analyser's second rendering of one call (result block, data block, state line), done by a
// fresh analyser whose tracked state starts at nState. Returns the rendered text.
std::string RenderResult(unsigned int DG, unsigned short DAT, unsigned short MSG, void* pData,
                         unsigned short RetCode = 0, TW_IDENTITY* pOrigin = nullptr, int nState = 0);
// The result block: "        Return Code = [<name>]" and "pData   = <0x%08x>" (the pointer's low
// 32 bits), each with CR LF.
std::string ResultLines(const char* pszReturnCode, const void* pData);
// The empty line and the state line "TWAIN Status = [n]" that close a shown call.
std::string StateLines(int nState);

// The data block alone of a successful call (TWRC_SUCCESS) rendered by a fresh analyser in state
// 0: the result lines before it and the state line after it are checked, then removed.
std::string RenderBlock(unsigned int DG, unsigned short DAT, unsigned short MSG, void* pData,
                        TW_IDENTITY* pOrigin = nullptr);
// The first line of a block that starts with label, without its line end; "" when none does.
std::string LineOf(const std::string& block, const std::string& label);

// The bytes of a file; "" when it cannot be read.
std::string ReadFile(const std::string& path);

// A transcript with the addresses that differ between runs masked: on a line that starts with the
// label of a pointer or handle field ("pData   = <0x", "    hContainer = <0x" ...), the eight
// lower-case hexadecimal digits after it become ######## unless they are all zeros (a null pointer
// is the same in every run). A value of any other shape is left alone, so a comparison shows it.
std::string MaskPointers(std::string log);

// Where two texts part: the first differing line (counted from 1) and byte, as each has it, CRs
// shown as \r. For the messages of comparisons of whole transcripts.
std::string FirstDifference(const std::string& expected, const std::string& actual);

}  // namespace testsupport

#endif
