#include "platform/TStringList.h"

#include "platform/AnsiText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <sstream>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

int CompareText(std::string_view a, std::string_view b)
{
    return vx::CompareIgnoringCase(a, b);
}

bool SameText(std::string_view a, std::string_view b)
{
    // Case partners take the same number of bytes.
    return a.size() == b.size() && CompareText(a, b) == 0;
}

TStringList::TStringList(const TStringList& other)
    : store_(other.store_)
    , lineBreak_(other.lineBreak_)
    , sorted_(other.sorted_)
    , caseSensitive_(other.caseSensitive_)
    , duplicates_(other.duplicates_)
{
}

TStringList& TStringList::operator=(const TStringList& other)
{
    if (this != &other)
        Assign(other);
    return *this;
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
}

const std::string& TStringList::Get(int index) const
{
    CheckIndex(index);
    return store_.Whole(index);
}

std::string_view TStringList::View(int index) const
{
    CheckIndex(index);
    return store_.View(index);
}

size_t TStringList::PieceCount(int index) const
{
    CheckIndex(index);
    return store_.PieceCount(index);
}

std::string_view TStringList::Piece(int index, size_t i) const
{
    CheckIndex(index);
    return store_.Piece(index, i);
}

TTextShape TStringList::PieceShape(int index, size_t i) const
{
    CheckIndex(index);
    return store_.PieceShape(index, i);
}

std::string TStringList::Substr(int index, size_t pos, size_t count) const
{
    CheckIndex(index);
    std::string s;
    store_.Read(index, pos, count, s);
    return s;
}

void TStringList::ReplaceText(int index, size_t pos, size_t count, std::string_view text)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted string list");
    const size_t length = Length(index);
    pos = std::min(pos, length);
    count = std::min(count, length - pos);
    Changing();
    store_.Replace(index, pos, count, text);
    Changed();
}

TObjectSlot TStringList::Objects(int index) const
{
    CheckIndex(index);
    return store_.Object(index);
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const
{
    if (caseSensitive_)
        return a.compare(b);
    return CompareText(a, b);
}

int TStringList::IndexOf(std::string_view s) const
{
    if (sorted_) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(store_.View(i), s) == 0)
            return i;
    return -1;
}

int TStringList::IndexOfObject(TObjectSlot object) const
{
    for (int i = 0; i < Count(); ++i)
        if (store_.Object(i) == object)
            return i;
    return -1;
}

void TStringList::InsertItem(int index, const std::string& s, TObjectSlot object)
{
    Changing();
    store_.Insert(index, s, object);
    Changed();
}

int TStringList::Add(const std::string& s)
{
    int index = Count();
    if (sorted_ && Find(s, index)) {
        if (duplicates_ == TDuplicates::dupIgnore)
            return index;
        if (duplicates_ == TDuplicates::dupError)
            throw EListError("String list does not allow duplicates");
    }
    InsertItem(index, s, 0);
    return index;
}

void TStringList::AppendItem(std::string_view line)
{
    Changing();
    store_.Append(line);
    Changed();
}

int TStringList::AddChunks(std::unique_ptr<TLineChunks> line) { return Add(line->Whole()); }

int TStringList::InsertChunks(int index, std::unique_ptr<TLineChunks> line)
{
    Changing();
    store_.Insert(index, std::move(line), 0);
    Changed();
    return index;
}

