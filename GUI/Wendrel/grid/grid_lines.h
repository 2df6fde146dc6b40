// A link of a view chain that carries a flags word meant to choose the grid
// lines drawn around the wrapped view's cells; it passes everything, drawing
// included, to the view it wraps (owned as by every decorator). The lines a
// pass draws come from the cells' styles. GUI thread only.
#pragma once

#include "grid/grid_view.h"
#include "wendrel_export.h"

class WENDREL_API CGridLinesDecorator : public CDefGridDecoratorImpl {
public:
    CGridLinesDecorator(CDefGridView* view, unsigned long flags) : CDefGridDecoratorImpl(view), m_flags(flags) {}
    CGridLinesDecorator(const CGridLinesDecorator&) = default;
    CGridLinesDecorator& operator=(const CGridLinesDecorator&) = default;
    ~CGridLinesDecorator() override;

    // flags = add | (flags & ~remove); returns the new flags.
    unsigned long ModifyFlags(unsigned long add, unsigned long remove) {
        m_flags = add | (m_flags & ~remove);
        return m_flags;
    }
    unsigned long GetFlags() const { return m_flags; }
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override { m_view->Draw(device, info); }

private:
    unsigned long m_flags;
};
