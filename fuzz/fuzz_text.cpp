// The double-byte-safe text operations: splits join back, finds land on real matches at character
// boundaries, cuts never split a double-byte character, and every call gives the same result twice.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "fuzz/check.h"
#include "runtime/text.h"

using namespace runtime;

namespace {

// Whether byte `at` starts a character of `text` (not the second byte of a double-byte one).
bool IsBoundary(std::string_view text, std::size_t at) {
    std::size_t i = 0;
    while (i < at) i += CharLength(text, i);
    return i == at;
}

// A plain reference for the case-sensitive search: a match starts and ends on character boundaries.
bool MatchAt(std::string_view text, std::string_view what, std::size_t at) {
    return !what.empty() && text.substr(at, what.size()) == what && at + what.size() <= text.size() &&
           IsBoundary(text, at) && IsBoundary(text, at + what.size());
}

std::vector<TextSpan> ReferenceSpans(std::string_view text, std::string_view sep) {
    std::vector<TextSpan> spans;
    std::size_t begin = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (at >= begin && MatchAt(text, sep, at)) spans.push_back({begin, at}), begin = at + sep.size();
    }
    if (begin < text.size()) spans.push_back({begin, text.size()});
    return spans;
}

int ReferenceFindLast(std::string_view text, std::string_view what) {
    for (std::size_t at = text.size(); at-- > 0;) {
        if (MatchAt(text, what, at)) return static_cast<int>(at) + 1;
    }
    return -1;
}

void CheckSplit(std::string_view text, std::string_view sep) {
    const std::vector<TextSpan> spans = SplitSpans(text, sep);
    const std::vector<std::string> pieces = Split(text, sep);
    CHECK(pieces.size() == spans.size());
    std::size_t previousEnd = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        CHECK(spans[i].begin <= spans[i].end && spans[i].end <= text.size() && spans[i].begin >= previousEnd);
        CHECK(pieces[i] == text.substr(spans[i].begin, spans[i].end - spans[i].begin));
        if (!sep.empty()) CHECK(Find(pieces[i], sep) == -1);
        previousEnd = spans[i].end;
    }
    if (sep.empty()) return;
    const std::vector<TextSpan> reference = ReferenceSpans(text, sep);
    CHECK(reference.size() == spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        CHECK(reference[i].begin == spans[i].begin && reference[i].end == spans[i].end);
    }
    // Joined back: the text, less one trailing separator.
    const std::string joined = Join(pieces, sep);
    CHECK(joined == text || joined + std::string(sep) == text);
    CHECK(Split(joined, sep) == pieces || (!pieces.empty() && pieces.back().empty()));
}

void CheckFind(std::string_view text, std::string_view what, int start, bool caseSensitive) {
    const int at = Find(text, what, start, caseSensitive);
    CHECK(at == Find(text, what, start, caseSensitive));
    if (at == -1) {
        if (caseSensitive && start <= 1) CHECK(Replace(text, what, "x", 1, -1, true) == text);
        return;
    }
    CHECK(!what.empty() && at >= 1 && at >= start &&
          static_cast<std::size_t>(at) - 1 + what.size() <= text.size());
    const std::size_t offset = static_cast<std::size_t>(at) - 1;
    CHECK(IsBoundary(text, offset) && IsBoundary(text, offset + what.size()));
    if (caseSensitive) CHECK(text.substr(offset, what.size()) == what);
    CHECK(Find(text, what, at, caseSensitive) == at);
    if (caseSensitive) CHECK(FindLast(text, what) >= at);
    CHECK(FindLast(text, what) == ReferenceFindLast(text, what));
}

void CheckCuts(std::string_view text, int count) {
    const std::string left = Left(text, count), right = Right(text, count);
    const std::size_t want = count < 0 ? 0 : static_cast<std::size_t>(count);
    CHECK(left.size() <= want && text.substr(0, left.size()) == left && IsBoundary(text, left.size()));
    CHECK(right.size() <= want && text.substr(text.size() - right.size()) == right &&
          IsBoundary(text, text.size() - right.size()));
    // At most one byte short: the one a double-byte character would have put past the boundary.
    CHECK(left.size() + 1 >= std::min(want, text.size()) && right.size() + 1 >= std::min(want, text.size()));
    CHECK(Length(text) == static_cast<int>(text.size()));
}

void CheckLower(std::string_view text) {
    const std::string lower = ToLower(text);
    CHECK(lower.size() == text.size() && ToLower(lower) == lower);
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (CharLength(text, i) == 2) CHECK(lower.compare(i, 2, text.substr(i, 2)) == 0);
    }
    const std::string head = Left(text, 3);
    CHECK(Find(lower, head, 1, false) == (head.empty() ? -1 : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int start = input.ConsumeIntegralInRange(-2, 40);
    const int count = input.ConsumeIntegralInRange(-3, 300);
    const bool caseSensitive = input.ConsumeBool();
    const std::string what = input.ConsumeRandomLengthString(8);
    const std::string text = input.ConsumeRemainingBytesAsString();
    CheckSplit(text, what);
    CheckSplit(text, "&@&");
    CheckFind(text, what, start, caseSensitive);
    CheckFind(text, "@&@", start, true);
    CheckCuts(text, count);
    CheckLower(text);
    return 0;
}