int TStringList::AddObject(const std::string& s, TObjectSlot object)
{
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStringList::AddStrings(const TStringList& strings)
{
    BeginUpdate();
    try {
        // Copy first: strings may be this list.
        const TStringList source(strings);
        std::string line;
        for (int i = 0; i < source.Count(); ++i) {
            line.assign(source.View(i));
            AddObject(line, source.Objects(i));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::Assign(const TStringList& source)
{
    if (&source == this)
        return;
    TStringList copy(source);
    BeginUpdate();
    try {
        Clear();
        AddStrings(copy);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::Clear()
{
    if (Empty())
        return;
    Changing();
    store_.Clear();
    Changed();
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    Changing();
    store_.Erase(index);
    Changed();
}

void TStringList::Insert(int index, const std::string& s)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted string list");
    if (index < 0 || index > Count())
        throw EListError(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
    InsertItem(index, s, 0);
}

void TStringList::InsertObject(int index, const std::string& s, TObjectSlot object)
{
    Insert(index, s);
    PutObject(index, object);
}

void TStringList::Put(int index, std::string s)
{
    if (sorted_)
        throw EListError("Operation not allowed on sorted string list");
    CheckIndex(index);
    Changing();
    store_.Set(index, std::move(s));
    Changed();
}

void TStringList::PutObject(int index, TObjectSlot object)
{
    CheckIndex(index);
    Changing();
    store_.SetObject(index, object);
    Changed();
}

void TStringList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    store_.Swap(index1, index2);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex)
{
    if (curIndex == newIndex)
        return;
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    Changing();
    store_.MoveLine(curIndex, newIndex);
    Changed();
}

std::string TStringList::GetTextStr() const
{
    size_t size = 0;
    for (int i = 0; i < Count(); ++i)
        size += store_.Length(i) + lineBreak_.size();
    std::string text;
    text.reserve(size);
    for (int i = 0; i < Count(); ++i) {
        text += store_.View(i);
        text += lineBreak_;
    }
    return text;
}

std::string TStringList::JoinedText(std::string_view separator) const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        if (i)
            text += separator;
        text += store_.View(i);
    }
    return text;
}

namespace {

// Where the first CR or LF at or after from stands, else the text's size.
size_t NextLineBreak(std::string_view text, size_t from)
{
    const char* const p = text.data();
    const size_t size = text.size();
#ifdef __SSE2__
    if (size >= 16) {
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        auto breaks = [&](size_t at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
            return unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf))));
        };
        for (; from + 16 <= size; from += 16)
            if (const unsigned mask = breaks(from))
                return from + static_cast<size_t>(__builtin_ctz(mask));
        if (from >= size)
            return size;
        // The last sixteen, of which those before from are looked at already.
        const size_t last = size - 16;
        const unsigned mask = breaks(last) >> (from - last);
        return mask ? from + static_cast<size_t>(__builtin_ctz(mask)) : size;
    }
#endif
    for (; from < size; ++from)
        if (p[from] == '\r' || p[from] == '\n')
            return from;
    return size;
}

} // namespace

size_t TStringList::AddLines(std::string_view text, bool final)
{
    const size_t size = text.size();
    size_t pos = 0;
    while (pos < size) {
        const size_t end = NextLineBreak(text, pos);
        if (!final && (end == size || (end + 1 == size && text[end] == '\r')))
            break;
        AddRead(text.substr(pos, end - pos));
        pos = end;
        if (pos < size && text[pos] == '\r')
            ++pos;
        if (pos < size && text[pos] == '\n')
            ++pos;
    }
    return pos;
}

void TStringList::AddRead(std::string_view line)
{
    // Every line goes through one buffer, so each is allocated once, in the list.
    readLine_.assign(line);
    Add(readLine_);
}

