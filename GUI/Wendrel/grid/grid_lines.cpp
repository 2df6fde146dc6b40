#include "grid/grid_lines.h"

CGridLinesDecorator::~CGridLinesDecorator() = default;
