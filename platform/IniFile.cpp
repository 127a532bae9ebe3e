#include "platform/IniFile.h"

#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/Utf8.h"

#include <sys/stat.h>

namespace {

const TWording CannotWrite{"Unable to write to %1: %2"};
const TWording Unreadable{"the file cannot be read"};

void checkText(std::string_view text, std::string_view forbidden, const char* what)
{
    if (text.find_first_of(forbidden) != std::string_view::npos)
        throw EIniFileException(std::string("Invalid ") + what + " '" + std::string(text) + "'");
}

} // namespace

TIniFile::TIniFile(const std::string& fileName) : TCustomIniFile(fileName)
{
    refresh();
}

TIniFile::Stamp TIniFile::stampNow() const
{
    struct stat st {};
    Stamp stamp;
    if (::stat(FileName().c_str(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.seconds = st.st_mtim.tv_sec;
    stamp.nanoseconds = st.st_mtim.tv_nsec;
    return stamp;
}

void TIniFile::refresh()
{
    Stamp now = stampNow();
    if (known_ && now == stamp_)
        return;
    known_ = true;
    stamp_ = now;
    unreadable_ = false;
    if (!now.exists) {
        doc_.Parse("");
        return;
    }
    try {
        doc_.Parse(vx::TextFromFileBytes(vx::ReadWholeFile(FileName())));
    } catch (const Exception&) {
        doc_.Parse("");
        unreadable_ = true;
    }
}

void TIniFile::save()
{
    try {
        vx::WriteFileAtomic(FileName(), doc_.Format());
    } catch (const Exception& e) {
        known_ = false; // the next call reads the file again, without the failed change
        throw EIniFileException(TMessage(CannotWrite, {FileName(), e.Said()}));
    }
    stamp_ = stampNow();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def)
{
    refresh();
    const std::string* value = doc_.Find(vx::Trim(section), vx::Trim(ident));
    if (!value)
        return def;
    const std::string& v = *value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    std::string name = vx::Trim(section);
    std::string key = vx::Trim(ident);
    checkText(name, "\r\n]", "section name");
    checkText(key, "\r\n=", "key name");
    if (key.empty() || key.front() == '[' || key.front() == ';')
        throw EIniFileException("Invalid key name '" + key + "'");
    checkText(value, "\r\n", "value");
    refresh();
    if (unreadable_)
        throw EIniFileException(TMessage(CannotWrite, {FileName(), TMessage(Unreadable, {})}));
    if (doc_.Set(name, key, value))
        save();
}

void TIniFile::ReadSection(const std::string& section, TStrings& idents)
{
    refresh();
    doc_.KeyNames(vx::Trim(section), idents);
}

void TIniFile::ReadSections(TStrings& sections)
{
    refresh();
    doc_.SectionNames(sections);
}

void TIniFile::EraseSection(const std::string& section)
{
    refresh();
    if (doc_.EraseSection(vx::Trim(section)))
        save();
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    refresh();
    if (doc_.DeleteKey(vx::Trim(section), vx::Trim(ident)))
        save();
}
