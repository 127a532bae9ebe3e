// Backtracking search of a compiled regular expression with an explicit stack.
#include "highlighters/RegExprMatcher.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace vx::regexpr {

namespace {

constexpr std::size_t kNone = SIZE_MAX;

// The test of a one-character node on an input character: an ASCII byte,
// or the code point of a longer character (digits and word letters are ASCII).
bool matchesOne(const std::uint8_t* code, std::uint32_t node, std::uint8_t c)
{
    switch (code[node]) {
    case OP_ANYOF:
        return InSet(code, node, c);
    case OP_ANYBUT:
        return !InSet(code, node, c);
    case OP_ANYDIGIT:
        return IsDigit(c);
    case OP_NOTDIGIT:
        return !IsDigit(c);
    case OP_ANYLETTER:
        return IsWordLetter(c);
    case OP_NOTLETTER:
        return !IsWordLetter(c);
    default: // OP_ANY
        return true;
    }
}

bool matchesWide(const std::uint8_t* code, std::uint32_t node, char32_t c)
{
    switch (code[node]) {
    case OP_ANYOF:
        return SetHolds(code, node, c);
    case OP_ANYBUT:
        return !SetHolds(code, node, c);
    case OP_ANYDIGIT:
    case OP_ANYLETTER:
        return false;
    default: // OP_ANY, OP_NOTDIGIT, OP_NOTLETTER
        return true;
    }
}

} // namespace

// Candidates must agree with the prefix in its first and its last byte; with
// SSE2 sixteen start positions are tested at once, and only the few that pass
// are compared in full.
std::size_t Matcher::findPrefix(const std::string& prefix, std::size_t from) const
{
    const std::size_t n = prefix.size();
    if (len_ < n || from > len_ - n)
        return kNone;
    const auto* want = reinterpret_cast<const std::uint8_t*>(prefix.data());
    if (n == 1) {
        const void* p = std::memchr(in_ + from, want[0], len_ - from);
        return p ? std::size_t(static_cast<const std::uint8_t*>(p) - in_) : kNone;
    }
    const std::uint8_t first = want[0];
    const std::uint8_t last = want[n - 1];
    const std::size_t lastStart = len_ - n;
    std::size_t i = from;
#ifdef __SSE2__
    if (lastStart - i >= 15) {
        const __m128i wantFirst = _mm_set1_epi32(int(first * 0x01010101u));
        const __m128i wantLast = _mm_set1_epi32(int(last * 0x01010101u));
        // Candidates among the sixteen start positions from `at`, those before `skip` ignored.
        auto block = [&](std::size_t at, unsigned skip) -> std::size_t {
            const __m128i heads = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in_ + at));
            const __m128i tails = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in_ + at + n - 1));
            unsigned mask = unsigned(_mm_movemask_epi8(
                _mm_and_si128(_mm_cmpeq_epi8(heads, wantFirst), _mm_cmpeq_epi8(tails, wantLast))));
            for (mask &= ~0u << skip; mask != 0; mask &= mask - 1) {
                const std::size_t start = at + std::size_t(__builtin_ctz(mask));
                if (std::memcmp(in_ + start + 1, want + 1, n - 2) == 0)
                    return start;
            }
            return kNone;
        };
        for (; i + 15 <= lastStart; i += 16)
            if (const std::size_t found = block(i, 0); found != kNone)
                return found;
        // The rest in one block that overlaps the positions already tested.
        return i > lastStart ? kNone : block(lastStart - 15, unsigned(i - (lastStart - 15)));
    }
#endif
    for (; i <= lastStart; ++i)
        if (in_[i] == first && in_[i + n - 1] == last && std::memcmp(in_ + i + 1, want + 1, n - 2) == 0)
            return i;
    return kNone;
}

Matcher::Result Matcher::Search(const Program& program, std::string_view input, Captures& captures)
{
    const Result result = find(program, input, captures);
    // An unusual search does not keep its large stack for the rest of the program's life.
    if (stack_.capacity() > kKeptFrames)
        std::vector<Frame>().swap(stack_);
    return result;
}

