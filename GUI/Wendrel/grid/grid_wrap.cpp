#include "grid/grid_wrap.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<bool, 256> MakeBreakSet() {
    std::array<bool, 256> set{};
    for (unsigned char c : {' ', '\t', '\n', '\r', '.', '-', '\\', '/', '(', ')', '[', ']', '<', '>', '*', '+'})
        set[c] = true;
    return set;
}

constexpr std::array<bool, 256> kBreakSet = MakeBreakSet();

int Width(const int (&widths)[256], char c) { return widths[static_cast<unsigned char>(c)]; }

}  // namespace

TCharMetrics::TCharMetrics(HDC hdc) : dc(hdc) {
    if (!::GetCharWidth32A(hdc, 0, 255, widths)) std::memset(widths, 0, sizeof widths);
    TEXTMETRICA tm;
    lineHeight = ::GetTextMetricsA(hdc, &tm) ? int(tm.tmHeight) : 0;
}

bool IsWrapBreakChar(unsigned char c) { return kBreakSet[c]; }

void WrapTextLines(const char* text, int length, const int (&widths)[256], int width,
                   const std::function<void(const char*, int)>& line) {
    int pos = 0;
    // The token at pos: one break character, or the longest run of others.
    auto tokenEnd = [&](int p, int& w) {
        w = Width(widths, text[p]);
        if (kBreakSet[static_cast<unsigned char>(text[p])]) return p + 1;
        int e = p + 1;
        while (e < length && !kBreakSet[static_cast<unsigned char>(text[e])]) w += Width(widths, text[e++]);
        return e;
    };
    for (;;) {
        int start = pos, end = pos, lineWidth = 0;
        bool empty = true;
        while (pos < length) {
            int w = 0;
            const int e = tokenEnd(pos, w);
            if (empty) {
                if (e == pos + 1 && text[pos] == ' ') {  // a blank does not start a line
                    pos = e;
                    continue;
                }
                start = pos;
                empty = false;
            } else if (lineWidth + w > width) {
                break;
            }
            end = pos = e;
            lineWidth += w;
        }
        if (empty) return;
        while (end > start && text[end - 1] == ' ') lineWidth -= Width(widths, text[--end]);
        if (lineWidth <= width) {
            line(text + start, end - start);
            continue;
        }
        // One word wider than the cell: pieces of as many characters as fit, at least one each.
        for (int i = start; i < end;) {
            int j = i, pieceWidth = 0;
            do pieceWidth += Width(widths, text[j++]);
            while (j < end && pieceWidth + Width(widths, text[j]) <= width);
            line(text + i, j - i);
            i = j;
        }
    }
}

int DrawWrappedText(HDC dc, const char* text, RECT& rect, UINT format, const TCharMetrics& metrics) {
    if (!text) text = "";
    if (!IsWrappedFormat(format)) return ::DrawTextA(dc, text, -1, &rect, format);
    const UINT single = (format & ~UINT(DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CALCRECT)) | DT_SINGLELINE;
    const bool measure = (format & DT_CALCRECT) != 0;
    const int top = rect.top;
    int y = rect.top;
    WrapTextLines(text, int(std::strlen(text)), metrics.widths, int(rect.right - rect.left),
                  [&](const char* p, int n) {
                      if (!measure) {
                          RECT r = {rect.left, y, rect.right, y + metrics.lineHeight};
                          ::DrawTextA(dc, p, n, &r, single);
                      }
                      y += metrics.lineHeight;
                  });
    if (measure) rect.bottom = y;
    return y - top;
}
