// Collections of the class layer.
#pragma once

#include "afx.h"
