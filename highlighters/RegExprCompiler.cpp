// Recursive-descent compiler of regular expressions into byte programs. The
// recursion only deepens at "(", and an expression holds at most nine groups,
// so its depth is bounded whatever the text.
#include "highlighters/RegExprCompiler.h"

#include "platform/AnsiText.h"
#include "platform/Cp1252.h"
#include "platform/Exception.h"
#include "platform/CaseMap.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace vx::regexpr {

namespace {

enum Flags : int {
    WORST = 0,
    HASWIDTH = 1, // never matches the empty string
    SIMPLE = 2,   // matches exactly one character
    SPSTART = 4,  // may begin with a repetition
};

bool isQuantifier(int c) { return c == '*' || c == '+' || c == '?'; }

bool isMeta(unsigned char c)
{
    switch (c) {
    case '^': case '$': case '.': case '[': case '(': case ')':
    case '|': case '?': case '+': case '*': case '\\':
        return true;
    default:
        return false;
    }
}

// The code points a set holds: those up to 255 in a bitmap, the others as ranges.
class SetBuilder {
public:
    void Add(char32_t c) { AddRange(c, c); }
    void AddRange(char32_t first, char32_t last)
    {
        for (char32_t c = first; c <= std::min<char32_t>(last, 255); ++c)
            low_[c >> 3] |= std::uint8_t(1u << (c & 7));
        if (last > 255)
            high_.emplace_back(std::max<char32_t>(first, 256), last);
    }
    template <class Pred> void AddWhere(Pred pred)
    {
        for (char32_t c = 0; c < 128; ++c)
            if (pred(static_cast<std::uint8_t>(c)))
                Add(c);
    }
    // The operand: the bitmap, the count and the ranges, sorted and merged.
    std::vector<std::uint8_t> Operand()
    {
        std::sort(high_.begin(), high_.end());
        std::vector<std::pair<char32_t, char32_t>> merged;
        for (const auto& range : high_)
            if (!merged.empty() && range.first <= merged.back().second + 1)
                merged.back().second = std::max(merged.back().second, range.second);
            else
                merged.push_back(range);
        std::vector<std::uint8_t> bytes(low_, low_ + kSetBytes);
        bytes.push_back(std::uint8_t(merged.size() >> 8));
        bytes.push_back(std::uint8_t(merged.size()));
        for (const auto& [first, last] : merged)
            for (const char32_t c : {first, last})
                bytes.insert(bytes.end(), {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
        return bytes;
    }

private:
    std::uint8_t low_[kSetBytes] = {};
    std::vector<std::pair<char32_t, char32_t>> high_;
};

// The letters of the upper half of Windows-1252, as the characters they are;
// ß, ª, º, µ and ƒ have no upper-case partner there and count as lower-case.
enum class HighLetters { Upper, Lower, Any };
void addHighLetters(SetBuilder& set, HighLetters which)
{
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char32_t c = Cp1252ToUnicode(static_cast<unsigned char>(byte));
        const bool upper = SimpleLower(c) != c;
        const bool lower = SimpleUpper(c) != c || c == U'ß' || c == U'ª' || c == U'º' || c == U'µ' || c == U'ƒ';
        if ((upper && which != HighLetters::Lower) || (lower && which != HighLetters::Upper))
            set.Add(c);
    }
}

// One character the expression names: its code point and, when it was given
// as a byte ("\xE9", or a byte that begins no well-formed UTF-8 sequence),
// that byte, which stands for its Windows-1252 character.
struct Member {
    char32_t code = 0;
    int byte = -1;
    bool raw = false; // a byte of no well-formed sequence, as written
};

Member byteMember(unsigned char byte, bool raw) { return {Cp1252ToUnicode(byte), byte, raw}; }

// Runs twice over the text, as the program is allocated once: the first pass
// only counts bytes (and finds every syntax error), the second emits.
class Compiler {
public:
    Compiler(std::string_view text, bool extended) : text_(text), extended_(extended) {}

