// TFlatEdit: a one-line edit with the flat look; its height follows its font.
#pragma once

#include "controls/flat/TFlatTextControl.h"

#include <QLineEdit>

#include <string>

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TFlatEdit : public TFlatTextControl<QLineEdit> {
public:
    explicit TFlatEdit(QWidget* parent = nullptr);

    std::string Text() const;
    void SetText(const std::string& value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    // 0 means no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    // A non-zero character hides what is typed.
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char value);
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value) { hideSelection_ = value; }
    // Kept for the layouts that set it; 8-bit text needs no OEM round trip here.
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool value) { oemConvert_ = value; }

    // Fits the height to the font (text height + 6).
    void Loaded();

protected:
    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void ApplyCharCase();

    int maxLength_ = 0;
    char passwordChar_ = 0;
    TEditCharCase charCase_ = TEditCharCase::ecNormal;
    bool hideSelection_ = true;
    bool oemConvert_ = false;
};
