// Looking up the texts set at run time, and the window that carries them to the language tool.
#include "localisation/qt/RunTimeTexts.h"

#include "localisation/qt/KMLang.h"
#include "platform/qt/QtText.h"

#include <QAction>
#include <QWidget>

#include <cctype>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::size_t kWordPart = 40;

// FNV-1a: a short, stable check sum that tells texts with the same letters apart.
std::uint32_t CheckSum(std::string_view text)
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

std::string ComponentName(std::string_view english)
{
    std::string name = "T";
    for (unsigned char c : english)
        if (std::isalnum(c) && c < 0x80 && name.size() < kWordPart)
            name += static_cast<char>(c);
    char sum[16];
    std::snprintf(sum, sizeof sum, "_%08x", CheckSum(english));
    return name + sum;
}

} // namespace

std::string RunTimeTextKey(std::string_view english)
{
    return ComponentName(english) + ".Caption";
}

std::string Tr(std::string_view english)
{
    TKAppLanguage& language = TKAppLanguage::Instance();
    if (language.IsNativeCurrent() || english.empty())
        return std::string(english);
    TKLangStr* record = language.CurrentFile().FindString(RunTimeTextsSection, RunTimeTextKey(english));
    if (!record || record->HasFlags(lsNativeOnly) || record->Text().empty())
        return std::string(english);
    return record->Text();
}

QString TrQ(std::string_view english)
{
    return vx::ToQString(Tr(english));
}

QString TrQ(const TRunTimeText& text)
{
    return TrQ(text.English());
}

std::unique_ptr<QWidget> MakeRunTimeTextsWindow(std::span<const std::string> texts)
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(RunTimeTextsSection);
    for (const std::string& text : texts) {
        auto* holder = new QAction(vx::ToQString(text), window.get());
        holder->setObjectName(QString::fromStdString(ComponentName(text)));
    }
    TranslateWindow(window.get());
    return window;
}
