// The test for texts worth translating.
#include "localisation/TranslatableChars.h"

bool HasTranslatableChars(std::string_view text)
{
    static const std::string_view kPunctuation = ":;<=>?[\\]^";
    for (char c : text)
        if (static_cast<unsigned char>(c) > '9' && kPunctuation.find(c) == std::string_view::npos)
            return true;
    return false;
}
