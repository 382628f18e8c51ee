#include "TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "ParaAnalyze.h"
#include "TextBuffer.h"

namespace testsupport {

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string RenderResult(unsigned int DG, unsigned short DAT, unsigned short MSG, void* pData,
                         unsigned short RetCode, TW_IDENTITY* pOrigin, int nState) {
    CParaAnalyze analyser;
    analyser.SetTwainStatus(nState);
    CTextBuffer buffer;
    analyser.ParaAnalyze(pOrigin, nullptr, DG, DAT, MSG, static_cast<char*>(pData), RetCode, &buffer);
    return std::string(buffer.Text(), buffer.Length());
}

std::string ResultLines(const char* pszReturnCode, const void* pData) {
    char szPointer[32];
    snprintf(szPointer, sizeof(szPointer), "<0x%08x>",
             static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pData) & 0xFFFFFFFFu));
    return Lines({std::string("        Return Code = [") + pszReturnCode + "]", std::string("pData   = ") + szPointer});
}

std::string StateLines(int nState) { return "\r\nTWAIN Status = [" + std::to_string(nState) + "]\r\n"; }

std::string RenderBlock(unsigned int DG, unsigned short DAT, unsigned short MSG, void* pData, TW_IDENTITY* pOrigin) {
    const std::string text = RenderResult(DG, DAT, MSG, pData, TWRC_SUCCESS, pOrigin);
    const std::string head = ResultLines("TWRC_SUCCESS", pData);
    const std::string tail = StateLines(0);
    if (text.size() < head.size() + tail.size() || text.compare(0, head.size(), head) != 0 ||
        text.compare(text.size() - tail.size(), tail.size(), tail) != 0) {
        ADD_FAILURE() << "not a shown call with its result and state lines:\n" << text;
        return text;
    }
    return text.substr(head.size(), text.size() - head.size() - tail.size());
}

std::string LineOf(const std::string& block, const std::string& label) {
    for (size_t start = 0; start < block.size();) {
        size_t end = block.find("\r\n", start);
        if (end == std::string::npos) end = block.size();
        if (block.compare(start, label.size(), label) == 0) return block.substr(start, end - start);
        start = end + 2;
    }
    return "";
}

std::string FileBytesOnDisk(FILE* file) {
    std::string bytes;
    char chunk[4096];
    off_t offset = 0;
    for (;;) {
        ssize_t n = pread(fileno(file), chunk, sizeof chunk, offset);
        if (n <= 0) {
            return bytes;
        }
        bytes.append(chunk, static_cast<size_t>(n));
        offset += n;
    }
}

}  // namespace testsupport