Matcher::Result Matcher::find(const Program& program, std::string_view input, Captures& captures)
{
    code_ = program.code.data();
    in_ = reinterpret_cast<const std::uint8_t*>(input.data());
    len_ = input.size();
    budget_ = kBaseSteps + kStepsPerByte * std::int64_t(len_);
    remembering_ = false;
    if (!visited_.empty())
        visited_.clear();
    if (!lowestTried_.empty())
        lowestTried_.clear();
    captures_ = &captures;
    captures.Clear();

    // A required text no longer than the prefix says no more than the prefix's search.
    if (program.required.size() > program.prefix.size() && input.find(program.required) == std::string_view::npos)
        return Result::NoMatch;

    auto tryAt = [&](std::uint32_t node, std::size_t start, std::size_t pos) {
        std::size_t end = 0;
        const Result r = attempt(node, pos, end);
        if (r == Result::Match) {
            captures.at[0] = start;
            captures.at[kMaxGroups] = end;
            captures.clean = false;
        } else {
            captures.Clear();
        }
        return r;
    };
    const std::uint32_t top = 1;

    if (program.anchored)
        return tryAt(top, 0, 0);

    if (!program.prefix.empty()) {
        for (std::size_t p = findPrefix(program.prefix, 0); p != kNone; p = findPrefix(program.prefix, p + 1)) {
            const Result r = tryAt(program.afterPrefix, p, p + program.prefix.size());
            if (r != Result::NoMatch || stack_.size() >= kMaxStackFrames)
                return r;
        }
        return Result::NoMatch;
    }

    // One attempt per character; none after the last one (but one for an empty input).
    for (std::size_t p = 0;;) {
        const Result r = tryAt(top, p, p);
        if (r != Result::NoMatch || stack_.size() >= kMaxStackFrames)
            return r;
        if (len_ == 0 || (p = charEnd(p)) >= len_)
            return Result::NoMatch;
    }
}

std::size_t Matcher::charEnd(std::size_t pos) const
{
    return in_[pos] < 0x80 ? pos + 1 : pos + utf8::CharLength(input(), pos);
}

std::size_t Matcher::takeOne(std::uint32_t node, std::size_t pos) const
{
    if (pos >= len_)
        return 0;
    if (in_[pos] < 0x80)
        return matchesOne(code_, node, in_[pos]) ? 1 : 0;
    std::size_t length = 0;
    const char32_t c = utf8::Decode(input(), pos, &length);
    return matchesWide(code_, node, c) ? length : 0;
}

std::size_t Matcher::snap(std::size_t pos, std::size_t count) const
{
    const std::size_t at = pos + count;
    if (count == 0 || at >= len_ || in_[at] < 0x80)
        return count;
    return std::max(utf8::CharStart(input(), at), pos) - pos;
}

bool Matcher::push(const Frame& frame)
{
    if (stack_.size() >= kMaxStackFrames)
        return false;
    stack_.push_back(frame);
    return true;
}

namespace {
std::uint64_t key(std::uint32_t node, std::size_t pos) { return (std::uint64_t(pos) << 17) | node; }
} // namespace

bool Matcher::firstVisit(std::uint32_t node, std::size_t pos)
{
    return !remembering_ || visited_.insert(key(node, pos)).second;
}

std::size_t Matcher::untriedCount(std::uint32_t node, std::size_t pos, std::size_t top, std::size_t count,
                                  std::size_t min)
{
    if (remembering_) {
        const auto it = lowestTried_.find(key(node, top));
        if (it != lowestTried_.end()) {
            if (it->second <= pos + min)
                return kNone;
            count = std::min(count, it->second - 1 - pos);
        }
    }
    const std::size_t fit = fitCount(NextNode(code_, node), pos, count, min);
    if (fit != kNone)
        triedDownTo(node, top, pos + fit);
    return fit;
}

void Matcher::triedDownTo(std::uint32_t node, std::size_t top, std::size_t reached)
{
    if (!remembering_)
        return;
    const auto [it, added] = lowestTried_.try_emplace(key(node, top), reached);
    if (!added)
        it->second = std::min(it->second, reached);
}

