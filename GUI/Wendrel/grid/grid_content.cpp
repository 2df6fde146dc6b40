#include "grid/grid_content.h"

#include "grid/grid_log.h"

IGridElement::~IGridElement() = default;

void CELL_ELEMENT::ClearValues() noexcept {
    // A value that VariantClear refuses (it cannot for the types the views
    // store) is reset rather than left to be cleared twice.
    for (VARIANT* v : {&value, &value2}) {
        const HRESULT hr = ::VariantClear(v);
        if (FAILED(hr)) {
            GridLogFailure("VariantClear of a cell content value failed: 0x%08lX", (unsigned long)hr);
            ::VariantInit(v);
        }
    }
}

CELL_CONTENT::~CELL_CONTENT() { ClearValues(); }

void CELL_CONTENT::ClearValues() noexcept {
    middle.ClearValues();
    right.ClearValues();
    left.ClearValues();
}
