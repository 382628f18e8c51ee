// `twainlog diff`: two sessions' calls aligned by triplet and capability, then what differs.
#ifndef TWAINLOG_DIFF_H
#define TWAINLOG_DIFF_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace twainlog {

// The longest common subsequence of a and b, as the index pairs it matches, in order. Past
// maxEdits differences within one stretch, that stretch is taken as having nothing in common (the
// alignment stays valid, only no longer the longest).
std::vector<std::pair<std::uint32_t, std::uint32_t>> Align(const std::vector<std::uint32_t>& a,
                                                           const std::vector<std::uint32_t>& b,
                                                           int maxEdits = 20000);

// Compares two transcripts and prints their differences to out. Returns 0 when they match, 1
// when they differ, 2 when a file cannot be read (with the reason in error).
int DiffFiles(const std::string& a, const std::string& b, std::FILE* out, std::string& error);

}  // namespace twainlog

#endif  // TWAINLOG_DIFF_H
