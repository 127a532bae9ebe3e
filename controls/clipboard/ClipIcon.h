// The clipboard format for icons: icon files exchanged under one private MIME type.
#pragma once

#include <memory>

class QByteArray;
class QIcon;

// The format's name; every program instance that exchanges icons uses it.
inline constexpr const char* IconClipboardFormat = "application/x-vellumix-icon";

// Whether the clipboard holds an icon in the format.
bool ClipboardHasIcon();
// Fills icon from the clipboard when it holds the format; otherwise leaves it
// alone. An unreadable image leaves it alone too.
void LoadIconFromClipboard(QIcon& icon);
// A new icon from the clipboard, or nullptr when it holds none.
std::unique_ptr<QIcon> CreateIconFromClipboard();
// Puts an icon file's bytes on the clipboard in the format.
void CopyIconToClipboard(const QByteArray& iconFile);
