// A fast formatter for the printf conversions the transcript uses, giving the same bytes as
// vsnprintf: %s %c %d %i %u %x %X %f %% with the flags '-' and '0', a width, a precision for %f and
// the lengths h hh l ll z. "%.3f" of a TW_FIX32 value (a whole number of 65536ths) is computed
// exactly, rounded as printf rounds it; any other double goes to snprintf. A conversion outside
// this set (other flags, '*', a precision elsewhere, %p, %e, ...) ends the fast part: it and the
// rest of the format are left to vsnprintf, with the arguments that are left. (The analyser's own
// formats, all string literals, are split while compiling instead: CompiledFormat.h.)
#ifndef TWAINMON_LINEFORMAT_H
#define TWAINMON_LINEFORMAT_H

#include <cstdarg>
#include <cstddef>

namespace linefmt {

// What one call of Format wrote.
struct Written {
    size_t nLength;  // bytes written, at most the room
    bool bCut;       // the text went on past the room (what did not fit is dropped)
};

// Formats into pOut, which has nRoom bytes of room plus one (a NUL may be written after the text),
// the first nRoom bytes of what vsnprintf would write; the text is not terminated. Returns nullptr
// when the whole format was done (or the room filled up), else the '%' of the first conversion
// left to vsnprintf: *args then holds exactly the arguments of that conversion and those after it.
// The list is passed by address so that what is taken here is taken for the caller too, on every
// platform (va_list is an array on x86-64 but a plain pointer on the Mac's arm64).
const char* Format(char* pOut, size_t nRoom, const char* pszFormat, va_list* args, Written* pWritten);

// "%lld" of v: writes the text at pOut (at least kDecimalRoom bytes, no NUL) and returns its length.
constexpr size_t kDecimalRoom = 20;
size_t Decimal(long long v, char* pOut);

// "%.3f" of a double that is a whole number of 65536ths of magnitude at most 32768 (every TW_FIX32
// value): writes the text at pOut (at least kFixed3Room bytes) and returns its length; 0 for any
// other double.
constexpr size_t kFixed3Room = 16;
size_t Fixed3(double d, char* pOut);

}  // namespace linefmt

#endif  // TWAINMON_LINEFORMAT_H
