// The tool buttons' pictures: theme icons by name, drawn marks as the fall-back.
#include "shell/qt/menu/ToolBarGlyphs.h"

#include <QFont>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>

#include <algorithm>

namespace vx::shell::menu {

namespace {

struct TToolGlyph {
    const char* Button;
    const char* ThemeIcon; // "" where no theme names the picture
    const char* Mark;      // drawn in the frame, one to three characters of UTF-8
    QRgb Colour;           // of the frame
};

constexpr QRgb Blue = 0xFF2050A0, Green = 0xFF2E7D32, Red = 0xFFB03020, Purple = 0xFF6A3D9A,
               Teal = 0xFF00796B, Brown = 0xFF795548, Grey = 0xFF546E7A, Orange = 0xFFD06000;

constexpr TToolGlyph Glyphs[] = {
    // File
    {"SpeedButton1", "document-new", "+", Blue},
    {"SpeedButton2", "document-open", "O", Blue},
    {"SpeedButton3", "document-save", "S", Blue},
    {"SpeedButton12", "preferences-system", "P", Grey},
    // Html
    {"Bold1", "format-text-bold", "B", Grey},
    {"Italics1", "format-text-italic", "I", Grey},
    {"Underline1", "format-text-underline", "U", Grey},
    {"Strikethrough1", "format-text-strikethrough", "S", Grey},
    {"H11", "", "H1", Purple},
    {"H21", "", "H2", Purple},
    {"H31", "", "H3", Purple},
    {"H41", "", "H4", Purple},
    {"H51", "", "H5", Purple},
    {"H61", "", "H6", Purple},
    {"Alignleft1", "format-justify-left", "\u00AB", Grey},
    {"Aligncenter1", "format-justify-center", "=", Grey},
    {"Alignright1", "format-justify-right", "\u00BB", Grey},
    {"Listitem1", "", "li", Teal},
    {"Fontface1", "preferences-desktop-font", "F", Brown},
    {"Fontcolour1", "", "A", Red},
    // Tags: the pages of the tag lists
    {"Showallhtmltags1", "", "<>", Blue},
    {"Showallwebtvtags1", "", "tv", Teal},
    {"Showuserdefinedtags2", "", "U", Green},
    {"ShowSQLcommands3", "", "sql", Orange},
    {"Showmivacommands1", "", "mv", Brown},
    {"Showphpcommands1", "", "php", Purple},
    {"Showcsscommands1", "", "css", Teal},
    {"Showperlcommands1", "", "pl", Grey},
    {"ShowJavaScriptCommands1", "", "js", Orange},
    {"ShowASPtags1", "", "asp", Red},
    // Wizards
    {"Newpagewizard2", "text-html", "pg", Green},
    {"Addlinkwizard1", "", "a", Blue},
    {"Addimagetopage1", "image-x-generic", "img", Green},
    {"Databasewizard1", "x-office-spreadsheet", "db", Orange},
    {"Launchadoconnectwizard1", "network-workgroup", "ado", Orange},
    {"Cookiewizard2", "", "ck", Brown},
    {"Ifthenelsewizard2", "", "if", Purple},
    {"EmailWizard2", "mail-message-new", "@", Blue},
    {"Includefilewizard2", "", "inc", Teal},
    {"Metataggenerator2", "", "m", Grey},
    {"Tablewizard2", "", "#", Green},
    // Tools
    {"PublishFilestowebserver2", "network-transmit", "ftp", Blue},
    {"Beautifysource4", "format-indent-more", "{}", Teal},
    {"Encryptionwizard1", "system-lock-screen", "enc", Grey},
    {"Linkvalidator2", "", "lnk", Green},
    {"Documentstructurevalidator1", "", "str", Purple},
    {"Viewinexternalbrowser1", "internet-web-browser", "www", Blue},
    {"Viewininternalbrowser1", "document-print-preview", "v", Teal},
    {"Showhelpfile1", "help-browser", "?", Blue},
    {"LaunchStylesheeteditorCSS1", "", "cs", Grey},
    {"LaunchStylesheeteditor1", "", "ts", Grey},
    {"LaunchStylesheeteditor2", "", "ts", Grey},
    {"Editstyleinselectedpartoftext1", "", "st", Grey},
    {"Filepanel2", "system-file-manager", "fp", Brown},
    {"Wordwrap2", "", "wr", Teal},
    {"Undo3", "edit-undo", "<", Grey},
    {"SpeedButton14", "preferences-desktop-theme", "lf", Purple},
};

const TToolGlyph* Find(std::string_view button)
{
    const auto found =
        std::find_if(std::begin(Glyphs), std::end(Glyphs), [button](const TToolGlyph& g) { return button == g.Button; });
    return found == std::end(Glyphs) ? nullptr : found;
}

QImage Drawn(const TToolGlyph& glyph)
{
    QImage image(ToolGlyphSize, ToolGlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(glyph.Colour).darker(140));
    p.setBrush(QColor(glyph.Colour));
    p.drawRoundedRect(QRectF(0.5, 0.5, ToolGlyphSize - 1, ToolGlyphSize - 1), 3, 3);
    const QString mark = QString::fromUtf8(glyph.Mark);
    // The largest bold face whose mark fits inside the frame.
    QFont font("DejaVu Sans");
    font.setBold(true);
    for (int pixels = 11; pixels >= 5; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(mark) <= ToolGlyphSize - 2)
            break;
    }
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, ToolGlyphSize, ToolGlyphSize), Qt::AlignCenter, mark);
    return image;
}

QImage FromTheme(const char* name)
{
    if (!*name)
        return {};
    const QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    if (icon.isNull())
        return {};
    return icon.pixmap(ToolGlyphSize, ToolGlyphSize).toImage().scaled(ToolGlyphSize, ToolGlyphSize);
}

// A desktop's own icon theme comes first; the freely licensed theme the
// program installs with it stands behind it.
void UseThemeFallback()
{
    static const bool once = [] {
        if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == "hicolor")
            QIcon::setFallbackThemeName("Tango");
        return true;
    }();
    (void)once;
}

// What a disabled button shows: the picture's own shapes in light greys. The
// button's embossed look for one picture would turn a drawn mark and its
// frame into a single grey square.
QImage Greyed(const QImage& picture)
{
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int tone = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(tone, tone, tone, qAlpha(line[x]));
        }
    }
    return grey;
}

// The picture, then its greyed copy beside it: a button of two pictures shows
// the second while it is disabled.
QImage WithDisabledPicture(const QImage& picture)
{
    QImage strip(2 * ToolGlyphSize, ToolGlyphSize, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.drawImage(0, 0, picture);
    p.drawImage(ToolGlyphSize, 0, Greyed(picture));
    return strip;
}

} // namespace

QImage DrawnToolButtonGlyph(std::string_view buttonName)
{
    const TToolGlyph* glyph = Find(buttonName);
    return glyph ? Drawn(*glyph) : QImage();
}

QImage ToolButtonGlyph(std::string_view buttonName)
{
    const TToolGlyph* glyph = Find(buttonName);
    if (!glyph)
        return {};
    UseThemeFallback();
    const QImage themed = FromTheme(glyph->ThemeIcon);
    return WithDisabledPicture(themed.isNull() ? Drawn(*glyph) : themed);
}

} // namespace vx::shell::menu
