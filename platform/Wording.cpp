// The catalogue of wordings and how a sentence is put together from one.
#include "platform/Wording.h"

#include <algorithm>

namespace {

// Built on first use: objects of other files file their texts while the
// program starts, in whatever order their files are initialised.
std::vector<std::string>& Catalogue()
{
    static std::vector<std::string> texts;
    return texts;
}

std::string Same(std::string_view english)
{
    return std::string(english);
}

} // namespace

TWording::TWording(const char* english) : english_(english)
{
    FileWording(english);
}

std::string TMessage::English() const
{
    return Worded(&Same);
}

std::string TMessage::Worded(std::string (*lookup)(std::string_view english)) const
{
    if (!wording_)
        return text_;
    std::vector<std::string> values;
    values.reserve(values_.size());
    for (const TMessage& value : values_)
        values.push_back(value.Worded(lookup));
    const std::vector<std::string_view> views(values.begin(), values.end());
    return FillPlaces(lookup(wording_->English()), views);
}

std::string FillPlaces(std::string_view wording, std::span<const std::string_view> values)
{
    std::string text;
    for (std::size_t i = 0; i < wording.size(); ++i) {
        const char next = i + 1 < wording.size() ? wording[i + 1] : '\0';
        const bool place = wording[i] == '%' && next >= '1' && next <= '9' &&
                           static_cast<std::size_t>(next - '1') < values.size();
        if (place) {
            text += values[static_cast<std::size_t>(next - '1')];
            ++i;
        } else {
            text += wording[i];
        }
    }
    return text;
}

void FileWording(std::string english)
{
    std::vector<std::string>& texts = Catalogue();
    if (!english.empty() && std::find(texts.begin(), texts.end(), english) == texts.end())
        texts.push_back(std::move(english));
}

const std::vector<std::string>& FiledWordings()
{
    return Catalogue();
}