std::size_t Matcher::repeatCount(std::uint32_t operand, std::size_t pos) const
{
    const std::uint8_t* p = in_ + pos;
    const std::uint8_t* end = in_ + len_;
    // Each class gets its own loop so the test inside is not a dispatch.
    // Digits and word letters are ASCII: their runs stop at any other byte.
    auto run = [&](auto accepts) {
        const std::uint8_t* q = p;
        while (q < end && accepts(*q))
            ++q;
        return std::size_t(q - p);
    };
    // A run of whole characters: ASCII bytes by accepts, longer ones by
    // acceptsWide on their code point.
    auto runWide = [&](auto accepts, auto acceptsWide) {
        const std::uint8_t* q = p;
        while (q < end) {
            if (*q < 0x80) {
                if (!accepts(*q))
                    break;
                ++q;
                continue;
            }
            std::size_t length = 0;
            if (!acceptsWide(utf8::Decode(input(), std::size_t(q - in_), &length)))
                break;
            q += length;
        }
        return std::size_t(q - p);
    };
    const auto any = [](char32_t) { return true; };
    const std::uint8_t* code = code_;
    switch (code[operand]) {
    case OP_ANY:
        return len_ - pos;
    case OP_EXACTLY: {
        // One character: a byte, or the bytes of a longer one.
        const std::uint8_t* literal = LiteralBytes(code, operand);
        const std::size_t n = LiteralLength(code, operand);
        if (n == 1)
            return run([c = literal[0]](std::uint8_t x) { return x == c; });
        const std::uint8_t* q = p;
        while (std::size_t(end - q) >= n && std::memcmp(q, literal, n) == 0)
            q += n;
        return std::size_t(q - p);
    }
    case OP_ANYOF:
        return runWide([code, operand](std::uint8_t x) { return InSet(code, operand, x); },
                       [code, operand](char32_t c) { return SetHolds(code, operand, c); });
    case OP_ANYBUT:
        return runWide([code, operand](std::uint8_t x) { return !InSet(code, operand, x); },
                       [code, operand](char32_t c) { return !SetHolds(code, operand, c); });
    case OP_ANYDIGIT:
        return run([](std::uint8_t x) { return IsDigit(x); });
    case OP_NOTDIGIT:
        return runWide([](std::uint8_t x) { return !IsDigit(x); }, any);
    case OP_ANYLETTER:
        return run([](std::uint8_t x) { return IsWordLetter(x); });
    case OP_NOTLETTER:
        return runWide([](std::uint8_t x) { return !IsWordLetter(x); }, any);
    default:
        return kNone;
    }
}

// The largest repetition count from `count` down to `min` after which the
// next literal can start; kNone when there is none. Counts are bytes: one
// that ends inside a character stands for the repetitions before it.
std::size_t Matcher::fitCount(std::uint32_t next, std::size_t pos, std::size_t count, std::size_t min) const
{
    if (count == kNone || count < min || (count = snap(pos, count)) < min)
        return kNone;
    if (code_[next] != OP_EXACTLY)
        return count;
    const std::uint8_t c = LiteralBytes(code_, next)[0];
    for (;;) {
        if (pos + count < len_ && in_[pos + count] == c)
            return count;
        if (count <= min || (count = snap(pos, count - 1)) < min)
            return kNone;
    }
}

bool Matcher::backtrack(std::uint32_t& node, std::size_t& pos)
{
    while (!stack_.empty()) {
        Frame& f = stack_.back();
        switch (f.kind) {
        case FrameKind::Capture:
            captures_->at[f.count] = f.pos;
            stack_.pop_back();
            break;
        case FrameKind::Alternative: {
            const std::uint32_t branch = f.node;
            pos = f.pos;
            const std::uint32_t following = NextNode(code_, branch);
            if (following != 0 && code_[following] == OP_BRANCH)
                f.node = following;
            else
                stack_.pop_back();
            node = Operand(branch);
            return true;
        }
        case FrameKind::Repeat: {
            const std::size_t min = code_[f.node] == OP_PLUS ? 1 : 0;
            const std::uint32_t next = NextNode(code_, f.node);
            const std::size_t start = f.pos;
            const std::size_t count =
                remembering_ ? untriedCount(f.node, start, f.top, f.count - 1, min) : fitCount(next, start, f.count - 1, min);
            if (count == kNone) {
                stack_.pop_back();
                break;
            }
            if (count == min)
                stack_.pop_back();
            else
                f.count = count;
            pos = start + count;
            node = next;
            afterRepeat_ = remembering_;
            return true;
        }
        }
    }
    return false;
}

