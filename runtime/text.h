// Text operations on byte strings in the ANSI code page: split, find, replace, left, right, length,
// lower case. Positions count bytes from 1; -1 means not found. A byte of 0x80 or more and the byte
// after it form one character: no operation cuts such a pair, and no match starts on its second
// byte (code page 936 has second bytes equal to "@", "[", "\" and "]").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// Byte offsets [begin, end) of one piece of a split text.
struct TextSpan {
    std::size_t begin;
    std::size_t end;
};

// Pieces between the separators. An empty text gives no pieces; the rest after the last separator is
// a piece only when it is not empty; other empty pieces count. An empty separator gives the whole
// text as one piece.
std::vector<std::string> Split(std::string_view text, std::string_view separator);
std::vector<TextSpan> SplitSpans(std::string_view text, std::string_view separator);

// The pieces joined with the separator between them (no separator before the first or after the last).
std::string Join(const std::vector<std::string>& pieces, std::string_view separator);

// 1-based position of the first occurrence of `what` at or after `start` (a start below 1 counts as
// 1, a start inside a double-byte character moves to the next character), or -1. An empty `what` is
// never found. Without case sensitivity ASCII letters match either case; bytes of double-byte
// characters always match exactly.
int Find(std::string_view text, std::string_view what, int start = 1, bool caseSensitive = true);

// 1-based position of the last occurrence of `what`, or -1.
int FindLast(std::string_view text, std::string_view what);

// `text` with up to `count` occurrences of `what` replaced by `with`, searching from `start`; a
// negative count replaces every occurrence, 0 none. Replaced text is not searched again.
std::string Replace(std::string_view text, std::string_view what, std::string_view with, int start, int count,
                    bool caseSensitive);

// The first / last `count` bytes, fewer when the boundary would fall inside a double-byte character.
std::string Left(std::string_view text, int count);
std::string Right(std::string_view text, int count);
int Length(std::string_view text);

// ASCII letters lowered; double-byte characters (whose second byte may be "A" to "Z") left alone.
std::string ToLower(std::string_view text);

// The byte count of the character starting at `offset`: 2 for a lead byte with a byte after it, else 1.
inline std::size_t CharLength(std::string_view text, std::size_t offset) {
    return static_cast<unsigned char>(text[offset]) >= 0x80 && offset + 1 < text.size() ? 2 : 1;
}

}  // namespace runtime
