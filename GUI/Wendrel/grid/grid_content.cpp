#include "grid/grid_content.h"

IGridElement::~IGridElement() = default;

void CELL_ELEMENT::ClearValues() noexcept {
    // A value that VariantClear refuses (it cannot for the types the views
    // store) is reset rather than left to be cleared twice.
    if (FAILED(::VariantClear(&value))) ::VariantInit(&value);
    if (FAILED(::VariantClear(&value2))) ::VariantInit(&value2);
}

CELL_CONTENT::~CELL_CONTENT() { ClearValues(); }

void CELL_CONTENT::ClearValues() noexcept {
    middle.ClearValues();
    right.ClearValues();
    left.ClearValues();
}
