// TSakMsg: one e-mail message as the SMTP component sends it.
#pragma once

#include "platform/TStringList.h"
#include "platform/TextEncoding.h"

#include <cstdint>
#include <string>
#include <vector>

enum TPriority : std::uint8_t { prHighest, prHigh, prNormal, prLow, prLowest };

struct TAttachedFile {
    // The name the message shows, the file read, and its MIME type.
    std::string FileName;
    std::string Path;
    std::string ContentType = "application/octet-stream";
    // Filled by the encoder when the message is sent.
    TStringList EncodedLines;
};

class TAttachedFiles {
public:
    TAttachedFile& Add(const std::string& path, const std::string& fileName, const std::string& contentType);
    int Count() const { return static_cast<int>(items_.size()); }
    TAttachedFile& Items(int index) { return items_.at(static_cast<std::size_t>(index)); }
    const TAttachedFile& Items(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    void Clear() { items_.clear(); }

private:
    std::vector<TAttachedFile> items_;
};

class TSakMsg {
public:
    std::string UserName;
    std::string From;
    std::string ReplyTo;
    std::string SendTo;
    std::string CC;
    std::string Subject;
    TPriority Priority = prNormal;
    std::string InReplyTo;
    // Set when the message is sent.
    std::string Date;
    // How the file of the document in Text stores its characters: the text
    // goes in that file's bytes and character set.
    vx::TTextEncoding TextEncoding = vx::TTextEncoding::Utf8;

    TStringList& Text() { return text_; }
    const TStringList& Text() const { return text_; }
    void SetText(const TStringList& lines) { text_.Assign(lines); }
    TStringList& ExtraHeaders() { return extraHeaders_; }
    const TStringList& ExtraHeaders() const { return extraHeaders_; }
    void SetExtraHeaders(const TStringList& lines) { extraHeaders_.Assign(lines); }
    TAttachedFiles& AttachedFiles() { return attached_; }
    const TAttachedFiles& AttachedFiles() const { return attached_; }

private:
    TStringList text_;
    TStringList extraHeaders_;
    TAttachedFiles attached_;
};
