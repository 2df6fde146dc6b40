// OLE support of the layer: drop targets, data objects and data sources.
#pragma once
#include "afxwin.h"
#include "afxole_drop.h"