Matcher::Result Matcher::attempt(std::uint32_t node, std::size_t pos, std::size_t& end)
{
    stack_.clear();
    for (;;) {
        if (--budget_ < 0 && !remembering_)
            remembering_ = true;
        const std::uint8_t op = code_[node];
        // Paths meet at choice nodes and after repeats: there a place entered
        // before is not searched again.
        if (remembering_) [[unlikely]] {
            const bool meeting = afterRepeat_ || op == OP_BRANCH || op == OP_STAR || op == OP_PLUS;
            afterRepeat_ = false;
            if (meeting && !firstVisit(node, pos)) {
                if (!backtrack(node, pos))
                    return Result::NoMatch;
                continue;
            }
        }
        bool ok = true;
        switch (op) {
        case OP_END:
            end = pos;
            return Result::Match;
        case OP_BOL:
            ok = pos == 0;
            break;
        case OP_EOL:
            ok = pos == len_;
            break;
        case OP_ANY:
        case OP_ANYOF:
        case OP_ANYBUT:
        case OP_ANYDIGIT:
        case OP_NOTDIGIT:
        case OP_ANYLETTER:
        case OP_NOTLETTER: {
            const std::size_t taken = takeOne(node, pos);
            ok = taken > 0;
            pos += taken;
            break;
        }
        case OP_EXACTLY: {
            const std::uint32_t n = LiteralLength(code_, node);
            ok = len_ - pos >= n && std::memcmp(in_ + pos, LiteralBytes(code_, node), n) == 0;
            pos += ok ? n : 0;
            break;
        }
        case OP_NOTHING:
        case OP_BACK:
            break;
        case OP_BRANCH: {
            const std::uint32_t following = NextNode(code_, node);
            if (following != 0 && code_[following] == OP_BRANCH &&
                !push({pos, 0, 0, following, FrameKind::Alternative}))
                return Result::NoMatch;
            node = Operand(node);
            continue;
        }
        case OP_STAR:
        case OP_PLUS: {
            const std::uint32_t next = NextNode(code_, node);
            if (next == 0)
                return Result::CorruptedPointers;
            const std::size_t max = repeatCount(Operand(node), pos);
            if (max == kNone)
                return Result::InternalFoulup;
            budget_ -= std::int64_t(max);
            const std::size_t min = op == OP_PLUS ? 1 : 0;
            const std::size_t count =
                remembering_ ? untriedCount(node, pos, pos + max, max, min) : fitCount(next, pos, max, min);
            if (count == kNone) {
                ok = false;
                break;
            }
            if (count > min && !push({pos, count, pos + max, node, FrameKind::Repeat}))
                return Result::NoMatch;
            pos += count;
            node = next;
            afterRepeat_ = remembering_;
            continue;
        }
        default: {
            const bool open = op > OP_OPEN && op < OP_OPEN + kMaxGroups;
            const bool close = op > OP_CLOSE && op < OP_CLOSE + kMaxGroups;
            if (!open && !close)
                return Result::MemoryCorruption;
            // A group passed again (a loop) overwrites: the last repetition counts.
            const std::uint32_t slot = open ? op - OP_OPEN : kMaxGroups + (op - OP_CLOSE);
            if (!stack_.empty() && !push({captures_->at[slot], slot, 0, 0, FrameKind::Capture}))
                return Result::NoMatch;
            captures_->at[slot] = pos;
            captures_->clean = false;
            break;
        }
        }
        if (!ok) {
            if (!backtrack(node, pos))
                return Result::NoMatch;
            continue;
        }
        node = NextNode(code_, node);
        if (node == 0)
            return Result::CorruptedPointers;
    }
}

} // namespace vx::regexpr
