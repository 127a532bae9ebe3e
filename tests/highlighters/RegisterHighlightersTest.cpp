// The start-up registration of the language highlighter classes.
#include "highlighters/RegisterHighlighters.h"

#include "editor/mwHighlighter.h"

#include <gtest/gtest.h>

#include <set>

TEST(RegisterHighlighters, EveryLanguageOnceWhateverTheNumberOfCalls)
{
    RegisterAllHighlighters();
    int count = HighlighterList().Count();
    RegisterAllHighlighters();
    EXPECT_EQ(HighlighterList().Count(), count);
    std::set<std::string> languages;
    for (int i = 0; i < HighlighterList().Count(); ++i) {
        auto highlighter = HighlighterList()[i]->Create();
        ASSERT_TRUE(highlighter);
        languages.insert(highlighter->GetLanguageName());
    }
    for (const char* language : {"SQL", "PHP", "Perl", "Tcl/Tk"})
        EXPECT_EQ(languages.count(language), 1u) << language;
}