void TStringList::SetTextStr(std::string_view text)
{
    BeginUpdate();
    try {
        Clear();
        // Room for every line at once: the list does not grow (and move) its items on the way.
        store_.Reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1, text.size());
        AddLines(text, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::SetTextFromStream(std::istream& in)
{
    constexpr size_t kBlock = kReadBlock;
    BeginUpdate();
    try {
        Clear();
        size_t size = 0;
        const std::istream::pos_type start = in.tellg();
        if (start != std::istream::pos_type(-1) && in.seekg(0, std::ios::end)) {
            const std::istream::pos_type end = in.tellg();
            in.seekg(start);
            if (end != std::istream::pos_type(-1) && end >= start)
                size = static_cast<size_t>(end - start);
        }
        in.clear();
        // What is read and not used yet is the first used bytes of buffer,
        // which only grows: a block is read into room cleared once.
        std::string buffer;
        size_t used = 0;
        auto unread = [&] { return std::string_view(buffer.data(), used); };
        auto drop = [&](size_t count) {
            std::memmove(buffer.data(), buffer.data() + count, used - count);
            used -= count;
        };
        // The start of a line longer than a block, whose end is not read yet.
        std::unique_ptr<TLineChunks> open;
        for (bool final = false; !final;) {
            if (buffer.size() < used + kBlock)
                buffer.resize(used + kBlock);
            in.read(buffer.data() + used, static_cast<std::streamsize>(kBlock));
            used += static_cast<size_t>(in.gcount());
            final = !in;
            // Room for the lines the first block says the text has, with a
            // margin: what is reserved and not used is never touched.
            if (size > 0 && Count() == 0) {
                const std::string_view first = unread();
                const auto breaks = static_cast<size_t>(std::count(first.begin(), first.end(), '\n'));
                store_.Reserve(breaks * (size / std::max<size_t>(used, 1) + 1) * 5 / 4 + 1, size);
                size = 0;
            }
            if (open) {
                const std::string_view text = unread();
                const size_t end = NextLineBreak(text, 0);
                open->Append(text.substr(0, end));
                // A CR at the end may be the first half of a CR LF.
                if (!final && (end == used || (end + 1 == used && text[end] == '\r'))) {
                    drop(end);
                    continue;
                }
                AddChunks(std::move(open));
                size_t pos = end;
                if (pos < used && text[pos] == '\r')
                    ++pos;
                if (pos < used && text[pos] == '\n')
                    ++pos;
                drop(pos);
            }
            // A last line without a break (a one-line page's only line) goes
            // in as it was read, without a copy of it besides.
            if (final && NextLineBreak(unread(), 0) == used) {
                if (used > 0) {
                    buffer.resize(used);
                    Add(buffer);
                }
                break;
            }
            drop(AddLines(unread(), final));
            // A line longer than a block goes into its chunks as it is read:
            // it is never held whole besides them.
            if (!final && used >= kBlock && NextLineBreak(unread(), 0) == used) {
                open = std::make_unique<TLineChunks>(unread());
                used = 0;
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStringList::CommaText() const
{
    if (Count() == 1 && Length(0) == 0)
        return "\"\"";
    std::string result;
    for (int i = 0; i < Count(); ++i) {
        const std::string_view s = store_.View(i);
        if (i > 0)
            result += ',';
        bool quote = std::any_of(s.begin(), s.end(), [](char c) {
            return static_cast<unsigned char>(c) <= ' ' || c == '"' || c == ',';
        });
        if (!quote) {
            result += s;
            continue;
        }
        result += '"';
        for (char c : s) {
            if (c == '"')
                result += '"';
            result += c;
        }
        result += '"';
    }
    return result;
}

void TStringList::SetCommaText(std::string_view text)
{
    auto blank = [&](size_t p) {
        return p < text.size() && text[p] != '\0' && static_cast<unsigned char>(text[p]) <= ' ';
    };
    BeginUpdate();
    try {
        Clear();
        size_t p = 0;
        while (blank(p))
            ++p;
        while (p < text.size()) {
            std::string s;
            if (text[p] == '"') {
                ++p;
                while (p < text.size()) {
                    if (text[p] == '"') {
                        if (p + 1 < text.size() && text[p + 1] == '"') {
                            s += '"';
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    s += text[p++];
                }
            } else {
                size_t start = p;
                while (p < text.size() && static_cast<unsigned char>(text[p]) > ' ' && text[p] != ',')
                    ++p;
                s = std::string(text.substr(start, p - start));
            }
            Add(s);
            while (blank(p))
                ++p;
            if (p < text.size() && text[p] == ',') {
                do
                    ++p;
                while (blank(p));
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStringList::Names(int index) const
{
    const std::string& s = Get(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

int TStringList::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string_view s = store_.View(i);
        size_t eq = s.find('=');
        if (eq != std::string::npos && CompareStrings(s.substr(0, eq), name) == 0)
            return i;
    }
    return -1;
}

std::string TStringList::Values(std::string_view name) const
{
    int i = IndexOfName(name);
    if (i < 0)
        return {};
    const std::string_view s = store_.View(i);
    return std::string(s.substr(s.find('=') + 1));
}

void TStringList::SetValue(std::string_view name, const std::string& value)
{
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0)
            Delete(i);
        return;
    }
    if (i < 0)
        i = Add("");
    Put(i, std::string(name) + "=" + value);
}

void TStringList::LoadFromStream(std::istream& in)
{
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    BeginUpdate();
    try {
        SetTextStr(vx::TextFromFileBytes(data));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringList::SaveToStream(std::ostream& out) const
{
    std::string text = GetTextStr();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TStringList::LoadFromFile(const std::string& path)
{
    std::istringstream in(vx::ReadWholeFile(path));
    LoadFromStream(in);
}

void TStringList::SaveToFile(const std::string& path) const
{
    vx::WriteFileAtomic(path, GetTextStr());
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted_ == sorted)
        return;
    if (sorted)
        Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool value)
{
    if (caseSensitive_ == value)
        return;
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

void TStringList::Sort()
{
    Changing();
    store_.Sort([this](std::string_view a, std::string_view b) { return CompareStrings(a, b) < 0; });
    Changed();
}

bool TStringList::Find(std::string_view s, int& index) const
{
    int lo = 0;
    int hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = CompareStrings(store_.View(mid), s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != TDuplicates::dupAccept)
                    lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::BeginUpdate()
{
    if (updateCount_ == 0)
        Changing();
    ++updateCount_;
}

void TStringList::EndUpdate()
{
    if (updateCount_ <= 0)
        return;
    --updateCount_;
    if (updateCount_ == 0)
        Changed();
}

void TStringList::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TStringList::Changing()
{
    if (updateCount_ == 0 && OnChanging)
        OnChanging(this);
}
