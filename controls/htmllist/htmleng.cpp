// Layout, drawing and hit-testing of the mini-HTML item text.
#include "controls/htmllist/htmleng.h"

#include "editor/qt/SysColors.h"
#include "platform/AnsiText.h"
#include "platform/qt/QtText.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace vx {

namespace {

struct FontState {
    QString Name;
    int Size = 0;
    TColor Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

struct LinkState {
    bool InLink = false;
    std::string Target;
    TColor ColorBefore = clBlack;
};

// Everything the tags change while one item is processed.
struct RenderState {
    FontState Font;
    TColor Brush = clWindow;
    FontState SavedFont;
    TColor SavedBrush = clWindow;
    TColor LinkColor = clBlue;
    LinkState Link;
    int Align = 0; // 0 left, 1 right, 2 centre
};

enum class Mode { Measure, Draw };

// One line's pass: where it starts, how it is judged and what it found.
struct LinePass {
    Mode PassMode = Mode::Measure;
    int StartX = 0;
    int Top = 0;
    int Width = 0;       // only compared in the first, measuring pass
    bool CheckFit = true;
    bool HitTest = false;
    int PointX = 0;
    QRect ItemRect;
    const THTMLImages* Images = nullptr;
    // results
    int LineWidth = 0;
    int LineHeight = 0;
    std::size_t Consumed = 0;
    bool OnLink = false;
    std::string Link;
};

QFont MakeFont(const QFont& base, const FontState& state)
{
    QFont font(base);
    if (!state.Name.isEmpty())
        font.setFamily(state.Name);
    if (state.Size > 0)
        font.setPointSize(state.Size);
    font.setBold(state.Bold);
    font.setItalic(state.Italic);
    font.setUnderline(state.Underline);
    return font;
}

FontState StateOf(const QFont& font, TColor color)
{
    FontState s;
    s.Name = font.family();
    s.Size = font.pointSize();
    s.Color = color;
    s.Bold = font.bold();
    s.Italic = font.italic();
    s.Underline = font.underline();
    return s;
}

QSize TextSize(const QFont& font, const QString& text)
{
    return QFontMetrics(font).size(Qt::TextSingleLine | Qt::TextExpandTabs, text);
}

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// The value between the first pair of double quotes after the attribute name,
// which is found case-insensitively anywhere in the tag; empty when absent.
std::string AttrValue(std::string_view tag, std::string_view upperTag, std::string_view upperName)
{
    const auto at = upperTag.find(upperName);
    if (at == std::string_view::npos)
        return {};
    const auto open = tag.find('"', at + upperName.size());
    if (open == std::string_view::npos)
        return {};
    const auto close = tag.find('"', open + 1);
    if (close == std::string_view::npos)
        return {};
    return std::string(tag.substr(open + 1, close - open - 1));
}

bool ParseColor(const std::string& value, TColor& color)
{
    const std::string lower = AnsiLowerCase(value);
    if (lower.find("cl") != std::string::npos) {
        color = ColorFromName(lower);
        return true;
    }
    if (value.find('#') != std::string::npos) {
        color = HexToColor(value.substr(value.find('#')));
        return true;
    }
    return false;
}

int ToInt(const std::string& value, int fallback)
{
    const std::string t = Trim(value);
    if (t.empty() || t.size() > 9)
        return fallback;
    int n = 0;
    for (char c : t) {
        if (c < '0' || c > '9')
            return fallback;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Size of an inline image, drawing it at (x, top) when asked.
QSize ImageSize(QPainter& canvas, const std::string& src, const LinePass& pass, int x, bool draw)
{
    const std::string upper = AnsiUpperCase(src);
    if (StartsWith(upper, "IDX:")) {
        const int n = ToInt(src.substr(4), -1);
        if (!pass.Images || n < 0 || n >= static_cast<int>(pass.Images->size()))
            return {0, 0};
        const QImage& image = (*pass.Images)[static_cast<std::size_t>(n)];
        if (draw)
            canvas.drawImage(x, pass.Top, image);
        return image.size();
    }
    if (StartsWith(upper, "SSYS:") || StartsWith(upper, "LSYS:")) {
        QSize size;
        DrawSysIcon(canvas, x, pass.Top, size, draw, upper[0] == 'L', std::string_view(src).substr(5));
        return size;
    }
    if (StartsWith(upper, "FILE://")) {
        const QImage image(ToQString(src.substr(7)));
        if (draw && !image.isNull())
            canvas.drawImage(x, pass.Top, image);
        return image.size();
    }
    return {0, 0}; // "res://" and anything else show nothing
}

// Applies one tag. Returns false when the line ends before the tag is used
// (an image that does not fit); sets endLine when the tag ends the line.
bool ApplyTag(QPainter& canvas, RenderState& st, std::string_view tag, LinePass& pass, int& x, bool& endLine)
{
    const std::string upper = AnsiUpperCase(std::string(tag));
    const bool closing = StartsWith(upper, "</");
    const char letter = upper.size() > (closing ? 2u : 1u) ? upper[closing ? 2 : 1] : '\0';
    const bool drawing = pass.PassMode == Mode::Draw;
    switch (letter) {
    case 'B':
        if (closing)
            st.Font.Bold = false;
        else if (StartsWith(upper, "<BR>"))
            endLine = true;
        else if (StartsWith(upper, "<BODY")) {
            TColor c = st.Brush;
            if (ParseColor(AttrValue(tag, upper, "BGCOLOR"), c)) {
                st.Brush = c;
                if (drawing)
                    canvas.fillRect(pass.ItemRect, ToQColor(c));
            }
        } else if (StartsWith(upper, "<B>"))
            st.Font.Bold = true;
        break;
    case 'I':
        if (closing)
            st.Font.Italic = false;
        else if (StartsWith(upper, "<IND")) {
            const int ind = ToInt(AttrValue(tag, upper, "X"), -1);
            if (ind > x - pass.StartX)
                x = pass.StartX + ind;
        } else if (StartsWith(upper, "<IMG")) {
            const std::string src = AttrValue(tag, upper, "SRC");
            const QSize size = ImageSize(canvas, src, pass, x, false);
            const int used = x - pass.StartX;
            if (pass.CheckFit && used + size.width() > pass.Width && size.width() < pass.Width && used > 0) {
                endLine = true;
                return false;
            }
            if (drawing)
                ImageSize(canvas, src, pass, x, true);
            x += size.width();
            pass.LineHeight = std::max(pass.LineHeight, size.height());
        } else if (StartsWith(upper, "<I>"))
            st.Font.Italic = true;
        break;
    case 'U':
        st.Font.Underline = !closing;
        break;
    case 'A':
        if (closing) {
            st.Font.Underline = false;
            st.Font.Color = st.Link.ColorBefore;
            st.Link.InLink = false;
            st.Link.Target.clear();
        } else {
            st.Link.ColorBefore = st.Font.Color;
            st.Font.Underline = true;
            st.Font.Color = st.LinkColor;
            st.Link.Target = AttrValue(tag, upper, "HREF");
            st.Link.InLink = true;
        }
        break;
    case 'F':
        if (closing) {
            st.Font.Name = st.SavedFont.Name;
            st.Font.Size = st.SavedFont.Size;
            st.Font.Color = st.SavedFont.Color;
            if (drawing)
                st.Brush = st.SavedBrush;
        } else {
            st.SavedFont = st.Font;
            st.SavedBrush = st.Brush;
            const std::string face = AttrValue(tag, upper, "FACE");
            if (!face.empty())
                st.Font.Name = ToQString(face);
            ParseColor(AttrValue(tag, upper, " COLOR"), st.Font.Color);
            if (drawing)
                ParseColor(AttrValue(tag, upper, "BGCOLOR"), st.Brush);
            const int size = ToInt(AttrValue(tag, upper, "SIZE"), 0);
            if (size > 0 && size <= 500)
                st.Font.Size = size;
        }
        break;
    case 'P':
        if (closing)
            endLine = true;
        else {
            const std::string align = AnsiLowerCase(AttrValue(tag, upper, "ALIGN"));
            const std::string any = align.empty() ? AnsiLowerCase(std::string(tag)) : align;
            if (any.find("right") != std::string::npos)
                st.Align = 1;
            else if (any.find("left") != std::string::npos)
                st.Align = 0;
            else if (any.find("center") != std::string::npos)
                st.Align = 2;
        }
        break;
    case 'H':
        if (!closing) {
            endLine = true;
            if (drawing) {
                canvas.save();
                canvas.setPen(QPen(Qt::black, 1));
                canvas.drawLine(pass.ItemRect.left(), pass.Top + 1, pass.ItemRect.right(), pass.Top + 1);
                canvas.restore();
            }
        }
        break;
    default:
        break;
    }
    return true;
}

// Lays out or draws one line from the front of text; pass.Consumed tells how
// much of it the line took.
void DrawHTMLText(QPainter& canvas, const QFont& baseFont, RenderState& st, std::string_view text, LinePass& pass)
{
    int x = pass.StartX;
    int trailing = 0;
    bool placedAny = false;
    pass.LineHeight = TextSize(MakeFont(baseFont, st.Font), QStringLiteral("gh")).height();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        if (rest[0] == '<') {
            const auto close = rest.find('>');
            const std::size_t len = close == std::string_view::npos ? rest.size() : close + 1;
            bool endLine = false;
            if (!ApplyTag(canvas, st, rest.substr(0, len), pass, x, endLine))
                break;
            pos += len;
            if (endLine)
                break;
            continue;
        }
        const auto lt = rest.find('<');
        const auto blank = rest.find(' ');
        std::size_t len;
        if (lt != std::string_view::npos && (blank == std::string_view::npos || lt < blank))
            len = lt;
        else
            len = blank == std::string_view::npos ? rest.size() : blank + 1;
        const std::string_view piece = rest.substr(0, len);
        const QFont font = MakeFont(baseFont, st.Font);
        const QString qpiece = ToQString(piece);
        const QSize size = TextSize(font, qpiece);
        if (pass.CheckFit) {
            const int used = x - pass.StartX;
            // A piece too wide for any line gets a line of its own.
            const bool fits = used + size.width() < pass.Width;
            const bool alone = size.width() >= pass.Width && !placedAny && used == 0;
            if (!fits && !alone && (placedAny || used > 0))
                break;
        }
        pass.LineHeight = std::max(pass.LineHeight, size.height());
        if (pass.PassMode == Mode::Draw) {
            canvas.setFont(font);
            canvas.setPen(ToQColor(st.Font.Color));
            const QRect box(x, pass.Top, size.width(), size.height());
            canvas.drawText(box, Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip, qpiece);
        }
        if (pass.HitTest && st.Link.InLink && pass.PointX >= x && pass.PointX < x + size.width()) {
            pass.OnLink = true;
            pass.Link = st.Link.Target;
        }
        x += size.width();
        trailing = piece.back() == ' ' ? TextSize(font, QStringLiteral(" ")).width() : 0;
        placedAny = true;
        pos += len;
    }
    pass.Consumed = pos;
    pass.LineWidth = x - pass.StartX - trailing;
}

constexpr std::array<std::pair<std::string_view, TColor>, 39> kColorNames{{
    {"clred", clRed},
    {"clblack", clBlack},
    {"clblue", clBlue},
    {"clgreen", clGreen},
    {"claqua", clAqua},
    {"clyellow", clYellow},
    {"clfuchsia", clFuchsia},
    {"clwhite", clWhite},
    {"cllime", clLime},
    {"clsilver", clSilver},
    {"clgray", clGray},
    {"clolive", clOlive},
    {"clnavy", clNavy},
    {"clpurple", clPurple},
    {"clteal", clTeal},
    {"clbackground", clBackground},
    {"clactivecaption", clActiveCaption},
    {"clinactivecaption", clInactiveCaption},
    {"clmenu", clMenu},
    {"clwindow", clWindow},
    {"clwindowframe", clWindowFrame},
    {"clmenutext", clMenuText},
    {"clwindowtext", clWindowText},
    {"clcaptiontext", clCaptionText},
    {"clactiveborder", clActiveBorder},
    {"clinactiveborder", clInactiveBorder},
    {"clappworkspace", clAppWorkSpace},
    {"clhighlight", clHighlight},
    {"clhighlighttext", clHighlightText},
    {"clbtnface", clBtnFace},
    {"clbtnshadow", clBtnShadow},
    {"clgraytext", clGrayText},
    {"clbtntext", clBtnText},
    {"clinactivecaptiontext", clInactiveCaptionText},
    {"clbtnhighlight", clBtnHighlight},
    {"cl3ddkshadow", cl3DDkShadow},
    {"cl3dlight", cl3DLight},
    {"clinfotext", clInfoText},
    {"clinfobk", clInfoBk},
}};

int HexDigit(char c)
{
    const int u = std::toupper(static_cast<unsigned char>(c));
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return 0;
}

} // namespace

TColor ColorFromName(std::string_view name)
{
    for (const auto& [known, color] : kColorNames)
        if (known == name)
            return color;
    return clBlack;
}

TColor HexToColor(std::string_view text)
{
    if (text.size() < 7)
        return clBlack;
    auto pair = [&](std::size_t at) { return static_cast<TColor>(HexDigit(text[at]) * 16 + HexDigit(text[at + 1])); };
    return pair(1) | (pair(3) << 8) | (pair(5) << 16);
}

void DrawSysIcon(QPainter& canvas, int x, int y, QSize& size, bool draw, bool large, std::string_view source)
{
    const int extent = large ? 32 : 16;
    size = QSize(extent, extent);
    QFileIconProvider provider;
    QIcon icon;
    const std::string name = Trim(std::string(source));
    const int index = ToInt(name, -1);
    if (index >= 0) {
        if (index > QFileIconProvider::File)
            return;
        icon = provider.icon(static_cast<QFileIconProvider::IconType>(index));
    } else {
        const QFileInfo info(ToQString(name));
        icon = info.exists() ? provider.icon(info) : provider.icon(QFileInfo(QStringLiteral("x.") + info.suffix()));
    }
    if (draw && !icon.isNull())
        icon.paint(&canvas, QRect(x, y, extent, extent));
}

bool DrawHTMLItem(QPainter& canvas, std::string_view text, const QRect& rect, TColor linkColor, bool measureOnly,
                  bool hitTest, int x, int y, const THTMLImages* images, THTMLItemResult& result)
{
    const QFont baseFont = canvas.font();
    const QPen savedPen = canvas.pen();
    const QBrush savedBrush = canvas.brush();
    const bool drawing = !measureOnly && !hitTest;
    result = THTMLItemResult{};

    RenderState st;
    st.Font = StateOf(baseFont, FromQColor(canvas.pen().color()));
    st.SavedFont = st.Font;
    st.Brush = FromQColor(canvas.brush().color());
    st.SavedBrush = st.Brush;
    st.LinkColor = linkColor;

    int top = rect.top();
    std::string_view rest = text;
    while (!rest.empty()) {
        const FontState font = st.Font;
        const LinkState link = st.Link;
        LinePass measure;
        measure.Width = rect.width();
        measure.Top = top;
        measure.ItemRect = rect;
        measure.Images = images;
        DrawHTMLText(canvas, baseFont, st, rest, measure);
        if (measure.Consumed == 0) // cannot happen with a positive width; guards against a stall
            measure.Consumed = 1;
        // A drawn line that would pass the bottom ends the item; the first line always shows.
        if (drawing && top > rect.top() && top + measure.LineHeight > rect.bottom() + 1)
            break;
        const std::string_view lineText = rest.substr(0, measure.Consumed);
        rest.remove_prefix(measure.Consumed);
        st.Font = font;
        st.Link = link;

        int left = rect.left();
        if (st.Align == 1)
            left = rect.right() + 1 - measure.LineWidth;
        else if (st.Align == 2)
            left = rect.left() + (rect.width() - measure.LineWidth) / 2;
        // The second pass replays the line's tags (so the next line starts from
        // the state this one ended in) and draws or hit-tests it.
        LinePass second;
        second.PassMode = drawing ? Mode::Draw : Mode::Measure;
        second.StartX = left;
        second.Top = top;
        second.CheckFit = false;
        second.HitTest = hitTest && !measureOnly;
        second.PointX = x;
        second.ItemRect = rect;
        second.Images = images;
        DrawHTMLText(canvas, baseFont, st, lineText, second);
        if (second.OnLink && y > top && y < top + measure.LineHeight) {
            result.OnLink = true;
            result.Anchor = second.Link;
        }
        top += measure.LineHeight;
        result.Height += measure.LineHeight;
    }
    if (result.Height == 0)
        result.Height = TextSize(baseFont, QStringLiteral("gh")).height();
    canvas.setFont(baseFont);
    canvas.setPen(savedPen);
    canvas.setBrush(savedBrush);
    return result.OnLink;
}

} // namespace vx
