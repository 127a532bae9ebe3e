// The pocket calculator's engine: the display text, the pending operator and
// operand, the memory, and the reaction to each key. It knows no window; the
// calculator panel shows its text and answers its beep, copy and paste hooks.
#pragma once

#include <functional>
#include <string>

enum class TCalcState { csFirst, csValid, csError };

class TCalcEngine {
public:
    static constexpr char kBackspace = 8;
    static constexpr char kCopy = 3;
    static constexpr char kPaste = 22;
    static constexpr char kEnter = 13;
    static constexpr char kEscape = 27;

    const std::string& Text() const { return text_; }
    TCalcState Status() const { return status_; }
    void SetStatus(TCalcState value) { status_ = value; }
    char Operator() const { return operator_; }
    void SetOperator(char value) { operator_ = value; }
    double Operand() const { return operand_; }
    double Memory() const { return memory_; }
    void SetMemory(double value) { memory_ = value; }
    int Precision() const { return precision_; }
    // At least 2 significant digits.
    void SetPrecision(int value) { precision_ = value < 2 ? 2 : value; }
    bool BeepOnError = true;

    // 0 in the error state, else the text read as a number.
    double DisplayValue() const;
    // Shows value with Precision significant digits; a value that is not a
    // finite number shows "Error".
    void SetDisplayValue(double value);
    void SetText(const std::string& text);

    void CalcKey(char key);
    void Clear();
    void Error();
    // Starts a new number when the last key ended one.
    void CheckFirst();
    void MemoryAdd();
    void MemoryStore();
    void MemoryRecall();
    void MemoryClear();

    // value in general format with the given significant digits and decimal separator.
    static std::string FormatValue(double value, int precision, char decimalSeparator);

    std::function<void()> OnTextChange;
    std::function<void()> OnDisplayChange;
    std::function<void()> OnError;
    std::function<void()> OnResult;
    std::function<void()> OnBeep;
    std::function<void()> OnCopy;
    std::function<void()> OnPaste;
    std::function<void(char& key)> OnCalcKey;

private:
    void Beep();
    void OperatorKey(char key);
    void Digit(char key);

    std::string text_ = "0";
    TCalcState status_ = TCalcState::csFirst;
    char operator_ = '=';
    double operand_ = 0;
    double memory_ = 0;
    int precision_ = 15;
};
