// The calculator engine.
#include "controls/edits/RxCalcEngine.h"

#include "localisation/FormatSettings.h"
#include "platform/AnsiText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

char DecimalSeparator()
{
    return vx::FormatSettings().DecimalSeparator;
}

} // namespace

std::string TCalcEngine::FormatValue(double value, int precision, char decimalSeparator)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, value);
    std::string text = buffer;
    // "1E+20" -> "1E20", "1.5E-07" -> "1.5E-7".
    if (size_t e = text.find('E'); e != std::string::npos) {
        std::string mantissa = text.substr(0, e);
        std::string exponent = text.substr(e + 1);
        bool negative = !exponent.empty() && exponent[0] == '-';
        size_t digits = exponent.find_first_not_of("+-0");
        text = mantissa + "E" + (negative ? "-" : "") + (digits == std::string::npos ? "0" : exponent.substr(digits));
    }
    if (text == "-0")
        text = "0";
    if (size_t dot = text.find('.'); dot != std::string::npos)
        text[dot] = decimalSeparator;
    return text;
}

double TCalcEngine::DisplayValue() const
{
    if (status_ == TCalcState::csError)
        return 0;
    std::string text = vx::Trim(text_);
    for (char& c : text)
        if (c == DecimalSeparator())
            c = '.';
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    return end == text.c_str() ? 0 : value;
}

void TCalcEngine::SetText(const std::string& text)
{
    text_ = text;
    if (OnTextChange)
        OnTextChange();
}

void TCalcEngine::SetDisplayValue(double value)
{
    if (!std::isfinite(value)) {
        Error();
        return;
    }
    std::string text = FormatValue(value, precision_, DecimalSeparator());
    if (text == text_)
        return;
    SetText(text);
    if (OnDisplayChange)
        OnDisplayChange();
}

void TCalcEngine::Beep()
{
    if (BeepOnError && OnBeep)
        OnBeep();
}

void TCalcEngine::Error()
{
    status_ = TCalcState::csError;
    SetText("Error");
    Beep();
    if (OnError)
        OnError();
}

void TCalcEngine::Clear()
{
    status_ = TCalcState::csFirst;
    SetDisplayValue(0);
    operator_ = '=';
}

void TCalcEngine::CheckFirst()
{
    if (status_ != TCalcState::csFirst)
        return;
    status_ = TCalcState::csValid;
    SetText("0");
}

void TCalcEngine::Digit(char key)
{
    CheckFirst();
    std::string text = text_ == "0" ? std::string() : text_;
    if (text.find('E') != std::string::npos)
        return;
    const size_t limit = precision_ + (text.find('-') != std::string::npos ? 1 : 0);
    if (limit > text.size())
        SetText(text + key);
    else
        Beep();
}

void TCalcEngine::OperatorKey(char key)
{
    if (status_ == TCalcState::csValid) {
        status_ = TCalcState::csFirst;
        double r = DisplayValue();
        if (key == '%') {
            if (operator_ == '+' || operator_ == '-')
                r = operand_ * r / 100;
            else if (operator_ == '*' || operator_ == '/')
                r = r / 100;
        }
        switch (operator_) {
        case '+':
            SetDisplayValue(operand_ + r);
            break;
        case '-':
            SetDisplayValue(operand_ - r);
            break;
        case '*':
            SetDisplayValue(operand_ * r);
            break;
        case '/':
            if (r == 0)
                Error();
            else
                SetDisplayValue(operand_ / r);
            break;
        default:
            break;
        }
    }
    operator_ = key;
    operand_ = DisplayValue();
    if ((key == kEnter || key == '%' || key == '=') && OnResult)
        OnResult();
}

void TCalcEngine::CalcKey(char key)
{
    key = vx::AsciiUpper(key);
    if (status_ == TCalcState::csError && key != 'C')
        key = 0;
    if (OnCalcKey)
        OnCalcKey(key);
    if (key == ',' || key == '.' || key == DecimalSeparator()) {
        CheckFirst();
        if (text_.find(DecimalSeparator()) == std::string::npos)
            SetText(text_ + DecimalSeparator());
        return;
    }
    switch (key) {
    case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9':
        Digit(key);
        break;
    case kBackspace:
        CheckFirst();
        if (text_.size() == 1 || (text_.size() == 2 && text_[0] == '-'))
            SetText("0");
        else
            SetText(text_.substr(0, text_.size() - 1));
        break;
    case '_':
        SetDisplayValue(-DisplayValue());
        break;
    case 'Q':
        if (status_ != TCalcState::csError) {
            status_ = TCalcState::csFirst;
            if (DisplayValue() < 0)
                Error();
            else
                SetDisplayValue(std::sqrt(DisplayValue()));
        }
        break;
    case 'R':
        if (status_ != TCalcState::csError) {
            status_ = TCalcState::csFirst;
            if (DisplayValue() == 0)
                Error();
            else
                SetDisplayValue(1 / DisplayValue());
        }
        break;
    case 'C':
    case kEscape:
        Clear();
        break;
    case kCopy:
        if (OnCopy)
            OnCopy();
        break;
    case kPaste:
        if (OnPaste)
            OnPaste();
        break;
    case '+': case '-': case '*': case '/': case '%': case '=': case kEnter:
        OperatorKey(key);
        break;
    default:
        break;
    }
}

void TCalcEngine::MemoryAdd()
{
    if (status_ == TCalcState::csError)
        return;
    status_ = TCalcState::csFirst;
    memory_ += DisplayValue();
}

void TCalcEngine::MemoryStore()
{
    if (status_ == TCalcState::csError)
        return;
    status_ = TCalcState::csFirst;
    memory_ = DisplayValue();
}

void TCalcEngine::MemoryRecall()
{
    if (status_ == TCalcState::csError)
        return;
    status_ = TCalcState::csFirst;
    CheckFirst();
    SetDisplayValue(memory_);
}

void TCalcEngine::MemoryClear()
{
    if (status_ == TCalcState::csError)
        return;
    status_ = TCalcState::csFirst;
    memory_ = 0;
}
