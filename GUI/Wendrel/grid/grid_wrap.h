// Word-wrapped cell text: the grid's own wrap, which may break a line after
// any of sixteen break characters (not only at blanks), breaks a word wider
// than the cell between characters, drops blanks at the start and end of a
// line and draws each line as one single-line text call. The same routine
// measures the height of wrapped text (DT_CALCRECT). The line breaking is
// plain logic over a table of character widths. GUI thread only.
#pragma once

#include <functional>

#include "afxwin.h"
#include "wendrel_export.h"

// Widths of the 256 single-byte characters and the line height of the font
// selected into a DC when the metrics are made.
struct WENDREL_API TCharMetrics {
    int widths[256] = {};
    int lineHeight = 0;
    HDC dc = nullptr;

    TCharMetrics() = default;
    explicit TCharMetrics(HDC hdc);
};

// Space, tab, line feed, carriage return and . - \ / ( ) [ ] < > * +;
// never a character of 0x80 and above.
WENDREL_API bool IsWrapBreakChar(unsigned char c);

// Splits text[0, length) into lines of at most `width` pixels, calling
// line(start, count) for each in order (a piece of an over-long word is a
// line of its own).
WENDREL_API void WrapTextLines(const char* text, int length, const int (&widths)[256], int width,
                               const std::function<void(const char*, int)>& line);

// Draws text into rect with a DrawText format: one DrawText call unless the
// format has DT_WORDBREAK without DT_SINGLELINE, else the wrapped lines one
// below the other. With DT_CALCRECT nothing is drawn and rect.bottom becomes
// the bottom of the last line. Returns the height of the text drawn.
WENDREL_API int DrawWrappedText(HDC dc, const char* text, RECT& rect, UINT format, const TCharMetrics& metrics);

// Whether a format goes through the wrapped routine.
inline bool IsWrappedFormat(UINT format) { return (format & DT_WORDBREAK) && !(format & DT_SINGLELINE); }
