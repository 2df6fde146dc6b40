// The HTML view's page model (internal to the layer DLL): the markup parsed into
// styled words and breaks, laid out into lines for one width, drawn onto a DC. Fonts
// are made on first use and kept with the layout. GUI thread only.
#pragma once
#include "afxwin.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace afxhtml {

constexpr int kBaseSize = 16;  // text height in pixels

struct TextStyle {
    int size = kBaseSize;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool mono = false;
    COLORREF color = RGB(0, 0, 0);
    bool operator<(const TextStyle& o) const
    {
        return std::tie(size, bold, italic, underline, mono, color) <
               std::tie(o.size, o.bold, o.italic, o.underline, o.mono, o.color);
    }
};

// One piece of the parsed page.
struct Item {
    enum Kind { Word, LineBreak, ParaBreak, Rule, CellGap } kind = Word;
    std::string text;       // Word
    TextStyle style;        // Word; the size of a break's empty line
    bool spaceBefore = false;
    int indent = 0;         // left indent of the line the item starts
    bool center = false;
};

// The parsed page and its layout for one width.
class Page {
public:
    std::string title;
    COLORREF background = RGB(255, 255, 255);
    std::vector<Item> items;

    struct Run {
        int x;
        std::string text;
        TextStyle style;
    };
    struct Line {
        int y = 0;
        int height = 0;
        int ascent = 0;
        std::vector<Run> runs;
    };
    std::vector<Line> lines;
    std::vector<CRect> rules;
    int width = 0;
    int height = 0;

    Page() = default;
    ~Page();
    Page(const Page&) = delete;
    Page& operator=(const Page&) = delete;

    // The items (and title, background) of markup.
    void Parse(const std::string& markup);
    // Lines and rules for a page viewWidth wide, measured on dc; sets width, height.
    void Layout(HDC dc, int viewWidth);
    // The laid-out page with its top-left corner at dc's origin (text only: the
    // caller paints the background).
    void Draw(HDC dc) const;
    // The font of style, made on first use; owned by the page.
    HFONT Font(const TextStyle& style);

private:
    std::map<TextStyle, HFONT> fonts;
};

}  // namespace afxhtml
