// The calculator engine: operations, percent and sign keys, memory, digit
// limit, error states and number formatting.
#include "controls/edits/RxCalcEngine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Calc : TCalcEngine {
    int beeps = 0;
    int results = 0;
    int errors = 0;

    Calc()
    {
        OnBeep = [this] { ++beeps; };
        OnResult = [this] { ++results; };
        OnError = [this] { ++errors; };
    }

    Calc& Keys(const std::string& keys)
    {
        for (char k : keys)
            CalcKey(k);
        return *this;
    }
};

} // namespace

TEST(CalcEngine, AddsAndRepeatsEqualsHarmlessly)
{
    Calc c;
    EXPECT_EQ(c.Keys("1+2=").Text(), "3");
    EXPECT_EQ(c.results, 1);
    EXPECT_EQ(c.Keys("=").Text(), "3");
    EXPECT_EQ(c.Keys("*4=").Text(), "12");
    EXPECT_EQ(c.Keys("-20=").Text(), "-8");
    EXPECT_EQ(c.Keys("/16=").Text(), "-0.5");
}

TEST(CalcEngine, ChainedOperatorsWorkLeftToRight)
{
    Calc c;
    EXPECT_EQ(c.Keys("2+3*4=").Text(), "20");
    // A second operator in a row only replaces the pending one.
    EXPECT_EQ(c.Keys("C5+*2=").Text(), "10");
}

TEST(CalcEngine, PercentKey)
{
    Calc c;
    EXPECT_EQ(c.Keys("200+10%").Text(), "220");
    c.Keys("C");
    EXPECT_EQ(c.Keys("50*10%").Text(), "5");
    c.Keys("C");
    EXPECT_EQ(c.Keys("50/10%").Text(), "500");
    c.Keys("C");
    // Without a pending operation percent leaves the display.
    EXPECT_EQ(c.Keys("7%").Text(), "7");
}

TEST(CalcEngine, SignSquareRootAndReciprocal)
{
    Calc c;
    EXPECT_EQ(c.Keys("5_").Text(), "-5");
    EXPECT_EQ(c.Keys("_").Text(), "5");
    EXPECT_EQ(c.Keys("C16Q").Text(), "4");
    EXPECT_EQ(c.Keys("C8R").Text(), "0.125");
    EXPECT_EQ(c.Keys("C3R").Text(), "0.333333333333333");
    // A finished result is replaced by the next digit.
    EXPECT_EQ(c.Keys("9").Text(), "9");
}

TEST(CalcEngine, ErrorsBlockEverythingButClear)
{
    Calc c;
    EXPECT_EQ(c.Keys("5/0=").Text(), "Error");
    EXPECT_EQ(c.Status(), TCalcState::csError);
    EXPECT_EQ(c.errors, 1);
    EXPECT_EQ(c.beeps, 1);
    EXPECT_EQ(c.Keys("123+=Q_").Text(), "Error");
    c.CalcKey(TCalcEngine::kEscape);
    EXPECT_EQ(c.Text(), "Error");
    EXPECT_EQ(c.DisplayValue(), 0);
    EXPECT_EQ(c.Keys("c").Text(), "0");
    EXPECT_EQ(c.Status(), TCalcState::csFirst);

    EXPECT_EQ(c.Keys("0R").Text(), "Error");
    c.Keys("C");
    EXPECT_EQ(c.Keys("4_Q").Text(), "Error");
}

TEST(CalcEngine, OverflowShowsErrorNotGarbage)
{
    Calc c;
    c.SetDisplayValue(1e300);
    EXPECT_EQ(c.Text(), "1E300");
    c.SetStatus(TCalcState::csValid);
    EXPECT_EQ(c.Keys("*").Text(), "1E300");
    c.SetDisplayValue(1e300);
    c.SetStatus(TCalcState::csValid);
    EXPECT_EQ(c.Keys("=").Text(), "Error");
    c.Keys("C");
    c.SetDisplayValue(1e-320);
    c.SetStatus(TCalcState::csValid);
    EXPECT_EQ(c.Keys("R").Text(), "Error");
}

TEST(CalcEngine, DigitLimitAndExponentText)
{
    Calc c;
    c.Keys("123456789012345");
    EXPECT_EQ(c.Text(), "123456789012345");
    EXPECT_EQ(c.beeps, 0);
    c.Keys("6");
    EXPECT_EQ(c.Text(), "123456789012345");
    EXPECT_EQ(c.beeps, 1);
    // A negative number may hold one more character.
    c.Keys("C12345678901234_");
    c.SetStatus(TCalcState::csValid);
    c.Keys("5");
    EXPECT_EQ(c.Text(), "-123456789012345");

    c.Keys("C");
    c.SetDisplayValue(1e20);
    EXPECT_EQ(c.Text(), "1E20");
    c.SetStatus(TCalcState::csValid);
    c.Keys("5");
    EXPECT_EQ(c.Text(), "1E20");
}

TEST(CalcEngine, BackspaceAndDecimalSeparator)
{
    Calc c;
    EXPECT_EQ(c.Keys("12").Text(), "12");
    c.CalcKey(TCalcEngine::kBackspace);
    EXPECT_EQ(c.Text(), "1");
    c.CalcKey(TCalcEngine::kBackspace);
    EXPECT_EQ(c.Text(), "0");
    c.Keys("C5_");
    c.SetStatus(TCalcState::csValid);
    c.CalcKey(TCalcEngine::kBackspace);
    EXPECT_EQ(c.Text(), "0");

    EXPECT_EQ(c.Keys("C1..5,2").Text(), "1.52");
    EXPECT_EQ(c.Keys("C.").Text(), "0.");
    EXPECT_EQ(c.Keys("5").Text(), "0.5");
}

TEST(CalcEngine, MemoryKeys)
{
    Calc c;
    c.Keys("12");
    c.MemoryStore();
    EXPECT_EQ(c.Memory(), 12);
    c.Keys("3");
    EXPECT_EQ(c.Text(), "3");
    c.MemoryAdd();
    EXPECT_EQ(c.Memory(), 15);
    c.Keys("C");
    c.MemoryRecall();
    EXPECT_EQ(c.Text(), "15");
    // Digits typed after a recall extend the recalled number.
    c.Keys("7");
    EXPECT_EQ(c.Text(), "157");
    c.MemoryClear();
    EXPECT_EQ(c.Memory(), 0);

    c.Keys("1/0=");
    c.MemoryStore();
    EXPECT_EQ(c.Memory(), 0);
}

TEST(CalcEngine, CalcKeyHandlerMayChangeTheKey)
{
    Calc c;
    c.OnCalcKey = [](char& key) {
        if (key == '9')
            key = '1';
        if (key == '+')
            key = 0;
    };
    EXPECT_EQ(c.Keys("9+9").Text(), "11");
}

TEST(CalcEngine, Formatting)
{
    EXPECT_EQ(TCalcEngine::FormatValue(0.1 + 0.2, 15, '.'), "0.3");
    EXPECT_EQ(TCalcEngine::FormatValue(-0.0, 15, '.'), "0");
    EXPECT_EQ(TCalcEngine::FormatValue(1.5e-7, 15, ','), "1,5E-7");
    EXPECT_EQ(TCalcEngine::FormatValue(123456.0, 2, '.'), "1.2E5");
}
