// Synchronisation objects of the class layer.
#pragma once

#include "afx.h"
