// What a render pass receives for one cell or merged range (CELL_CONTENT: a
// left, a right and a middle element), the clickable elements behind them,
// and the result record of a hit test. Texts and elements are borrowed from
// the view that fills the content; its two values per element are the
// content's own and are cleared when it is destroyed. GUI thread only.
#pragma once

#include <string>

#include "afxwin.h"
#include "grid/grid_geometry.h"
#include "wendrel_export.h"

// Base of the clickable elements a hit test finds (filter button, plus
// button, a cell's command element). Deleted through this interface by its owner.
class WENDREL_API IGridElement {
public:
    virtual ~IGridElement();
};

struct WENDREL_API CELL_ELEMENT {
    const char* text = nullptr;    // borrowed; the middle element carries the cell text
    int image = -1;                // index in the style's cell images, -1 none
    VARIANT value;                 // the value columns sort and filter by
    VARIANT value2;                // the display value, read when value is empty or null
    int buttonKind = 0;            // 0 plain; otherwise a DrawFrameControl type (DFC_BUTTON)
    UINT buttonState = 0;          // DrawFrameControl state bits
    int data = -1;                 // reported as the hit result's element data
    IGridElement* element = nullptr;  // borrowed
    int toolKind = -1;             // GRID_TOOL_ID started by a click on it, -1 none
    int spare = 0;

    CELL_ELEMENT() {
        ::VariantInit(&value);
        ::VariantInit(&value2);
    }
    CELL_ELEMENT(const CELL_ELEMENT&) = delete;
    CELL_ELEMENT& operator=(const CELL_ELEMENT&) = delete;

    bool HasText() const { return text != nullptr && text[0] != '\0'; }
    bool IsButton() const { return buttonKind != 0; }
    // Clears both values; never throws (a value that cannot be cleared is
    // dropped, as a failure here has nowhere to go).
    void ClearValues() noexcept;
};

struct WENDREL_API CELL_CONTENT {
    CELL_ELEMENT left;
    CELL_ELEMENT right;
    CELL_ELEMENT middle;

    CELL_CONTENT() = default;
    CELL_CONTENT(const CELL_CONTENT&) = delete;
    CELL_CONTENT& operator=(const CELL_CONTENT&) = delete;
    // Clears the values of the middle, the right and the left element.
    ~CELL_CONTENT();
    void ClearValues() noexcept;
};

// Result of a hit-test pass (HITTEST_DEVICE).
struct WENDREL_API HITTEST_RESULT {
    unsigned flags = 0;           // bit 0: collect the tool-tip text
    CELL_RANGE viewRange;         // range handed by the view with the hit cell
    CELL_RANGE cell;              // the hit cell or merged range
    int style = -1;               // style index of the hit cell
    CELL_RANGE elementViewRange;  // view range of the cell whose element was hit
    CELL_RANGE elementCell;       // cell of the hit element
    int reserved1 = -1;
    int toolKind = -1;            // tool kind of the hit element
    IGridElement* element = nullptr;
    int elementData = -1;
    RECT textRect = {0, 0, 0, 0}; // window rectangle of the hit text
    std::string text;             // tool-tip text: only when it does not fit
    int columnEdge = GRID_UNSET;  // column whose right edge lies under the point
    int reserved2 = GRID_UNSET;
};

// Tool kinds (GRID_TOOL_ID bits) the model hands to elements.
enum GRID_TOOL_ID {
    GRID_TOOL_RESIZE = 0,
    GRID_TOOL_SELECT = 1,
    GRID_TOOL_UNUSED = 2,
    GRID_TOOL_SORT = 3,
    GRID_TOOL_FILTER = 4,
    GRID_TOOL_EXPAND = 5,
    GRID_TOOL_CELL_CLICK = 6,
    GRID_TOOL_HEADER_SELECT = 7,
};
