#include "gridwnd/grid_image.h"

CDefGridImage::CDefGridImage() : m_selection(::CreateRectRgn(0, 0, 0, 0)), m_styles(CreateBasicStyles()) {}

CDefGridImage::CDefGridImage(const CDefGridImage& src)
    : m_imageView(src.m_imageView), m_layout(src.m_layout), m_selection(src.m_selection), m_styles(src.m_styles)
{
}

CDefGridImage& CDefGridImage::operator=(const CDefGridImage& src)
{
    if (this != &src) {
        m_imageView = src.m_imageView;
        m_layout = src.m_layout;
        m_selection = src.m_selection;
        m_styles = src.m_styles;
    }
    return *this;
}

CDefGridImage::~CDefGridImage() = default;

void CDefGridImage::Select(HRGN region)
{
    if (region == m_selection.Get()) return;
    m_selection.Reset(region);
}

CELL_IMAGE CDefGridImage::GetOverallImage()
{
    CELL_IMAGE image(m_layout);
    image.range = GetOverallRange();
    return image;
}

HFONT CDefGridImage::GetLabelFont() const
{
    if (!m_styles || m_styles->size() <= STYLE_PAGE) return nullptr;
    return (*m_styles)[STYLE_PAGE].font.Get();
}

int CDefGridImage::CalculateColumnRange(int first, int last, int start)
{
    int x = start;
    for (int c = first; c < last; ++c) {
        COLUMN_INFO& column = m_layout.columns[size_t(c)];
        column.position = x;
        x += column.width;
    }
    return x - start;
}

int CDefGridImage::CalculateRowRange(int first, int last)
{
    int y = 0;
    for (int r = first; r < last; ++r) {
        ROW_INFO& row = m_layout.rows[size_t(r)];
        row.position = y;
        y += row.height;
    }
    return y;
}
