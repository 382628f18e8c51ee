#include "Diff.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <unistd.h>
#include <unordered_map>

#include "Block.h"
#include "Transcript.h"

namespace twainlog {

namespace {

using Pairs = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

struct Range {
    std::uint32_t a0, a1, b0, b1;
};

// Where the shortest edit script of a[r.a0, r.a1) and b[r.b0, r.b1) can be split in two (a
// bisection of Myers' algorithm, searching from both ends); false when there is no common
// element or the stretch needs more than maxEdits edits.
bool Bisect(const std::uint32_t* a, const std::uint32_t* b, const Range& r, int maxEdits, std::vector<long>& v1,
            std::vector<long>& v2, std::uint32_t& splitA, std::uint32_t& splitB) {
    const long n = r.a1 - r.a0, m = r.b1 - r.b0;
    const long maxD = (n + m + 1) / 2;
    const long offset = maxD, length = 2 * maxD;
    v1.assign(static_cast<std::size_t>(length + 2), -1);
    v2.assign(static_cast<std::size_t>(length + 2), -1);
    v1[static_cast<std::size_t>(offset + 1)] = 0;
    v2[static_cast<std::size_t>(offset + 1)] = 0;
    const long delta = n - m;
    const bool front = (delta % 2) != 0;
    long k1start = 0, k1end = 0, k2start = 0, k2end = 0;
    const std::uint32_t* A = a + r.a0;
    const std::uint32_t* B = b + r.b0;
    const long limit = std::min<long>(maxD, maxEdits);
    for (long d = 0; d < limit; ++d) {
        for (long k1 = -d + k1start; k1 <= d - k1end; k1 += 2) {
            const long k1o = offset + k1;
            long x1;
            if (k1 == -d || (k1 != d && v1[k1o - 1] < v1[k1o + 1])) {
                x1 = v1[k1o + 1];
            } else {
                x1 = v1[k1o - 1] + 1;
            }
            long y1 = x1 - k1;
            while (x1 < n && y1 < m && A[x1] == B[y1]) {
                ++x1;
                ++y1;
            }
            v1[k1o] = x1;
            if (x1 > n) {
                k1end += 2;
            } else if (y1 > m) {
                k1start += 2;
            } else if (front) {
                const long k2o = offset + delta - k1;
                if (k2o >= 0 && k2o < length && v2[k2o] != -1) {
                    if (x1 >= n - v2[k2o]) {
                        splitA = r.a0 + static_cast<std::uint32_t>(x1);
                        splitB = r.b0 + static_cast<std::uint32_t>(y1);
                        return true;
                    }
                }
            }
        }
        for (long k2 = -d + k2start; k2 <= d - k2end; k2 += 2) {
            const long k2o = offset + k2;
            long x2;
            if (k2 == -d || (k2 != d && v2[k2o - 1] < v2[k2o + 1])) {
                x2 = v2[k2o + 1];
            } else {
                x2 = v2[k2o - 1] + 1;
            }
            long y2 = x2 - k2;
            while (x2 < n && y2 < m && A[n - x2 - 1] == B[m - y2 - 1]) {
                ++x2;
                ++y2;
            }
            v2[k2o] = x2;
            if (x2 > n) {
                k2end += 2;
            } else if (y2 > m) {
                k2start += 2;
            } else if (!front) {
                const long k1o = offset + delta - k2;
                if (k1o >= 0 && k1o < length && v1[k1o] != -1) {
                    const long x1 = v1[k1o];
                    const long y1 = offset + x1 - k1o;
                    if (x1 >= n - x2) {
                        splitA = r.a0 + static_cast<std::uint32_t>(x1);
                        splitB = r.b0 + static_cast<std::uint32_t>(y1);
                        return true;
                    }
                }
            }
        }
    }
    return false;
}

}  // namespace

Pairs Align(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int maxEdits) {
    Pairs out;
    std::vector<long> v1, v2;
    // Ranges still to align, last first; a range's pairs all come before those of the next one.
    std::vector<Range> todo;
    todo.push_back(Range{0, static_cast<std::uint32_t>(a.size()), 0, static_cast<std::uint32_t>(b.size())});
    // Matches of common suffixes wait until their range's inner part has been aligned.
    struct Suffix {
        std::uint32_t a, b, n;
    };
    std::vector<std::pair<std::size_t, Suffix>> suffixes;  // (todo depth at which to emit, suffix)
    while (!todo.empty()) {
        while (!suffixes.empty() && suffixes.back().first >= todo.size()) {
            const Suffix s = suffixes.back().second;
            suffixes.pop_back();
            for (std::uint32_t i = 0; i < s.n; ++i) out.emplace_back(s.a + i, s.b + i);
        }
        Range r = todo.back();
        todo.pop_back();
        while (r.a0 < r.a1 && r.b0 < r.b1 && a[r.a0] == b[r.b0]) out.emplace_back(r.a0++, r.b0++);
        std::uint32_t s = 0;
        while (r.a1 - s > r.a0 && r.b1 - s > r.b0 && a[r.a1 - s - 1] == b[r.b1 - s - 1]) ++s;
        r.a1 -= s;
        r.b1 -= s;
        if (s > 0) suffixes.emplace_back(todo.size(), Suffix{r.a1, r.b1, s});
        if (r.a0 == r.a1 || r.b0 == r.b1) continue;
        std::uint32_t sa = 0, sb = 0;
        if (!Bisect(a.data(), b.data(), r, maxEdits, v1, v2, sa, sb)) continue;
        todo.push_back(Range{sa, r.a1, sb, r.b1});
        todo.push_back(Range{r.a0, sa, r.b0, sb});
    }
    while (!suffixes.empty()) {
        const Suffix s = suffixes.back().second;
        suffixes.pop_back();
        for (std::uint32_t i = 0; i < s.n; ++i) out.emplace_back(s.a + i, s.b + i);
    }
    return out;
}

namespace {

class File {
public:
    explicit File(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)), error_(errno) {}
    ~File() {
        if (fd_ >= 0) ::close(fd_);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    int Fd() const { return fd_; }
    int Error() const { return error_; }

private:
    int fd_;
    int error_;
};

// The calls of one transcript: their keys and lines.
struct Calls {
    std::vector<std::uint32_t> keys;
    std::vector<std::size_t> lines;
};

std::string CallKey(const Record& r) {
    std::string key = r.Triplet();
    if (r.hasCap) key.append(" (").append(r.cap).append(")");
    return key;
}

// The block's fields as "path = value", pointers and handles left out.
class Flatten {
public:
    explicit Flatten(std::vector<std::pair<std::string, std::string>>& out) : out_(out) { out_.clear(); }
    void Key(std::string_view k) { key_.assign(k); }
    void String(std::string_view s, char bracket) {
        std::string path = Path();
        if (bracket != '<') out_.emplace_back(std::move(path), std::string(s));
        Advance();
    }
    void StartObject() { Push(); }
    void EndObject() { Pop(); }
    void StartArray() { Push(); arrays_.push_back(0); isArray_.back() = true; }
    void EndArray() { arrays_.pop_back(); Pop(); }

private:
    std::string Path() const {
        std::string p = prefix_;
        if (!isArray_.empty() && isArray_.back()) {
            p += "[" + std::to_string(arrays_.back()) + "]";
        } else {
            if (!p.empty()) p += '.';
            p += key_;
        }
        return p;
    }
    void Advance() {
        if (!isArray_.empty() && isArray_.back()) ++arrays_.back();
    }
    void Push() {
        std::string p = Path();
        Advance();
        prefixes_.push_back(prefix_);
        prefix_ = std::move(p);
        isArray_.push_back(false);
    }
    void Pop() {
        prefix_ = prefixes_.back();
        prefixes_.pop_back();
        isArray_.pop_back();
    }
    std::vector<std::pair<std::string, std::string>>& out_;
    std::string key_, prefix_;
    std::vector<std::string> prefixes_;
    std::vector<bool> isArray_;
    std::vector<std::size_t> arrays_;
};

bool ReadCalls(const std::string& path, std::unordered_map<std::string, std::uint32_t>& ids,
               std::vector<std::string>& names, Calls& calls, std::string& error) {
    File f(path);
    if (f.Fd() < 0) {
        error = path + ": " + std::strerror(f.Error());
        return false;
    }
    Parser parser(f.Fd());
    Record r;
    while (parser.Next(r)) {
        std::string key = CallKey(r);
        if (key.size() > 512) key.resize(512);  // names that long are not the monitor's
        auto it = ids.find(key);
        if (it == ids.end()) {
            it = ids.emplace(key, static_cast<std::uint32_t>(names.size())).first;
            names.push_back(key);
        }
        calls.keys.push_back(it->second);
        calls.lines.push_back(r.line);
    }
    if (parser.ReadFailed()) {
        error = path + ": " + std::strerror(parser.ReadError());
        return false;
    }
    return true;
}

void PrintCall(std::FILE* out, char mark, const std::string& file, const Record& r) {
    std::fprintf(out, "%c %s:%zu: ", mark, file.c_str(), r.line);
    if (r.hasSeq) std::fprintf(out, "[%05ld] ", r.seq);
    std::fprintf(out, "%s\n", CallKey(r).c_str());
}

// Prints what differs between two aligned calls; true when anything does.
bool ComparePair(std::FILE* out, const std::string& fa, const Record& a, const std::string& fb, const Record& b) {
    std::vector<std::string> lines;
    auto differ = [&](const char* what, const std::string& x, const std::string& y) {
        if (x != y) lines.push_back(std::string(what) + ": " + (x.empty() ? "(none)" : x) + " | " + (y.empty() ? "(none)" : y));
    };
    differ("rc", std::string(a.rc), std::string(b.rc));
    differ("state", a.hasState ? std::to_string(a.state) : "", b.hasState ? std::to_string(b.state) : "");
    differ("failed", a.failed ? "yes" : "", b.failed ? "yes" : "");
    differ("truncated", a.truncated ? "yes" : "", b.truncated ? "yes" : "");
    differ("incomplete", a.incomplete ? "yes" : "", b.incomplete ? "yes" : "");
    std::vector<std::pair<std::string, std::string>> fieldsA, fieldsB;
    Flatten flatA(fieldsA), flatB(fieldsB);
    WalkBlock(a.block, flatA);
    WalkBlock(b.block, flatB);
    std::map<std::string, std::string> inB(fieldsB.begin(), fieldsB.end());
    std::map<std::string, bool> seen;
    for (const auto& [path, value] : fieldsA) {
        seen[path] = true;
        auto it = inB.find(path);
        if (it == inB.end()) {
            lines.push_back(path + ": " + value + " | (absent)");
        } else if (it->second != value) {
            lines.push_back(path + ": " + value + " | " + it->second);
        }
    }
    for (const auto& [path, value] : fieldsB) {
        if (!seen.count(path)) lines.push_back(path + ": (absent) | " + value);
    }
    if (lines.empty()) return false;
    std::fprintf(out, "~ %s:%zu %s:%zu: %s\n", fa.c_str(), a.line, fb.c_str(), b.line, CallKey(a).c_str());
    for (const std::string& l : lines) std::fprintf(out, "    %s\n", l.c_str());
    return true;
}

}  // namespace

int DiffFiles(const std::string& pa, const std::string& pb, std::FILE* out, std::string& error) {
    std::unordered_map<std::string, std::uint32_t> ids;
    std::vector<std::string> names;
    Calls ca, cb;
    if (!ReadCalls(pa, ids, names, ca, error) || !ReadCalls(pb, ids, names, cb, error)) return 2;
    const Pairs pairs = Align(ca.keys, cb.keys);

    // Second pass: both files side by side, the aligned calls compared field by field.
    File fa(pa), fb(pb);
    if (fa.Fd() < 0 || fb.Fd() < 0) {
        error = (fa.Fd() < 0 ? pa : pb) + ": " + std::strerror(fa.Fd() < 0 ? fa.Error() : fb.Error());
        return 2;
    }
    Parser parserA(fa.Fd()), parserB(fb.Fd());
    Record ra, rb;
    std::size_t ia = 0, ib = 0, onlyA = 0, onlyB = 0, changed = 0;
    std::fprintf(out, "--- %s\n+++ %s\n", pa.c_str(), pb.c_str());
    auto drainTo = [&](std::size_t endA, std::size_t endB) {
        for (; ia < endA && parserA.Next(ra); ++ia) {
            PrintCall(out, '-', pa, ra);
            ++onlyA;
        }
        for (; ib < endB && parserB.Next(rb); ++ib) {
            PrintCall(out, '+', pb, rb);
            ++onlyB;
        }
    };
    for (const auto& [xa, xb] : pairs) {
        drainTo(xa, xb);
        if (!parserA.Next(ra) || !parserB.Next(rb)) break;
        ++ia;
        ++ib;
        if (ComparePair(out, pa, ra, pb, rb)) ++changed;
    }
    drainTo(ca.keys.size(), cb.keys.size());
    if (onlyA + onlyB + changed == 0) {
        std::fprintf(out, "the sessions match: %zu calls\n", ca.keys.size());
        return 0;
    }
    std::fprintf(out, "%zu calls only in %s, %zu only in %s, %zu aligned calls differ\n", onlyA, pa.c_str(), onlyB,
                 pb.c_str(), changed);
    return 1;
}

}  // namespace twainlog