    Program Run()
    {
        int flags = 0;
        pass(true, flags);
        if (size_ > kMaxProgram)
            fail("regexp too big");
        code_.reserve(size_);
        pass(false, flags);

        Program program;
        program.code = std::move(code_);
        analyse(program, flags);
        return program;
    }

private:
    std::string_view text_;
    bool extended_;
    std::size_t at_ = 0;
    int nextGroup_ = 1;
    bool counting_ = true;
    std::size_t size_ = 0;
    std::vector<std::uint8_t> code_;

    [[noreturn]] static void fail(const std::string& message) { throw Exception(message); }

    bool atEnd() const { return at_ >= text_.size(); }
    int peek() const { return atEnd() ? -1 : static_cast<unsigned char>(text_[at_]); }
    unsigned char take() { return static_cast<unsigned char>(text_[at_++]); }

    void pass(bool counting, int& flags)
    {
        counting_ = counting;
        at_ = 0;
        nextGroup_ = 1;
        size_ = 0;
        code_.clear();
        emitBytes(&kProgramMagic, 1);
        parseReg(false, flags);
    }

    // --- emission (no-ops on the counting pass apart from the size)

    void emitBytes(const std::uint8_t* bytes, std::size_t n)
    {
        size_ += n;
        if (!counting_) {
            const std::size_t at = code_.size();
            code_.resize(at + n);
            std::memcpy(code_.data() + at, bytes, n);
        }
    }

    std::uint32_t emitNode(std::uint8_t op)
    {
        const auto at = static_cast<std::uint32_t>(size_);
        const std::uint8_t header[kNodeHeader] = {op, 0, 0};
        emitBytes(header, kNodeHeader);
        return at;
    }

    // Puts a node header in front of the operand that starts at `at`.
    void insertNode(std::uint8_t op, std::uint32_t at)
    {
        size_ += kNodeHeader;
        if (!counting_) {
            code_.insert(code_.begin() + at, kNodeHeader, std::uint8_t(0));
            code_[at] = op;
        }
    }

    void setNext(std::uint32_t node, std::uint32_t target)
    {
        const std::uint32_t offset = code_[node] == OP_BACK ? node - target : target - node;
        code_[node + 1] = std::uint8_t(offset >> 8);
        code_[node + 2] = std::uint8_t(offset);
    }

    // Links the last node of the chain that starts at `chain` to `target`.
    void linkTail(std::uint32_t chain, std::uint32_t target)
    {
        if (counting_)
            return;
        std::uint32_t scan = chain;
        for (std::uint32_t next; (next = NextNode(code_.data(), scan)) != 0;)
            scan = next;
        setNext(scan, target);
    }

    // For a branch, links the end of its operand's chain to `target`.
    void linkOperandTail(std::uint32_t node, std::uint32_t target)
    {
        if (!counting_ && code_[node] == OP_BRANCH)
            linkTail(Operand(node), target);
    }

    std::uint32_t emitLiteral(const std::uint8_t* bytes, std::size_t n)
    {
        const std::uint32_t node = emitNode(OP_EXACTLY);
        const std::uint8_t length[2] = {std::uint8_t(n >> 8), std::uint8_t(n)};
        emitBytes(length, 2);
        emitBytes(bytes, n);
        return node;
    }

    // --- parsing

    std::uint32_t parseReg(bool paren, int& flags)
    {
        flags = HASWIDTH;
        std::uint32_t ret = 0;
        int group = 0;
        if (paren) {
            if (nextGroup_ >= kMaxGroups)
                fail("too many ()");
            group = nextGroup_++;
            ret = emitNode(std::uint8_t(OP_OPEN + group));
        }

        bool first = true;
        do {
            if (!first)
                ++at_; // the "|"
            int branchFlags = 0;
            const std::uint32_t br = parseBranch(branchFlags);
            if (first && !paren)
                ret = br;
            else
                linkTail(ret, br);
            if (!(branchFlags & HASWIDTH))
                flags &= ~HASWIDTH;
            flags |= branchFlags & SPSTART;
            first = false;
        } while (peek() == '|');

        const std::uint32_t ender = emitNode(std::uint8_t(paren ? OP_CLOSE + group : OP_END));
        linkTail(ret, ender);
        if (!counting_)
            for (std::uint32_t br = ret; br != 0; br = NextNode(code_.data(), br))
                linkOperandTail(br, ender);

        if (paren) {
            if (peek() != ')')
                fail("unmatched ()");
            ++at_;
        } else if (!atEnd()) {
            fail(peek() == ')' ? "unmatched ()" : "junk on end");
        }
        return ret;
    }

