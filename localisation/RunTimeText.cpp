// The lookup of texts set at run time, and the wording of messages of ours in the current language.
#include "localisation/RunTimeText.h"

#include "platform/Exception.h"

#include <utility>

namespace {

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

} // namespace

std::string TRunTimeText::operator()() const
{
    return LookUpRunTimeText(English());
}

std::string TRunTimeText::operator()(std::initializer_list<std::string_view> values) const
{
    return FillPlaces(LookUpRunTimeText(English()), {values.begin(), values.size()});
}

TRunTimeFilter::TRunTimeFilter(std::string english) : english_(std::move(english))
{
    for (std::string& description : FilterDescriptions(english_))
        FileWording(std::move(description));
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
    return FiledWordings();
}

TRunTimeLookup SetRunTimeLookup(TRunTimeLookup lookup)
{
    return std::exchange(Lookup(), lookup);
}

std::string LookUpRunTimeText(std::string_view english)
{
    return Lookup() ? Lookup()(english) : std::string(english);
}

std::string InCurrentLanguage(const TMessage& message)
{
    return message.Worded(&LookUpRunTimeText);
}

std::string ErrorText(const std::exception& error)
{
    return InCurrentLanguage(SaidBy(error));
}

std::vector<std::string> FilterDescriptions(std::string_view filter)
{
    std::vector<std::string> descriptions;
    const std::vector<std::string_view> parts = Parts(filter);
    for (std::size_t i = 0; i < parts.size(); i += 2)
        descriptions.emplace_back(parts[i]);
    return descriptions;
}
