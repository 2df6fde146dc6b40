// Resource ids shared by the program and the peer DLL: the same id names a
// different resource in each module.
#pragma once

#define ID_SHARED_CURSOR 130
#define ID_PEER_ONLY_CURSOR 131
#define ID_SHARED_ICON 140
#define ID_SHARED_STRIP 1008
#define ID_MISSING_STRIP 1009