    std::uint32_t parseBranch(int& flags)
    {
        flags = WORST;
        const std::uint32_t ret = emitNode(OP_BRANCH);
        std::uint32_t chain = 0;
        bool empty = true;
        while (!atEnd() && peek() != '|' && peek() != ')') {
            int pieceFlags = 0;
            const std::uint32_t latest = parsePiece(pieceFlags);
            flags |= pieceFlags & HASWIDTH;
            if (empty)
                flags |= pieceFlags & SPSTART;
            else
                linkTail(chain, latest);
            chain = latest;
            empty = false;
        }
        if (empty)
            emitNode(OP_NOTHING);
        return ret;
    }

    std::uint32_t parsePiece(int& flags)
    {
        int atomFlags = 0;
        const std::uint32_t ret = parseAtom(atomFlags);
        const int op = peek();
        if (!isQuantifier(op)) {
            flags = atomFlags;
            return ret;
        }
        if (!(atomFlags & HASWIDTH) && op != '?')
            fail("*+ operand could be empty");
        flags = op != '+' ? (WORST | SPSTART) : (WORST | HASWIDTH);
        const bool simple = atomFlags & SIMPLE;

        if (op == '*' && simple) {
            insertNode(OP_STAR, ret);
        } else if (op == '*') {
            // branch(operand, back to the branch) | nothing
            insertNode(OP_BRANCH, ret);
            linkOperandTail(ret, emitNode(OP_BACK));
            linkOperandTail(ret, ret);
            linkTail(ret, emitNode(OP_BRANCH));
            linkTail(ret, emitNode(OP_NOTHING));
        } else if (op == '+' && simple) {
            insertNode(OP_PLUS, ret);
        } else if (op == '+') {
            // operand, then branch(back to the operand) | nothing
            const std::uint32_t loop = emitNode(OP_BRANCH);
            linkTail(ret, loop);
            linkTail(emitNode(OP_BACK), ret);
            linkTail(loop, emitNode(OP_BRANCH));
            linkTail(ret, emitNode(OP_NOTHING));
        } else {
            // branch(operand) | nothing
            insertNode(OP_BRANCH, ret);
            linkTail(ret, emitNode(OP_BRANCH));
            const std::uint32_t nothing = emitNode(OP_NOTHING);
            linkTail(ret, nothing);
            linkOperandTail(ret, nothing);
        }
        ++at_;
        if (isQuantifier(peek()))
            fail("nested *?+");
        return ret;
    }

    std::uint32_t parseAtom(int& flags)
    {
        flags = WORST;
        if (atEnd())
            fail("Internal urp");
        const unsigned char c = take();
        switch (c) {
        case '^':
            return emitNode(OP_BOL);
        case '$':
            return emitNode(OP_EOL);
        case '.':
            flags = HASWIDTH | SIMPLE;
            return emitNode(OP_ANY);
        case '[':
            flags = HASWIDTH | SIMPLE;
            return parseSet();
        case '(': {
            int groupFlags = 0;
            const std::uint32_t ret = parseReg(true, groupFlags);
            flags = groupFlags & (HASWIDTH | SPSTART);
            return ret;
        }
        case '|':
        case ')':
            fail("Internal urp");
        case '?':
        case '+':
        case '*':
            fail("?+* follows nothing");
        case '\\':
            flags = HASWIDTH | SIMPLE;
            return parseEscape();
        default:
            --at_;
            return parseLiteralRun(flags);
        }
    }

