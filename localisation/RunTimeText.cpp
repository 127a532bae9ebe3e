// The catalogue of texts set at run time and their lookup.
#include "localisation/RunTimeText.h"

#include <algorithm>
#include <utility>

namespace {

// Built on first use: objects of other files file their texts while the
// program starts, in whatever order their files are initialised.
std::vector<std::string>& Catalogue()
{
    static std::vector<std::string> texts;
    return texts;
}

TRunTimeLookup& Lookup()
{
    static TRunTimeLookup lookup = nullptr;
    return lookup;
}

// "a|b|c" -> a, b, c.
std::vector<std::string_view> Parts(std::string_view filter)
{
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t bar = filter.find('|');
        parts.push_back(filter.substr(0, bar));
        if (bar == std::string_view::npos)
            return parts;
        filter.remove_prefix(bar + 1);
    }
}

void File(std::string text)
{
    std::vector<std::string>& texts = Catalogue();
    if (!text.empty() && std::find(texts.begin(), texts.end(), text) == texts.end())
        texts.push_back(std::move(text));
}

} // namespace

TRunTimeText::TRunTimeText(const char* english) : english_(english)
{
    File(english);
}

std::string TRunTimeText::operator()() const
{
    return LookUpRunTimeText(english_);
}

std::string TRunTimeText::operator()(std::initializer_list<std::string_view> values) const
{
    const std::string worded = LookUpRunTimeText(english_);
    std::string text;
    for (std::size_t i = 0; i < worded.size(); ++i) {
        const char next = i + 1 < worded.size() ? worded[i + 1] : '\0';
        const bool placeholder = worded[i] == '%' && next >= '1' && next <= '9' &&
                                 static_cast<std::size_t>(next - '1') < values.size();
        if (placeholder) {
            text += values.begin()[next - '1'];
            ++i;
        } else {
            text += worded[i];
        }
    }
    return text;
}

TRunTimeFilter::TRunTimeFilter(std::string english) : english_(std::move(english))
{
    for (std::string& description : FilterDescriptions(english_))
        File(std::move(description));
}

std::string TRunTimeFilter::operator()() const
{
    std::string filter;
    const std::vector<std::string_view> parts = Parts(english_);
    for (std::size_t i = 0; i < parts.size(); ++i)
        filter += (i ? "|" : "") + (i % 2 ? std::string(parts[i]) : LookUpRunTimeText(parts[i]));
    return filter;
}

const TRunTimeText OpenTitle{"Open"};

const std::vector<std::string>& FiledRunTimeTexts()
{
    return Catalogue();
}

TRunTimeLookup SetRunTimeLookup(TRunTimeLookup lookup)
{
    return std::exchange(Lookup(), lookup);
}

std::string LookUpRunTimeText(std::string_view english)
{
    return Lookup() ? Lookup()(english) : std::string(english);
}

std::vector<std::string> FilterDescriptions(std::string_view filter)
{
    std::vector<std::string> descriptions;
    const std::vector<std::string_view> parts = Parts(filter);
    for (std::size_t i = 0; i < parts.size(); i += 2)
        descriptions.emplace_back(parts[i]);
    return descriptions;
}
