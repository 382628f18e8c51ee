#include "TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string MaskPointers(std::string log) {
    static const char* const kPointerLabels[] = {
        "pData   = <0x",         // the result block
        "    hContainer = <0x",  // TW_CAPABILITY
        "      TheMem = <0x",    // TW_MEMORY
        "    hParent = <0x",     // TW_USERINTERFACE
        "    pEvent    = <0x",   // TW_EVENT
        "    hData      = <0x",  // TW_CUSTOMDSDATA
        "    Item = <0x",        // TW_UINT32 of a native transfer: the image handle
    };
    for (size_t line = 0; line < log.size();) {
        for (const std::string label : kPointerLabels) {
            const size_t at = line + label.size();
            if (log.compare(line, label.size(), label) != 0 || at + 9 > log.size()) continue;
            const std::string digits = log.substr(at, 8);
            if (log[at + 8] == '>' && digits.find_first_not_of("0123456789abcdef") == std::string::npos &&
                digits != "00000000") {
                log.replace(at, 8, "########");
            }
            break;
        }
        const size_t end = log.find('\n', line);
        line = end == std::string::npos ? log.size() : end + 1;
    }
    return log;
}

std::string FirstDifference(const std::string& expected, const std::string& actual) {
    size_t at = 0, line = 1, lineStart = 0;
    for (; at < expected.size() && at < actual.size() && expected[at] == actual[at]; ++at) {
        if (expected[at] == '\n') {
            ++line;
            lineStart = at + 1;
        }
    }
    const auto lineOf = [lineStart](const std::string& text) {
        if (lineStart >= text.size()) return std::string("<end>");
        std::string shown;
        for (size_t i = lineStart; i < text.size() && text[i] != '\n'; ++i) {
            shown += text[i] == '\r' ? "\\r" : std::string(1, text[i]);
        }
        return shown;
    };
    return "first difference at line " + std::to_string(line) + " (byte " + std::to_string(at) +
           ")\n    expected: " + lineOf(expected) + "\n    actual:   " + lineOf(actual);
}

}  // namespace testsupport