    std::uint32_t parseLiteralRun(int& flags)
    {
        std::size_t len = 0;
        while (at_ + len < text_.size() && !isMeta(static_cast<unsigned char>(text_[at_ + len])))
            ++len;
        if (len == 0)
            fail("Internal disaster");
        const std::string_view run = text_.substr(at_, len);
        const std::size_t lastChar = utf8::PrevChar(run, len);
        // In "abc*" the star repeats the "c" alone, in "café*" the "é".
        if (lastChar > 0 && at_ + len < text_.size() && isQuantifier(text_[at_ + len]))
            len = lastChar;
        flags = HASWIDTH | (utf8::NextChar(run, 0) == len ? SIMPLE : 0);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text_.data() + at_);
        at_ += len;
        return emitLiteral(bytes, len);
    }

    std::uint32_t parseEscape()
    {
        if (atEnd())
            fail("Trailing \\");
        const unsigned char c = take();
        switch (c) {
        case 'd':
            return emitNode(OP_ANYDIGIT);
        case 'D':
            return emitNode(OP_NOTDIGIT);
        case 'w':
            return emitNode(OP_ANYLETTER);
        case 'W':
            return emitNode(OP_NOTLETTER);
        default: {
            const Member member = escapedChar(c);
            if (member.raw) {
                const auto byte = static_cast<std::uint8_t>(member.byte);
                return emitLiteral(&byte, 1);
            }
            const std::string literal = utf8::Encode(member.code);
            return emitLiteral(reinterpret_cast<const std::uint8_t*>(literal.data()), literal.size());
        }
        }
    }

    // The character at the byte before at_, taken whole.
    Member charBefore()
    {
        const std::size_t start = at_ - 1;
        std::size_t length = 0;
        const char32_t code = utf8::Decode(text_, start, &length);
        if (length == 1 && code == utf8::kReplacement)
            return byteMember(static_cast<unsigned char>(text_[start]), true);
        at_ = start + length;
        return {code};
    }

    // The character an escape other than a class stands for; reads "\x" digits.
    Member escapedChar(unsigned char c)
    {
        switch (c) {
        case 'n':
            return {10};
        case 'r':
            return {13};
        case 't':
            return {9};
        case 'e':
            return {27};
        case 'x': {
            int value = 0;
            for (int i = 0; i < 2; ++i) {
                if (atEnd())
                    fail("No hex code after \\x");
                const unsigned char digit = take();
                const int v = vx::DigitValue(static_cast<char>(digit), 16);
                if (v < 0)
                    fail("Bad hex digit \"" + std::string(text_.substr(at_ - 1, utf8::CharLength(text_, at_ - 1))) +
                         "\"");
                value = value * 16 + v;
            }
            return byteMember(static_cast<unsigned char>(value), false);
        }
        default:
            return c < 0x80 ? Member{c} : charBefore();
        }
    }

    // One member of a set: its character, or nothing for "\d" and "\w",
    // which add their characters at once.
    std::optional<Member> parseSetMember(SetBuilder& set)
    {
        const unsigned char c = take();
        if (c != '\\')
            return c < 0x80 ? Member{c} : charBefore();
        if (atEnd())
            fail("Trailing \\");
        const unsigned char e = take();
        if (e == 'd') {
            set.AddWhere(IsDigit);
            return std::nullopt;
        }
        if (e == 'w') {
            set.AddWhere(IsWordLetter);
            return std::nullopt;
        }
        return escapedChar(e);
    }

    // Between two bytes a range runs over the bytes, each standing for its
    // Windows-1252 character; otherwise over code points.
    void addRange(SetBuilder& set, const Member& first, const Member& last)
    {
        const char32_t from = first.code;
        const char32_t to = last.code;
        if (extended_ && from == 0xE0 && to == 0xFF)
            addHighLetters(set, HighLetters::Lower);
        else if (extended_ && from == 0xC0 && to == 0xDF)
            addHighLetters(set, HighLetters::Upper);
        else if (extended_ && from == 0xE0 && to == 0xDF)
            addHighLetters(set, HighLetters::Any);
        else if (first.byte >= 0 && last.byte >= 0 && first.byte <= last.byte)
            for (int byte = first.byte; byte <= last.byte; ++byte)
                set.Add(Cp1252ToUnicode(static_cast<unsigned char>(byte)));
        else if (from > to || (first.byte >= 0 && last.byte >= 0))
            fail("Invalid [] range");
        else
            set.AddRange(from, to);
    }

