// Small helpers shared by the tests.
#ifndef TWAINMON_TESTSUPPORT_H
#define TWAINMON_TESTSUPPORT_H

#include <cstdio>
#include <string>
#include <vector>

#include "TwainTypes.h"

namespace testsupport {

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

}  // namespace testsupport

#endif