    std::uint32_t parseSet()
    {
        const bool negated = peek() == '^';
        if (negated)
            ++at_;
        const std::uint32_t ret = emitNode(negated ? OP_ANYBUT : OP_ANYOF);
        SetBuilder set;
        if (peek() == ']' || peek() == '-')
            set.Add(take());
        while (!atEnd() && peek() != ']') {
            const std::optional<Member> first = parseSetMember(set);
            if (!first)
                continue;
            const bool range = peek() == '-' && at_ + 1 < text_.size() && text_[at_ + 1] != ']';
            if (!range) {
                set.Add(first->code);
                continue;
            }
            ++at_; // the "-"
            const std::optional<Member> last = parseSetMember(set);
            if (!last) {
                set.Add(first->code);
                set.Add('-');
            } else {
                addRange(set, *first, *last);
            }
        }
        if (atEnd())
            fail("Unmatched []");
        ++at_; // the "]"
        const std::vector<std::uint8_t> operand = set.Operand();
        emitBytes(operand.data(), operand.size());
        return ret;
    }

    // --- what a search can learn before trying positions

    // Without repeats no node is passed twice: the bytes all nodes take
    // together bound every match.
    static int reach(const Program& program)
    {
        const std::uint8_t* code = program.code.data();
        int total = 0;
        for (std::size_t node = 1; node < program.code.size();) {
            std::size_t operand = 0;
            switch (code[node]) {
            case OP_BOL:
            case OP_EOL:
            case OP_STAR:
            case OP_PLUS:
            case OP_BACK: return -1;
            case OP_EXACTLY:
                total += static_cast<int>(LiteralLength(code, static_cast<std::uint32_t>(node)));
                operand = 2 + LiteralLength(code, static_cast<std::uint32_t>(node));
                break;
            case OP_ANYOF:
            case OP_ANYBUT:
                total += kMaxCharBytes;
                operand = SetOperandBytes(code, static_cast<std::uint32_t>(node));
                break;
            case OP_ANY:
            case OP_NOTDIGIT:
            case OP_NOTLETTER: total += kMaxCharBytes; break;
            case OP_ANYDIGIT:
            case OP_ANYLETTER: ++total; break;
            default: break;
            }
            node += kNodeHeader + operand;
        }
        return total;
    }

    static void analyse(Program& program, int flags)
    {
        program.reach = reach(program);
        const std::uint8_t* code = program.code.data();
        const std::uint32_t top = 1;
        if (code[NextNode(code, top)] != OP_END)
            return; // several top-level alternatives: nothing is certain
        const std::uint32_t first = Operand(top);
        program.anchored = code[first] == OP_BOL;

        std::uint32_t node = first;
        for (; code[node] == OP_EXACTLY; node = NextNode(code, node))
            program.prefix.append(reinterpret_cast<const char*>(LiteralBytes(code, node)),
                                  LiteralLength(code, node));
        program.afterPrefix = node;

        if (flags & SPSTART) {
            std::uint32_t longest = 0;
            for (std::uint32_t scan = first; scan != 0; scan = NextNode(code, scan))
                if (code[scan] == OP_EXACTLY &&
                    (longest == 0 || LiteralLength(code, scan) >= LiteralLength(code, longest)))
                    longest = scan;
            if (longest != 0)
                program.required.assign(reinterpret_cast<const char*>(LiteralBytes(code, longest)),
                                        LiteralLength(code, longest));
        }
    }
};

} // namespace

Program CompileRegExpr(std::string_view expression, bool extendedCharClasses)
{
    return Compiler(expression, extendedCharClasses).Run();
}

} // namespace vx::regexpr
